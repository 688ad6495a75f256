// SPDX-License-Identifier: GPL-3.0-or-later
// Lines as the control shows them: a paragraph without word wrap, a laid-out
// line of a paragraph with it.
#include "richeditimpl.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>

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

// Finds display line number line; start -1 when there is none.
LineSpan WrappedLine(const RichEdit::Impl& d, int line)
{
    const auto& map = d.WrappedLineMap();
    if (line < 0 || line >= map.total)
        return {};
    const auto next = std::upper_bound(map.firstLine.begin(), map.firstLine.end(), line);
    const int blockNumber = int(next - map.firstLine.begin()) - 1;
    const QTextBlock block = d.doc->findBlockByNumber(blockNumber);
    const int index = line - map.firstLine[std::size_t(blockNumber)];
    const int count = BlockLines(block);
    const bool lastOfBlock = index == count - 1;
    LineSpan span;
    const QTextLayout* layout = block.layout();
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

int WrappedLineFromChar(const RichEdit::Impl& d, int pos)
{
    const auto& map = d.WrappedLineMap();
    const QTextBlock target = d.doc->findBlock(pos);
    int line = map.firstLine[std::size_t(target.blockNumber())];
    const QTextLayout* layout = target.layout();
    if (layout && layout->lineCount() > 0) {
        const QTextLine textLine = layout->lineForTextPosition(pos - target.position());
        line += textLine.isValid() ? textLine.lineNumber() : layout->lineCount() - 1;
    }
    return line;
}

} // namespace

const RichEdit::Impl::WrappedLines& RichEdit::Impl::WrappedLineMap() const
{
    WrappedLines& map = wrappedLines;
    if (map.doc == doc && map.revision == doc->revision() && map.changes == changes && map.width == doc->textWidth()
        && map.font == doc->defaultFont() && int(map.firstLine.size()) == doc->blockCount())
        return map;
    LayOutDeferred();
    LayOut(doc, doc->lastBlock());
    map.doc = doc;
    map.revision = doc->revision();
    map.changes = changes;
    map.width = doc->textWidth();
    map.font = doc->defaultFont();
    map.firstLine.clear();
    map.firstLine.reserve(std::size_t(doc->blockCount()));
    int lines = 0;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        map.firstLine.push_back(lines);
        lines += BlockLines(block);
    }
    map.total = lines;
    return map;
}

std::int32_t RichEdit::GetLineCount() const
{
    if (!d->wordWrap)
        return d->doc->blockCount();
    return d->WrappedLineMap().total;
}

std::int32_t RichEdit::LineIndex(std::int32_t line) const
{
    if (line < 0)
        line = ExLineFromChar(-1);
    if (!d->wordWrap) {
        const QTextBlock block = d->doc->findBlockByNumber(line);
        return block.isValid() ? block.position() : -1;
    }
    return WrappedLine(*d, line).start;
}

std::int32_t RichEdit::LineLength(std::int32_t charPos) const
{
    if (charPos < 0)
        charPos = ExGetSel().cpMin;
    charPos = d->Clamp(charPos);
    if (!d->wordWrap)
        return d->doc->findBlock(charPos).length() - 1;
    return WrappedLine(*d, WrappedLineFromChar(*d, charPos)).length;
}

QString RichEdit::GetLine(std::int32_t line) const
{
    LineSpan span;
    if (!d->wordWrap) {
        const QTextBlock block = d->doc->findBlockByNumber(line);
        if (block.isValid())
            span = {block.position(), block.length() - 1, block.next().isValid()};
    } else if (line >= 0) {
        span = WrappedLine(*d, line);
    }
    if (span.start < 0)
        return {};
    QString text = d->PlainText(span.start, span.start + span.length);
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
    return WrappedLineFromChar(*d, charPos);
}

} // namespace platform
