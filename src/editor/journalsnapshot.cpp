// SPDX-License-Identifier: GPL-3.0-or-later
// Moving the editor's text into and out of a journal state through the control's RTF.
#include "journalsnapshot.h"

#include "qxeditor.h"
#include "listmarkers.h"
#include "richedit.h"
#include "rtfreader.h"
#include "rtfwriter.h"
#include "streams.h"

#include <QTextBlock>
#include <QTextFrame>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

// A journal's bytes read in place: a 50 MB text is not copied once more to load it.
class TBytesReader : public TStream {
public:
    explicit TBytesReader(const QByteArray& bytes) : bytes(bytes) {}
    std::size_t Read(std::uint8_t* buffer, std::size_t count) override
    {
        const std::size_t n = std::min(count, std::size_t(bytes.size() - position));
        std::memcpy(buffer, bytes.constData() + position, n);
        position += qsizetype(n);
        return n;
    }
    std::size_t Write(const std::uint8_t*, std::size_t) override { return 0; }
    std::int64_t Position() const override { return position; }
    void SetPosition(std::int64_t value) override
    {
        position = qsizetype(std::clamp<std::int64_t>(value, 0, bytes.size()));
    }
    std::int64_t Size() const override { return bytes.size(); }

private:
    const QByteArray& bytes;
    qsizetype position = 0;
};

constexpr int PreviewLines = 3;
constexpr int PreviewChars = 160;

std::uint32_t Collect(std::uintptr_t cookie, std::uint8_t* buffer, std::int32_t cb, std::int32_t* pcb)
{
    reinterpret_cast<QByteArray*>(cookie)->append(reinterpret_cast<const char*>(buffer), cb);
    *pcb = cb;
    return 0;
}

// The format an edit's text takes: that of the character before it, or at the
// start of a paragraph the paragraph's own.
QTextCharFormat InsertFormat(QTextDocument& doc, int position)
{
    const QTextBlock block = doc.findBlock(position);
    if (position > block.position())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (position - 1 >= f.position() && position - 1 < f.position() + f.length())
                return f.charFormat();
        }
    return block.charFormat();
}

// Whether every character and every paragraph of the text has one and the same
// format (a plain text as read from a file): a change then needs no look at formats.
bool OneFormat(const QTextDocument& doc)
{
    if (!doc.rootFrame()->childFrames().isEmpty())
        return false;
    int charFormats = 0, blockFormats = 0;
    for (const QTextFormat& format : doc.allFormats()) {
        charFormats += format.isCharFormat();
        blockFormats += format.isBlockFormat();
        if (charFormats > 1 || blockFormats > 1)
            return false;
    }
    return true;
}

// Above this many characters a change is read whole rather than fragment by fragment.
constexpr int LargeChange = 4096;

void ApplyEdits(QTextDocument& doc, const std::vector<TJournalEdit>& edits)
{
    for (const TJournalEdit& e : edits) {
        const int end = doc.characterCount() - 1;
        if (e.position > end || e.removed > end - e.position)
            throw std::runtime_error("The recovery journal holds an edit outside its text.");
        QTextCursor cursor(&doc);
        cursor.setPosition(e.position);
        cursor.setPosition(e.position + e.removed, QTextCursor::KeepAnchor);
        if (e.rich) {
            const int expected = end - e.removed + e.added;
            if (!platform::ReadRtf(e.rtf, cursor) || doc.characterCount() - 1 != expected)
                throw std::runtime_error("The recovery journal holds a change that does not fit its text.");
            platform::SyncListMarkers(doc, e.position, e.position + e.added);
            continue;
        }
        cursor.removeSelectedText();
        if (!e.text.isEmpty())
            cursor.insertText(e.text, InsertFormat(doc, e.position));
    }
}

} // namespace

QString JournalPreview(const QTextDocument& doc)
{
    QStringList lines;
    for (QTextBlock block = doc.firstBlock(); block.isValid() && lines.size() < PreviewLines; block = block.next()) {
        // A byte-order mark stays in the text as an invisible first character.
        const QString text = block.text().left(PreviewChars).remove(QChar(0xFEFF)).trimmed();
        if (!text.isEmpty())
            lines << text;
    }
    return lines.join(QLatin1Char('\n'));
}

TJournalState TakeJournalText(TqxEditor& editor)
{
    TJournalState state;
    platform::RichEdit* control = editor.Window();
    platform::EDITSTREAM stream;
    stream.dwCookie = reinterpret_cast<std::uintptr_t>(&state.rtf);
    stream.pfnCallback = Collect;
    control->StreamOut(platform::SF_RTF, stream);
    state.selStart = editor.SelStart();
    state.selLength = editor.SelLength();
    state.characters = control->Document()->characterCount() - 1;
    state.byteOrderMark = control->Document()->characterAt(0) == QChar(QChar::ByteOrderMark);
    state.preview = JournalPreview(*control->Document());
    return state;
}

void ShowJournalText(TqxEditor& editor, const TJournalState& state)
{
    const TEnc encoding = editor.Encoding();
    const TUniType uniType = editor.UniType();
    const TDosAdd dosAdd = editor.DosAdd();
    const bool autoEncoding = editor.AutoEncoding();
    const QByteArray& bytes = state.fromFile ? state.fileBytes : state.rtf;
    editor.SetEncoding(state.fromFile ? TEnc(state.encoding) : Rtf);
    if (state.fromFile) {
        editor.SetUniType(TUniType(state.uniType));
        editor.SetDosAdd(TDosAdd(state.dosAdd));
    }
    editor.SetAutoEncoding(false);
    // The edits go into the text before it is shown: each one in a shown text
    // would lay out again what it touched.
    platform::RichEdit* control = editor.Window();
    control->BeforeShowingNext = [&state](QTextDocument& doc) {
        // The document has no undo history yet: nothing here can be undone.
        if (state.byteOrderMark && !state.fromFile)
            QTextCursor(&doc).insertText(QString(QChar(QChar::ByteOrderMark)));
        // Edits count positions in the text as it was taken; should it read back
        // with another length they would land in the wrong places, and the whole
        // state alone is the better answer.
        if (doc.characterCount() - 1 == state.characters)
            ApplyEdits(doc, state.edits);
    };
    TBytesReader stream(bytes);
    try {
        editor.Lines()->LoadFromStream(stream);
    } catch (...) {
        control->BeforeShowingNext = nullptr;
        editor.SetEncoding(encoding);
        editor.SetUniType(uniType);
        editor.SetDosAdd(dosAdd);
        editor.SetAutoEncoding(autoEncoding);
        throw;
    }
    control->BeforeShowingNext = nullptr;
    editor.SetAutoEncoding(autoEncoding);
    editor.SetEncoding(TEnc(state.encoding));
    editor.SetUniType(TUniType(state.uniType));
    editor.SetDosAdd(TDosAdd(state.dosAdd));
    editor.SetSelStart(state.selStart);
    editor.SetSelLength(state.selLength);
}

std::optional<TJournalEdit> PlainEdit(QTextDocument& doc, int position, int removed, int added)
{
    // The same length both ways is how a change of formats alone shows.
    if (removed == added && added > 0)
        return std::nullopt;
    // Removing across table cells is not what removing the same range would do
    // to the text the journal holds.
    if (removed > 0 && !doc.rootFrame()->childFrames().isEmpty())
        return std::nullopt;
    TJournalEdit edit;
    edit.position = position;
    edit.removed = removed;
    if (added <= 0)
        return edit;
    // A Replace All over a large plain text is one change of all of it: read as
    // raw text it costs a copy instead of a walk through every paragraph.
    if (added > LargeChange && OneFormat(doc)) {
        // The document's raw text is one copy of its buffer; a selection's text is
        // gathered fragment by fragment, several times slower after a Replace All.
        edit.text = doc.toRawText().mid(position, added);
        const bool plain = std::none_of(edit.text.cbegin(), edit.text.cend(), [](QChar c) {
            return c == QChar::ObjectReplacementCharacter || c == QChar(0xFDD0) || c == QChar(0xFDD1);
        });
        if (plain && edit.text.size() == added)
            return edit;
        edit.text.clear();
    }
    const QTextCharFormat format = InsertFormat(doc, position);
    const QTextBlock first = doc.findBlock(position);
    const QTextBlockFormat blockFormat = first.blockFormat();
    const int end = position + added;
    edit.text.reserve(added);
    for (QTextBlock block = first; block.isValid() && block.position() < end; block = block.next()) {
        if (block.position() > position
            && (block.blockFormat() != blockFormat || block.charFormat() != format))
            return std::nullopt;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const int lo = std::max(position, f.position());
            const int hi = std::min(end, f.position() + f.length());
            if (lo >= hi)
                continue;
            if (f.charFormat() != format)
                return std::nullopt;
            edit.text += QStringView(f.text()).mid(lo - f.position(), hi - lo);
        }
        const int separator = block.position() + block.length() - 1;
        if (separator >= position && separator < end) {
            if (doc.characterAt(separator) != QChar(QChar::ParagraphSeparator))
                return std::nullopt;
            edit.text += QChar(QChar::ParagraphSeparator);
        }
    }
    // Objects and table marks are formats of their own kind.
    for (const QChar c : std::as_const(edit.text))
        if (c == QChar::ObjectReplacementCharacter || c == QChar(0xFDD0) || c == QChar(0xFDD1))
            return std::nullopt;
    if (edit.text.size() != added)
        return std::nullopt;
    return edit;
}

std::optional<TJournalEdit> RichRangeEdit(QTextDocument& doc, int position, int removed, int added)
{
    const int length = doc.characterCount() - 1;
    if (added < 0 || removed < 0 || position < 0 || position + added > length || 2 * qint64(added) > length)
        return std::nullopt;
    // Cells read back from a range are not the cells the range cut through.
    if (!doc.rootFrame()->childFrames().isEmpty())
        return std::nullopt;
    TJournalEdit edit;
    edit.rich = true;
    edit.position = position;
    edit.removed = removed;
    edit.added = added;
    edit.rtf = platform::WriteRtf(doc, position, position + added);
    return edit;
}
