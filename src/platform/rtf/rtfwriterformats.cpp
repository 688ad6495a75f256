// SPDX-License-Identifier: GPL-3.0-or-later
// Font and colour tables and the control words of character and paragraph formats.
#include "rtfwriterformats.h"

#include "codepages.h"
#include "richeditconsts.h"
#include "rtfcodepages.h"
#include "textproperties.h"

#include <QBrush>
#include <QList>
#include <QTextOption>

#include <cmath>

namespace platform {

namespace {

// Fonts of this Russian editor carry Cyrillic unless their format says otherwise.
constexpr int CyrillicCharset = 204;
constexpr double TwipsPerPixel = 15.0;

void Word(QByteArray& out, const char* word)
{
    out += '\\';
    out += word;
}

void Word(QByteArray& out, const char* word, long long value)
{
    out += '\\';
    out += word;
    out += QByteArray::number(value);
}

int Twips(double pixels) { return int(std::lround(pixels * TwipsPerPixel)); }

int IntProperty(const QTextFormat& f, int property)
{
    return f.property(property).toInt();
}

// The underline a run is drawn with; a run that says nothing is drawn as the
// document's default font.
int UnderlineKind(const QTextCharFormat& f, const QFont& base)
{
    if (f.hasProperty(PropUnderlineType))
        return IntProperty(f, PropUnderlineType);
    if (!f.hasProperty(QTextFormat::TextUnderlineStyle) && !f.hasProperty(QTextFormat::FontUnderline))
        return base.underline() ? CFU_UNDERLINE : CFU_UNDERLINENONE;
    switch (f.underlineStyle()) {
    case QTextCharFormat::NoUnderline: return f.fontUnderline() ? CFU_UNDERLINE : CFU_UNDERLINENONE;
    case QTextCharFormat::DashUnderline: return CFU_UNDERLINEDASH;
    case QTextCharFormat::DotLine: return CFU_UNDERLINEDOTTED;
    case QTextCharFormat::DashDotLine: return CFU_UNDERLINEDASHDOT;
    case QTextCharFormat::DashDotDotLine: return CFU_UNDERLINEDASHDOTDOT;
    case QTextCharFormat::WaveUnderline:
    case QTextCharFormat::SpellCheckUnderline: return CFU_UNDERLINEWAVE;
    default: return CFU_UNDERLINE;
    }
}

const char* UnderlineWord(int kind)
{
    switch (kind) {
    case CFU_UNDERLINE: return "ul";
    case CFU_UNDERLINEWORD: return "ulw";
    case CFU_UNDERLINEDOUBLE: return "uldb";
    case CFU_UNDERLINEDOTTED: return "uld";
    case CFU_UNDERLINEDASH: return "uldash";
    case CFU_UNDERLINEDASHDOT: return "uldashd";
    case CFU_UNDERLINEDASHDOTDOT: return "uldashdd";
    case CFU_UNDERLINEWAVE: return "ulwave";
    case CFU_UNDERLINETHICK: return "ulth";
    default: return nullptr;
    }
}

const char* FamilyWord(int pitchAndFamily)
{
    switch (pitchAndFamily & 0xf0) {
    case 0x10: return "froman";
    case 0x20: return "fswiss";
    case 0x30: return "fmodern";
    case 0x40: return "fscript";
    case 0x50: return "fdecor";
    default: return "fnil";
    }
}

bool IsSet(const QTextFormat& f, int property) { return f.property(property).toBool(); }

} // namespace

void AppendRtfText(QByteArray& out, const QString& text, bool cp1251Font)
{
    static const char hex[] = "0123456789abcdef";
    for (QChar qc : text) {
        const char16_t u = qc.unicode();
        if (u >= 0x20 && u < 0x80) {
            if (u == '\\' || u == '{' || u == '}')
                out += '\\';
            out += char(u);
            continue;
        }
        switch (u) {
        case u'\t': out += "\\tab "; continue;
        case 0x2028: out += "\\line "; continue;
        case 0x00A0: out += "\\~"; continue;
        case 0x00AD: out += "\\-"; continue;
        case 0x2011: out += "\\_"; continue;
        default: break;
        }
        std::uint8_t b;
        if (u >= 0x80 && cp1251Font && UnicodeToCp1251(u, b)) {
            out += "\\'";
            out += hex[b >> 4];
            out += hex[b & 15];
            continue;
        }
        // \uN takes a signed 16-bit number; the '?' is what older readers show.
        out += "\\u";
        out += QByteArray::number(int(std::int16_t(u)));
        out += '?';
    }
}

RtfWriterTables::RtfWriterTables(const QFont& defaultFont) : defaultFont_(defaultFont) {}

RtfWriterTables::FontKey RtfWriterTables::KeyOf(const QTextCharFormat& f) const
{
    const QStringList families = f.fontFamilies().toStringList();
    QString family = families.isEmpty() ? defaultFont_.family() : families.first();
    if (family.isEmpty())
        family = QStringLiteral("Times New Roman");
    const int charset = f.hasProperty(PropCharset) ? IntProperty(f, PropCharset) : CyrillicCharset;
    return {family, charset, IntProperty(f, PropPitchAndFamily)};
}

void RtfWriterTables::Collect(const QTextCharFormat& f)
{
    const FontKey key = KeyOf(f);
    if (!fonts_.count(key)) {
        fonts_[key] = int(fontOrder_.size());
        fontOrder_.push_back(key);
    }
    for (const QBrush& brush : {f.foreground(), f.background()}) {
        if (brush.style() == Qt::NoBrush)
            continue;
        const QRgb rgb = brush.color().rgb();
        if (!colors_.count(rgb)) {
            colors_[rgb] = int(colorOrder_.size()) + 1;   // index 0 is the automatic colour
            colorOrder_.push_back(brush.color());
        }
    }
}

bool RtfWriterTables::Cp1251Font(const QTextCharFormat& format) const
{
    const int charset = std::get<1>(KeyOf(format));
    const int codePage = CodePageForCharset(charset);
    return codePage == 0 || codePage == 1251;
}

int RtfWriterTables::ColorIndex(const QColor& color) const
{
    auto it = colors_.find(color.rgb());
    return it == colors_.end() ? 0 : it->second;
}

QByteArray RtfWriterTables::Header() const
{
    QByteArray out;
    out += "{\\fonttbl";
    std::vector<FontKey> order = fontOrder_;
    if (order.empty())
        order.push_back(KeyOf(QTextCharFormat()));
    for (size_t i = 0; i < order.size(); ++i) {
        const auto& [family, charset, pitch] = order[i];
        out += "{";
        Word(out, "f", long(i));
        Word(out, FamilyWord(pitch));
        Word(out, "fcharset", charset);
        if (pitch & 0x0f)
            Word(out, "fprq", pitch & 0x0f);
        out += ' ';
        AppendRtfText(out, family);
        out += ";}";
    }
    out += "}\r\n{\\colortbl ;";
    for (const QColor& c : colorOrder_) {
        Word(out, "red", c.red());
        Word(out, "green", c.green());
        Word(out, "blue", c.blue());
        out += ';';
    }
    out += "}\r\n";
    return out;
}

QByteArray RtfWriterTables::CharacterWords(const QTextCharFormat& f) const
{
    QByteArray out;
    out.reserve(64);
    Word(out, "plain");
    auto font = fonts_.find(KeyOf(f));
    Word(out, "f", font == fonts_.end() ? 0 : font->second);
    double points = f.fontPointSize();
    if (points <= 0)
        points = defaultFont_.pointSizeF() > 0 ? defaultFont_.pointSizeF() : 12.0;
    Word(out, "fs", std::lround(points * 2));
    // \plain leaves none of these on; a run that has no value of its own shows
    // the document's default font's, and is written as shown.
    const int weight = f.hasProperty(QTextFormat::FontWeight) ? f.fontWeight() : defaultFont_.weight();
    if (weight >= QFont::Bold)
        Word(out, "b");
    if (f.hasProperty(QTextFormat::FontItalic) ? f.fontItalic() : defaultFont_.italic())
        Word(out, "i");
    if (f.hasProperty(QTextFormat::FontStrikeOut) ? f.fontStrikeOut() : defaultFont_.strikeOut())
        Word(out, "strike");
    if (const char* ul = UnderlineWord(UnderlineKind(f, defaultFont_)))
        Word(out, ul);
    const int offset = IntProperty(f, PropOffsetTwips);
    // Kept in step with Scripted().
    if (offset > 0)
        Word(out, "up", offset / 10);
    else if (offset < 0)
        Word(out, "dn", -static_cast<long long>(offset) / 10);
    else if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        Word(out, "super");
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        Word(out, "sub");
    if (f.foreground().style() != Qt::NoBrush)
        Word(out, "cf", ColorIndex(f.foreground().color()));
    else if (IsSet(f, PropAutoColor))
        Word(out, "cf", 0);
    if (f.background().style() != Qt::NoBrush)
        Word(out, "highlight", ColorIndex(f.background().color()));
    else if (IsSet(f, PropAutoBackColor))
        Word(out, "highlight", 0);
    if (IsSet(f, PropAllCaps) || (!f.hasProperty(PropAllCaps) && f.fontCapitalization() == QFont::AllUppercase))
        Word(out, "caps");
    if (IsSet(f, PropSmallCaps) || (!f.hasProperty(PropSmallCaps) && f.fontCapitalization() == QFont::SmallCaps))
        Word(out, "scaps");
    if (IsSet(f, PropHidden))
        Word(out, "v");
    if (IsSet(f, PropProtected))
        Word(out, "protect");
    if (const int lcid = IntProperty(f, PropLcid))
        Word(out, "lang", lcid);
    out += ' ';
    return out;
}

bool WrittenIndents(const QTextBlockFormat& f, int& left, int& first)
{
    const bool numbered = IntProperty(f, PropNumbering) != PFN_NONE;
    if (!numbered && !f.hasProperty(PropStartIndentTwips) && !f.hasProperty(PropOffsetTwipsPara))
        return false;
    first = -IntProperty(f, PropOffsetTwipsPara);
    left = IntProperty(f, PropStartIndentTwips) - first;
    if (numbered) {
        const int start = left + first;
        left = NumberedTextStartTwips(left, first, IntProperty(f, PropNumberingTab));
        first = start - left;
    }
    return true;
}

bool RtfWriterTables::Scripted(const QTextCharFormat& f)
{
    return IntProperty(f, PropOffsetTwips) == 0
        && (f.verticalAlignment() == QTextCharFormat::AlignSuperScript
            || f.verticalAlignment() == QTextCharFormat::AlignSubScript);
}

QByteArray ParagraphWords(const QTextBlockFormat& f, int tableLevel)
{
    QByteArray out;
    Word(out, "pard");
    if (tableLevel > 0)
        Word(out, "intbl");
    if (tableLevel > 1)
        Word(out, "itap", tableLevel);
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
        Word(out, "qc");
    else if (a & Qt::AlignJustify)
        Word(out, "qj");
    else if (a & Qt::AlignRight)
        Word(out, "qr");

    // The control's own lengths are exact twips; native margins stand in when absent.
    int first;
    int left;
    if (!WrittenIndents(f, left, first)) {
        first = Twips(f.textIndent());
        left = Twips(f.leftMargin());
    }
    const int right = f.hasProperty(PropRightIndentTwips) ? IntProperty(f, PropRightIndentTwips) : Twips(f.rightMargin());
    const int before = f.hasProperty(PropSpaceBeforeTwips) ? IntProperty(f, PropSpaceBeforeTwips) : Twips(f.topMargin());
    const int after = f.hasProperty(PropSpaceAfterTwips) ? IntProperty(f, PropSpaceAfterTwips) : Twips(f.bottomMargin());
    if (first)
        Word(out, "fi", first);
    if (left)
        Word(out, "li", left);
    if (right)
        Word(out, "ri", right);
    if (before)
        Word(out, "sb", before);
    if (after)
        Word(out, "sa", after);
    const int spacing = IntProperty(f, PropLineSpacingTwips);
    switch (IntProperty(f, PropLineSpacingRule)) {
    case 1: out += "\\sl360\\slmult1"; break;
    case 2: out += "\\sl480\\slmult1"; break;
    case 3: Word(out, "sl", spacing); Word(out, "slmult", 0); break;
    case 4: Word(out, "sl", -static_cast<long long>(spacing)); Word(out, "slmult", 0); break;
    case 5: Word(out, "sl", static_cast<long long>(spacing) * 12); Word(out, "slmult", 1); break;
    default: break;
    }
    const QList<QTextOption::Tab> tabs = f.tabPositions();
    for (const QTextOption::Tab& tab : tabs)
        Word(out, "tx", Twips(tab.position));
    return out;
}

} // namespace platform
