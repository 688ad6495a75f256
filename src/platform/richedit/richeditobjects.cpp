// SPDX-License-Identifier: GPL-3.0-or-later
// Embedded objects in the control: inserting one, finding the selected or current
// one, changing one in place, and copying one to the clipboard.
#include "richeditimpl.h"

#include "textproperties.h"

#include <QApplication>
#include <QClipboard>
#include <QTextBlock>
#include <QTextImageFormat>

namespace platform {

namespace {

bool IsObjectProperty(int property)
{
    return property == QTextFormat::ImageName || property == QTextFormat::ImageWidth
           || property == QTextFormat::ImageHeight || property == QTextFormat::ObjectType
           || (property >= PropObjectKind && property <= PropObjectAsIcon)
           || (property >= PropPictureKind && property <= PropPictureLabel) || property == PropEmbeddedObject;
}

// The new object's format over what the old character carried besides its
// object (hidden, protected, a link around it, its font).
QTextCharFormat OverOldFormat(QTextCharFormat object, const QTextCharFormat& old)
{
    const QMap<int, QVariant> properties = old.properties();
    for (auto it = properties.cbegin(); it != properties.cend(); ++it)
        if (!IsObjectProperty(it.key()) && !object.hasProperty(it.key()))
            object.setProperty(it.key(), it.value());
    return object;
}

} // namespace

std::optional<EmbeddedObject> RichEdit::ObjectAt(std::int32_t pos) const
{
    if (pos < 0 || pos >= d->TextLength())
        return std::nullopt;
    if (d->doc->characterAt(pos) != QChar::ObjectReplacementCharacter)
        return std::nullopt;
    return ObjectFromFormat(*d->doc, d->CharFormatAt(pos));
}

std::int32_t RichEdit::SelectedObject() const
{
    const QTextCursor cursor = textCursor();
    if (cursor.selectionEnd() - cursor.selectionStart() != 1)
        return -1;
    return ObjectAt(cursor.selectionStart()) ? cursor.selectionStart() : -1;
}

std::int32_t RichEdit::ObjectUnder(QPoint viewportPos) const
{
    // The layout answers the nearer gap between characters: the object is the
    // character after it or the one before, whichever box holds the point.
    const int at = d->CharAt(viewportPos);
    for (const int pos : {at, at - 1}) {
        if (pos < 0 || !ObjectAt(pos))
            continue;
        QTextCursor edge(document());
        edge.setPosition(pos);
        const QRect before = cursorRect(edge);
        edge.setPosition(pos + 1);
        const QRect after = cursorRect(edge);
        const int right = after.top() == before.top() ? after.left() : viewport()->width();
        if (viewportPos.x() >= before.left() && viewportPos.x() < right && viewportPos.y() >= before.top()
            && viewportPos.y() <= before.bottom())
            return pos;
    }
    return -1;
}

std::int32_t RichEdit::CurrentObject() const
{
    const QTextCursor cursor = textCursor();
    if (cursor.hasSelection())
        return SelectedObject();
    const int caret = cursor.position();
    if (ObjectAt(caret))
        return caret;
    return caret > 0 && ObjectAt(caret - 1) ? caret - 1 : -1;
}

std::vector<std::int32_t> RichEdit::ObjectPositions() const
{
    std::vector<std::int32_t> positions;
    for (QTextBlock block = d->doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            // Bare pictures are objects too; others' objects kept as RTF are not.
            if (!format.isImageFormat() || format.hasProperty(PropEmbeddedObject))
                continue;
            const QString text = fragment.text();
            for (int i = 0; i < text.size(); ++i)
                if (text[i] == QChar::ObjectReplacementCharacter)
                    positions.push_back(fragment.position() + i);
        }
    }
    return positions;
}

std::int32_t RichEdit::DrawnObjectCount() const
{
    std::int32_t count = 0;
    for (QTextBlock block = d->doc->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                count += std::int32_t(it.fragment().text().count(QChar::ObjectReplacementCharacter));
    return count;
}

bool RichEdit::InsertObject(const EmbeddedObject& object)
{
    QTextCursor cursor = textCursor();
    if (isReadOnly() || !d->AllowEdit(cursor.selectionStart(), cursor.selectionEnd()))
        return false;
    if (d->TextLength() - (cursor.selectionEnd() - cursor.selectionStart()) >= d->textLimit)
        return false;
    NotifyScope scope(*d, UID_UNKNOWN);
    const QTextCharFormat format = FormatForObject(*d->doc, object);
    cursor.beginEditBlock();
    const int start = cursor.selectionStart();
    cursor.insertText(QString(QChar::ObjectReplacementCharacter), OverOldFormat(format, cursor.charFormat()));
    d->EndStep(cursor);
    cursor.setPosition(start);
    cursor.setPosition(start + 1, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
    return true;
}

bool RichEdit::SetObjectAt(std::int32_t pos, const EmbeddedObject& object)
{
    if (isReadOnly() || !ObjectAt(pos) || !d->AllowEdit(pos, pos + 1))
        return false;
    NotifyScope scope(*d, UID_UNKNOWN);
    QTextCursor cursor = d->Cursor(pos, pos + 1);
    const QTextCharFormat old = d->CharFormatAt(pos);
    cursor.beginEditBlock();
    cursor.setCharFormat(OverOldFormat(FormatForObject(*d->doc, object), old));
    d->EndStep(cursor);
    d->changePending = true;
    viewport()->update();
    return true;
}

bool RichEdit::CopyObject(std::int32_t pos)
{
    const std::optional<EmbeddedObject> object = ObjectAt(pos);
    if (!object)
        return false;
    const QTextCursor cursor = d->Cursor(pos, pos + 1);
    QMimeData* data = MimeDataFor(cursor);
    if (ShowsPicture(*object))
        data->setImageData(ObjectShownImage(*object));
    QApplication::clipboard()->setMimeData(data);
    d->ownClipboard = data;
    return true;
}

} // namespace platform
