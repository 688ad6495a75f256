// SPDX-License-Identifier: GPL-3.0-or-later
// Searching the text (EM_FINDTEXTEX): direction, whole words, case, a range.
#include "richeditimpl.h"

#include <QStringMatcher>

#include <memory>

namespace platform {

namespace {

// Characters searched at a time: the first piece is small, because the next
// match is usually near (Replace All searches again after every replacement);
// pieces then double, so that a search through a long text reads it in few.
constexpr int FirstSearchChunk = 256;
constexpr int MaxSearchChunk = 64 * 1024;
// Beyond this many characters still to search, the text is taken whole: one copy
// of it costs less than walking its paragraphs piece by piece.
constexpr int WholeTextSpan = 1024 * 1024;

bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// Text of [from, to) with one more character on each side when there is one,
// so that whole-word tests can look past the ends.
struct Window {
    QString text;
    int offset = 0;    // document position of text[0]

    Window(const RichEdit::Impl& d, int from, int to)
    {
        offset = std::max(0, from - 1);
        text = d.RawText(offset, std::min(d.TextLength(), to + 1));
    }
    // The whole text: its raw form holds one character per position.
    explicit Window(const RichEdit::Impl& d) : text(d.WholeRawText()) {}
    bool WholeWordAt(int pos, int n) const
    {
        const int i = pos - offset;
        const bool startOk = i == 0 ? offset == 0 || !IsWordChar(text[0]) : !IsWordChar(text[i - 1]);
        const bool endOk = i + n >= text.size() || !IsWordChar(text[i + n]);
        // A window that starts at the match has no character before it only at the text start.
        return startOk && endOk && !(i == 0 && offset > 0);
    }
};

} // namespace

QString RichEdit::Impl::WholeRawText() const
{
    // Not kept between searches: a copy of a long text would double what the
    // window holds for as long as it is open.
    return doc->toRawText();
}

std::int32_t RichEdit::FindTextEx(CHARRANGE range, const QString& text, unsigned flags, CHARRANGE* found) const
{
    QString needle = text;
    needle.replace(QStringLiteral("\r\n"), QString(QChar::ParagraphSeparator));
    needle.replace(u'\r', QChar::ParagraphSeparator);
    needle.replace(u'\n', QChar::ParagraphSeparator);
    const int n = int(needle.size());
    const int length = d->TextLength();
    const Qt::CaseSensitivity cs = (flags & FR_MATCHCASE) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    // Skips ahead by the needle's length where it can, also when case is ignored.
    const QStringMatcher matcher(needle, cs);
    const bool wholeWord = (flags & FR_WHOLEWORD) != 0;
    if (found)
        *found = {-1, -1};
    if (n == 0 || n > length)
        return -1;

    auto report = [&](int pos) {
        if (found)
            *found = {pos, pos + n};
        return pos;
    };

    if (flags & FR_DOWN) {
        // The range bounds where a match may begin.
        const int first = std::clamp(range.cpMin, 0, length);
        const int limit = range.cpMax < 0 ? length : std::min(range.cpMax, length);
        const int lastStart = std::min(limit - 1, length - n);
        int size = FirstSearchChunk;
        std::unique_ptr<Window> whole;
        for (int chunk = first; chunk <= lastStart; chunk += size, size = std::min(2 * size, MaxSearchChunk)) {
            if (size == MaxSearchChunk && lastStart - chunk > WholeTextSpan) {
                whole = std::make_unique<Window>(*d);
                size = lastStart - chunk + 1;
            }
            const int chunkLast = std::min(lastStart, chunk + size - 1);
            const Window window = whole ? *whole : Window(*d, chunk, chunkLast + n);
            qsizetype from = chunk - window.offset;
            for (;;) {
                const qsizetype i = matcher.indexIn(window.text, from);
                if (i < 0 || window.offset + i > chunkLast)
                    break;
                const int pos = window.offset + int(i);
                if (!wholeWord || window.WholeWordAt(pos, n))
                    return report(pos);
                from = i + 1;
            }
        }
        return -1;
    }

    // Upwards: the match ends at or before cpMin and begins at or after cpMax.
    const int end = std::clamp(range.cpMin, 0, length);
    const int lowest = std::clamp(range.cpMax, 0, length);
    int size = FirstSearchChunk;
    std::unique_ptr<Window> whole;
    for (int chunkLast = end - n; chunkLast >= lowest; chunkLast -= size, size = std::min(2 * size, MaxSearchChunk)) {
        if (size == MaxSearchChunk && chunkLast - lowest > WholeTextSpan) {
            whole = std::make_unique<Window>(*d);
            size = chunkLast - lowest + 1;
        }
        const int chunkFirst = std::max(lowest, chunkLast - size + 1);
        const Window window = whole ? *whole : Window(*d, chunkFirst, chunkLast + n);
        qsizetype from = chunkLast - window.offset;
        while (from >= 0) {
            const qsizetype i = window.text.lastIndexOf(needle, from, cs);
            if (i < 0 || window.offset + i < chunkFirst)
                break;
            const int pos = window.offset + int(i);
            if (!wholeWord || window.WholeWordAt(pos, n))
                return report(pos);
            from = i - 1;
        }
    }
    return -1;
}

} // namespace platform
