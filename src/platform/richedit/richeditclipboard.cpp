// SPDX-License-Identifier: GPL-3.0-or-later
// Cut, copy, paste and clear, with rich text kept exactly inside the program
// and offered to others as RTF and plain text.
#include "richeditimpl.h"

#include "listmarkers.h"
#include "rtfreader.h"
#include "rtfwriter.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextImageFormat>
#include <QUrl>

namespace platform {

namespace {

const QString RtfMime = QStringLiteral("text/rtf");

// What the control puts on the clipboard: the fragment itself for pastes in
// this program (every format property survives), RTF and plain text for others.
class RichMimeData : public QMimeData {
public:
    RichMimeData(const QTextDocumentFragment& fragment, const QString& text, QHash<QString, QVariant> pictures)
        : fragment(fragment), pictures(std::move(pictures))
    {
        setText(text);
    }

    QStringList formats() const override { return QMimeData::formats() << RtfMime; }
    bool hasFormat(const QString& mimeType) const override
    {
        return mimeType == RtfMime || QMimeData::hasFormat(mimeType);
    }

    const QTextDocumentFragment fragment;
    // The pictures the fragment shows, which live in the document, not in it.
    const QHash<QString, QVariant> pictures;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override
    {
        if (mimeType != RtfMime)
            return QMimeData::retrieveData(mimeType, type);
        if (rtf.isNull()) {
            QTextDocument scratch;
            for (auto it = pictures.cbegin(); it != pictures.cend(); ++it)
                scratch.addResource(QTextDocument::ImageResource, QUrl(it.key()), it.value());
            QTextCursor cursor(&scratch);
            cursor.insertFragment(fragment);
            rtf = WriteRtf(scratch, 0, -1);
        }
        return rtf;
    }

private:
    mutable QByteArray rtf;
};

} // namespace

QMimeData* RichEdit::createMimeDataFromSelection() const
{
    return MimeDataFor(textCursor());
}

QMimeData* RichEdit::MimeDataFor(const QTextCursor& cursor) const
{
    const int from = cursor.selectionStart();
    const int to = cursor.selectionEnd();
    QString text = d->PlainText(from, to);
    text.replace(QChar::ParagraphSeparator, u'\n');
    QHash<QString, QVariant> pictures;
    for (QTextBlock block = d->doc->findBlock(from); block.isValid() && block.position() < to; block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat() || fragment.position() + fragment.length() <= from
                || fragment.position() >= to)
                continue;
            const QString name = fragment.charFormat().toImageFormat().name();
            pictures.insert(name, d->doc->resource(QTextDocument::ImageResource, QUrl(name)));
        }
    }
    return new RichMimeData(cursor.selection(), text, std::move(pictures));
}

bool RichEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return source && (dynamic_cast<const RichMimeData*>(source) || source->hasFormat(RtfMime) || source->hasText());
}

void RichEdit::insertFromMimeData(const QMimeData* source)
{
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    d->InsertMime(cursor, source);
    d->EndStep(cursor);
    d->PlaceCaret(cursor.anchor(), cursor.position());
    ScrollCaret();
}

void RichEdit::Impl::InsertMime(QTextCursor& cursor, const QMimeData* source)
{
    if (!source)
        return;
    const int start = cursor.selectionStart();
    if (const auto* own = dynamic_cast<const RichMimeData*>(source)) {
        for (auto it = own->pictures.cbegin(); it != own->pictures.cend(); ++it)
            if (!doc->resource(QTextDocument::ImageResource, QUrl(it.key())).isValid())
                doc->addResource(QTextDocument::ImageResource, QUrl(it.key()), it.value());
        cursor.insertFragment(own->fragment);
        RestoreObjectPictures(*doc, start, cursor.position());
        SyncListMarkers(*doc, start, cursor.position());
        return;
    }
    if (source->hasFormat(RtfMime) && ReadRtf(source->data(RtfMime), cursor)) {
        SyncListMarkers(*doc, start, cursor.position());
        return;
    }
    if (!source->hasText())
        return;
    QString text = source->text();
    const std::int64_t room = std::int64_t(textLimit) - (TextLength() - (cursor.selectionEnd() - cursor.selectionStart()));
    if (room < text.size())
        text.truncate(qsizetype(std::max<std::int64_t>(0, room)));
    cursor.insertText(text);
}

void RichEdit::Cut()
{
    const QTextCursor cursor = textCursor();
    if (isReadOnly() || !cursor.hasSelection() || !d->AllowEdit(cursor.selectionStart(), cursor.selectionEnd()))
        return;
    Copy();
    NotifyScope scope(*d, UID_CUT);
    QTextCursor edit = textCursor();
    edit.beginEditBlock();
    edit.removeSelectedText();
    d->EndStep(edit);
    setTextCursor(edit);
}

void RichEdit::Copy()
{
    if (!textCursor().hasSelection())
        return;
    QMimeData* data = createMimeDataFromSelection();
    QApplication::clipboard()->setMimeData(data);
    d->ownClipboard = data;
}

void RichEdit::Paste()
{
    const QMimeData* source = QApplication::clipboard()->mimeData();
    const QTextCursor cursor = textCursor();
    if (isReadOnly() || !canInsertFromMimeData(source) || !d->AllowEdit(cursor.selectionStart(), cursor.selectionEnd()))
        return;
    NotifyScope scope(*d, UID_PASTE);
    insertFromMimeData(source);
}

void RichEdit::Clear()
{
    const QTextCursor cursor = textCursor();
    if (isReadOnly() || !cursor.hasSelection() || !d->AllowEdit(cursor.selectionStart(), cursor.selectionEnd()))
        return;
    NotifyScope scope(*d, UID_DELETE);
    QTextCursor edit = textCursor();
    edit.beginEditBlock();
    edit.removeSelectedText();
    d->EndStep(edit);
    setTextCursor(edit);
}

bool RichEdit::CanPaste() const
{
    return canInsertFromMimeData(QApplication::clipboard()->mimeData());
}

} // namespace platform
