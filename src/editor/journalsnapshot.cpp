// SPDX-License-Identifier: GPL-3.0-or-later
// Moving the editor's text into and out of a journal state through the control's RTF.
#include "journalsnapshot.h"

#include "journalplaintext.h"

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
// What a state keeps of its text's beginning for the preview.
constexpr int HeadChars = 1024;
// A change of formats larger than this is not read for the preview.
constexpr qsizetype MaxPreviewRtf = 64 * 1024;

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

QString JournalHead(const QTextDocument& doc)
{
    const int length = std::min(HeadChars, doc.characterCount() - 1);
    QString head(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i)
        head[i] = doc.characterAt(i);
    return head;
}

QString JournalPreview(const TJournalState& state)
{
    QString head = state.head;
    // Whether the head is all of the text, so that an edit beyond it is no edit of this text.
    bool whole = state.characters <= head.size();
    for (const TJournalEdit& e : state.edits) {
        const qsizetype known = head.size();
        if (e.position > known) {
            if (whole)
                break;   // an edit outside the text: the recovery will refuse it
            continue;
        }
        QString inserted = e.text;
        if (e.rich) {
            // A change of formats brings its characters as RTF: read when small,
            // else the head ends where it begins.
            QTextDocument scratch;
            QTextCursor cursor(&scratch);
            if (e.rtf.size() <= MaxPreviewRtf && platform::ReadRtf(e.rtf, cursor))
                inserted = scratch.toRawText().left(e.added);
            if (inserted.size() != e.added) {
                head.truncate(e.position);
                whole = false;
                continue;
            }
        }
        const qsizetype after = qsizetype(e.position) + e.removed;
        QString rest = after <= known ? head.mid(after) : QString();
        whole = whole && after <= known;
        head = head.left(e.position) + inserted + rest;
        if (head.size() > HeadChars) {
            head.truncate(HeadChars);
            whole = false;
        }
    }
    QStringList lines;
    QString line;
    const auto take = [&] {
        const QString text = line.left(PreviewChars).trimmed();
        if (!text.isEmpty())
            lines << text;
        line.clear();
    };
    for (const QChar c : std::as_const(head)) {
        if (lines.size() >= PreviewLines)
            break;
        // Paragraph ends and the marks of tables and cells end a line; a
        // byte-order mark and objects show nothing.
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == QChar(0xFDD0) || c == QChar(0xFDD1))
            take();
        else if (c != QChar(QChar::ByteOrderMark) && c != QChar::ObjectReplacementCharacter)
            line += c;
    }
    if (lines.size() < PreviewLines)
        take();
    return lines.join(QLatin1Char('\n'));
}

QByteArray StreamedRtf(platform::RichEdit& control)
{
    QByteArray rtf;
    platform::EDITSTREAM stream;
    stream.dwCookie = reinterpret_cast<std::uintptr_t>(&rtf);
    stream.pfnCallback = Collect;
    control.StreamOut(platform::SF_RTF, stream);
    return rtf;
}

TJournalState TakeJournalText(TqxEditor& editor)
{
    TJournalState state;
    platform::RichEdit* control = editor.Window();
    // A text without tables, lists or objects goes as characters and format
    // runs: cheaper to take than RTF, and rebuilt without reading RTF.
    if (!TakePlainRuns(*control->Document(), state))
        state.rtf = StreamedRtf(*control);
    state.selStart = editor.SelStart();
    state.selLength = editor.SelLength();
    state.characters = control->Document()->characterCount() - 1;
    state.byteOrderMark = control->Document()->characterAt(0) == QChar(QChar::ByteOrderMark);
    state.head = JournalHead(*control->Document());
    return state;
}

bool ShowJournalText(TqxEditor& editor, const TJournalState& state)
{
    qint64 expected = state.characters;
    for (const TJournalEdit& e : state.edits)
        expected += (e.rich ? e.added : e.text.size()) - e.removed;
    bool exact = false;
    const TEnc encoding = editor.Encoding();
    const TUniType uniType = editor.UniType();
    const TDosAdd dosAdd = editor.DosAdd();
    const bool autoEncoding = editor.AutoEncoding();
    // A runs state is built in the document itself: the stream brings no text.
    const QByteArray none;
    const QByteArray& bytes = state.plainRuns ? none : state.fromFile ? state.fileBytes : state.rtf;
    editor.SetEncoding(state.plainRuns ? Win : state.fromFile ? TEnc(state.encoding) : Rtf);
    if (state.fromFile) {
        editor.SetUniType(TUniType(state.uniType));
        editor.SetDosAdd(TDosAdd(state.dosAdd));
    }
    editor.SetAutoEncoding(false);
    // The edits go into the text before it is shown: each one in a shown text
    // would lay out again what it touched.
    platform::RichEdit* control = editor.Window();
    control->BeforeShowingNext = [&state, expected, &exact](QTextDocument& doc) {
        // The document has no undo history yet: nothing here can be undone.
        if (state.plainRuns)
            BuildPlainRuns(doc, state);
        else if (state.byteOrderMark && !state.fromFile)
            QTextCursor(&doc).insertText(QString(QChar(QChar::ByteOrderMark)));
        // Edits count positions in the text as it was taken; should it read back
        // with another length they would land in the wrong places, and the whole
        // state alone is the better answer.
        if (doc.characterCount() - 1 == state.characters) {
            ApplyEdits(doc, state.edits);
            exact = doc.characterCount() - 1 == expected;
        }
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
    return exact;
}

namespace {

bool Touches(const TTableExtents& tables, int from, int to)
{
    return std::any_of(tables.begin(), tables.end(),
                       [&](const std::pair<int, int>& t) { return t.first <= to && t.second >= from; });
}

// Grows [from, to] over every table it touches, until it cuts through none.
bool Widen(const TTableExtents& tables, int& from, int& to)
{
    bool grew = false;
    for (bool again = true; again;) {
        again = false;
        for (const auto& [first, last] : tables)
            if (first <= to && last >= from && (first < from || last > to)) {
                from = std::min(from, first);
                to = std::max(to, last);
                again = grew = true;
            }
    }
    return grew;
}

} // namespace

TTableExtents TableExtentsOf(const QTextDocument& doc)
{
    TTableExtents tables;
    for (const QTextFrame* table : doc.rootFrame()->childFrames())
        tables.emplace_back(table->firstPosition() - 1, table->lastPosition() + 1);
    return tables;
}

std::optional<TJournalEdit> PlainEdit(QTextDocument& doc, int position, int removed, int added,
                                      const TTableExtents& before)
{
    // The same length both ways is how a change of formats alone shows.
    if (removed == added && added > 0)
        return std::nullopt;
    // Removing across table cells is not what removing the same range would do
    // to the text the journal holds.
    if (removed > 0 && Touches(before, position, position + removed))
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
    const QTextBlock first = doc.findBlock(position);
    // At a paragraph's start an insert would take the format of the paragraph
    // end before it, and a change read back as RTF may leave that one unlike the
    // window's: there the characters keep their formats as RTF.
    if (position == first.position() && !OneFormat(doc))
        return std::nullopt;
    const QTextCharFormat format = InsertFormat(doc, position);
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

std::optional<TJournalEdit> RichRangeEdit(QTextDocument& doc, int position, int removed, int added,
                                          const TTableExtents& before)
{
    const int length = doc.characterCount() - 1;
    if (added < 0 || removed < 0 || position < 0 || position + added > length)
        return std::nullopt;
    // Cells read back from part of a table are not the cells the range cut
    // through: the range grows over every table it touches, in the text before
    // the change and in the text after it. Outside the changed characters the
    // two differ only by a shift.
    const TTableExtents after = TableExtentsOf(doc);
    const int shift = added - removed;
    int from = position;
    int oldTo = position + removed;
    int newTo = position + added;
    for (bool grew = true; grew;) {
        grew = Widen(before, from, oldTo);
        newTo = oldTo + shift;
        if (Widen(after, from, newTo)) {
            grew = true;
            oldTo = newTo - shift;
        }
    }
    from = std::max(from, 0);
    if (newTo > length)
        return std::nullopt;
    // Most of the text is as cheap whole, and then needs no chain of edits.
    if (2 * qint64(newTo - from) > length)
        return std::nullopt;
    TJournalEdit edit;
    edit.rich = true;
    edit.position = from;
    edit.removed = oldTo - from;
    edit.added = newTo - from;
    edit.rtf = platform::WriteRtf(doc, from, newTo);
    return edit;
}
