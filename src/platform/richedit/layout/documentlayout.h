// SPDX-License-Identifier: GPL-3.0-or-later
// The shown document's layout: the blocks in and near the viewport are laid out,
// the rest have estimated heights that are corrected as they are laid out, far
// layouts are dropped, and corrections above the viewport move it with them.
#pragma once

#include "blockflow.h"
#include "prefixindex.h"

#include <QAbstractTextDocumentLayout>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace platform {

// Whether a document can be shown by DocumentLayout: tables and lists are left to
// Qt's own layout, which places cells and draws list markers.
bool FitsDocumentLayout(const QTextDocument& doc);

class DocumentLayout : public QAbstractTextDocumentLayout {
    Q_OBJECT
    Q_PROPERTY(int cursorWidth READ CursorWidth WRITE SetCursorWidth)
public:
    // Layouts kept before the far ones are dropped, and how many blocks on each
    // side of the viewport keep theirs.
    static constexpr int KeptLayoutsLimit = 3000;
    static constexpr int KeptRadius = 600;

    explicit DocumentLayout(QTextDocument* doc);

    void draw(QPainter* painter, const PaintContext& context) override;
    int hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override;
    QSizeF documentSize() const override;
    QRectF frameBoundingRect(QTextFrame* frame) const override;
    QRectF blockBoundingRect(const QTextBlock& block) const override;

    int CursorWidth() const { return cursorWidth; }
    void SetCursorWidth(int width) { cursorWidth = width; }

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

    // What the layout holds: blocks with lines now, and whether a block's height is known.
    int KeptLayouts() const;
    bool HeightKnown(int blockNumber) const;

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
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
    void Measure(int number, const QTextBlock& block);
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
    void CountThrough(int number);
    int Frontier() const;
    void CountSlice();
    void Flush();
    void DropFarLayouts();

    PrefixIndex index;
    std::vector<State> states;
    std::vector<int> lines;       // display lines of each block, -1 while not counted
    LineIndex lineIndex;          // the same, at least one a block
    mutable int counted = 0;      // every block before this one is counted
    QTimer counter;
    std::vector<int> kept;        // numbers of blocks that may hold lines
    int handedOut = -1;           // the block whose lines a caller reads now: kept
    int keptCount = 0;            // blocks whose state is Laid or Pooled
    std::unordered_map<int, std::unique_ptr<QTextLayout>> pool;   // by block number
    FlowSettings settings;
    BlockEstimator estimator;
    bool stale = true;
    double widest = 0;
    double viewTop = 0;
    double viewHeight = 800;
    double pendingShift = 0;
    bool sizeChanged = false;
    bool reporting = false;      // telling the view of a new size
    int depth = 0;
    bool drawing = false;
    bool flushQueued = false;
    int cursorWidth = 1;
};

} // namespace platform
