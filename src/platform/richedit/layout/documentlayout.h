// SPDX-License-Identifier: GPL-3.0-or-later
// The shown document's layout: the blocks in and near the viewport are laid out,
// the rest have estimated heights that are corrected as they are laid out, far
// layouts are dropped, and corrections above the viewport move it with them.
#pragma once

#include "blockflow.h"
#include "longblock.h"
#include "prefixindex.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace platform {

// Whether a document can be shown by DocumentLayout: tables are left to Qt's own
// layout, which places their cells.
bool FitsDocumentLayout(const QTextDocument& doc);

// The format of the selection that runs into the block starting at position from
// before it, which a list marker is drawn in; null if none does.
const QTextCharFormat* SelectionFrom(const QAbstractTextDocumentLayout::PaintContext& context, int position);

class DocumentLayout : public QAbstractTextDocumentLayout {
    Q_OBJECT
    Q_PROPERTY(int cursorWidth READ CursorWidth WRITE SetCursorWidth)
public:
    // Layouts kept before the far ones are dropped, and how many blocks on each
    // side of the viewport keep theirs.
    static constexpr int KeptLayoutsLimit = 3000;
    static constexpr int KeptRadius = 600;
    // Paragraphs longer than this are laid out and drawn in pieces: Qt splits a
    // paragraph into runs and finds its break points over the whole of it before
    // it lays out even its first line. A long paragraph keeps the lines of this
    // many pieces around the viewport.
    static constexpr int LongBlockChars = 65536;
    static constexpr int PiecesKept = 16;

    explicit DocumentLayout(QTextDocument* doc);

    void draw(QPainter* painter, const PaintContext& context) override;
    int hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override;
    QSizeF documentSize() const override;
    QRectF frameBoundingRect(QTextFrame* frame) const override;
    QRectF blockBoundingRect(const QTextBlock& block) const override;

    int CursorWidth() const { return cursorWidth; }
    void SetCursorWidth(int width) { cursorWidth = width; }
    // The off phase of the caret's blink in a paragraph laid out in pieces.
    void HideCaretInPieces(bool hide) { caretHidden = hide; }

    // The part of the document shown (in document coordinates): the blocks a
    // screen above and below it are laid out now. Corrections of heights wholly
    // above top move top with them and are reported through OnShift.
    void SetViewport(double top, double height);
    double ViewTop() const { return viewTop; }
    std::function<void(double delta)> OnShift;

    // The block's display lines, laid out exactly (the block is laid out if need be).
    int LineCount(const QTextBlock& block) const;
    // Display lines over the whole text. Each block's count is kept until it is
    // edited or the width changes; what is not counted yet is counted now, from
    // the top down to what is asked for.
    int FirstLine(int blockNumber) const;
    int LineTotal() const;
    int BlockAtLine(int line) const;   // -1 past the last line
    // Whether every block through blockNumber is counted, so the above answer at
    // once, after counting on for at most budgetNs.
    bool LinesCounted(int blockNumber, qint64 budgetNs = 0) const;
    // Counts the rest in short slices while the program is idle, so that a long
    // text never freezes the window; OnLinesCounted follows once all are counted.
    void CountInBackground();
    bool Counting() const { return counter.isActive(); }
    std::function<void()> OnLinesCounted;
    // Blocks whose own layouts carry formats laid over the document's (links,
    // hidden text): they are always drawn from their own layouts.
    std::function<bool(const QTextBlock&)> Styled;
    // The block's layout with its lines.
    const QTextLayout* LaidOut(const QTextBlock& block) const;
    // Where the block lies, as blockBoundingRect answers, without handing its lines to Qt.
    QRectF Placed(const QTextBlock& block) const;

    // Where paragraphs are cut into pieces, and about how long a piece is (0: as
    // many characters as some forty lines hold at the width).
    void SetPieceLimits(int longChars, int pieceChars);
    // Lines far wider than the view are drawn from the characters in view only;
    // with whole, all of each line, as Qt draws it (the same picture, slower).
    void SetDrawWhole(bool whole) { drawWhole = whole; }
    bool HasLongBlocks() const;
    bool IsLong(const QTextBlock& block) const;
    // Exact for every block, laid out in pieces or not: the caret's rectangle at a
    // position (document coordinates).
    QRectF CaretRect(int position) const;
    // Within a long block: the next or previous cursor position (across its
    // edges: one position on), and the start or the end of the display line.
    int NextPosition(int position, bool forward, QTextLayout::CursorMode mode) const;
    int LineEdge(int position, bool end) const;
    // The word around a position in a long block, as a double click selects it.
    std::pair<int, int> WordAt(int position) const;
    // A long block's display line number index: its start in the block and its
    // length; and the number of the display line holding a position in it.
    std::pair<int, int> LineInLong(const QTextBlock& block, int index) const;
    int LineNumberInLong(const QTextBlock& block, int pos) const;
    int LaidPieces(const QTextBlock& block) const;

    // What the layout holds: blocks with lines now, and whether a block's height is known.
    int KeptLayouts() const;
    bool HeightKnown(int blockNumber) const;

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    bool drawWhole = false;
    // Laid: the lines are in the block's own QTextLayout, which Qt's cursor reads
    // and which lives as long as the block does. Pooled: they are in a layout of
    // our own, deleted when it is far from the viewport.
    enum class State : std::uint8_t { Estimated, Measured, Laid, Pooled };
    static bool HoldsLines(State state) { return state == State::Laid || state == State::Pooled; }

    // Every operation runs inside one scope; the outermost one reports size
    // changes and shifts, and drops far layouts, once the layout is consistent.
    class Scope {
    public:
        explicit Scope(const DocumentLayout* layout, bool refresh = true);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        DocumentLayout* layout;
    };

    FlowSettings CurrentSettings() const;
    void EnsureCurrent();
    void Reset();
    // A block's estimated height; a long block is cut into pieces first.
    double Estimated(int number, const QTextBlock& block);
    // The estimate of a plain paragraph by its characters, when every character
    // has one font.
    std::optional<BlockEstimator::ByLength> PlainByLength();
    // Every block's estimate from the characters kept for it, without walking
    // the document; false when those are not known.
    bool EstimateByLength(std::vector<double>& heights);
    int PlainChars(const QTextBlock& block) const;
    void Measure(int number, const QTextBlock& block);
    // Counts the block among those holding lines, unless it already held its own.
    void Hold(int number, State now);
    void Apply(int number, const BlockFlow& flow);   // a block's measured lines and height
    // The layout holding the block's lines, laid out if need be; forQt asks for
    // the block's own layout.
    QTextLayout* Ensure(int number, const QTextBlock& block, bool forQt = true);
    QTextLayout* LayOutInPool(int number, const QTextBlock& block);
    void EnsureAbove(int number, double span);
    double Top(int number) const { return settings.margin + index.Before(number); }
    double Width() const;
    void SetLines(int number, int count);
    // The block's lines, found now if they are not known; with heights, what is
    // measured corrects the block's height too.
    int CountBlock(int number, const QTextBlock& block, bool heights);
    // A long block's lines; -1 when the budget ran out before all were counted.
    int CountLong(int number, const QTextBlock& block, const QElapsedTimer* clock, qint64 budgetNs);
    void CountThrough(int number);
    int Frontier() const;
    void CountSlice();
    void Flush();
    void DropFarLayouts();
    // Long blocks: the piece laid out, with its height corrected; the pieces
    // within document heights from..to.
    LongBlock* Long(int number) const { return number < int(longs.size()) ? longs[std::size_t(number)].get() : nullptr; }
    int PieceChars() const;
    void MarkKept(int number);
    QTextLayout* Piece(int number, const QTextBlock& block, int piece);
    void Grew(int number, int piece, double grown);
    void EnsurePieces(int number, const QTextBlock& block, double from, double to);
    void DrawLong(QPainter* painter, const PaintContext& context, int number, const QTextBlock& block, const QRectF& clip);
    // The block's piece holding pos (relative) with its lines, and the line there.
    QTextLine PieceLine(const QTextBlock& block, int pos, int* piece, QTextLayout** layout) const;

    PrefixIndex index;
    std::vector<State> states;
    // Each block's characters, when it is visible, short and in the first
    // block's format (-1 otherwise): a new width or wrap is estimated from these.
    std::vector<int> plainChars;
    int plainFormat = -1;
    bool plainKnown = false;
    int plainTotal = 0;           // the document's characters they were counted for
    std::vector<int> lines;       // display lines of each block, -1 while not counted
    LineIndex lineIndex;          // the same, at least one a block
    mutable int counted = 0;      // every block before this one is counted
    QTimer counter;
    std::vector<std::unique_ptr<LongBlock>> longs;   // by block number, for long blocks only
    int longBlockChars = LongBlockChars;
    int pieceChars = 0;
    int longCount = 0;
    std::vector<int> kept;        // numbers of blocks that may hold lines
    int handedOut = -1;           // the block whose lines a caller reads now: kept
    int keptCount = 0;            // blocks whose state is Laid or Pooled
    std::unordered_map<int, std::unique_ptr<QTextLayout>> pool;   // by block number
    FlowSettings settings;
    BlockEstimator estimator;
    bool stale = true;
    double widest = 0;
    // Takes in a line's natural width; a wider document is news to the view even
    // when no height changed (its horizontal scroll bar follows the width).
    void Widen(double width);
    double viewTop = 0;
    double viewHeight = 800;
    double pendingShift = 0;
    bool sizeChanged = false;
    bool reporting = false;      // telling the view of a new size
    int depth = 0;
    bool drawing = false;
    bool flushQueued = false;
    int cursorWidth = 1;
    bool caretHidden = false;
    struct Edit {
        int from = -1;
        int removed = 0;
        int added = 0;
    };
    Edit edited;                  // the edit Qt told of last, before it reports it here
};

} // namespace platform
