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

int BlockLines(const QTextLayout* layout)
{
    return layout && layout->lineCount() > 0 ? layout->lineCount() : 1;
}

// Display line index of a paragraph's layout.
LineSpan LineOfBlock(const QTextBlock& block, const QTextLayout* layout, int index)
{
    const int count = BlockLines(layout);
    index = std::clamp(index, 0, count - 1);
    const bool lastOfBlock = index == count - 1;
    LineSpan span;
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

// Finds display line number line; start -1 when there is none.
LineSpan WrappedLine(const RichEdit::Impl& d, int line)
{
    if (const DocumentLayout* own = d.ViewLayout()) {
        d.LayOutDeferred();
        const int blockNumber = own->BlockAtLine(line);
        if (blockNumber < 0)
            return {};
        const QTextBlock block = d.doc->findBlockByNumber(blockNumber);
        const int index = line - own->FirstLine(blockNumber);
        if (own->IsLong(block)) {
            // Laid out in pieces: the lines are counted piece by piece.
            const auto [start, length] = own->LineInLong(block, index);
            const bool last = index + 1 == own->LineCount(block);
            LineSpan span;
            span.start = block.position() + start;
            span.length = last ? block.length() - 1 - start : length;
            span.paragraphEnd = last && block.next().isValid();
            return span;
        }
        return LineOfBlock(block, d.LinesOf(block), index);
    }
    const auto& map = d.WrappedLineMapFor(line);
    if (line < 0 || line >= map.firstLine.back())
        return {};
    const auto next = std::upper_bound(map.firstLine.begin(), map.firstLine.end(), line);
    const int blockNumber = int(next - map.firstLine.begin()) - 1;
    const QTextBlock block = d.doc->findBlockByNumber(blockNumber);
    return LineOfBlock(block, d.LinesOf(block), line - map.firstLine[std::size_t(blockNumber)]);
}

// The display line holding pos within its paragraph, without counting the lines above.
int LineInBlock(const RichEdit::Impl& d, const QTextBlock& block, int pos)
{
    const QTextLayout* layout = d.LinesOf(block);
    if (!layout || layout->lineCount() == 0)
        return 0;
    const QTextLine textLine = layout->lineForTextPosition(pos - block.position());
    return textLine.isValid() ? textLine.lineNumber() : layout->lineCount() - 1;
}

int WrappedLineFromChar(const RichEdit::Impl& d, int pos)
{
    const QTextBlock target = d.doc->findBlock(pos);
    const int number = target.blockNumber();
    const DocumentLayout* own = d.ViewLayout();
    if (own)
        d.LayOutDeferred();
    const int first = own ? own->FirstLine(number) : d.WrappedLineMap(number).firstLine[std::size_t(number)];
    if (own && own->IsLong(target))
        return first + own->LineNumberInLong(target, pos - target.position());
    return first + LineInBlock(d, target, pos);
}

} // namespace

const QTextLayout* RichEdit::Impl::LinesOf(const QTextBlock& block) const
{
    LayOutDeferred();
    if (const DocumentLayout* layout = ViewLayout())
        return layout->LaidOut(block);
    // Asking for a block's rectangle makes Qt's layout reach that block now
    // instead of in the background.
    doc->documentLayout()->blockBoundingRect(block);
    return block.layout();
}

const RichEdit::Impl::WrappedLines& RichEdit::Impl::WrappedLineMap(int upTo) const
{
    WrappedLines& map = wrappedLines;
    if (map.doc != doc || map.layout != doc->documentLayout() || map.restyles != restyles
        || map.width != doc->textWidth() || map.font != doc->defaultFont() || map.firstLine.empty()) {
        map.doc = doc;
        map.layout = doc->documentLayout();
        map.restyles = restyles;
        map.width = doc->textWidth();
        map.font = doc->defaultFont();
        map.firstLine.assign(1, 0);
    }
    const int blocks = doc->blockCount();
    if (upTo < 0 || upTo >= blocks)
        upTo = blocks - 1;
    int counted = int(map.firstLine.size()) - 1;
    if (counted > upTo)
        return map;
    LayOutDeferred();
    doc->documentLayout()->blockBoundingRect(doc->findBlockByNumber(upTo));
    map.firstLine.reserve(std::size_t(upTo) + 2);
    int lines = map.firstLine.back();
    for (QTextBlock block = doc->findBlockByNumber(counted); block.isValid() && counted <= upTo;
         block = block.next(), ++counted) {
        lines += BlockLines(block.layout());
        map.firstLine.push_back(lines);
    }
    return map;
}

const RichEdit::Impl::WrappedLines& RichEdit::Impl::WrappedLineMapFor(int line) const
{
    // Counts on in steps until the line is reached, so that a line near the top
    // does not count the whole text.
    int upTo = 255;
    for (;;) {
        const WrappedLines& map = WrappedLineMap(upTo);
        if (map.firstLine.back() > line || int(map.firstLine.size()) > doc->blockCount())
            return map;
        upTo = upTo * 2 + 1;
    }
}

std::int32_t RichEdit::GetLineCount() const
{
    if (!d->wordWrap)
        return d->doc->blockCount();
    if (const DocumentLayout* own = d->ViewLayout()) {
        d->LayOutDeferred();
        return own->LineTotal();
    }
    return d->WrappedLineMap(-1).firstLine.back();
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
    const QTextBlock block = d->doc->findBlock(charPos);
    return LineOfBlock(block, d->LinesOf(block), LineInBlock(*d, block, charPos)).length;
}

std::int32_t RichEdit::LineStartFromChar(std::int32_t charPos) const
{
    charPos = d->Clamp(charPos < 0 ? ExGetSel().cpMin : charPos);
    const QTextBlock block = d->doc->findBlock(charPos);
    if (!d->wordWrap)
        return block.position();
    return LineOfBlock(block, d->LinesOf(block), LineInBlock(*d, block, charPos)).start;
}

bool RichEdit::LineKnown(std::int32_t charPos) const
{
    DocumentLayout* own = d->ViewLayout();
    if (!d->wordWrap || !own)
        return true;
    charPos = d->Clamp(charPos < 0 ? ExGetSel().cpMin : charPos);
    // A text of some thousand paragraphs is counted at once; once counting goes
    // on in the background, asking again costs nothing.
    constexpr qint64 CountedAtOnceNs = 5'000'000;
    if (own->LinesCounted(d->doc->findBlock(charPos).blockNumber(), own->Counting() ? 0 : CountedAtOnceNs))
        return true;
    own->CountInBackground();
    return false;
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
