// SPDX-License-Identifier: GPL-3.0-or-later
// List numbers the control draws itself.
#include "listmarkers.h"

#include "listnumbers.h"

#include "richeditconsts.h"
#include "textproperties.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPalette>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>

#include <set>

namespace platform {

namespace {

bool ShowsNoNumber(const QTextBlock& block)
{
    return (block.blockFormat().intProperty(PropNumberingStyle) & 0xFF00) == PFNS_NONUMBER;
}

bool IsNumbered(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDecimal:
    case QTextListFormat::ListLowerAlpha:
    case QTextListFormat::ListUpperAlpha:
    case QTextListFormat::ListLowerRoman:
    case QTextListFormat::ListUpperRoman: return true;
    default: return false;
    }
}

// Whether Qt's own number for the list would be wrong.
bool NeedsControl(const QTextList& list)
{
    if (!IsNumbered(list.format().style()))
        return false;
    if (ListStartNumber(list) != 1)
        return true;
    for (int i = 0; i < list.count(); ++i)
        if (ShowsNoNumber(list.item(i)))
            return true;
    return false;
}

} // namespace

void SyncListMarkers(QTextDocument& doc, int from, int to)
{
    std::set<QTextList*> lists;
    for (QTextBlock block = doc.findBlock(from); block.isValid() && block.position() <= to; block = block.next())
        if (QTextList* list = block.textList())
            lists.insert(list);
    for (QTextList* list : lists) {
        const bool control = NeedsControl(*list);
        for (int i = 0; i < list->count(); ++i) {
            const QTextBlock item = list->item(i);
            const bool marked = item.blockFormat().hasProperty(QTextFormat::ListStyle);
            if (marked == control)
                continue;
            QTextBlockFormat format = item.blockFormat();
            if (control)
                format.setProperty(QTextFormat::ListStyle, int(QTextListFormat::ListStyleUndefined));
            else
                format.clearProperty(QTextFormat::ListStyle);
            QTextCursor(item).setBlockFormat(format);
        }
    }
}

bool ControlDrawsNumber(const QTextBlock& block)
{
    const QTextList* list = block.textList();
    return list && IsNumbered(list->format().style()) && block.blockFormat().hasProperty(QTextFormat::ListStyle)
        && block.blockFormat().intProperty(QTextFormat::ListStyle) == QTextListFormat::ListStyleUndefined;
}

void DrawListMarker(QPainter& painter, const QTextBlock& block, const QTextLayout& lines, const QPointF& origin,
                    const QPalette& palette, const QTextCharFormat* selection)
{
    const QTextList* list = block.textList();
    if (!list || lines.lineCount() == 0)
        return;
    // The numbers Qt cannot draw are marked with no style of their own: the
    // control draws them, in the list's style.
    const bool control = ControlDrawsNumber(block);
    int style = list->format().style();
    if (!control && block.blockFormat().hasProperty(QTextFormat::ListStyle))
        style = block.blockFormat().intProperty(QTextFormat::ListStyle);
    const bool numbered = IsNumbered(QTextListFormat::Style(style));
    const bool bullet = style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
                        || style == QTextListFormat::ListSquare;
    const QString text = !numbered ? QString() : control ? ListNumberText(block) : list->itemText(block);
    if ((!numbered && !bullet) || (numbered && text.isEmpty()))
        return;

    // Qt's font, its whole-pixel origin and its sizes: the first character's
    // font on the layout's device, integer metrics.
    const QTextCharFormat charFormat = QTextCursor(block).charFormat();
    QPaintDevice* device = block.document()->documentLayout()->paintDevice();
    const QFont font = device ? QFont(charFormat.font(), device) : charFormat.font();
    const QFontMetrics metrics(font);
    const Qt::LayoutDirection direction = block.textDirection();
    QPointF pos = origin.toPoint();
    const QRectF textRect = lines.lineAt(0).naturalTextRect();
    pos += textRect.topLeft().toPoint();
    if (direction == Qt::RightToLeft)
        pos.rx() += textRect.width();
    QSizeF size;
    if (numbered) {
        size = QSizeF(metrics.horizontalAdvance(text), metrics.height());
    } else {
        size.setWidth(metrics.lineSpacing() / 3);
        size.setHeight(size.width());
    }
    // One space between the marker and the text, before it in the line's direction.
    qreal xoff = metrics.horizontalAdvance(QLatin1Char(' '));
    if (direction == Qt::LeftToRight)
        xoff = -xoff - size.width();
    const QRectF r = QRectF(pos, size).translated(xoff, metrics.height() / 2 - size.height() / 2);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (selection) {
        painter.setPen(QPen(selection->foreground(), 0));
        painter.fillRect(r, selection->background());
    } else {
        QBrush foreground = charFormat.foreground();
        if (foreground.style() == Qt::NoBrush)
            foreground = palette.text();
        painter.setPen(QPen(foreground, 0));
    }
    const QBrush brush = palette.brush(QPalette::Text);
    switch (style) {
    case QTextListFormat::ListSquare: painter.fillRect(r, brush); break;
    case QTextListFormat::ListCircle:
        painter.setPen(QPen(brush, 0));
        painter.drawEllipse(r.translated(0.5, 0.5));
        break;
    case QTextListFormat::ListDisc:
        painter.setBrush(brush);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(r);
        break;
    default: {
        QTextLayout layout(text, font, device);
        layout.setCacheEnabled(true);
        QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
        option.setTextDirection(direction);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (line.isValid())
            line.setLeadingIncluded(true);
        layout.endLayout();
        layout.draw(&painter, QPointF(r.left(), pos.y()));
        break;
    }
    }
    painter.restore();
}

} // namespace platform
