// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing a selection that crosses table marks without flattening the table:
// text of the same shape goes between the marks, so reading SelText, changing
// its letters and writing it back keeps every row and cell.
#include "richeditimpl.h"

#include "tablemarks.h"

#include <QTextBlock>

#include <vector>

namespace platform {

namespace {

bool IsSeparator(QChar c)
{
    return c == u'\t' || c == QChar::ParagraphSeparator;
}

// The text the caller gave with each of its paragraph ends (CR LF, CR, LF or
// U+2029) as one U+2029, as the document would hold them.
QString NormalisedEnds(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += QChar::ParagraphSeparator;
        } else if (c == u'\n') {
            out += QChar::ParagraphSeparator;
        } else {
            out += c;
        }
    }
    return out;
}

// Replaces [from, from + old length) by text of the same length, run by run, so
// that each run keeps its own character format.
void ReplaceKeepingFormats(QTextDocument* doc, int from, QStringView text)
{
    struct Run {
        int start;
        int end;
        QTextCharFormat format;
    };
    const int to = from + int(text.size());
    std::vector<Run> runs;
    for (QTextBlock block = doc->findBlock(from); block.isValid() && block.position() < to; block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int a = std::max(from, fragment.position());
            const int b = std::min(to, fragment.position() + fragment.length());
            if (a < b && fragment.text().mid(a - fragment.position(), b - a) != text.mid(a - from, b - a))
                runs.push_back({a, b, fragment.charFormat()});
        }
    }
    for (const Run& run : runs) {
        QTextCursor cursor(doc);
        cursor.setPosition(run.start);
        cursor.setPosition(run.end, QTextCursor::KeepAnchor);
        cursor.insertText(text.mid(run.start - from, run.end - run.start).toString(), run.format);
    }
}

} // namespace

bool RichEdit::Impl::ReplaceKeepingTables(int from, int to, const QString& text)
{
    const QString raw = RawText(from, to);
    if (!HasTableMarks(raw))
        return false;
    QString current = raw;
    ReplaceTableMarks(*doc, from, current);
    QString wanted = NormalisedEnds(text);
    // The plain-text stream leaves out the paragraph end of a table that opens
    // the range, so text streamed out and in again may lack it.
    if (raw.front().unicode() == CellMark && current.front() == QChar::ParagraphSeparator
        && (wanted.isEmpty() || wanted.front() != QChar::ParagraphSeparator))
        wanted.prepend(QChar::ParagraphSeparator);

    // The separators (TABs and paragraph ends, marks or not) must match one for one.
    std::vector<qsizetype> currentCuts;
    std::vector<qsizetype> wantedCuts;
    for (qsizetype i = 0; i < current.size(); ++i)
        if (IsSeparator(current[i]))
            currentCuts.push_back(i);
    for (qsizetype i = 0; i < wanted.size(); ++i)
        if (IsSeparator(wanted[i]))
            wantedCuts.push_back(i);
    if (currentCuts.size() != wantedCuts.size())
        return false;
    for (std::size_t k = 0; k < currentCuts.size(); ++k)
        if (current[currentCuts[k]] != wanted[wantedCuts[k]])
            return false;
    if (TextLength() + (wanted.size() - current.size()) > textLimit)
        return false;

    // From the last segment back, so that the positions before stay valid.
    currentCuts.push_back(current.size());
    wantedCuts.push_back(wanted.size());
    for (std::size_t k = currentCuts.size(); k-- > 0;) {
        const qsizetype oldStart = k == 0 ? 0 : currentCuts[k - 1] + 1;
        const qsizetype newStart = k == 0 ? 0 : wantedCuts[k - 1] + 1;
        const QStringView oldPart = QStringView(current).mid(oldStart, currentCuts[k] - oldStart);
        const QStringView newPart = QStringView(wanted).mid(newStart, wantedCuts[k] - newStart);
        if (oldPart == newPart)
            continue;
        const int at = from + int(oldStart);
        if (oldPart.size() == newPart.size()) {
            ReplaceKeepingFormats(doc, at, newPart);
            continue;
        }
        QTextCursor cursor(doc);
        cursor.setPosition(oldPart.isEmpty() ? at : at + 1);
        const QTextCharFormat format = cursor.charFormat();
        cursor.setPosition(at);
        cursor.setPosition(at + int(oldPart.size()), QTextCursor::KeepAnchor);
        cursor.insertText(newPart.toString(), format);
    }
    QTextCursor caret(doc);
    caret.setPosition(from + int(wanted.size()));
    q->setTextCursor(caret);
    return true;
}

} // namespace platform
