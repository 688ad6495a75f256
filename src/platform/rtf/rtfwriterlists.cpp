// SPDX-License-Identifier: GPL-3.0-or-later
// Writing paragraph numbering as \pn groups.
#include "rtfwriterlists.h"

#include "listnumbers.h"
#include "richeditconsts.h"
#include "rtfwriterformats.h"
#include "textproperties.h"

#include <QTextBlock>
#include <QTextList>

namespace platform {

RtfWrittenNumbering NumberingOf(const QTextBlock& block)
{
    const QTextBlockFormat f = block.blockFormat();
    RtfWrittenNumbering n;
    if (f.hasProperty(PropNumbering)) {
        n.numbering = f.property(PropNumbering).toInt();
        n.style = f.property(PropNumberingStyle).toInt();
        n.start = f.property(PropNumberingStart).toInt();
        n.tab = f.property(PropNumberingTab).toInt();
        return n;
    }
    const QTextList* list = block.textList();
    if (!list)
        return n;
    const QTextListFormat lf = list->format();
    switch (lf.style()) {
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare: n.numbering = PFN_BULLET; return n;
    case QTextListFormat::ListLowerAlpha: n.numbering = PFN_LCLETTER; break;
    case QTextListFormat::ListUpperAlpha: n.numbering = PFN_UCLETTER; break;
    case QTextListFormat::ListLowerRoman: n.numbering = PFN_LCROMAN; break;
    case QTextListFormat::ListUpperRoman: n.numbering = PFN_UCROMAN; break;
    default: n.numbering = PFN_ARABIC; break;
    }
    if (lf.numberPrefix() == QLatin1String("("))
        n.style = PFNS_PARENS;
    else if (lf.numberSuffix() == QLatin1String(")"))
        n.style = PFNS_PAREN;
    else if (lf.numberSuffix() == QLatin1String(".") || !lf.hasProperty(QTextFormat::ListNumberSuffix))
        n.style = PFNS_PERIOD;   // Qt draws a list with no suffix of its own with "."
    else
        n.style = PFNS_PLAIN;
    n.start = ListStartNumber(*list);
    return n;
}

QByteArray NumberingWords(const RtfWrittenNumbering& n)
{
    if (n.numbering == PFN_NONE)
        return {};
    QByteArray out = "{\\*\\pn";
    if ((n.style & 0xff00) == PFNS_NONUMBER)
        out += "\\pnlvlcont";
    else if (n.numbering == PFN_BULLET)
        out += "\\pnlvlblt";
    else
        out += "\\pnlvlbody";
    switch (n.numbering) {
    case PFN_LCLETTER: out += "\\pnlcltr"; break;
    case PFN_UCLETTER: out += "\\pnucltr"; break;
    case PFN_LCROMAN: out += "\\pnlcrm"; break;
    case PFN_UCROMAN: out += "\\pnucrm"; break;
    case PFN_ARABIC: out += "\\pndec"; break;
    default: break;
    }
    if (n.start > 0)
        out += "\\pnstart" + QByteArray::number(n.start);
    if (n.tab > 0)
        out += "\\pnindent" + QByteArray::number(n.tab);
    if (n.numbering == PFN_BULLET) {
        out += "{\\pntxtb\\'b7}";
    } else {
        switch (n.style & 0xff00) {
        case PFNS_PAREN: out += "{\\pntxta )}"; break;
        case PFNS_PARENS: out += "{\\pntxtb (}{\\pntxta )}"; break;
        case PFNS_PERIOD: out += "{\\pntxta .}"; break;
        default: break;
        }
    }
    out += '}';
    return out;
}

QByteArray NumberText(const RtfWrittenNumbering& n, const QString& listNumber)
{
    if (n.numbering == PFN_NONE || (n.style & 0xff00) == PFNS_NONUMBER)
        return {};
    // The number the paragraph shows, so that readers without \pn show the same.
    QString text;
    if (n.numbering == PFN_BULLET)
        text = QString(QChar(0x2022));
    else
        text = listNumber;
    if (text.isEmpty())
        return {};
    QByteArray out = "{\\pntext ";
    AppendRtfText(out, text);
    out += "\\tab}";
    return out;
}

} // namespace platform
