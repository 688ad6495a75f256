// SPDX-License-Identifier: GPL-3.0-or-later
// The viewport-first layout of the shown document.
#include "documentlayout.h"

#include "../listmarkers.h"
#include "widelines.h"
#include "../picturehandler.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

namespace {

// Paragraphs longer than this are laid out in their own layout, which Qt's
// caret moves need, even when only drawn: laying such a paragraph out twice, in
// a pool for the view and again for a Page Down through it, costs more than the
// layout object Qt then keeps for it.
constexpr int OwnLayoutChars = 1024;

// Drops a block's lines and the glyphs its last drawing left behind (clearing
// the lines alone keeps those, a kilobyte or so a paragraph); an empty pass
// through the layout frees them.
void Release(QTextLayout* layout)
{
    layout->beginLayout();
    layout->endLayout();
    layout->clearLayout();
}

} // namespace

const QTextCharFormat* SelectionFrom(const QAbstractTextDocumentLayout::PaintContext& context, int position)
{
    // The last selection that runs into the block from before it, as Qt finds it.
    const QTextCharFormat* format = nullptr;
    for (const QAbstractTextDocumentLayout::Selection& range : context.selections)
        if (range.cursor.selectionStart() < position && range.cursor.selectionEnd() > position)
            format = &range.format;
    return format;
}

bool FitsDocumentLayout(const QTextDocument& doc)
{
    return doc.rootFrame()->childFrames().isEmpty();
}

DocumentLayout::Scope::Scope(const DocumentLayout* owner, bool refresh) : layout(const_cast<DocumentLayout*>(owner))
{
    ++layout->depth;
    if (refresh)
        layout->EnsureCurrent();
}

DocumentLayout::Scope::~Scope()
{
    if (--layout->depth == 0)
        layout->Flush();
}

DocumentLayout::DocumentLayout(QTextDocument* doc) : QAbstractTextDocumentLayout(doc)
{
    InstallPictureHandler(*this);
    counter.setSingleShot(true);
    counter.setInterval(0);
    connect(&counter, &QTimer::timeout, this, [this] { CountSlice(); });
    connect(doc, &QTextDocument::contentsChange, this, [this](int from, int removed, int added) {
        edited = {from, removed, added};
    });
}

FlowSettings DocumentLayout::CurrentSettings() const
{
    const QTextDocument* doc = document();
    FlowSettings wanted;
    wanted.pageWidth = doc->pageSize().width();
    wanted.margin = doc->documentMargin();
    wanted.wrap = doc->defaultTextOption().wrapMode() != QTextOption::NoWrap;
    return wanted;
}

void DocumentLayout::EnsureCurrent()
{
    const FlowSettings wanted = CurrentSettings();
    if (stale || wanted.pageWidth != settings.pageWidth || wanted.margin != settings.margin
        || wanted.wrap != settings.wrap || int(states.size()) != document()->blockCount())
        Reset();
}

void DocumentLayout::Reset()
{
    // The text under the top of the viewport stays where it is shown: the
    // character starting the line there when the block is laid out, else the
    // same share of the block's height.
    const QTextDocument* doc = document();
    int anchor = -1;
    int anchorChar = -1;
    double within = 0;
    // A view at the top, its margin included, stays there: nothing above it can move.
    if (!stale && index.Size() > 0 && index.Size() == doc->blockCount() && viewTop > settings.margin) {
        anchor = index.Find(viewTop - settings.margin);
        const double height = index.Height(anchor);
        within = height > 0 ? (viewTop - Top(anchor)) / height : 0;
        const State state = states[std::size_t(anchor)];
        const QTextLayout* layout = state == State::Laid ? doc->findBlockByNumber(anchor).layout()
                                    : state == State::Pooled ? pool.at(anchor).get()
                                                             : nullptr;
        if (const LongBlock* lb = Long(anchor)) {
            // A long block keeps the first character of the piece at the top.
            const int piece = lb->PieceAtY(viewTop - Top(anchor));
            anchorChar = lb->Start(piece);
            within = viewTop - (Top(anchor) + lb->Top(piece));
        } else if (layout && layout->lineCount() > 0) {
            for (int i = 0; i < layout->lineCount(); ++i) {
                const QTextLine line = layout->lineAt(i);
                if (Top(anchor) + line.y() + line.height() > viewTop || i + 1 == layout->lineCount()) {
                    anchorChar = line.textStart();
                    within = viewTop - (Top(anchor) + line.y());
                    break;
                }
            }
        }
    }
    for (int number : kept) {
        if (number < int(states.size()) && states[std::size_t(number)] == State::Laid && !Long(number)) {
            const QTextBlock block = doc->findBlockByNumber(number);
            if (block.isValid())
                Release(block.layout());
        }
    }
    pool.clear();
    kept.clear();
    keptCount = 0;
    widest = 0;
    settings = CurrentSettings();
    estimator.Reset(doc);
    const int count = doc->blockCount();
    std::vector<double> heights;
    longs.clear();
    longs.resize(std::size_t(count));
    longCount = 0;
    if (!EstimateByLength(heights)) {
        heights.clear();
        heights.reserve(std::size_t(count));
        plainFormat = doc->begin().blockFormatIndex();
        plainChars.clear();
        plainChars.reserve(std::size_t(count));
        // Plain paragraphs in one font are estimated from their length alone:
        // reading each one's formats took longer than building the document.
        const std::optional<BlockEstimator::ByLength> byLength = PlainByLength();
        int number = 0;
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next(), ++number) {
            const int chars = PlainChars(block);
            heights.push_back(chars >= 0 && byLength ? (*byLength)(chars) : Estimated(number, block));
            plainChars.push_back(chars);
        }
        plainKnown = true;
        plainTotal = doc->characterCount();
    }
    index.Assign(std::move(heights));
    states.assign(std::size_t(count), State::Estimated);
    lines.assign(std::size_t(count), -1);
    lineIndex.Assign(std::vector<int>(std::size_t(count), 1));
    counted = 0;
    stale = false;
    sizeChanged = true;
    if (anchor >= 0 && anchor < count) {
        double top = Top(anchor) + (anchorChar >= 0 ? 0 : within * index.Height(anchor));
        if (const LongBlock* lb = Long(anchor); lb && anchorChar >= 0) {
            top = Top(anchor) + lb->Top(lb->PieceAt(anchorChar)) + std::max(0.0, within);
        } else if (anchorChar >= 0) {
            const QTextLayout* laid = Ensure(anchor, doc->findBlockByNumber(anchor), false);
            const QTextLine line = laid->lineForTextPosition(anchorChar);
            if (line.isValid())
                top = Top(anchor) + line.y() + std::clamp(within, 0.0, line.height());
        }
        pendingShift += top - viewTop;
        viewTop = top;
    }
}

double DocumentLayout::Estimated(int number, const QTextBlock& block)
{
    if (block.isVisible() && block.length() - 1 > longBlockChars) {
        longs[std::size_t(number)] = std::make_unique<LongBlock>(block, PieceChars(), estimator, settings);
        ++longCount;
        return longs[std::size_t(number)]->Total();
    }
    return estimator.Estimate(block, settings);
}

int DocumentLayout::PlainChars(const QTextBlock& block) const
{
    const int chars = block.length() - 1;
    return block.isVisible() && chars <= longBlockChars && block.blockFormatIndex() == plainFormat ? chars : -1;
}

std::optional<BlockEstimator::ByLength> DocumentLayout::PlainByLength()
{
    const QList<QTextFormat> formats = document()->allFormats();
    if (plainFormat < 0 || plainFormat >= formats.size())
        return std::nullopt;
    return estimator.EstimateByLength(formats.at(plainFormat).toBlockFormat(), settings);
}

bool DocumentLayout::EstimateByLength(std::vector<double>& heights)
{
    // A new width or wrap changes no character: what is kept of each block
    // gives its estimate, where walking a million blocks would take a while.
    const QTextDocument* doc = document();
    const int count = doc->blockCount();
    if (!plainKnown || int(plainChars.size()) != count || plainTotal != doc->characterCount())
        return false;
    const std::optional<BlockEstimator::ByLength> byLength = PlainByLength();
    auto others = std::count(plainChars.begin(), plainChars.end(), -1);
    if (!byLength || others > count / 8)
        return false;
    heights.resize(std::size_t(count));
    std::transform(plainChars.begin(), plainChars.end(), heights.begin(),
                   [&](int chars) { return chars >= 0 ? (*byLength)(chars) : 0.0; });
    for (int number = 0; number < count && others > 0; ++number) {
        if (plainChars[std::size_t(number)] < 0) {
            heights[std::size_t(number)] = Estimated(number, doc->findBlockByNumber(number));
            --others;
        }
    }
    return true;
}

void DocumentLayout::Measure(int number, const QTextBlock& block)
{
    if (Long(number)) {
        EnsurePieces(number, block, viewTop - viewHeight, viewTop + 2 * viewHeight);
        return;
    }
    const BlockFlow flow = LayOutBlock(block, settings);
    Hold(number, State::Laid);
    Apply(number, flow);
}

void DocumentLayout::Hold(int number, State now)
{
    State& state = states[std::size_t(number)];
    if (state != State::Laid) {
        kept.push_back(number);
        ++keptCount;
    }
    state = now;
}

void DocumentLayout::SetLines(int number, int count)
{
    lines[std::size_t(number)] = count;
    lineIndex.SetHeight(number, std::max(1, count));
}

void DocumentLayout::Apply(int number, const BlockFlow& flow)
{
    SetLines(number, flow.lines);
    Widen(flow.naturalWidth);
    const double old = index.Height(number);
    if (flow.height == old)
        return;
    const double top = Top(number);
    index.SetHeight(number, flow.height);
    sizeChanged = true;
    // A correction wholly above what is shown moves the shown text with it.
    if (top + old <= viewTop) {
        pendingShift += flow.height - old;
        viewTop += flow.height - old;
    }
}

QTextLayout* DocumentLayout::Ensure(int number, const QTextBlock& block, bool forQt)
{
    State& state = states[std::size_t(number)];
    if (Long(number)) {
        EnsurePieces(number, block, viewTop - viewHeight, viewTop + 2 * viewHeight);
        QTextLayout* whole = block.layout();
        whole->setPosition(QPointF(0, Top(number)));
        return whole;
    }
    if (state == State::Pooled && forQt) {
        pool.erase(number);
        state = State::Measured;
        --keptCount;
    }
    QTextLayout* layout = nullptr;
    if (state == State::Laid)
        layout = block.layout();
    else if (state == State::Pooled)
        layout = pool.at(number).get();
    else if (!forQt && !(Styled && Styled(block)) && block.length() <= OwnLayoutChars)
        layout = LayOutInPool(number, block);
    if (!layout) {
        Measure(number, block);
        layout = block.layout();
    }
    // Heights above may have changed since: the layout's position is its top now.
    layout->setPosition(QPointF(0, Top(number)));
    return layout;
}

QTextLayout* DocumentLayout::LayOutInPool(int number, const QTextBlock& block)
{
    BlockFlow flow;
    std::unique_ptr<QTextLayout> layout = LayOutCopy(block, settings, flow);
    if (!layout)
        return nullptr;
    QTextLayout* lines = layout.get();
    pool[number] = std::move(layout);
    Hold(number, State::Pooled);
    Apply(number, flow);
    return lines;
}

void DocumentLayout::EnsureAbove(int number, double span)
{
    // The blocks just above one that is asked for are laid out too, so that a
    // view scrolled to show it finds its neighbours where they will be drawn.
    QTextBlock block = document()->findBlockByNumber(number);
    double covered = 0;
    for (block = block.previous(); block.isValid() && covered < span; block = block.previous()) {
        --number;
        Ensure(number, block, false);
        covered += index.Height(number);
    }
}

double DocumentLayout::Width() const
{
    return std::max(settings.pageWidth, widest + settings.margin);
}

void DocumentLayout::Widen(double width)
{
    if (width <= widest)
        return;
    const double before = Width();
    widest = width;
    sizeChanged = sizeChanged || Width() != before;
}

void DocumentLayout::Flush()
{
    if (drawing) {
        // Signals from inside a paint would scroll the view while it paints.
        if (!flushQueued && (sizeChanged || pendingShift != 0)) {
            flushQueued = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    flushQueued = false;
                    Scope scope(this);
                },
                Qt::QueuedConnection);
        }
        return;
    }
    DropFarLayouts();
    ++depth;
    // The view takes the new size first, and may move its scroll bar to stay in
    // range; where it is meant to be is then set by the shift.
    reporting = true;
    if (sizeChanged) {
        sizeChanged = false;
        emit documentSizeChanged(documentSize());
    }
    const double shift = pendingShift;
    pendingShift = 0;
    reporting = false;
    if (shift != 0 && OnShift)
        OnShift(shift);
    --depth;
}

void DocumentLayout::DropFarLayouts()
{
    const int center = std::max(0, index.Find(viewTop - settings.margin));
    if (longCount > 0) {
        for (int number : kept) {
            LongBlock* lb = number < int(states.size()) && states[std::size_t(number)] == State::Laid ? Long(number) : nullptr;
            if (!lb || lb->LaidPieces() <= PiecesKept)
                continue;
            // The pieces around the top of the view keep their lines.
            const double y = viewTop - Top(number);
            lb->DropFar(y < 0 ? 0 : lb->PieceAtY(y), PiecesKept / 2 - 1);
        }
    }
    if (keptCount <= KeptLayoutsLimit)
        return;
    const QTextDocument* doc = document();
    std::vector<int> near;
    for (int number : kept) {
        if (number >= int(states.size()) || !HoldsLines(states[std::size_t(number)]))
            continue;
        if (std::abs(number - center) <= KeptRadius || number == handedOut) {
            near.push_back(number);
            continue;
        }
        // The height stays known; the lines come back when the block is shown.
        if (states[std::size_t(number)] == State::Pooled)
            pool.erase(number);
        else if (LongBlock* lb = Long(number))
            lb->DropFar(-1, 0);
        else
            Release(doc->findBlockByNumber(number).layout());
        states[std::size_t(number)] = State::Measured;
    }
    std::sort(near.begin(), near.end());
    near.erase(std::unique(near.begin(), near.end()), near.end());
    kept = std::move(near);
    keptCount = int(kept.size());
#if defined(__GLIBC__)
    // The lines and glyphs of thousands of paragraphs were freed in small pieces
    // scattered over the heap: hand the whole pages among them back, or a text
    // scrolled through holds on to what it once laid out.
    malloc_trim(0);
#endif
}

void DocumentLayout::documentChanged(int from, int charsRemoved, int charsAdded)
{
    // The control sets a paragraph's display formats while Qt tells of an edit,
    // and Qt then reports the edit widened to the whole paragraph. In a paragraph
    // laid out in pieces the display formats outside the edit only moved with
    // the text, so the edit itself is followed, not a new cut of millions of characters.
    const Edit told = edited;
    edited = {};
    if (told.from >= 0 && from <= told.from && from + charsAdded >= told.from + told.added && !stale
        && Long(document()->findBlock(told.from).blockNumber())) {
        from = told.from;
        charsRemoved = told.removed;
        charsAdded = told.added;
    }
    // While a detached document is filled there is no width yet: one estimate
    // of everything once it is shown beats following every insertion.
    if (stale || document()->pageSize().isNull()) {
        stale = true;
        plainKnown = false;
        return;
    }
    Scope scope(this, false);
    const QTextDocument* doc = document();
    const FlowSettings wanted = CurrentSettings();
    if ((from == 0 && charsAdded >= doc->characterCount() - 1) || wanted.pageWidth != settings.pageWidth
        || wanted.margin != settings.margin || wanted.wrap != settings.wrap) {
        // A new width, or the whole text formatted anew (a font, an option):
        // estimate everything again. Only a new width, wrap, option or default
        // font, which Qt reports as nothing removed, leaves each block's characters.
        if (from != 0 || charsRemoved != 0)
            plainKnown = false;
        Reset();
        emit update(QRectF(0, 0, 1e9, 1e9));
        return;
    }
    const int count = doc->blockCount();
    const int oldCount = int(states.size());
    const QTextBlock firstBlock = doc->findBlock(from);
    QTextBlock lastBlock = doc->findBlock(from + charsAdded);
    if (!lastBlock.isValid())
        lastBlock = doc->lastBlock();
    const int first = firstBlock.blockNumber();
    const int changed = lastBlock.blockNumber() - first + 1;
    const int replaced = changed - (count - oldCount);
    if (replaced < 0 || first + replaced > oldCount) {
        plainKnown = false;
        Reset();
        emit update(QRectF(0, 0, 1e9, 1e9));
        return;
    }
    const double top = Top(first);
    std::unique_ptr<LongBlock> firstLong;
    double oldHeight = 0;
    for (int i = first; i < first + replaced; ++i)
        oldHeight += index.Height(i);
    if (count != oldCount) {
        std::vector<double> heights(static_cast<std::size_t>(count));
        for (int i = 0; i < first; ++i)
            heights[std::size_t(i)] = index.Height(i);
        for (int i = first + replaced; i < oldCount; ++i)
            heights[std::size_t(i + count - oldCount)] = index.Height(i);
        for (int& number : kept)
            number = number >= first + replaced ? number + count - oldCount : (number >= first ? -1 : number);
        std::unordered_map<int, std::unique_ptr<QTextLayout>> moved;
        for (auto& [number, layout] : pool) {
            if (number < first || number >= first + replaced)
                moved[number >= first ? number + count - oldCount : number] = std::move(layout);
        }
        pool = std::move(moved);
        kept.erase(std::remove(kept.begin(), kept.end(), -1), kept.end());
        const auto at = [](auto& v, int i) { return v.begin() + i; };
        std::vector<State> newStates(std::size_t(changed), State::Estimated);
        std::vector<int> newLines(std::size_t(changed), -1);
        for (int i = first; i < first + replaced; ++i) {
            keptCount -= HoldsLines(states[std::size_t(i)]) ? 1 : 0;
            longCount -= longs[std::size_t(i)] ? 1 : 0;
        }
        // The first block keeps its start: what it kept of its text keeps its pieces.
        firstLong = std::move(longs[std::size_t(first)]);
        std::vector<std::unique_ptr<LongBlock>> newLongs(static_cast<std::size_t>(count));
        for (int i = 0; i < first; ++i)
            newLongs[std::size_t(i)] = std::move(longs[std::size_t(i)]);
        for (int i = first + replaced; i < oldCount; ++i)
            newLongs[std::size_t(i + count - oldCount)] = std::move(longs[std::size_t(i)]);
        longs = std::move(newLongs);
        states.erase(at(states, first), at(states, first + replaced));
        states.insert(at(states, first), newStates.begin(), newStates.end());
        lines.erase(at(lines, first), at(lines, first + replaced));
        lines.insert(at(lines, first), newLines.begin(), newLines.end());
        if (plainKnown) {
            plainChars.erase(at(plainChars, first), at(plainChars, first + replaced));
            plainChars.insert(at(plainChars, first), newLines.begin(), newLines.end());
        }
        index.Assign(std::move(heights));
        std::vector<int> counts(lines.size());
        std::transform(lines.begin(), lines.end(), counts.begin(), [](int n) { return std::max(1, n); });
        lineIndex.Assign(std::move(counts));
    } else {
        for (int i = first; i < first + changed; ++i) {
            keptCount -= HoldsLines(states[std::size_t(i)]) ? 1 : 0;
            pool.erase(i);
            states[std::size_t(i)] = State::Estimated;
            SetLines(i, -1);
        }
    }
    // Small edits are laid out at once, as the user sees them; a large change is
    // estimated and laid out when shown.
    constexpr int LaidAtOnce = 64;
    // Lines stay counted past an edit that is laid out at once: typing into a
    // counted text does not walk the rest of it again.
    if (changed <= LaidAtOnce && counted >= first + replaced)
        counted += count - oldCount;
    else
        counted = std::min(counted, first);
    double newHeight = 0;
    // Links marked over a whole text change the formats of most paragraphs.
    const std::optional<BlockEstimator::ByLength> byLength =
        changed > LaidAtOnce ? PlainByLength() : std::nullopt;
    QTextBlock block = firstBlock;
    for (int i = first; i < first + changed && block.isValid(); ++i, block = block.next()) {
        const int plain = PlainChars(block);
        if (plainKnown)
            plainChars[std::size_t(i)] = plain;
        std::unique_ptr<LongBlock>& lb = longs[std::size_t(i)];
        const bool wasLong = bool(lb);
        if (block.isVisible() && block.length() - 1 > longBlockChars) {
            // Only the pieces an edit within the block touches are cut and laid
            // out again; a block that merged or split is cut anew.
            const int at = from - block.position();
            const bool within = lb && count == oldCount && changed == 1 && at >= 0
                                && at + charsRemoved <= lb->Length() && charsAdded < block.length() - 1;
            // A split, or a join: the part before the edit keeps its pieces (those
            // in view stay laid out); the rest is cut again. A long rest counts
            // as cut anew: its lines are left to the idle count.
            const int tail = block.length() - 1 - at;
            const bool keepsHead = i == first && firstLong && at >= 0 && at <= firstLong->Length();
            const bool cutAnew = !within && !(keepsHead && tail <= 4 * PieceChars());
            if (within) {
                lb->Edit(block, at, charsRemoved, charsAdded, estimator, settings);
            } else if (keepsHead) {
                lb = std::move(firstLong);
                lb->Edit(block, at, lb->Length() - at, tail, estimator, settings);
            } else {
                lb = std::make_unique<LongBlock>(block, PieceChars(), estimator, settings);
            }
            states[std::size_t(i)] = State::Estimated;
            MarkKept(i);
            if (changed <= LaidAtOnce) {
                double grown = 0;
                lb->LaidOut(lb->PieceAt(std::clamp(at, 0, lb->Length())), block, settings, &grown);
            }
            if (i < counted && cutAnew) {
                // Counting a paragraph cut anew lays all of it out: it is left to
                // the count that runs while the program is idle.
                counted = i;
                SetLines(i, -1);
            } else if (i < counted) {
                // The lines below stay counted only if this block's are too;
                // its untouched pieces keep their counts, so this is cheap.
                int total = 0;
                double grown = 0;
                for (int piece = 0; piece < lb->Pieces(); ++piece)
                    total += lb->Lines(piece, block, settings, &grown);
                SetLines(i, total);
            }
            index.SetHeight(i, lb->Total());
            Widen(lb->NaturalWidth());
        } else if (changed <= LaidAtOnce) {
            lb.reset();
            const BlockFlow flow = LayOutBlock(block, settings);
            states[std::size_t(i)] = State::Laid;
            kept.push_back(i);
            ++keptCount;
            SetLines(i, flow.lines);
            Widen(flow.naturalWidth);
            index.SetHeight(i, flow.height);
        } else {
            lb.reset();
            index.SetHeight(i, plain >= 0 && byLength ? (*byLength)(plain) : estimator.Estimate(block, settings));
        }
        longCount += int(bool(lb)) - int(wasLong);
        newHeight += index.Height(i);
    }
    if (plainKnown)
        plainTotal = doc->characterCount();
    if (newHeight != oldHeight) {
        sizeChanged = true;
        if (top + oldHeight <= viewTop) {
            pendingShift += newHeight - oldHeight;
            viewTop += newHeight - oldHeight;
        }
    }
    emit update(QRectF(0, top, 1e9, 1e9));
}

void DocumentLayout::SetViewport(double top, double height)
{
    Scope scope(this);
    if (!reporting)
        viewTop = top;
    viewHeight = std::max(1.0, height);
    const int count = index.Size();
    if (count == 0)
        return;
    const int first = index.Find(viewTop - settings.margin);
    EnsureAbove(first, viewHeight);
    const QTextDocument* doc = document();
    // Laying out the first block does not move its top; each next one starts
    // where the one before now ends.
    int number = index.Find(viewTop - settings.margin);
    double y = Top(number);
    for (QTextBlock block = doc->findBlockByNumber(number); block.isValid() && y < viewTop + 2 * viewHeight;
         block = block.next(), ++number) {
        Ensure(number, block, false);
        y += index.Height(number);
    }
}

int DocumentLayout::LineCount(const QTextBlock& block) const
{
    Scope scope(this);
    if (!block.isValid())
        return 0;
    return const_cast<DocumentLayout*>(this)->CountBlock(block.blockNumber(), block, true);
}

int DocumentLayout::CountLong(int number, const QTextBlock& block, const QElapsedTimer* clock, qint64 budgetNs)
{
    // Each piece keeps its count, so a count cut short by its budget goes on
    // where it stopped.
    LongBlock* lb = Long(number);
    int total = 0;
    for (int piece = 0; piece < lb->Pieces(); ++piece) {
        double grown = 0;
        total += lb->Lines(piece, block, settings, &grown);
        Grew(number, piece, grown);
        if (clock && clock->nsecsElapsed() > budgetNs && piece + 1 < lb->Pieces())
            return -1;
    }
    SetLines(number, total);
    return total;
}

int DocumentLayout::CountBlock(int number, const QTextBlock& block, bool heights)
{
    if (lines[std::size_t(number)] >= 0)
        return lines[std::size_t(number)];
    if (Long(number))
        return CountLong(number, block, nullptr, 0);
    // Counting every line of a long text must not lay it all out: most
    // paragraphs of logs, lists and verse are known to fit on one line.
    if (estimator.SurelyOneLine(block, settings)) {
        SetLines(number, 1);
    } else if (const std::optional<BlockFlow> flow = MeasureBlock(block, settings)) {
        // Counting ahead of need leaves heights alone: a correction above the
        // viewport would move and redraw the view at every slice.
        if (heights) {
            states[std::size_t(number)] = State::Measured;
            Apply(number, *flow);
        } else {
            SetLines(number, flow->lines);
        }
    } else {
        Measure(number, block);
    }
    return lines[std::size_t(number)];
}

int DocumentLayout::Frontier() const
{
    while (counted < int(lines.size()) && lines[std::size_t(counted)] >= 0)
        ++counted;
    return counted;
}

void DocumentLayout::CountThrough(int number)
{
    int next = Frontier();
    if (next > number)
        return;
    for (QTextBlock block = document()->findBlockByNumber(next); block.isValid() && next <= number;
         block = block.next(), ++next)
        CountBlock(next, block, true);
}

int DocumentLayout::FirstLine(int blockNumber) const
{
    Scope scope(this);
    blockNumber = std::clamp(blockNumber, 0, int(lines.size()));
    const_cast<DocumentLayout*>(this)->CountThrough(blockNumber - 1);
    return lineIndex.Before(blockNumber);
}

int DocumentLayout::LineTotal() const
{
    Scope scope(this);
    const_cast<DocumentLayout*>(this)->CountThrough(int(lines.size()) - 1);
    return lineIndex.Total();
}

int DocumentLayout::BlockAtLine(int line) const
{
    Scope scope(this);
    auto* self = const_cast<DocumentLayout*>(this);
    const int count = int(lines.size());
    if (line < 0 || count == 0)
        return -1;
    // Counts on until the blocks counted hold the line: the rest are not needed.
    int next = Frontier();
    int before = lineIndex.Before(next);
    for (QTextBlock block = document()->findBlockByNumber(next); block.isValid() && next < count && before <= line;
         block = block.next(), ++next)
        before += std::max(1, self->CountBlock(next, block, true));
    if (before <= line)
        return -1;
    return lineIndex.Find(line);
}

bool DocumentLayout::LinesCounted(int blockNumber, qint64 budgetNs) const
{
    Scope scope(this);
    auto* self = const_cast<DocumentLayout*>(this);
    const int upTo = std::min(blockNumber, int(lines.size()) - 1);
    int next = Frontier();
    if (next > upTo || budgetNs <= 0)
        return next > upTo;
    QElapsedTimer clock;
    clock.start();
    for (QTextBlock block = document()->findBlockByNumber(next); block.isValid() && next <= upTo;
         block = block.next(), ++next) {
        if (self->Long(next) && self->lines[std::size_t(next)] < 0) {
            if (self->CountLong(next, block, &clock, budgetNs) < 0)
                break;
        } else {
            self->CountBlock(next, block, false);
        }
        if (clock.nsecsElapsed() > budgetNs)
            break;
    }
    return Frontier() > upTo;
}

void DocumentLayout::CountInBackground()
{
    if (!counter.isActive())
        counter.start();
}

void DocumentLayout::CountSlice()
{
    // A slice stays well under a frame, so a key pressed meanwhile waits little.
    constexpr qint64 SliceNs = 4'000'000;
    if (!LinesCounted(int(lines.size()) - 1, SliceNs)) {
        counter.start();
        return;
    }
    if (OnLinesCounted)
        OnLinesCounted();
}

const QTextLayout* DocumentLayout::LaidOut(const QTextBlock& block) const
{
    Scope scope(this);
    if (!block.isValid())
        return nullptr;
    auto* self = const_cast<DocumentLayout*>(this);
    self->handedOut = block.blockNumber();
    return self->Ensure(block.blockNumber(), block);
}

int DocumentLayout::KeptLayouts() const
{
    return keptCount;
}

bool DocumentLayout::HeightKnown(int blockNumber) const
{
    return !stale && blockNumber >= 0 && blockNumber < int(states.size())
           && states[std::size_t(blockNumber)] != State::Estimated;
}

QSizeF DocumentLayout::documentSize() const
{
    if (depth == 0) {
        Scope scope(this);
        return documentSize();
    }
    return {Width(), index.Total() + 2 * settings.margin};
}

int DocumentLayout::pageCount() const
{
    return 1;
}

QRectF DocumentLayout::frameBoundingRect(QTextFrame*) const
{
    return {QPointF(0, 0), documentSize()};
}

QRectF DocumentLayout::blockBoundingRect(const QTextBlock& block) const
{
    Scope scope(this);
    if (!block.isValid() || block.document() != document())
        return {};
    auto* self = const_cast<DocumentLayout*>(this);
    const int number = block.blockNumber();
    // Qt reads the block's lines right after asking where it lies.
    self->handedOut = number;
    self->EnsureAbove(number, viewHeight);
    self->Ensure(number, block);
    return {0, Top(number), Width(), index.Height(number)};
}

QRectF DocumentLayout::Placed(const QTextBlock& block) const
{
    Scope scope(this);
    if (!block.isValid() || block.document() != document())
        return {};
    const int number = block.blockNumber();
    const_cast<DocumentLayout*>(this)->Ensure(number, block, false);
    return {0, Top(number), Width(), index.Height(number)};
}

int DocumentLayout::hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const
{
    Scope scope(this);
    if (index.Size() == 0)
        return -1;
    auto* self = const_cast<DocumentLayout*>(this);
    const int number = index.Find(point.y() - settings.margin);
    const QTextBlock block = document()->findBlockByNumber(number);
    const QTextLayout* layout = self->Ensure(number, block, false);
    int start = block.position();
    QPointF local = point - QPointF(0, Top(number));
    if (const LongBlock* lb = Long(number)) {
        const int piece = lb->PieceAtY(local.y());
        layout = self->Piece(number, block, piece);
        start += Long(number)->Start(piece);
        local = point - QPointF(0, Top(number) + Long(number)->Top(piece));
    }
    if (layout->lineCount() == 0)
        return accuracy == Qt::ExactHit ? -1 : block.position();
    // Above the first paragraph and below the last, in the document's margins:
    // the start and the end of the text.
    if (accuracy != Qt::ExactHit && number == 0 && local.y() < 0)
        return 0;
    if (accuracy != Qt::ExactHit && number + 1 == index.Size() && local.y() >= index.Height(number))
        return block.position() + block.length() - 1;
    QTextLine line = layout->lineAt(layout->lineCount() - 1);
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine candidate = layout->lineAt(i);
        if (local.y() < candidate.y() + candidate.height()) {
            line = candidate;
            break;
        }
    }
    if (accuracy == Qt::ExactHit) {
        if (!line.naturalTextRect().contains(local))
            return -1;
        return start + line.xToCursor(local.x(), QTextLine::CursorOnCharacter);
    }
    const int hit = line.xToCursor(local.x());
    // Past the end of a piece's last line: before the space the line broke at,
    // as on any line but a paragraph's last.
    if (Long(number) && hit == layout->text().size() && start + hit < block.position() + block.length() - 1
        && hit > 0 && layout->text().at(hit - 1).isSpace())
        return start + hit - 1;
    return start + hit;
}

void DocumentLayout::draw(QPainter* painter, const PaintContext& context)
{
    Scope scope(this);
    if (index.Size() == 0)
        return;
    drawing = true;
    const QTextDocument* doc = document();
    const QRectF clip = context.clip.isValid() ? context.clip : QRectF(QPointF(0, 0), documentSize());
    painter->save();
    painter->setPen(context.palette.color(QPalette::Text));
    int number = index.Find(clip.top() - settings.margin);
    double top = Top(number);
    for (QTextBlock block = doc->findBlockByNumber(number); block.isValid() && top <= clip.bottom();
         block = block.next(), ++number) {
        if (!block.isVisible())
            continue;
        // The caret's block, and the one an input method composes in, are drawn
        // from the lines Qt's cursor reads; the rest from layouts of our own.
        const bool forQt = context.cursorPosition < -1 || block.contains(context.cursorPosition);
        QTextLayout* layout = Ensure(number, block, forQt);
        const double height = index.Height(number);
        const QPointF offset(0, 0);   // the layout's position is the block's top
        const double blockTop = top;
        top += height;
        const QBrush background = block.blockFormat().background();
        if (background.style() != Qt::NoBrush)
            painter->fillRect(QRectF(0, blockTop, Width(), height), background);
        if (Long(number)) {
            DrawLong(painter, context, number, block, clip);
            continue;
        }

        const int position = block.position();
        const int length = block.length();
        QList<QTextLayout::FormatRange> selections;
        for (const Selection& range : context.selections) {
            const int start = range.cursor.selectionStart() - position;
            const int end = range.cursor.selectionEnd() - position;
            if (start < length && end > 0 && end > start) {
                selections.append({start, end - start, range.format});
            } else if (!range.cursor.hasSelection() && range.format.hasProperty(QTextFormat::FullWidthSelection)
                       && block.contains(range.cursor.position())) {
                // A full-width selection needs only a position to name its line.
                const QTextLine line = layout->lineForTextPosition(range.cursor.position() - position);
                int lineLength = line.textLength();
                if (line.textStart() + lineLength == length - 1)
                    ++lineLength;
                selections.append({line.textStart(), lineLength, range.format});
            }
        }
        if (block.textList())
            DrawListMarker(*painter, block, *layout, layout->position() + offset, context.palette,
                           SelectionFrom(context, position));
        DrawClipped(*painter, *layout, block, offset, selections, clip, drawWhole);

        int caret = context.cursorPosition;
        bool drawCaret = caret >= position && caret < position + length;
        if (caret < -1 && !layout->preeditAreaText().isEmpty()) {
            caret = layout->preeditAreaPosition() - (caret + 2);
            drawCaret = true;
        } else {
            caret -= position;
        }
        if (drawCaret)
            layout->drawCursor(painter, offset, caret, cursorWidth);
    }
    painter->restore();
    drawing = false;
}

} // namespace platform
