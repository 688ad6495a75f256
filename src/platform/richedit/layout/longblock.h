// SPDX-License-Identifier: GPL-3.0-or-later
// A paragraph too long to lay out whole: its text is cut into pieces at spaces,
// each laid out in a QTextLayout of its own only when it is near what is shown.
#pragma once

#include "blockflow.h"
#include "prefixindex.h"

#include <QTextLayout>

#include <memory>
#include <vector>

class QTextBlock;

namespace platform {

// Positions are relative to the block; y is relative to the block's top.
class LongBlock {
public:
    // Cuts the block's text into pieces of about pieceChars characters, each
    // ending after a space where there is one, and estimates their heights.
    LongBlock(const QTextBlock& block, int pieceChars, BlockEstimator& estimator, const FlowSettings& settings);

    int Pieces() const { return int(starts.size()); }
    int Start(int piece) const { return starts[std::size_t(piece)]; }
    int End(int piece) const { return piece + 1 < Pieces() ? Start(piece + 1) : length; }
    int Length() const { return length; }
    // The piece holding a position: a position between two pieces starts the
    // second one's first line; the block's end is in the last piece.
    int PieceAt(int pos) const;
    int PieceAtY(double y) const { return std::max(0, heights.Find(y)); }
    double Top(int piece) const { return heights.Before(piece); }
    double Height(int piece) const { return heights.Height(piece); }
    double Total() const { return heights.Total(); }
    double NaturalWidth() const { return widest; }

    // The piece's layout with its lines (laid out now if it was not); the change of
    // its height is added to grown.
    QTextLayout* LaidOut(int piece, const QTextBlock& block, const FlowSettings& settings, double* grown);
    // The piece's display lines, counted in a layout that is thrown away when
    // it holds none; the change of its height is added to grown.
    int Lines(int piece, const QTextBlock& block, const FlowSettings& settings, double* grown);
    int LaidPieces() const { return laid; }
    // Drops the lines of pieces further than radius from center (all when center is -1).
    void DropFar(int center, int radius);

    // The block's text changed at pos: removed characters replaced by added ones.
    // The pieces the edit touches are cut again, the others only move.
    void Edit(const QTextBlock& block, int pos, int removed, int added, BlockEstimator& estimator,
              const FlowSettings& settings);

private:
    struct Piece {
        std::unique_ptr<QTextLayout> layout;   // null while not laid out
        int lines = -1;                          // -1 while not measured
    };
    // Where the block's characters from..to are cut, starting with from.
    std::vector<int> Cut(const QTextBlock& block, int from, int to) const;
    void Estimate(int piece, const QTextBlock& block, BlockEstimator& estimator, const FlowSettings& settings);
    std::unique_ptr<QTextLayout> NewLayout(int piece, const QTextBlock& block) const;

    std::vector<int> starts;
    std::vector<Piece> pieces;
    PrefixIndex heights;
    int length = 0;
    int pieceChars = 0;
    int laid = 0;
    double widest = 0;
};

} // namespace platform
