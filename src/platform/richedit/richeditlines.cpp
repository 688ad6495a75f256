// Lines as the control shows them: a paragraph without word wrap, a laid-out
// line of a paragraph with it.
#include "richeditimpl.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextLayout>

namespace platform {

namespace {

// A display line: where it starts, how long it is, whether a paragraph end follows.
struct LineSpan {
    int start = -1;
    int length = 0;
    bool paragraphEnd = false;
};

void LayOut(const QTextDocument* doc, const QTextBlock& upTo)
{
    // Asking for a block's rectangle makes the layout reach that block now
    // instead of in the background.
    doc->documentLayout()->blockBoundingRect(upTo);
}

int BlockLines(const QTextBlock& block)
{
    const QTextLayout* layout = block.layout();
    return layout && layout->lineCount() > 0 ? layout->lineCount() : 1;
}

} // namespace

namespace {

// Finds display line number line; start -1 when there is none.
LineSpan WrappedLine(const QTextDocument* doc, int line)
{
    LayOut(doc, doc->lastBlock());
    int first = 0;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        const int count = BlockLines(block);
        if (line < first + count) {
            const QTextLayout* layout = block.layout();
            const int index = line - first;
            LineSpan span;
            const bool lastOfBlock = index == count - 1;
            if (layout && layout->lineCount() > 0) {
                const QTextLine textLine = layout->lineAt(index);
                span.start = block.position() + textLine.textStart();
                span.length = lastOfBlock ? block.length() - 1 - textLine.textStart() : textLine.textLength();
            } else {
                span.start = block.position();
                span.length = block.length() - 1;
            }
            span.paragraphEnd = lastOfBlock && block.next().isValid();
            return span;
        }
        first += count;
    }
    return {};
}

int WrappedLineFromChar(const QTextDocument* doc, int pos)
{
    const QTextBlock target = doc->findBlock(pos);
    LayOut(doc, target);
    int line = 0;
    for (QTextBlock block = doc->begin(); block.isValid() && block != target; block = block.next())
        line += BlockLines(block);
    const QTextLayout* layout = target.layout();
    if (layout && layout->lineCount() > 0) {
        const QTextLine textLine = layout->lineForTextPosition(pos - target.position());
        line += textLine.isValid() ? textLine.lineNumber() : layout->lineCount() - 1;
    }
    return line;
}

} // namespace

std::int32_t RichEdit::GetLineCount() const
{
    if (!d->wordWrap)
        return d->doc->blockCount();
    LayOut(d->doc, d->doc->lastBlock());
    int lines = 0;
    for (QTextBlock block = d->doc->begin(); block.isValid(); block = block.next())
        lines += BlockLines(block);
    return lines;
}

std::int32_t RichEdit::LineIndex(std::int32_t line) const
{
    if (line < 0)
        line = ExLineFromChar(-1);
    if (!d->wordWrap) {
        const QTextBlock block = d->doc->findBlockByNumber(line);
        return block.isValid() ? block.position() : -1;
    }
    return WrappedLine(d->doc, line).start;
}

std::int32_t RichEdit::LineLength(std::int32_t charPos) const
{
    if (charPos < 0)
        charPos = ExGetSel().cpMin;
    charPos = d->Clamp(charPos);
    if (!d->wordWrap)
        return d->doc->findBlock(charPos).length() - 1;
    return WrappedLine(d->doc, WrappedLineFromChar(d->doc, charPos)).length;
}

QString RichEdit::GetLine(std::int32_t line) const
{
    LineSpan span;
    if (!d->wordWrap) {
        const QTextBlock block = d->doc->findBlockByNumber(line);
        if (block.isValid())
            span = {block.position(), block.length() - 1, block.next().isValid()};
    } else if (line >= 0) {
        span = WrappedLine(d->doc, line);
    }
    if (span.start < 0)
        return {};
    QString text = d->RawText(span.start, span.start + span.length);
    if (span.paragraphEnd)
        text += u'\r';
    return text;
}

std::int32_t RichEdit::ExLineFromChar(std::int32_t charPos) const
{
    // -1 asks for the caret's line: the line where the selection begins.
    if (charPos < 0)
        charPos = ExGetSel().cpMin;
    charPos = d->Clamp(charPos);
    if (!d->wordWrap)
        return d->doc->findBlock(charPos).blockNumber();
    return WrappedLineFromChar(d->doc, charPos);
}

} // namespace platform
