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

bool IsNumbered(const QTextListFormat& format)
{
    switch (format.style()) {
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
    if (!IsNumbered(list.format()))
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
    return list && IsNumbered(list->format()) && block.blockFormat().hasProperty(QTextFormat::ListStyle)
        && block.blockFormat().intProperty(QTextFormat::ListStyle) == QTextListFormat::ListStyleUndefined;
}

void DrawListNumber(QPainter& painter, const QTextBlock& block, const QPointF& origin, const QPalette& palette)
{
    const QString text = ListNumberText(block);
    const QTextLayout* blockLayout = block.layout();
    if (text.isEmpty() || !blockLayout || blockLayout->lineCount() == 0)
        return;
    // The font and the place Qt gives its own numbers: the first character's
    // font, one space before the first line's text.
    const QTextCharFormat charFormat = QTextCursor(block).charFormat();
    QPaintDevice* device = block.document()->documentLayout()->paintDevice();
    const QFont font = device ? QFont(charFormat.font(), device) : charFormat.font();
    const QFontMetrics metrics(font);
    const QPointF pos = (origin + blockLayout->lineAt(0).naturalTextRect().topLeft()).toPoint();
    const qreal left = pos.x() - metrics.horizontalAdvance(QLatin1Char(' ')) - metrics.horizontalAdvance(text);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QBrush foreground = charFormat.foreground();
    if (foreground.style() == Qt::NoBrush)
        foreground = palette.text();
    painter.setPen(QPen(foreground, 0));
    QTextLayout layout(text, font, device);
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid())
        line.setLeadingIncluded(true);
    layout.endLayout();
    layout.draw(&painter, QPointF(left, pos.y()));
    painter.restore();
}

} // namespace platform
