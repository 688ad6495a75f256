// SPDX-License-Identifier: GPL-3.0-or-later
// Page layout for printing (EM_FORMATRANGE): the text laid out once for the
// printing device and the page area, then drawn or measured page by page.
#include "richeditimpl.h"

#include "decorations.h"
#include "displayformats.h"
#include "picturehandler.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QTextFrame>
#include <QTextTable>
#include <QTextLayout>

#include <cmath>
#include <limits>
#include <map>
#include <unordered_map>
#include <vector>

namespace platform {

namespace {

constexpr int TwipsPerInch = 1440;
// Device resolutions outside this range are taken as the fallback.
constexpr int FallbackDpi = 600;
constexpr int MaxDpi = 1 << 16;

int TwipsToPixels(std::int32_t twips, int dpi)
{
    return int(std::int64_t(twips) * dpi / TwipsPerInch);
}

int UsableDpi(int dpi)
{
    return dpi > 0 && dpi <= MaxDpi ? dpi : FallbackDpi;
}

// A device that answers only its resolution: the layout measures fonts through
// it, and it outlives the caller's device between the pages of a run.
class ResolutionDevice : public QPaintDevice {
public:
    explicit ResolutionDevice(int dpi) : dpi(dpi) {}
    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return dpi;
        case PdmWidth:
        case PdmHeight:
            return dpi * 12;
        case PdmWidthMM:
        case PdmHeightMM:
            return 305;
        case PdmDepth:
            return 24;
        case PdmNumColors:
            return 0xFFFFFF;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        }
        return 0;
    }

private:
    int dpi;
};

} // namespace

namespace {

// Heights closer than this are taken as equal: positions are sums of fractional
// line heights.
constexpr qreal Slack = 0.25;

} // namespace

// The text of one print run laid out once, in one column as tall as it needs,
// then cut into pages between lines: a page ends above the first line that would
// not fit whole, so every line prints once, whole, inside the text area. A table
// row that fits on a page is kept on one page; a taller one is cut between the
// lines of its cells.
struct PrintLayout {
    PrintLayout(int dpiY) : device(dpiY) {}

    // What the layout was made for.
    const QTextDocument* source = nullptr;
    int revision = -1;
    int base = 0;       // the source position of the layout's first character
    int end = 0;        // the source position where the printed range ends
    int shift = 0;      // source position - layout position, for positions from base on
    int dpiX = 0;
    int dpiY = 0;
    int areaWidth = 0;  // device pixels
    int areaHeight = 0;
    bool monochrome = false;
    QColor link;   // the colour links print in

    ResolutionDevice device;
    std::unique_ptr<QTextDocument> doc;
    int significantEnd = 0;  // layout position after the last character that shows on paper

    // A band of the layout's height printed on one page, and the source position
    // the page is known by (increasing from page to page).
    struct Page {
        qreal top = 0;
        qreal bottom = 0;
        int start = 0;
        // Paragraphs begun on an earlier page: Qt draws the last of their lines
        // above the page again, so their lines on this page are drawn one by one.
        std::vector<int> continued;
    };
    std::vector<Page> pages;
    std::unordered_map<int, int> pageAt;  // source positions -> their page

    bool Matches(const QTextDocument* text, const FORMATRANGE& fr, int from, int to, int x, int y, int w, int h) const
    {
        return source == text && revision == text->revision() && from >= base && to == end && dpiX == x
            && dpiY == y && areaWidth == w && areaHeight == h && monochrome == fr.monochrome;
    }

    int PageOf(int sourcePos) const
    {
        if (auto it = pageAt.find(sourcePos); it != pageAt.end())
            return it->second;
        // A position no page began with: the page showing its line.
        const int pos = std::clamp(sourcePos - shift, 0, doc->characterCount() - 1);
        const QTextBlock block = doc->findBlock(pos);
        const QTextLine line = block.layout()->lineForTextPosition(pos - block.position());
        const qreal top = LayoutTop(block) + (line.isValid() ? line.y() : 0);
        const auto after = std::upper_bound(pages.begin(), pages.end(), top,
                                            [](qreal y, const Page& page) { return y < page.top; });
        return after == pages.begin() ? 0 : int(after - pages.begin()) - 1;
    }

    // Where the block's lines are measured from.
    QPointF LayoutOrigin(const QTextBlock& block) const
    {
        return doc->documentLayout()->blockBoundingRect(block).topLeft();
    }
    qreal LayoutTop(const QTextBlock& block) const { return LayoutOrigin(block).y(); }

    // The source position after the page's text: the next page's, or the end.
    int NextStart(int page) const { return page + 1 < int(pages.size()) ? pages[std::size_t(page) + 1].start : end; }

    void Paginate();

    void Draw(QPainter* painter, int page, const QPoint& origin) const
    {
        const Page& band = pages[std::size_t(page)];
        const QRectF area(0, band.top, qreal(areaWidth) * dpiY / dpiX,
                          std::min<qreal>(band.bottom - band.top, areaHeight));
        QAbstractTextDocumentLayout::PaintContext context;
        // Lines are drawn when they touch the clip, and the next page's first line
        // starts exactly at this page's end: drawn here too, it would be invisible,
        // yet a second copy of its text in a PDF.
        context.clip = area.adjusted(0, 0.25, 0, -0.25);
        context.palette.setColor(QPalette::Text, Qt::black);
        if (monochrome)
            context.palette.setColor(QPalette::Link, Qt::black);
        painter->save();
        painter->translate(origin);
        // The layout is made in vertical pixels; a device whose pixels are not
        // square stretches it back horizontally.
        if (dpiX != dpiY)
            painter->scale(qreal(dpiX) / dpiY, 1.0);
        painter->translate(0, -area.top());
        painter->setClipRect(area, Qt::IntersectClip);
        painter->setPen(context.palette.color(QPalette::Text));
        // Moved far above, a continued paragraph is skipped by the layout's drawing.
        constexpr qreal Away = 1e7;
        std::vector<std::pair<QTextBlock, QPointF>> moved;
        for (const int number : band.continued) {
            const QTextBlock block = doc->findBlockByNumber(number);
            const QPointF origin = LayoutOrigin(block);
            QTextLayout* lines = block.layout();
            for (int i = 0; i < lines->lineCount(); ++i) {
                const QTextLine line = lines->lineAt(i);
                const qreal top = origin.y() + line.y();
                if (top >= band.top - Slack && top < band.bottom - Slack)
                    line.draw(painter, origin);
            }
            moved.emplace_back(block, lines->position());
            lines->setPosition(lines->position() - QPointF(0, Away));
        }
        doc->documentLayout()->draw(painter, context);
        for (const auto& [block, position] : moved)
            block.layout()->setPosition(position);
        // What Qt cannot draw from the formats (double and thick underlines, list
        // numbers not starting at 1) is drawn over the page as on screen.
        PaintDecorations(*painter, *doc, area, context.palette, link);
        painter->restore();
    }
};

namespace {

struct Span {
    qreal top = 0;
    qreal bottom = 0;
    int pos = 0;         // the layout position of its first character
    int block = 0;       // the number of its paragraph
    qreal blockTop = 0;  // where its paragraph's first line begins
};

// Where a page may end: at the top of a run of lines no other line overlaps.
std::vector<Span> CleanRuns(std::vector<Span> lines)
{
    std::sort(lines.begin(), lines.end(), [](const Span& a, const Span& b) { return a.top < b.top; });
    std::vector<Span> runs;
    for (const Span& line : lines) {
        if (!runs.empty() && line.top < runs.back().bottom - Slack)
            runs.back().bottom = std::max(runs.back().bottom, line.bottom);
        else
            runs.push_back(line);
    }
    return runs;
}

} // namespace

void PrintLayout::Paginate()
{
    // Every printed line, and the rows of every table with the lines they hold.
    std::vector<Span> lines;
    std::map<std::pair<const QTextTable*, int>, Span> rowSpans;
    qreal lowest = 0;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (block.position() >= significantEnd)
            break;
        const QTextLayout* layout = block.layout();
        const qreal top = LayoutTop(block);
        const std::size_t first = lines.size();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const int pos = block.position() + line.textStart();
            if (i > 0 && pos >= significantEnd)
                break;
            // Lines set closer than their height (reduced line spacing) end where
            // the next one begins, so that they can still be parted.
            if (i > 0 && lines.back().bottom > top + line.y())
                lines.back().bottom = std::max(lines.back().top + Slack, top + line.y());
            lines.push_back({top + line.y(), top + line.y() + line.height(), pos, block.blockNumber(),
                             top + layout->lineAt(0).y()});
        }
        if (first == lines.size())
            continue;
        lowest = std::max(lowest, lines.back().bottom);
        const Span own{lines[first].top, lines.back().bottom, lines[first].pos, 0, 0};
        for (QTextFrame* frame = QTextCursor(block).currentFrame(); frame; frame = frame->parentFrame()) {
            const auto* table = qobject_cast<const QTextTable*>(frame);
            if (!table)
                continue;
            const QTextTableCell cell = table->cellAt(block.position());
            if (!cell.isValid())
                continue;
            auto [it, added] = rowSpans.try_emplace({table, cell.row()}, own);
            if (!added) {
                it->second.top = std::min(it->second.top, own.top);
                it->second.bottom = std::max(it->second.bottom, own.bottom);
            }
        }
    }
    // Rows that fit on a page are not cut.
    std::vector<Span> rows;
    for (const auto& [key, row] : rowSpans)
        if (row.bottom - row.top <= areaHeight)
            rows.push_back(row);
    const auto topFirst = [](const Span& a, const Span& b) { return a.top < b.top; };
    std::sort(rows.begin(), rows.end(), topFirst);
    const std::vector<Span> runs = CleanRuns(lines);
    std::sort(lines.begin(), lines.end(), topFirst);
    const auto below = [](const Span& span, qreal y) { return span.top < y; };
    const auto above = [](qreal y, const Span& span) { return y < span.top; };

    // Where a page must be cut inside lines that overlap all the way down (or
    // through one line taller than the page): before the last line beginning on it.
    const auto cut = [&](qreal top, qreal limit) {
        const auto line = std::lower_bound(lines.begin(), lines.end(), limit + Slack, below);
        return line != lines.begin() && std::prev(line)->top > top + Slack ? std::prev(line)->top : limit;
    };

    pages.clear();
    pageAt.clear();
    constexpr qreal Open = std::numeric_limits<qreal>::max();
    qreal top = runs.empty() ? 0 : runs.front().top;
    while (true) {
        const qreal limit = top + areaHeight;
        auto run = std::lower_bound(runs.begin(), runs.end(), top - Slack, below);
        qreal bottom = Open;
        if (run != runs.begin() && std::prev(run)->bottom > limit + Slack) {
            // Still inside what the previous page had to cut.
            bottom = cut(top, limit);
        } else {
            // The first run that does not end on this page begins the next one.
            while (run != runs.end() && run->bottom <= limit + Slack)
                ++run;
            if (run != runs.end())
                bottom = run->top;
            // A row that would be cut moves whole to the next page, as long as
            // the page keeps something.
            for (bool moved = bottom != Open; moved;) {
                moved = false;
                for (auto row = std::upper_bound(rows.begin(), rows.end(), top + Slack, above);
                     row != rows.end() && row->top < bottom - Slack; ++row) {
                    if (row->bottom > bottom + Slack) {
                        bottom = row->top;
                        moved = true;
                        break;
                    }
                }
                // Back to where no line of a neighbouring cell is cut.
                const auto clean = std::upper_bound(runs.begin(), runs.end(), bottom + Slack, above);
                if (moved && clean != runs.begin() && std::prev(clean)->bottom > bottom + Slack
                    && std::prev(clean)->top > top + Slack)
                    bottom = std::prev(clean)->top;
            }
            if (bottom <= top + Slack)
                bottom = cut(top, limit);
        }
        Page page{top, bottom, base, {}};
        // The page is known by its first character in text order.
        int first = std::numeric_limits<int>::max();
        for (auto line = std::lower_bound(lines.begin(), lines.end(), top - Slack, below);
             line != lines.end() && line->top < bottom - Slack; ++line) {
            first = std::min(first, line->pos + shift);
            if (line->blockTop < top - Slack
                && std::find(page.continued.begin(), page.continued.end(), line->block) == page.continued.end())
                page.continued.push_back(line->block);
        }
        if (!pages.empty())
            page.start = std::max(first == std::numeric_limits<int>::max() ? 0 : first, pages.back().start + 1);
        if (bottom == Open)
            page.bottom = std::max(lowest, top + areaHeight);
        pages.push_back(page);
        pageAt.emplace(page.start, int(pages.size()) - 1);
        if (bottom == Open || lowest <= bottom + Slack)
            break;
        top = bottom;
    }
}

namespace {

std::unique_ptr<PrintLayout> MakeLayout(const QTextDocument* source, const FORMATRANGE& fr, int from, int to,
                                        int dpiX, int dpiY, int width, int height, const QColor& link)
{
    auto layout = std::make_unique<PrintLayout>(dpiY);
    layout->source = source;
    layout->revision = source->revision();
    layout->base = from;
    layout->end = to;
    layout->dpiX = dpiX;
    layout->dpiY = dpiY;
    layout->areaWidth = width;
    layout->areaHeight = height;
    layout->monochrome = fr.monochrome;
    layout->link = fr.monochrome ? QColor(Qt::black) : link;

    // A copy keeps the shown text's own layout (screen resolution, its wrapping)
    // untouched while the pages are made.
    layout->doc.reset(source->clone());
    QTextDocument* doc = layout->doc.get();
    doc->setUndoRedoEnabled(false);
    const int total = doc->characterCount() - 1;
    if (to < total) {
        QTextCursor tail(doc);
        tail.setPosition(to);
        tail.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        tail.removeSelectedText();
    }
    if (from > 0) {
        // Removing the head of a table leaves its empty cells, so the shift of
        // positions is read from a cursor rather than assumed.
        QTextCursor mark(doc);
        mark.setPosition(from);
        QTextCursor head(doc);
        head.setPosition(0);
        head.setPosition(from, QTextCursor::KeepAnchor);
        head.removeSelectedText();
        layout->shift = from - mark.position();
    }
    if (fr.monochrome) {
        QTextCursor all(doc);
        all.select(QTextCursor::Document);
        QTextCharFormat black;
        black.setForeground(Qt::black);
        black.setUnderlineColor(Qt::black);
        all.mergeCharFormat(black);
    }
    // Links, hidden text and underline kinds print as they show: the display
    // formats go on before the copy is laid out.
    DisplayFormats display;
    display.RestyleAll(*doc, layout->link, false);
    // Blank lines at the end would otherwise make a page of their own.
    int significant = doc->characterCount() - 1;
    while (significant > 0 && doc->characterAt(significant - 1).isSpace())
        --significant;
    layout->significantEnd = significant;

    doc->setDocumentMargin(0);
    InstallPictureHandler(*doc->documentLayout());
    doc->documentLayout()->setPaintDevice(&layout->device);
    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    doc->setDefaultTextOption(option);
    doc->setTextWidth(qreal(width) * dpiY / dpiX);
    // Lays everything out now: the pages are then only looked up.
    doc->documentLayout()->documentSize();
    layout->Paginate();
    return layout;
}

} // namespace

std::int32_t RichEdit::FormatRange(const FORMATRANGE* range, bool render)
{
    if (!range) {
        d->printLayout.reset();
        return 0;
    }
    const FORMATRANGE& fr = *range;
    const std::int32_t length = d->TextLength();
    const std::int32_t end = fr.chrg.cpMax < 0 || fr.chrg.cpMax > length ? length : fr.chrg.cpMax;
    const std::int32_t from = std::clamp(fr.chrg.cpMin, 0, length);
    if (from >= end)
        return from;

    const QPaintDevice* target = fr.hdcTarget ? fr.hdcTarget : (fr.hdc ? fr.hdc->device() : nullptr);
    const int dpiX = UsableDpi(target ? target->logicalDpiX() : FallbackDpi);
    const int dpiY = UsableDpi(target ? target->logicalDpiY() : FallbackDpi);
    const int left = TwipsToPixels(fr.rc.left, dpiX);
    const int top = TwipsToPixels(fr.rc.top, dpiY);
    const int width = TwipsToPixels(fr.rc.right, dpiX) - left;
    const int height = TwipsToPixels(fr.rc.bottom, dpiY) - top;
    // An area that holds nothing: nothing fits.
    if (width <= 0 || height <= 0)
        return from;

    std::shared_ptr<PrintLayout>& layout = d->printLayout;
    if (!layout || !layout->Matches(d->doc, fr, from, end, dpiX, dpiY, width, height))
        layout = MakeLayout(d->doc, fr, from, end, dpiX, dpiY, width, height, d->LinkColor());

    const int page = layout->PageOf(from);
    if (render && fr.hdc)
        layout->Draw(fr.hdc, page, QPoint(left, top));
    return std::clamp(layout->NextStart(page), from + 1, end);
}

} // namespace platform
