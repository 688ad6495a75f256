// SPDX-License-Identifier: GPL-3.0-or-later
// Double and thick underlines and list numbers, drawn over the laid-out document.
#include "decorations.h"

#include "layout/documentlayout.h"
#include "listmarkers.h"
#include "richeditconsts.h"
#include "textproperties.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPalette>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

#include <cmath>

namespace platform {

namespace {

bool DrawnHere(int kind)
{
    return kind == CFU_UNDERLINEDOUBLE || kind == CFU_UNDERLINETHICK;
}

// Underlines a run [from, to) of a block (positions in the block) on every line
// it crosses, in whole pixel rows from where Qt puts its own underline.
void Underline(QPainter& painter, const QTextLayout& layout, const QPointF& origin, int from, int to, int kind,
               const QFont& font, const QColor& color)
{
    const QFontMetricsF metrics(font, painter.device());
    const qreal line = std::max<qreal>(1.0, std::round(metrics.lineWidth()));
    const qreal below = std::max<qreal>(1.0, metrics.underlinePos());
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine text = layout.lineAt(i);
        const int a = std::max(from, text.textStart());
        const int b = std::min(to, text.textStart() + text.textLength());
        if (a >= b)
            continue;
        const qreal x1 = origin.x() + text.cursorToX(a);
        const qreal x2 = origin.x() + text.cursorToX(b);
        const qreal left = std::min(x1, x2);
        const qreal width = std::abs(x2 - x1);
        const qreal top = std::floor(origin.y() + text.y() + text.ascent() + below - line / 2);
        if (kind == CFU_UNDERLINEDOUBLE) {
            // Two lines with a clear gap between them.
            painter.fillRect(QRectF(left, top, width, line), color);
            painter.fillRect(QRectF(left, top + line + std::max<qreal>(2.0, line), width, line), color);
        } else {
            // A heavy line: at least three rows, twice Qt's own.
            painter.fillRect(QRectF(left, top, width, std::max<qreal>(3.0, 2 * line)), color);
        }
    }
}

void DecorateBlock(QPainter& painter, const QTextBlock& block, const QPointF& origin, const QPalette& palette,
                   const QColor& link, const QFont& defaultFont, bool numbers)
{
    if (numbers && ControlDrawsNumber(block))
        DrawListMarker(painter, block, *block.layout(), origin, palette);
    // The block's own layout is asked for only when there is something to draw:
    // Qt keeps it for as long as the block lives.
    const QTextLayout* layout = nullptr;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        const int kind = format.intProperty(PropUnderlineType);
        if (!DrawnHere(kind) || format.boolProperty(PropHidden))
            continue;
        if (!layout)
            layout = block.layout();
        if (layout->lineCount() == 0)
            return;
        QColor color;
        if (format.boolProperty(PropLink))
            color = link;
        else if (format.hasProperty(QTextFormat::TextUnderlineColor) && format.underlineColor().isValid())
            color = format.underlineColor();
        else if (format.foreground().style() != Qt::NoBrush && !format.boolProperty(PropAutoColor))
            color = format.foreground().color();
        else
            color = palette.color(QPalette::Text);
        const int start = fragment.position() - block.position();
        Underline(painter, *layout, origin, start, start + fragment.length(), kind, format.font().resolve(defaultFont),
                  color);
    }
}

// The frame holding the block that sits directly in the root frame: the block's
// own outermost table, or the root frame itself.
const QTextFrame* OutermostFrame(const QTextDocument& doc, const QTextBlock& block)
{
    const QTextFrame* frame = doc.frameAt(block.position());
    while (frame && frame->parentFrame() && frame->parentFrame() != doc.rootFrame())
        frame = frame->parentFrame();
    return frame;
}

} // namespace

void PaintDecorations(QPainter& painter, const QTextDocument& doc, const QRectF& area, const QPalette& palette,
                      const QColor& link)
{
    QAbstractTextDocumentLayout* layout = doc.documentLayout();
    const int first = layout->hitTest(QPointF(0, area.top()), Qt::FuzzyHit);
    if (first < 0)
        return;
    QTextBlock start = doc.findBlock(first);
    // While Qt still lays a long text out step by step it answers "after the end"
    // for any point: that block has no lines yet, and asking where it lies would
    // lay out the whole text at once. The walk then starts at the top, over the
    // part already laid out.
    if (start.isValid() && !qobject_cast<DocumentLayout*>(layout) && start.layout()->lineCount() == 0)
        start = doc.begin();
    const bool noTables = doc.rootFrame()->childFrames().isEmpty();
    // Our own layout places a block without handing its lines to Qt's cursor.
    const auto* own = qobject_cast<const DocumentLayout*>(layout);
    painter.save();
    for (QTextBlock block = start; block.isValid(); block = block.next()) {
        const QRectF rect = own ? own->Placed(block) : layout->blockBoundingRect(block);
        // Blocks of the root frame, and the tables in it, come top to bottom;
        // cells of a table row do not. Asking where a block lies lays the text out
        // up to it, so the walk ends at the first thing wholly below the area.
        if (rect.top() > area.bottom()) {
            if (noTables)
                break;
            // (The frame's own rectangle would lay out the whole text first.)
            const QTextFrame* outer = OutermostFrame(doc, block);
            if (outer == doc.rootFrame()
                || layout->blockBoundingRect(doc.findBlock(outer->firstPosition())).top() > area.bottom())
                break;
        }
        if (rect.bottom() < area.top() || rect.top() > area.bottom())
            continue;
        // Our own layout draws every list marker with its paragraph.
        DecorateBlock(painter, block, rect.topLeft(), palette, link, doc.defaultFont(), !own);
    }
    painter.restore();
}

} // namespace platform
