// SPDX-License-Identifier: GPL-3.0-or-later
// Translation of RTF reader states into Qt character, paragraph and list formats,
// following the property rules of textproperties.h.
#include "rtfformats.h"

#include "rtfcodepages.h"
#include "richeditconsts.h"
#include "textproperties.h"

#include <QBrush>
#include <QFont>
#include <QTextListFormat>
#include <QTextOption>

#include <algorithm>
#include <cstdlib>

namespace platform {

namespace {

constexpr double TwipsPerPixel = 15.0;

QTextCharFormat::UnderlineStyle NativeUnderline(int kind)
{
    switch (kind) {
    case CFU_UNDERLINEDOTTED: return QTextCharFormat::DotLine;
    case CFU_UNDERLINEDASH: return QTextCharFormat::DashUnderline;
    case CFU_UNDERLINEDASHDOT: return QTextCharFormat::DashDotLine;
    case CFU_UNDERLINEDASHDOTDOT: return QTextCharFormat::DashDotDotLine;
    case CFU_UNDERLINEWAVE: return QTextCharFormat::WaveUnderline;
    default: return QTextCharFormat::SingleUnderline;
    }
}

int NumberingOfLevel(int nfc)
{
    switch (nfc) {
    case 0: return PFN_ARABIC;
    case 1: return PFN_UCROMAN;
    case 2: return PFN_LCROMAN;
    case 3: return PFN_UCLETTER;
    case 4: return PFN_LCLETTER;
    case 23: return PFN_BULLET;
    case 255: return PFN_NONE;
    default: return PFN_ARABIC;   // the nearest the control can show
    }
}

int StyleOfLevelText(const QString& text)
{
    int last = -1;
    int first = -1;
    // The first unit of \leveltext is its length; placeholders are units below 10.
    for (int i = 1; i < text.size(); ++i) {
        if (text[i].unicode() < 10) {
            last = i;
            if (first < 0)
                first = i;
        }
    }
    if (last < 0)
        return PFNS_PLAIN;
    const QChar after = last + 1 < text.size() ? text[last + 1] : QChar();
    if (first > 1 && text[first - 1] == u'(' && after == u')')
        return PFNS_PARENS;
    if (after == u')')
        return PFNS_PAREN;
    if (after == u'.')
        return PFNS_PERIOD;
    return PFNS_PLAIN;
}

} // namespace

QString NormalizeFontName(const QString& name)
{
    QString n = name.trimmed();
    if (n.endsWith(QLatin1String(" CYR"), Qt::CaseInsensitive))
        n.chop(4);
    return n.trimmed();
}

int RtfFormatTables::CodePageOf(int font) const
{
    auto it = fonts.find(font);
    if (it != fonts.end() && it->second.codePage != 0)
        return it->second.codePage;
    return ansiCodePage != 0 ? ansiCodePage : DefaultAnsiCodePage;
}

QTextCharFormat RtfFormatTables::CharFormat(const RtfCharState& s) const
{
    QTextCharFormat f;
    if (s.font >= 0) {
        auto it = fonts.find(s.font);
        if (it != fonts.end()) {
            if (!it->second.name.isEmpty())
                f.setFontFamilies(QStringList(it->second.name));
            if (it->second.charset >= 0)
                f.setProperty(PropCharset, it->second.charset);
            if (it->second.pitchAndFamily != 0)
                f.setProperty(PropPitchAndFamily, it->second.pitchAndFamily);
        }
    }
    if (s.sizeHalfPoints > 0)
        f.setFontPointSize(s.sizeHalfPoints / 2.0);
    if (s.bold || baseBold)
        f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    if (s.italic || baseItalic)
        f.setFontItalic(s.italic);
    if (s.strike || baseStrike)
        f.setFontStrikeOut(s.strike);
    if (s.underline != CFU_UNDERLINENONE) {
        f.setProperty(PropUnderlineType, s.underline);
        f.setUnderlineStyle(NativeUnderline(s.underline));
    } else if (baseUnderline) {
        f.setUnderlineStyle(QTextCharFormat::NoUnderline);
    }
    if (s.script == 1)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (s.script == 2)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (s.offsetTwips != 0) {
        f.setProperty(PropOffsetTwips, s.offsetTwips);
        if (s.script == 0)
            f.setVerticalAlignment(s.offsetTwips > 0 ? QTextCharFormat::AlignSuperScript
                                                     : QTextCharFormat::AlignSubScript);
    }
    if (s.color >= 0) {
        if (size_t(s.color) < colors.size() && colors[size_t(s.color)])
            f.setForeground(QBrush(*colors[size_t(s.color)]));
        else
            f.setProperty(PropAutoColor, true);
    }
    if (s.background >= 0) {
        if (size_t(s.background) < colors.size() && colors[size_t(s.background)])
            f.setBackground(QBrush(*colors[size_t(s.background)]));
        else
            f.setProperty(PropAutoBackColor, true);
    }
    if (s.allCaps) {
        f.setProperty(PropAllCaps, true);
        f.setFontCapitalization(QFont::AllUppercase);
    } else if (s.smallCaps) {
        f.setFontCapitalization(QFont::SmallCaps);
    }
    if (s.smallCaps)
        f.setProperty(PropSmallCaps, true);
    if (s.hidden)
        f.setProperty(PropHidden, true);
    if (s.protect)
        f.setProperty(PropProtected, true);
    if (s.lcid != 0)
        f.setProperty(PropLcid, s.lcid);
    if (s.link > 0 && size_t(s.link) <= links.size()) {
        f.setAnchor(true);
        f.setAnchorHref(links[size_t(s.link - 1)]);
        f.setProperty(PropLink, true);
    }
    return f;
}

RtfNumbering RtfFormatTables::Numbering(const RtfParaState& s) const
{
    RtfNumbering n;
    n.level = s.listLevel;
    // Word writes a list paragraph twice: by its list (\ls) and, for older
    // readers, by a \pn group. The list says more (levels, where counting goes on).
    auto o = s.listOverride > 0 ? listOverrides.find(s.listOverride) : listOverrides.end();
    auto l = lists.find(o != listOverrides.end() ? o->second : -1);
    const bool inList = l != lists.end() && !l->second.empty();
    if (!inList || (s.numbering != PFN_NONE && (s.numberingStyle & 0xff00) == PFNS_NONUMBER)) {
        if (s.numbering != PFN_NONE) {
            n.numbering = s.numbering;
            n.style = s.numberingStyle;
            n.start = s.numberingStart;
        }
        return n;
    }
    n.listOverride = s.listOverride;
    const int level = std::clamp(s.listLevel, 0, int(l->second.size()) - 1);
    const RtfListLevel& lv = l->second[size_t(level)];
    n.numbering = NumberingOfLevel(lv.nfc);
    if (n.numbering != PFN_BULLET && n.numbering != PFN_NONE) {
        n.style = StyleOfLevelText(lv.text);
        n.start = lv.start;
    }
    return n;
}

QTextBlockFormat RtfFormatTables::BlockFormat(const RtfParaState& s) const
{
    QTextBlockFormat f;
    switch (s.alignment) {
    case 1: f.setAlignment(Qt::AlignRight); break;
    case 2: f.setAlignment(Qt::AlignHCenter); break;
    case 3: f.setAlignment(Qt::AlignJustify); break;
    default: f.setAlignment(Qt::AlignLeft); break;
    }
    const RtfNumbering n = Numbering(s);
    if (n.numbering != PFN_NONE) {
        f.setProperty(PropStartIndentTwips, s.leftIndent + s.firstIndent);
        f.setProperty(PropOffsetTwipsPara, -s.firstIndent);
        f.setLeftMargin(NumberedTextStartTwips(s.leftIndent, s.firstIndent, s.numberingTab) / TwipsPerPixel);
    } else {
        if (s.leftIndent + s.firstIndent != 0)
            f.setProperty(PropStartIndentTwips, s.leftIndent + s.firstIndent);
        if (s.firstIndent != 0)
            f.setProperty(PropOffsetTwipsPara, -s.firstIndent);
        if (s.leftIndent != 0)
            f.setLeftMargin(s.leftIndent / TwipsPerPixel);
        if (s.firstIndent != 0)
            f.setTextIndent(s.firstIndent / TwipsPerPixel);
    }
    if (s.rightIndent != 0)
        f.setProperty(PropRightIndentTwips, s.rightIndent);
    if (s.rightIndent != 0)
        f.setRightMargin(s.rightIndent / TwipsPerPixel);
    if (s.spaceBefore != 0) {
        f.setProperty(PropSpaceBeforeTwips, s.spaceBefore);
        f.setTopMargin(s.spaceBefore / TwipsPerPixel);
    }
    if (s.spaceAfter != 0) {
        f.setProperty(PropSpaceAfterTwips, s.spaceAfter);
        f.setBottomMargin(s.spaceAfter / TwipsPerPixel);
    }
    // \sl with \slmult1 counts 240ths of a line; without it, twips (negative: exactly).
    int rule = 0;
    int spacing = 0;
    if (s.lineSpacing != 0) {
        if (s.lineMultiple != 0) {
            const int n = std::abs(s.lineSpacing);
            if (n == 240)
                rule = 0;
            else if (n == 360)
                rule = 1;
            else if (n == 480)
                rule = 2;
            else {
                rule = 5;
                spacing = n / 12;
            }
        } else if (s.lineSpacing > 0) {
            rule = 3;
            spacing = s.lineSpacing;
        } else {
            rule = 4;
            spacing = -s.lineSpacing;
        }
    }
    if (rule != 0)
        f.setProperty(PropLineSpacingRule, rule);
    if (spacing != 0)
        f.setProperty(PropLineSpacingTwips, spacing);
    switch (rule) {
    case 1: f.setLineHeight(150, QTextBlockFormat::ProportionalHeight); break;
    case 2: f.setLineHeight(200, QTextBlockFormat::ProportionalHeight); break;
    case 3: f.setLineHeight(spacing / TwipsPerPixel, QTextBlockFormat::MinimumHeight); break;
    case 4: f.setLineHeight(spacing / TwipsPerPixel, QTextBlockFormat::FixedHeight); break;
    case 5: f.setLineHeight(spacing * 5.0, QTextBlockFormat::ProportionalHeight); break;
    default: break;
    }
    if (s.tabCount > 0) {
        QList<QTextOption::Tab> tabs;
        for (int i = 0; i < s.tabCount; ++i)
            tabs.append(QTextOption::Tab(s.tabs[size_t(i)] / TwipsPerPixel, QTextOption::LeftTab));
        f.setTabPositions(tabs);
    }
    if (n.numbering != PFN_NONE) {
        f.setProperty(PropNumbering, n.numbering);
        if (n.style != 0)
            f.setProperty(PropNumberingStyle, n.style);
        if (n.start != 0)
            f.setProperty(PropNumberingStart, n.start);
        if (s.numberingTab != 0)
            f.setProperty(PropNumberingTab, s.numberingTab);
    }
    return f;
}

QTextListFormat ListFormatFor(const RtfNumbering& n, int start)
{
    QTextListFormat f;
    switch (n.numbering) {
    case PFN_BULLET: f.setStyle(QTextListFormat::ListDisc); break;
    case PFN_LCLETTER: f.setStyle(QTextListFormat::ListLowerAlpha); break;
    case PFN_UCLETTER: f.setStyle(QTextListFormat::ListUpperAlpha); break;
    case PFN_LCROMAN: f.setStyle(QTextListFormat::ListLowerRoman); break;
    case PFN_UCROMAN: f.setStyle(QTextListFormat::ListUpperRoman); break;
    default: f.setStyle(QTextListFormat::ListDecimal); break;
    }
    f.setIndent(0);
    if (n.numbering != PFN_BULLET) {
        switch (n.style & 0xff00) {
        case PFNS_PARENS: f.setNumberPrefix(QStringLiteral("(")); f.setNumberSuffix(QStringLiteral(")")); break;
        case PFNS_PERIOD: f.setNumberSuffix(QStringLiteral(".")); break;
        case PFNS_PLAIN: f.setNumberSuffix(QString()); break;
        default: f.setNumberSuffix(QStringLiteral(")")); break;
        }
        if (start != 1)
            f.setProperty(PropListStart, start);
    }
    f.setProperty(PropListLevel, n.level);
    if (n.listOverride > 0)
        f.setProperty(PropListGroup, n.listOverride);
    return f;
}

} // namespace platform
