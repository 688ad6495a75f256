// SPDX-License-Identifier: GPL-3.0-or-later
// The viewport-first layout's very long paragraphs: laid out, drawn, hit and
// walked through piece by piece, never as a whole.
#include "documentlayout.h"

#include "../listmarkers.h"
#include "widelines.h"

#include <QPainter>
#include <QTextBoundaryFinder>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace platform {

void DocumentLayout::SetPieceLimits(int longChars, int chars)
{
    longBlockChars = longChars;
    pieceChars = chars;
    stale = true;
    plainKnown = false;
    Scope scope(this);
}

int DocumentLayout::PieceChars() const
{
    // Some forty lines a piece: a screen takes a few pieces, a piece is laid out
    // in a few milliseconds. A typed key lays its piece out again, so even folded
    // lines thousands of characters long keep a piece under 64K characters.
    if (pieceChars > 0)
        return pieceChars;
    return std::max(16384, int(std::min(65536.0, 12 * std::max(0.0, settings.pageWidth))));
}

bool DocumentLayout::HasLongBlocks() const
{
    Scope scope(this);
    return longCount > 0;
}

bool DocumentLayout::IsLong(const QTextBlock& block) const
{
    Scope scope(this);
    return block.isValid() && block.document() == document() && Long(block.blockNumber());
}

int DocumentLayout::LaidPieces(const QTextBlock& block) const
{
    Scope scope(this);
    const LongBlock* lb = block.isValid() ? Long(block.blockNumber()) : nullptr;
    return lb ? lb->LaidPieces() : 0;
}

void DocumentLayout::MarkKept(int number)
{
    State& state = states[std::size_t(number)];
    if (state != State::Laid) {
        kept.push_back(number);
        ++keptCount;
        state = State::Laid;
    }
}

void DocumentLayout::Grew(int number, int piece, double grown)
{
    if (grown == 0)
        return;
    const LongBlock& lb = *Long(number);
    const double top = Top(number) + lb.Top(piece);
    const double old = lb.Height(piece) - grown;
    index.SetHeight(number, lb.Total());
    sizeChanged = true;
    // As with whole blocks: a piece wholly above the view moves the view with it.
    if (top + old <= viewTop) {
        pendingShift += grown;
        viewTop += grown;
    }
}

QTextLayout* DocumentLayout::Piece(int number, const QTextBlock& block, int piece)
{
    LongBlock& lb = *Long(number);
    MarkKept(number);
    double grown = 0;
    QTextLayout* layout = lb.LaidOut(piece, block, settings, &grown);
    Widen(lb.NaturalWidth());
    Grew(number, piece, grown);
    return layout;
}

void DocumentLayout::EnsurePieces(int number, const QTextBlock& block, double from, double to)
{
    MarkKept(number);
    // Before the view gives the document its width, lines would be laid out
    // unwrapped only to be laid out again.
    if (document()->pageSize().isNull())
        return;
    const LongBlock& lb = *Long(number);
    const double top = Top(number);
    if (to <= top || from >= top + lb.Total())
        return;
    for (int piece = lb.PieceAtY(from - top); piece < lb.Pieces() && Top(number) + lb.Top(piece) < to; ++piece)
        Piece(number, block, piece);
}

QTextLine DocumentLayout::PieceLine(const QTextBlock& block, int pos, int* piece, QTextLayout** layout) const
{
    auto* self = const_cast<DocumentLayout*>(this);
    const int number = block.blockNumber();
    *piece = Long(number)->PieceAt(pos);
    *layout = self->Piece(number, block, *piece);
    const int local = pos - Long(number)->Start(*piece);
    const QTextLine line = (*layout)->lineForTextPosition(local);
    if (line.isValid() || (*layout)->lineCount() == 0)
        return line;
    return (*layout)->lineAt((*layout)->lineCount() - 1);
}

void DocumentLayout::DrawLong(QPainter* painter, const PaintContext& context, int number, const QTextBlock& block,
                              const QRectF& clip)
{
    const int position = block.position();
    for (int piece = Long(number)->PieceAtY(clip.top() - Top(number));
         piece < Long(number)->Pieces() && Top(number) + Long(number)->Top(piece) <= clip.bottom(); ++piece) {
        QTextLayout* layout = Piece(number, block, piece);
        const LongBlock& lb = *Long(number);
        const int start = position + lb.Start(piece);
        const int length = lb.End(piece) - lb.Start(piece);
        const bool last = piece + 1 == lb.Pieces();
        const QPointF offset(0, Top(number) + lb.Top(piece));
        QList<QTextLayout::FormatRange> selections;
        for (const Selection& range : context.selections) {
            const int a = std::max(range.cursor.selectionStart() - start, 0);
            const int b = std::min(range.cursor.selectionEnd() - start, length + (last ? 1 : 0));
            if (range.cursor.hasSelection() && b > a) {
                selections.append({a, b - a, range.format});
            } else if (!range.cursor.hasSelection() && range.format.hasProperty(QTextFormat::FullWidthSelection)
                       && lb.PieceAt(range.cursor.position() - position) == piece && block.contains(range.cursor.position())) {
                const QTextLine line = layout->lineForTextPosition(range.cursor.position() - start);
                if (line.isValid())
                    selections.append({line.textStart(), line.textLength() + (last ? 1 : 0), range.format});
            }
        }
        if (piece == 0 && block.textList())
            DrawListMarker(*painter, block, *layout, layout->position() + offset, context.palette,
                           SelectionFrom(context, position));
        DrawClipped(*painter, *layout, block, offset, selections, clip, drawWhole);
        const int caret = context.cursorPosition - position;
        if (!caretHidden && caret >= 0 && caret <= lb.Length() && lb.PieceAt(caret) == piece)
            layout->drawCursor(painter, offset, caret - lb.Start(piece), cursorWidth);
    }
}

QRectF DocumentLayout::CaretRect(int position) const
{
    Scope scope(this);
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid())
        return {};
    auto* self = const_cast<DocumentLayout*>(this);
    const int number = block.blockNumber();
    const int pos = position - block.position();
    if (const LongBlock* lb = Long(number)) {
        int piece = 0;
        QTextLayout* layout = nullptr;
        const QTextLine line = PieceLine(block, pos, &piece, &layout);
        const double top = Top(number) + lb->Top(piece);
        if (!line.isValid())
            return {settings.margin, top, double(cursorWidth), lb->Height(piece)};
        return {line.cursorToX(pos - lb->Start(piece)), top + line.y(), double(cursorWidth), line.height()};
    }
    self->Ensure(number, block);
    const QTextLayout* layout = block.layout();
    const QTextLine line = layout->lineForTextPosition(pos);
    if (!line.isValid())
        return {settings.margin, Top(number), double(cursorWidth), index.Height(number)};
    return {line.cursorToX(pos), Top(number) + line.y(), double(cursorWidth), line.height()};
}

int DocumentLayout::NextPosition(int position, bool forward, QTextLayout::CursorMode mode) const
{
    Scope scope(this);
    const QTextBlock block = document()->findBlock(position);
    const LongBlock* lb = block.isValid() ? Long(block.blockNumber()) : nullptr;
    const int pos = position - block.position();
    if (!lb)
        return position;
    auto* self = const_cast<DocumentLayout*>(this);
    int piece = lb->PieceAt(pos);
    if (forward) {
        if (pos >= lb->Length())
            return block.next().isValid() ? position + 1 : position;
        const QTextLayout* layout = self->Piece(block.blockNumber(), block, piece);
        return block.position() + lb->Start(piece) + layout->nextCursorPosition(pos - lb->Start(piece), mode);
    }
    if (pos == 0)
        return std::max(0, position - 1);
    if (pos == lb->Start(piece))
        --piece;
    const QTextLayout* layout = self->Piece(block.blockNumber(), block, piece);
    return block.position() + lb->Start(piece) + layout->previousCursorPosition(pos - lb->Start(piece), mode);
}

int DocumentLayout::LineEdge(int position, bool end) const
{
    Scope scope(this);
    const QTextBlock block = document()->findBlock(position);
    const LongBlock* lb = block.isValid() ? Long(block.blockNumber()) : nullptr;
    if (!lb)
        return position;
    int piece = 0;
    QTextLayout* layout = nullptr;
    const QTextLine line = PieceLine(block, position - block.position(), &piece, &layout);
    if (!line.isValid())
        return position;
    const int start = block.position() + lb->Start(piece);
    if (!end)
        return start + line.textStart();
    int edge = start + line.textStart() + line.textLength();
    // A wrapped line ends before the space it broke at, as the caret shows it.
    const bool lastLine = piece + 1 == lb->Pieces() && line.lineNumber() + 1 == layout->lineCount();
    if (!lastLine && line.textLength() > 0 && layout->text().at(line.textStart() + line.textLength() - 1).isSpace())
        --edge;
    return edge;
}

std::pair<int, int> DocumentLayout::WordAt(int position) const
{
    Scope scope(this);
    const QTextBlock block = document()->findBlock(position);
    const LongBlock* lb = block.isValid() ? Long(block.blockNumber()) : nullptr;
    if (!lb)
        return {position, position};
    int piece = 0;
    QTextLayout* layout = nullptr;
    PieceLine(block, position - block.position(), &piece, &layout);
    const int start = block.position() + lb->Start(piece);
    const QString text = layout->text();
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text);
    const int local = position - start;
    finder.setPosition(local);
    const int from = finder.isAtBoundary() && local < text.size() ? local : std::max<qsizetype>(0, finder.toPreviousBoundary());
    finder.setPosition(from);
    const qsizetype to = finder.toNextBoundary();
    return {start + from, start + int(to < 0 ? text.size() : to)};
}

std::pair<int, int> DocumentLayout::LineInLong(const QTextBlock& block, int index) const
{
    Scope scope(this);
    auto* self = const_cast<DocumentLayout*>(this);
    const int number = block.blockNumber();
    const LongBlock* lb = Long(number);
    for (int piece = 0; piece < lb->Pieces(); ++piece) {
        double grown = 0;
        const int lines = Long(number)->Lines(piece, block, settings, &grown);
        self->Grew(number, piece, grown);
        if (index < lines) {
            const QTextLayout* layout = self->Piece(number, block, piece);
            if (layout->lineCount() == 0)
                break;
            const QTextLine line = layout->lineAt(std::min(index, layout->lineCount() - 1));
            return {lb->Start(piece) + line.textStart(), line.textLength()};
        }
        index -= lines;
    }
    return {lb->Length(), 0};
}

int DocumentLayout::LineNumberInLong(const QTextBlock& block, int pos) const
{
    Scope scope(this);
    auto* self = const_cast<DocumentLayout*>(this);
    const int number = block.blockNumber();
    int before = 0;
    const int target = Long(number)->PieceAt(pos);
    for (int piece = 0; piece < target; ++piece) {
        double grown = 0;
        before += Long(number)->Lines(piece, block, settings, &grown);
        self->Grew(number, piece, grown);
    }
    int piece = 0;
    QTextLayout* layout = nullptr;
    return before + PieceLine(block, pos, &piece, &layout).lineNumber();
}

} // namespace platform
