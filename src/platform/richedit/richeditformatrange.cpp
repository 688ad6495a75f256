// SPDX-License-Identifier: GPL-3.0-or-later
// Page layout for printing (EM_FORMATRANGE): the text laid out once for the
// printing device and the page area, then drawn or measured page by page.
#include "richeditimpl.h"

#include "decorations.h"
#include "displayformats.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <cmath>
#include <unordered_map>

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

// Whether the layout's block rectangles start at the block's first line rather
// than at the block's own position; Qt versions differ, and a line moved to the
// next page is where it shows. Asked once of a small document whose third line
// must move.
bool BlockRectStartsAtFirstLine()
{
    static const bool answer = [] {
        QTextDocument probe;
        probe.setDocumentMargin(0);
        QTextCursor cursor(&probe);
        QTextBlockFormat fixed;
        fixed.setLineHeight(40, QTextBlockFormat::FixedHeight);
        cursor.setBlockFormat(fixed);
        cursor.insertText(QStringLiteral("a"));
        cursor.insertBlock(fixed);
        cursor.insertText(QStringLiteral("b"));
        cursor.insertBlock(fixed);
        cursor.insertText(QStringLiteral("c"));
        probe.setPageSize(QSizeF(200, 100));
        const QTextBlock moved = probe.lastBlock();
        const qreal top = probe.documentLayout()->blockBoundingRect(moved).top();
        const qreal ownTop = moved.layout()->position().y();
        return moved.layout()->boundingRect().top() != 0 && std::abs(top - ownTop) > 0.5;
    }();
    return answer;
}

} // namespace

// The text of one print run laid out on equal pages. Qt's own pagination keeps a
// line (and a table row's cells) whole on one page; page k covers the layout's
// heights [k * pageHeight, (k + 1) * pageHeight).
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
    std::unordered_map<int, int> pageAt;  // source positions answered -> the page they begin

    bool Matches(const QTextDocument* text, const FORMATRANGE& fr, int from, int to, int x, int y, int w, int h) const
    {
        return source == text && revision == text->revision() && from >= base && to == end && dpiX == x
            && dpiY == y && areaWidth == w && areaHeight == h && monochrome == fr.monochrome;
    }

    // The height in the layout where the block's own coordinates begin.
    qreal BlockTop(const QTextBlock& block) const
    {
        const QRectF rect = doc->documentLayout()->blockBoundingRect(block);
        return BlockRectStartsAtFirstLine() ? rect.top() - block.layout()->boundingRect().top() : rect.top();
    }

    qreal LineTop(const QTextBlock& block, const QTextLine& line) const { return BlockTop(block) + line.y(); }

    int PageOfLine(qreal top) const
    {
        // Half a pixel of slack: line positions are sums of fractional heights.
        return std::max(0, int(std::floor((top + 0.5) / areaHeight)));
    }

    int PageOf(int sourcePos)
    {
        if (auto it = pageAt.find(sourcePos); it != pageAt.end())
            return it->second;
        const int pos = std::clamp(sourcePos - shift, 0, doc->characterCount() - 1);
        const QTextBlock block = doc->findBlock(pos);
        const QTextLine line = block.layout()->lineForTextPosition(pos - block.position());
        if (!line.isValid())
            return PageOfLine(BlockTop(block));
        return PageOfLine(LineTop(block, line));
    }

    // The first source position, in text order, on a page after the given one; the
    // range's end when nothing but blank characters is left.
    int NextPageStart(int page, int fromSourcePos) const
    {
        const qreal limit = qreal(page + 1) * areaHeight - 0.5;
        const int from = std::clamp(fromSourcePos - shift, 0, doc->characterCount() - 1);
        for (QTextBlock block = doc->findBlock(from); block.isValid(); block = block.next()) {
            const QTextLayout* lines = block.layout();
            if (BlockTop(block) + lines->boundingRect().bottom() <= limit)
                continue;
            for (int i = 0; i < lines->lineCount(); ++i) {
                const QTextLine line = lines->lineAt(i);
                const int pos = block.position() + line.textStart();
                if (pos < from || LineTop(block, line) < limit)
                    continue;
                return pos >= significantEnd ? end : pos + shift;
            }
        }
        return end;
    }

    void Draw(QPainter* painter, int page, const QPoint& origin) const
    {
        const QRectF area(0, qreal(page) * areaHeight, qreal(areaWidth) * dpiY / dpiX, areaHeight);
        QAbstractTextDocumentLayout::PaintContext context;
        // Lines are drawn when they touch the clip, and a line moved onto the next
        // page starts exactly at this page's end: drawn here too, it would be
        // invisible, yet a second copy of its text in a PDF.
        context.clip = area.adjusted(0, 0.5, 0, -0.5);
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
        doc->documentLayout()->draw(painter, context);
        // What Qt cannot draw from the formats (double and thick underlines, list
        // numbers not starting at 1) is drawn over the page as on screen.
        PaintDecorations(*painter, *doc, area, context.palette, link);
        painter->restore();
    }
};

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
    doc->documentLayout()->setPaintDevice(&layout->device);
    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    doc->setDefaultTextOption(option);
    doc->setPageSize(QSizeF(qreal(width) * dpiY / dpiX, height));
    // Lays everything out now: the pages are then only looked up.
    doc->documentLayout()->documentSize();
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
    const int next = std::max(layout->NextPageStart(page, from), from + 1);
    layout->pageAt.emplace(next, page + 1);
    return std::min(next, end);
}

} // namespace platform
