// SPDX-License-Identifier: GPL-3.0-or-later
// Laying out a very long paragraph piece by piece.
#include "longblock.h"

#include "quietqt.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace platform {

namespace {

// Formats that start in [from, to), moved to start at from.
void AddClipped(QList<QTextLayout::FormatRange>& out, const QList<QTextLayout::FormatRange>& ranges, int from, int to)
{
    for (const QTextLayout::FormatRange& range : ranges) {
        const int a = std::max(from, range.start);
        const int b = std::min(to, range.start + range.length);
        if (b > a)
            out.append({a - from, b - a, range.format});
    }
}

} // namespace

LongBlock::LongBlock(const QTextBlock& block, int chars, BlockEstimator& estimator, const FlowSettings& settings)
    : length(block.length() - 1), pieceChars(std::max(64, chars))
{
    starts = Cut(block, 0, length);
    pieces.resize(starts.size());
    std::vector<double> estimates(starts.size());
    for (int i = 0; i < Pieces(); ++i)
        estimates[std::size_t(i)] = estimator.EstimatePiece(block, End(i) - Start(i), settings);
    heights.Assign(std::move(estimates));
}

std::vector<int> LongBlock::Cut(const QTextBlock& block, int from, int to) const
{
    // A piece ends after a space, where a line may end anyway; a text without
    // one is cut hard, never inside a surrogate pair. Only the characters
    // around each cut are read: copying millions of them was most of the cost
    // of splitting or joining a long paragraph.
    const QTextDocument* doc = block.document();
    const int base = block.position();
    const auto text = [&](int i) { return doc->characterAt(base + i); };
    std::vector<int> cuts{from};
    int start = from;
    while (to - start > pieceChars + pieceChars / 2) {
        int end = start + pieceChars;
        int at = end;
        while (at > start + pieceChars / 2 && !(text(at - 1).isSpace() && !text(at).isSpace()))
            --at;
        if (at > start + pieceChars / 2)
            end = at;
        else if (text(end - 1).isHighSurrogate())
            --end;
        cuts.push_back(end);
        start = end;
    }
    return cuts;
}

int LongBlock::PieceAt(int pos) const
{
    const auto next = std::upper_bound(starts.begin(), starts.end(), pos);
    return std::max(0, int(next - starts.begin()) - 1);
}

std::unique_ptr<QTextLayout> LongBlock::NewLayout(int piece, const QTextBlock& block) const
{
    const int from = Start(piece);
    const int to = End(piece);
    auto layout = std::make_unique<QTextLayout>(DocumentText(block.document(), block.position() + from, block.position() + to),
                                                block.document()->defaultFont());
    QList<QTextLayout::FormatRange> formats;
    AddClipped(formats, block.textFormats(), from, to);
    AddClipped(formats, block.layout()->formats(), from, to);
    layout->setFormats(formats);
    // Without its glyphs a piece is shaped anew at every repaint, each caret blink.
    layout->setCacheEnabled(true);
    return layout;
}

QTextLayout* LongBlock::LaidOut(int piece, const QTextBlock& block, const FlowSettings& settings, double* grown)
{
    Piece& p = pieces[std::size_t(piece)];
    if (p.layout)
        return p.layout.get();
    p.layout = NewLayout(piece, block);
    const BlockFlow flow = LayOutPiece(p.layout.get(), block, settings, piece == 0, piece + 1 == Pieces());
    p.lines = flow.lines;
    widest = std::max(widest, flow.naturalWidth);
    *grown += flow.height - heights.Height(piece);
    heights.SetHeight(piece, flow.height);
    ++laid;
    return p.layout.get();
}

int LongBlock::Lines(int piece, const QTextBlock& block, const FlowSettings& settings, double* grown)
{
    Piece& p = pieces[std::size_t(piece)];
    if (p.lines >= 0)
        return p.lines;
    const std::unique_ptr<QTextLayout> scratch = NewLayout(piece, block);
    const BlockFlow flow = LayOutPiece(scratch.get(), block, settings, piece == 0, piece + 1 == Pieces());
    p.lines = flow.lines;
    widest = std::max(widest, flow.naturalWidth);
    *grown += flow.height - heights.Height(piece);
    heights.SetHeight(piece, flow.height);
    return p.lines;
}

void LongBlock::DropFar(int center, int radius)
{
    for (int i = 0; i < Pieces(); ++i) {
        Piece& p = pieces[std::size_t(i)];
        if (p.layout && (center < 0 || std::abs(i - center) > radius)) {
            p.layout.reset();
            --laid;
        }
    }
}

void LongBlock::Estimate(int piece, const QTextBlock& block, BlockEstimator& estimator, const FlowSettings& settings)
{
    heights.SetHeight(piece, estimator.EstimatePiece(block, End(piece) - Start(piece), settings));
}

void LongBlock::Edit(const QTextBlock& block, int pos, int removed, int added, BlockEstimator& estimator,
                     const FlowSettings& settings)
{
    // The pieces holding the first and the last removed character become one,
    // which is cut again; the pieces after it move by the change of length.
    const int first = PieceAt(pos);
    const int last = PieceAt(std::min(length, pos + removed));
    const int delta = added - removed;
    length += delta;
    const int from = Start(first);
    const int to = (last + 1 < Pieces() ? Start(last + 1) : length - delta) + delta;
    std::vector<int> cut = Cut(block, from, to);
    if (to == from && first + (Pieces() - 1 - last) > 0)
        cut.clear();   // an emptied piece between others goes

    std::vector<int> newStarts(starts.begin(), starts.begin() + first);
    newStarts.insert(newStarts.end(), cut.begin(), cut.end());
    for (int i = last + 1; i < Pieces(); ++i)
        newStarts.push_back(Start(i) + delta);
    std::vector<Piece> newPieces;
    newPieces.reserve(newStarts.size());
    std::vector<double> newHeights;
    newHeights.reserve(newStarts.size());
    for (int i = 0; i < first; ++i) {
        newPieces.push_back(std::move(pieces[std::size_t(i)]));
        newHeights.push_back(heights.Height(i));
    }
    for (std::size_t i = 0; i < cut.size(); ++i) {
        newPieces.emplace_back();
        newHeights.push_back(0);
    }
    for (int i = first; i <= last; ++i)
        laid -= pieces[std::size_t(i)].layout ? 1 : 0;
    for (int i = last + 1; i < Pieces(); ++i) {
        newPieces.push_back(std::move(pieces[std::size_t(i)]));
        newHeights.push_back(heights.Height(i));
    }
    starts = std::move(newStarts);
    pieces = std::move(newPieces);
    heights.Assign(std::move(newHeights));
    for (int i = first; i < first + int(cut.size()); ++i)
        Estimate(i, block, estimator, settings);
}

} // namespace platform
