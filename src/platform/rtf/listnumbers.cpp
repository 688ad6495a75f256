// SPDX-License-Identifier: GPL-3.0-or-later
// Paragraph numbers: where lists start and their text in each numbering style.
#include "listnumbers.h"

#include "richeditconsts.h"
#include "textproperties.h"

#include <QTextBlock>
#include <QTextList>

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

QString NumberIn(QTextListFormat::Style style, int value)
{
    switch (style) {
    case QTextListFormat::ListLowerAlpha: return Letters(value, u'a');
    case QTextListFormat::ListUpperAlpha: return Letters(value, u'A');
    case QTextListFormat::ListLowerRoman: return Roman(value, false);
    case QTextListFormat::ListUpperRoman: return Roman(value, true);
    default: return QString::number(value);
    }
}

bool ShowsNoNumber(const QTextBlock& block)
{
    return (block.blockFormat().intProperty(PropNumberingStyle) & 0xFF00) == PFNS_NONUMBER;
}


} // namespace

int ListStartNumber(const QTextList& list)
{
    const QTextListFormat format = list.format();
    if (format.hasProperty(PropListStart))
        return format.intProperty(PropListStart);
    if (list.count() > 0)
        if (const int first = list.item(0).blockFormat().intProperty(PropNumberingStart); first > 0)
            return first;
    const int own = format.intProperty(PropNumberingStart);
    return own > 0 ? own : 1;
}

QString ListNumberText(const QTextBlock& block)
{
    const QTextList* list = block.textList();
    return list ? ListNumberText(block, list->itemNumber(block)) : QString();
}

QString ListNumberText(const QTextBlock& block, int itemNumber)
{
    const QTextList* list = block.textList();
    if (!list || ShowsNoNumber(block))
        return {};
    const QTextListFormat format = list->format();
    switch (format.style()) {
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare: return QString(QChar(0x2022));
    case QTextListFormat::ListDecimal:
    case QTextListFormat::ListLowerAlpha:
    case QTextListFormat::ListUpperAlpha:
    case QTextListFormat::ListLowerRoman:
    case QTextListFormat::ListUpperRoman: break;
    default: return {};
    }
    const QString prefix = format.hasProperty(QTextFormat::ListNumberPrefix) ? format.numberPrefix() : QString();
    const QString suffix = format.hasProperty(QTextFormat::ListNumberSuffix) ? format.numberSuffix() : QStringLiteral(".");
    return prefix + NumberIn(format.style(), ListStartNumber(*list) + itemNumber) + suffix;
}

} // namespace platform
