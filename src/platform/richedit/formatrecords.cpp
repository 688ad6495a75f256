// SPDX-License-Identifier: GPL-3.0-or-later
// CHARFORMAT2 / PARAFORMAT2 records to and from QTextDocument formats.
#include "formatrecords.h"

#include "textproperties.h"

#include <QBrush>
#include <QColor>
#include <QTextList>

#include <cmath>
#include <cstring>

namespace platform {

namespace {

// Native paragraph lengths are pixels at 96 dpi.
constexpr double TwipsPerPixel = 15.0;

COLORREF ToColorRef(const QColor& color)
{
    return RgbColor(color.red(), color.green(), color.blue());
}

QColor FromColorRef(COLORREF color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

int IntProp(const QTextFormat& format, int property)
{
    return format.intProperty(property);
}

QTextCharFormat::UnderlineStyle UnderlineStyleFor(int type)
{
    switch (type) {
    case CFU_UNDERLINENONE: return QTextCharFormat::NoUnderline;
    case CFU_UNDERLINEDOTTED: return QTextCharFormat::DotLine;
    case CFU_UNDERLINEDASH: return QTextCharFormat::DashUnderline;
    case CFU_UNDERLINEDASHDOT: return QTextCharFormat::DashDotLine;
    case CFU_UNDERLINEDASHDOTDOT: return QTextCharFormat::DashDotDotLine;
    case CFU_UNDERLINEWAVE: return QTextCharFormat::WaveUnderline;
    default: return QTextCharFormat::SingleUnderline;   // single, word, double, heavy: the closest Qt draws
    }
}

QString FaceOf(const QTextCharFormat& format)
{
    if (format.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty())
            return families.front();
    }
    return format.stringProperty(QTextFormat::FontFamily);
}

QString FaceOf(const CHARFORMAT2& record)
{
    std::size_t n = 0;
    while (n < 32 && record.szFaceName[n] != 0)
        ++n;
    return QString::fromUtf16(record.szFaceName, qsizetype(n));
}

} // namespace

CHARFORMAT2 CharFormatToRecord(const QTextCharFormat& format)
{
    CHARFORMAT2 r;
    r.dwMask = CharMaskAll;
    const int weight = format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() : QFont::Normal;
    r.wWeight = std::uint16_t(weight);
    if (weight >= QFont::Bold)
        r.dwEffects |= CFE_BOLD;
    if (format.fontItalic())
        r.dwEffects |= CFE_ITALIC;
    if (format.fontStrikeOut())
        r.dwEffects |= CFE_STRIKEOUT;
    // The underline kind is what the document keeps; text from elsewhere may
    // only carry Qt's own underline.
    int underline = 0;
    if (format.hasProperty(PropUnderlineType))
        underline = IntProp(format, PropUnderlineType);
    else if (format.fontUnderline() || format.underlineStyle() != QTextCharFormat::NoUnderline)
        underline = CFU_UNDERLINE;
    r.bUnderlineType = std::uint8_t(underline);
    if (underline != 0)
        r.dwEffects |= CFE_UNDERLINE;
    if (format.boolProperty(PropProtected))
        r.dwEffects |= CFE_PROTECTED;
    if (format.boolProperty(PropLink))
        r.dwEffects |= CFE_LINK;
    if (format.boolProperty(PropSmallCaps))
        r.dwEffects |= CFE_SMALLCAPS;
    if (format.boolProperty(PropAllCaps))
        r.dwEffects |= CFE_ALLCAPS;
    if (format.boolProperty(PropHidden))
        r.dwEffects |= CFE_HIDDEN;
    r.yOffset = IntProp(format, PropOffsetTwips);
    // With an offset the vertical alignment only mirrors it.
    if (r.yOffset == 0) {
        if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
            r.dwEffects |= CFE_SUBSCRIPT;
        else if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            r.dwEffects |= CFE_SUPERSCRIPT;
    }
    r.yHeight = int(std::lround(format.fontPointSize() * 20.0));
    const QBrush foreground = format.foreground();
    if (format.boolProperty(PropAutoColor) || foreground.style() == Qt::NoBrush)
        r.dwEffects |= CFE_AUTOCOLOR;
    else
        r.crTextColor = ToColorRef(foreground.color());
    const QBrush background = format.background();
    if (format.boolProperty(PropAutoBackColor) || background.style() == Qt::NoBrush)
        r.dwEffects |= CFE_AUTOBACKCOLOR;
    else
        r.crBackColor = ToColorRef(background.color());
    r.bCharSet = std::uint8_t(IntProp(format, PropCharset));
    r.bPitchAndFamily = std::uint8_t(IntProp(format, PropPitchAndFamily));
    r.lcid = std::uint32_t(IntProp(format, PropLcid));
    const QString face = FaceOf(format).left(31);
    std::memcpy(r.szFaceName, face.utf16(), std::size_t(face.size()) * sizeof(char16_t));
    return r;
}

QTextCharFormat RecordToCharFormat(const CHARFORMAT2& r)
{
    QTextCharFormat f;
    const std::uint32_t m = r.dwMask;
    const std::uint32_t e = r.dwEffects;
    if (m & CFM_WEIGHT && r.wWeight != 0)
        f.setFontWeight(r.wWeight);
    if (m & CFM_BOLD)
        f.setFontWeight((e & CFE_BOLD) ? QFont::Bold : QFont::Normal);
    if (m & CFM_ITALIC)
        f.setFontItalic((e & CFE_ITALIC) != 0);
    if (m & CFM_STRIKEOUT)
        f.setFontStrikeOut((e & CFE_STRIKEOUT) != 0);
    int underline = -1;
    if (m & CFM_UNDERLINETYPE)
        underline = r.bUnderlineType;
    else if (m & CFM_UNDERLINE)
        underline = (e & CFE_UNDERLINE) ? CFU_UNDERLINE : CFU_UNDERLINENONE;
    if (underline >= 0) {
        f.setProperty(PropUnderlineType, underline);
        f.setUnderlineStyle(UnderlineStyleFor(underline));
    }
    if (m & CFM_PROTECTED)
        f.setProperty(PropProtected, (e & CFE_PROTECTED) != 0);
    if (m & CFM_LINK) {
        const bool link = (e & CFE_LINK) != 0;
        f.setProperty(PropLink, link);
        f.setAnchor(link);
        if (!link)
            f.setAnchorHref(QString());
    }
    if (m & (CFM_SMALLCAPS | CFM_ALLCAPS)) {
        if (m & CFM_SMALLCAPS)
            f.setProperty(PropSmallCaps, (e & CFE_SMALLCAPS) != 0);
        if (m & CFM_ALLCAPS)
            f.setProperty(PropAllCaps, (e & CFE_ALLCAPS) != 0);
        const bool all = (m & CFM_ALLCAPS) && (e & CFE_ALLCAPS);
        const bool small = (m & CFM_SMALLCAPS) && (e & CFE_SMALLCAPS);
        f.setFontCapitalization(all ? QFont::AllUppercase : small ? QFont::SmallCaps : QFont::MixedCase);
    }
    if (m & CFM_HIDDEN)
        f.setProperty(PropHidden, (e & CFE_HIDDEN) != 0);
    if (m & CFM_SUBSCRIPT) {
        if (e & CFE_SUBSCRIPT)
            f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        else if (e & CFE_SUPERSCRIPT)
            f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        else
            f.setVerticalAlignment(QTextCharFormat::AlignNormal);
    }
    if (m & CFM_OFFSET) {
        f.setProperty(PropOffsetTwips, r.yOffset);
        // Drawn as a baseline shift in per cent of the font height (12 pt when unknown).
        const double size = (m & CFM_SIZE) && r.yHeight > 0 ? r.yHeight : 240.0;
        f.setBaselineOffset(100.0 * r.yOffset / size);
    }
    if (m & CFM_SIZE && r.yHeight > 0)
        f.setFontPointSize(r.yHeight / 20.0);
    if (m & CFM_FACE) {
        const QString face = FaceOf(r);
        if (!face.isEmpty()) {
            f.setFontFamilies(QStringList{face});
            f.setProperty(QTextFormat::FontFamily, face);
        }
        f.setProperty(PropPitchAndFamily, int(r.bPitchAndFamily));
    }
    if (m & CFM_COLOR) {
        const bool automatic = (e & CFE_AUTOCOLOR) != 0;
        f.setProperty(PropAutoColor, automatic);
        f.setForeground(automatic ? QBrush() : QBrush(FromColorRef(r.crTextColor)));
    }
    if (m & CFM_BACKCOLOR) {
        const bool automatic = (e & CFE_AUTOBACKCOLOR) != 0;
        f.setProperty(PropAutoBackColor, automatic);
        f.setBackground(automatic ? QBrush() : QBrush(FromColorRef(r.crBackColor)));
    }
    if (m & CFM_CHARSET)
        f.setProperty(PropCharset, int(r.bCharSet));
    if (m & CFM_LCID)
        f.setProperty(PropLcid, int(r.lcid));
    return f;
}

std::uint32_t CharRecordDifferences(const CHARFORMAT2& a, const CHARFORMAT2& b)
{
    std::uint32_t diff = 0;
    const std::uint32_t effects = a.dwEffects ^ b.dwEffects;
    struct Bit {
        std::uint32_t mask;
        std::uint32_t effect;
    };
    for (const Bit bit : {Bit{CFM_BOLD, CFE_BOLD}, Bit{CFM_ITALIC, CFE_ITALIC}, Bit{CFM_STRIKEOUT, CFE_STRIKEOUT},
                          Bit{CFM_PROTECTED, CFE_PROTECTED}, Bit{CFM_LINK, CFE_LINK}, Bit{CFM_SMALLCAPS, CFE_SMALLCAPS},
                          Bit{CFM_ALLCAPS, CFE_ALLCAPS}, Bit{CFM_HIDDEN, CFE_HIDDEN},
                          Bit{CFM_SUBSCRIPT, CFE_SUBSCRIPT | CFE_SUPERSCRIPT}}) {
        if (effects & bit.effect)
            diff |= bit.mask;
    }
    if ((effects & CFE_UNDERLINE) || a.bUnderlineType != b.bUnderlineType)
        diff |= CFM_UNDERLINE | CFM_UNDERLINETYPE;
    if (a.wWeight != b.wWeight)
        diff |= CFM_WEIGHT;
    if (a.yHeight != b.yHeight)
        diff |= CFM_SIZE;
    if (a.yOffset != b.yOffset)
        diff |= CFM_OFFSET;
    if ((effects & CFE_AUTOCOLOR) || (!(a.dwEffects & CFE_AUTOCOLOR) && a.crTextColor != b.crTextColor))
        diff |= CFM_COLOR;
    if ((effects & CFE_AUTOBACKCOLOR) || (!(a.dwEffects & CFE_AUTOBACKCOLOR) && a.crBackColor != b.crBackColor))
        diff |= CFM_BACKCOLOR;
    if (a.bCharSet != b.bCharSet)
        diff |= CFM_CHARSET;
    if (a.lcid != b.lcid)
        diff |= CFM_LCID;
    if (std::memcmp(a.szFaceName, b.szFaceName, sizeof a.szFaceName) != 0 || a.bPitchAndFamily != b.bPitchAndFamily)
        diff |= CFM_FACE;
    return diff;
}

PARAFORMAT2 BlockFormatToRecord(const QTextBlockFormat& format, const QTextList* list, bool inTable)
{
    PARAFORMAT2 r;
    r.dwMask = ParaMaskAll;
    const Qt::Alignment align = format.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignJustify)
        r.wAlignment = PFA_JUSTIFY;
    else if (align & (Qt::AlignRight | Qt::AlignTrailing))
        r.wAlignment = PFA_RIGHT;
    else if (align & Qt::AlignHCenter)
        r.wAlignment = PFA_CENTER;
    else
        r.wAlignment = PFA_LEFT;
    if (format.hasProperty(PropNumbering)) {
        r.wNumbering = std::uint16_t(format.intProperty(PropNumbering));
    } else if (list) {
        switch (list->format().style()) {
        case QTextListFormat::ListDecimal: r.wNumbering = PFN_ARABIC; break;
        case QTextListFormat::ListLowerAlpha: r.wNumbering = PFN_LCLETTER; break;
        case QTextListFormat::ListUpperAlpha: r.wNumbering = PFN_UCLETTER; break;
        case QTextListFormat::ListLowerRoman: r.wNumbering = PFN_LCROMAN; break;
        case QTextListFormat::ListUpperRoman: r.wNumbering = PFN_UCROMAN; break;
        default: r.wNumbering = PFN_BULLET; break;
        }
    }
    r.wNumberingStyle = std::uint16_t(format.intProperty(PropNumberingStyle));
    r.wNumberingStart = std::uint16_t(format.intProperty(PropNumberingStart));
    r.wNumberingTab = std::uint16_t(format.intProperty(PropNumberingTab));
    r.dxStartIndent = format.intProperty(PropStartIndentTwips);
    r.dxOffset = format.intProperty(PropOffsetTwipsPara);
    r.dxRightIndent = format.intProperty(PropRightIndentTwips);
    r.bLineSpacingRule = std::uint8_t(format.intProperty(PropLineSpacingRule));
    r.dyLineSpacing = format.intProperty(PropLineSpacingTwips);
    r.dySpaceBefore = format.intProperty(PropSpaceBeforeTwips);
    r.dySpaceAfter = format.intProperty(PropSpaceAfterTwips);
    const QList<QTextOption::Tab> tabs = format.tabPositions();
    r.cTabCount = std::int16_t(std::min<qsizetype>(tabs.size(), 32));
    for (int i = 0; i < r.cTabCount; ++i)
        r.rgxTabs[i] = int(std::lround(tabs[i].position * TwipsPerPixel));
    if (inTable)
        r.wEffects |= PFE_TABLE;
    return r;
}

QTextListFormat ListFormatFor(int numbering, int numberingStyle)
{
    QTextListFormat list;
    switch (numbering) {
    case PFN_ARABIC: list.setStyle(QTextListFormat::ListDecimal); break;
    case PFN_LCLETTER: list.setStyle(QTextListFormat::ListLowerAlpha); break;
    case PFN_UCLETTER: list.setStyle(QTextListFormat::ListUpperAlpha); break;
    case PFN_LCROMAN: list.setStyle(QTextListFormat::ListLowerRoman); break;
    case PFN_UCROMAN: list.setStyle(QTextListFormat::ListUpperRoman); break;
    default: list.setStyle(QTextListFormat::ListDisc); break;
    }
    if (numbering != PFN_BULLET) {
        switch (numberingStyle) {
        case PFNS_PAREN: list.setNumberSuffix(QStringLiteral(")")); break;
        case PFNS_PARENS:
            list.setNumberPrefix(QStringLiteral("("));
            list.setNumberSuffix(QStringLiteral(")"));
            break;
        case PFNS_PERIOD: list.setNumberSuffix(QStringLiteral(".")); break;
        default: list.setNumberSuffix(QString()); break;
        }
    }
    // The paragraph's margins leave the number its room.
    list.setIndent(0);
    return list;
}

QTextBlockFormat RecordToBlockFormat(const PARAFORMAT2& r, const QTextBlockFormat& current)
{
    QTextBlockFormat f = current;
    const std::uint32_t m = r.dwMask;
    if (m & PFM_ALIGNMENT) {
        switch (r.wAlignment) {
        case PFA_RIGHT: f.setAlignment(Qt::AlignRight | Qt::AlignAbsolute); break;
        case PFA_CENTER: f.setAlignment(Qt::AlignHCenter); break;
        case PFA_JUSTIFY: f.setAlignment(Qt::AlignJustify); break;
        case PFA_LEFT: f.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute); break;
        default: break;
        }
    }
    if (m & PFM_NUMBERING)
        f.setProperty(PropNumbering, int(r.wNumbering));
    if (m & PFM_NUMBERINGSTYLE)
        f.setProperty(PropNumberingStyle, int(r.wNumberingStyle));
    if (m & PFM_NUMBERINGSTART)
        f.setProperty(PropNumberingStart, int(r.wNumberingStart));
    if (m & PFM_NUMBERINGTAB)
        f.setProperty(PropNumberingTab, int(r.wNumberingTab));
    if (m & PFM_STARTINDENT)
        f.setProperty(PropStartIndentTwips, int(r.dxStartIndent));
    else if (m & PFM_OFFSETINDENT)
        f.setProperty(PropStartIndentTwips, current.intProperty(PropStartIndentTwips) + r.dxStartIndent);
    if (m & PFM_OFFSET)
        f.setProperty(PropOffsetTwipsPara, int(r.dxOffset));
    if (m & PFM_RIGHTINDENT)
        f.setProperty(PropRightIndentTwips, int(r.dxRightIndent));
    if (m & (PFM_STARTINDENT | PFM_OFFSETINDENT | PFM_OFFSET | PFM_RIGHTINDENT | PFM_NUMBERING | PFM_NUMBERINGTAB)) {
        // Later lines start at start + offset; the first line at start. A
        // numbered paragraph's lines all start where its text does after the
        // number, as the RTF reader lays it out, so that saving moves nothing.
        const int start = f.intProperty(PropStartIndentTwips);
        const int offset = f.intProperty(PropOffsetTwipsPara);
        if (f.intProperty(PropNumbering) != PFN_NONE) {
            f.setProperty(PropStartIndentTwips, start);
            f.setProperty(PropOffsetTwipsPara, offset);
            const int text = NumberedTextStartTwips(start + offset, -offset, f.intProperty(PropNumberingTab));
            f.setLeftMargin(std::max(0, text) / TwipsPerPixel);
            f.setTextIndent(0);
        } else {
            const double left = std::max(0, start + offset) / TwipsPerPixel;
            f.setLeftMargin(left);
            f.setTextIndent(std::max(0, start) / TwipsPerPixel - left);
        }
        f.setRightMargin(std::max(0, f.intProperty(PropRightIndentTwips)) / TwipsPerPixel);
    }
    if (m & PFM_SPACEBEFORE) {
        f.setProperty(PropSpaceBeforeTwips, int(r.dySpaceBefore));
        f.setTopMargin(std::max(0, r.dySpaceBefore) / TwipsPerPixel);
    }
    if (m & PFM_SPACEAFTER) {
        f.setProperty(PropSpaceAfterTwips, int(r.dySpaceAfter));
        f.setBottomMargin(std::max(0, r.dySpaceAfter) / TwipsPerPixel);
    }
    if (m & PFM_LINESPACING) {
        f.setProperty(PropLineSpacingRule, int(r.bLineSpacingRule));
        f.setProperty(PropLineSpacingTwips, int(r.dyLineSpacing));
        switch (r.bLineSpacingRule) {
        case 1: f.setLineHeight(150, QTextBlockFormat::ProportionalHeight); break;
        case 2: f.setLineHeight(200, QTextBlockFormat::ProportionalHeight); break;
        case 3: f.setLineHeight(r.dyLineSpacing / TwipsPerPixel, QTextBlockFormat::MinimumHeight); break;
        case 4: f.setLineHeight(r.dyLineSpacing / TwipsPerPixel, QTextBlockFormat::FixedHeight); break;
        case 5: f.setLineHeight(r.dyLineSpacing * 5.0, QTextBlockFormat::ProportionalHeight); break;
        default: f.setLineHeight(0, QTextBlockFormat::SingleHeight); break;
        }
    }
    if (m & PFM_TABSTOPS) {
        QList<QTextOption::Tab> tabs;
        for (int i = 0; i < std::clamp<int>(r.cTabCount, 0, 32); ++i)
            tabs.append(QTextOption::Tab(r.rgxTabs[i] / TwipsPerPixel, QTextOption::LeftTab));
        f.setTabPositions(tabs);
    }
    return f;
}

std::uint32_t ParaRecordDifferences(const PARAFORMAT2& a, const PARAFORMAT2& b)
{
    std::uint32_t diff = 0;
    if (a.wAlignment != b.wAlignment)
        diff |= PFM_ALIGNMENT;
    if (a.wNumbering != b.wNumbering)
        diff |= PFM_NUMBERING;
    if (a.wNumberingStyle != b.wNumberingStyle)
        diff |= PFM_NUMBERINGSTYLE;
    if (a.wNumberingStart != b.wNumberingStart)
        diff |= PFM_NUMBERINGSTART;
    if (a.wNumberingTab != b.wNumberingTab)
        diff |= PFM_NUMBERINGTAB;
    if (a.dxStartIndent != b.dxStartIndent)
        diff |= PFM_STARTINDENT;
    if (a.dxOffset != b.dxOffset)
        diff |= PFM_OFFSET;
    if (a.dxRightIndent != b.dxRightIndent)
        diff |= PFM_RIGHTINDENT;
    if (a.bLineSpacingRule != b.bLineSpacingRule || a.dyLineSpacing != b.dyLineSpacing)
        diff |= PFM_LINESPACING;
    if (a.dySpaceBefore != b.dySpaceBefore)
        diff |= PFM_SPACEBEFORE;
    if (a.dySpaceAfter != b.dySpaceAfter)
        diff |= PFM_SPACEAFTER;
    if (a.cTabCount != b.cTabCount || std::memcmp(a.rgxTabs, b.rgxTabs, sizeof a.rgxTabs) != 0)
        diff |= PFM_TABSTOPS;
    if ((a.wEffects ^ b.wEffects) & PFE_TABLE)
        diff |= PFM_TABLE;
    return diff;
}

} // namespace platform
