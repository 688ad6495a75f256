// List numbers the control draws itself.
#include "listmarkers.h"

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

// The number of the list's first paragraph: the record's wNumberingStart, where
// 0 (never set) counts as 1.
int ListStart(const QTextList& list)
{
    if (list.count() == 0)
        return 1;
    const QTextBlockFormat first = list.item(0).blockFormat();
    const int start = first.intProperty(PropNumberingStart);
    if (start > 0)
        return start;
    const int listStart = list.format().intProperty(PropNumberingStart);
    return listStart > 0 ? listStart : 1;
}

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
    if (ListStart(list) != 1)
        return true;
    for (int i = 0; i < list.count(); ++i)
        if (ShowsNoNumber(list.item(i)))
            return true;
    return false;
}

QString Letters(int n, char16_t base)
{
    QString out;
    while (n > 0) {
        --n;
        out.prepend(QChar(char16_t(base + n % 26)));
        n /= 26;
    }
    return out;
}

QString Roman(int n, bool upper)
{
    static const struct {
        int value;
        const char* digits;
    } table[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
                 {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},   {4, "iv"},  {1, "i"}};
    if (n <= 0 || n >= 5000)
        return QString::number(n);
    QString out;
    for (const auto& step : table)
        for (; n >= step.value; n -= step.value)
            out += QLatin1String(step.digits);
    return upper ? out.toUpper() : out;
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

QString ListNumberText(const QTextBlock& block)
{
    const QTextList* list = block.textList();
    if (!list || !IsNumbered(list->format()) || ShowsNoNumber(block))
        return {};
    const int n = ListStart(*list) + list->itemNumber(block);
    QString number;
    switch (list->format().style()) {
    case QTextListFormat::ListLowerAlpha: number = Letters(n, u'a'); break;
    case QTextListFormat::ListUpperAlpha: number = Letters(n, u'A'); break;
    case QTextListFormat::ListLowerRoman: number = Roman(n, false); break;
    case QTextListFormat::ListUpperRoman: number = Roman(n, true); break;
    default: number = QString::number(n); break;
    }
    const QTextListFormat format = list->format();
    const QString prefix = format.hasProperty(QTextFormat::ListNumberPrefix) ? format.numberPrefix() : QString();
    const QString suffix = format.hasProperty(QTextFormat::ListNumberSuffix) ? format.numberSuffix() : QStringLiteral(".");
    return prefix + number + suffix;
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
