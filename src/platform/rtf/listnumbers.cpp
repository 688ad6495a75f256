// Paragraph numbers: their text in each numbering style, and their drawing.
#include "listnumbers.h"

#include "richeditconsts.h"
#include "textproperties.h"

#include <QAbstractTextDocumentLayout>
#include <QBrush>
#include <QFontMetrics>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>

#include <set>

namespace platform {

namespace {

QString Letters(int value, char16_t first)
{
    QString out;
    while (value > 0) {
        --value;
        out.prepend(QChar(char16_t(first + value % 26)));
        value /= 26;
    }
    return out;
}

QString Roman(int value, bool upper)
{
    if (value <= 0 || value >= 5000)
        return QString::number(value);
    static const struct {
        int value;
        const char* digits;
    } steps[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
                 {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    QString out;
    for (const auto& step : steps)
        for (; value >= step.value; value -= step.value)
            out += QLatin1String(step.digits);
    return upper ? out.toUpper() : out;
}

QString NumberIn(int numbering, int value)
{
    switch (numbering) {
    case PFN_LCLETTER: return Letters(value, u'a');
    case PFN_UCLETTER: return Letters(value, u'A');
    case PFN_LCROMAN: return Roman(value, false);
    case PFN_UCROMAN: return Roman(value, true);
    default: return QString::number(value);
    }
}

bool DrawnHere(const QTextList* list)
{
    return list && list->format().hasProperty(PropListStart);
}

void DrawNumber(QPainter& painter, const QTextDocument& document, const QTextBlock& block, const QBrush& text)
{
    const QTextLayout* layout = block.layout();
    if (!layout || layout->lineCount() == 0)
        return;
    const QString number = ListNumberText(block);
    if (number.isEmpty())
        return;
    // Where Qt puts a list's number: right-aligned a space before the first line.
    const QPointF blockOrigin = document.documentLayout()->blockBoundingRect(block).topLeft();
    const QPoint lineStart = blockOrigin.toPoint() + layout->lineAt(0).naturalTextRect().topLeft().toPoint();
    const QTextCharFormat format = QTextCursor(block).charFormat();
    const QFont font = format.font();
    const QFontMetrics metrics(font);
    const qreal left = lineStart.x() - metrics.horizontalAdvance(QLatin1Char(' ')) - metrics.horizontalAdvance(number);
    QTextLayout numberLayout(number, font, painter.device());
    numberLayout.setTextOption(QTextOption(Qt::AlignLeft | Qt::AlignAbsolute));
    numberLayout.beginLayout();
    QTextLine line = numberLayout.createLine();
    if (line.isValid())
        line.setLeadingIncluded(true);
    numberLayout.endLayout();
    painter.save();
    const QBrush own = format.foreground();
    painter.setPen(QPen(own.style() == Qt::NoBrush ? text : own, 0));
    numberLayout.draw(&painter, QPointF(left, lineStart.y()));
    painter.restore();
}

} // namespace

QString ListNumberText(const QTextBlock& block)
{
    const QTextList* list = block.textList();
    if (!list)
        return {};
    const QTextListFormat format = list->format();
    if (!DrawnHere(list)) {
        switch (format.style()) {
        case QTextListFormat::ListDisc:
        case QTextListFormat::ListCircle:
        case QTextListFormat::ListSquare: return QString(QChar(0x2022));
        case QTextListFormat::ListStyleUndefined: return {};
        default: return list->itemText(block);
        }
    }
    const int value = format.intProperty(PropListStart) + list->itemNumber(block);
    return format.numberPrefix() + NumberIn(block.blockFormat().intProperty(PropNumbering), value)
         + format.numberSuffix();
}

void DrawListNumbers(QPainter& painter, const QTextDocument& document, const QRectF& exposed, const QBrush& text)
{
    // Lists are found through the paragraph formats that name them: there are
    // few of those, however long the text.
    std::set<const QTextList*> lists;
    for (const QTextFormat& format : document.allFormats())
        if (format.isBlockFormat() && format.objectIndex() >= 0)
            if (const auto* list = qobject_cast<const QTextList*>(document.object(format.objectIndex())); DrawnHere(list))
                lists.insert(list);
    for (const QTextList* list : lists) {
        for (int i = 0; i < list->count(); ++i) {
            const QTextBlock block = list->item(i);
            // A paragraph not laid out yet is not on the screen either.
            if (!block.layout() || block.layout()->lineCount() == 0)
                continue;
            if (document.documentLayout()->blockBoundingRect(block).intersects(exposed))
                DrawNumber(painter, document, block, text);
        }
    }
}

} // namespace platform
