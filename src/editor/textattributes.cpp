// SPDX-License-Identifier: GPL-3.0-or-later
// Character format properties over the control's CHARFORMAT2 record.
#include "textattributes.h"

#include "qxeditor.h"
#include "richedit.h"

#include <cmath>

using namespace platform;

std::int32_t PointsToTwips(double points)
{
    // lrint follows the current rounding mode, which is to nearest with ties to even.
    return std::int32_t(std::lrint(points * 20.0));
}

CHARFORMAT2 TTextAttributes::Get() const
{
    CHARFORMAT2 format;
    if (Editor->HandleAllocated())
        format = Editor->Window()->GetCharFormat(Kind == atSelected ? SCF_SELECTION : SCF_DEFAULT);
    return format;
}

void TTextAttributes::Set(const CHARFORMAT2& format)
{
    if (!Editor->HandleAllocated())
        return;
    RichEdit* window = Editor->Window();
    unsigned scf = SCF_DEFAULT;
    if (Kind == atSelected) {
        const CHARRANGE sel = window->ExGetSel();
        // An empty selection formats the word at the caret.
        scf = sel.cpMin == sel.cpMax ? SCF_SELECTION | SCF_WORD | SCF_USEUIRULES : SCF_SELECTION | SCF_USEUIRULES;
    }
    window->SetCharFormat(scf, format);
}

void TTextAttributes::SetEffect(std::uint32_t bit, bool on)
{
    CHARFORMAT2 format;
    format.dwMask = bit;
    format.dwEffects = on ? bit : 0;
    Set(format);
}

TColor TTextAttributes::Color() const
{
    const CHARFORMAT2 format = Get();
    return (format.dwEffects & CFE_AUTOCOLOR) ? clWindowText : TColor(format.crTextColor);
}

void TTextAttributes::SetColor(TColor value)
{
    CHARFORMAT2 format;
    format.dwMask = CFM_COLOR;
    if (value == clWindowText)
        format.dwEffects = CFE_AUTOCOLOR;
    else
        format.crTextColor = ColorToRGB(value);
    Set(format);
}

QString TTextAttributes::Name() const
{
    const CHARFORMAT2 format = Get();
    int n = 0;
    while (n < 32 && format.szFaceName[n])
        ++n;
    return QString::fromUtf16(format.szFaceName, n);
}

void TTextAttributes::SetName(const QString& value)
{
    CHARFORMAT2 format;
    format.dwMask = CFM_FACE;
    // The record holds 31 units and a NUL; a longer name is cut, never inside a
    // surrogate pair.
    qsizetype n = std::min<qsizetype>(value.size(), 31);
    if (n == 31 && value.at(30).isHighSurrogate())
        n = 30;
    for (qsizetype i = 0; i < n; ++i)
        format.szFaceName[i] = value.at(i).unicode();
    Set(format);
}

int TTextAttributes::Size() const
{
    return Get().yHeight / 20;
}

void TTextAttributes::SetSize(int value)
{
    CHARFORMAT2 format;
    format.dwMask = CFM_SIZE;
    format.yHeight = value * 20;
    Set(format);
}

TFontCharset TTextAttributes::Charset() const
{
    return Get().bCharSet;
}

void TTextAttributes::SetCharset(TFontCharset value)
{
    CHARFORMAT2 format;
    format.dwMask = CFM_CHARSET;
    format.bCharSet = value;
    Set(format);
}

TFontPitch TTextAttributes::Pitch() const
{
    switch (Get().bPitchAndFamily & 3) {
    case 1: return TFontPitch::fpFixed;
    case 2: return TFontPitch::fpVariable;
    default: return TFontPitch::fpDefault;
    }
}

void TTextAttributes::SetPitch(TFontPitch value)
{
    // The record's mask has no bit for the pitch: the control is told and changes
    // nothing, as it always did. The pitch follows from the face name.
    CHARFORMAT2 format;
    format.bPitchAndFamily = value == TFontPitch::fpVariable ? 2 : value == TFontPitch::fpFixed ? 1 : 0;
    Set(format);
}

TColor TTextAttributes::BackColor() const
{
    return TColor(Get().crBackColor);
}

void TTextAttributes::SetBackColor(TColor value)
{
    CHARFORMAT2 format;
    format.dwMask = CFM_BACKCOLOR;
    format.crBackColor = ColorToRGB(value);
    Set(format);
}

std::uint16_t TTextAttributes::Language() const
{
    return std::uint16_t(Get().lcid & 0xFFFF);
}

void TTextAttributes::SetLanguage(std::uint16_t value)
{
    CHARFORMAT2 format;
    format.dwMask = CFM_LCID;
    format.lcid = value;
    Set(format);
}

std::uint8_t TTextAttributes::SubSuperscript() const
{
    const CHARFORMAT2 format = Get();
    // Both bits never come from the setter; superscript wins, as the control draws it.
    if (format.dwEffects & CFE_SUPERSCRIPT)
        return 2;
    return (format.dwEffects & CFE_SUBSCRIPT) ? 1 : 0;
}

void TTextAttributes::SetSubSuperscript(std::uint8_t value)
{
    CHARFORMAT2 format;
    format.dwMask = CFM_SUBSCRIPT | CFM_SUPERSCRIPT;
    format.dwEffects = std::uint32_t(value & 3) << 16;
    Set(format);
}

double TTextAttributes::Offset() const
{
    return Get().yOffset / 20.0;
}

void TTextAttributes::SetOffset(double value)
{
    CHARFORMAT2 format;
    format.dwMask = CFM_OFFSET;
    format.yOffset = PointsToTwips(value);
    Set(format);
}

std::uint8_t TTextAttributes::UnderlineType() const
{
    const CHARFORMAT2 format = Get();
    return (format.dwEffects & CFE_UNDERLINE) ? format.bUnderlineType : 0;
}

void TTextAttributes::SetUnderlineType(std::uint8_t value)
{
    CHARFORMAT2 format;
    format.dwMask = CFM_UNDERLINETYPE;
    format.bUnderlineType = value;
    Set(format);
}

bool TTextAttributes::SmallCaps() const { return Get().dwEffects & CFE_SMALLCAPS; }
void TTextAttributes::SetSmallCaps(bool value) { SetEffect(CFE_SMALLCAPS, value); }
bool TTextAttributes::AllCaps() const { return Get().dwEffects & CFE_ALLCAPS; }
void TTextAttributes::SetAllCaps(bool value) { SetEffect(CFE_ALLCAPS, value); }
bool TTextAttributes::Hidden() const { return Get().dwEffects & CFE_HIDDEN; }
void TTextAttributes::SetHidden(bool value) { SetEffect(CFE_HIDDEN, value); }
bool TTextAttributes::Link() const { return Get().dwEffects & CFE_LINK; }
void TTextAttributes::SetLink(bool value) { SetEffect(CFE_LINK, value); }

TFontStyles TTextAttributes::Style() const
{
    const CHARFORMAT2 format = Get();
    TFontStyles style;
    if (format.dwEffects & CFE_BOLD)
        style.Include(TFontStyle::fsBold);
    if (format.dwEffects & CFE_ITALIC)
        style.Include(TFontStyle::fsItalic);
    if (format.dwEffects & CFE_STRIKEOUT)
        style.Include(TFontStyle::fsStrikeOut);
    if ((format.dwEffects & CFE_UNDERLINE) && format.bUnderlineType > 0)
        style.Include(TFontStyle::fsUnderline);
    return style;
}

void TTextAttributes::SetStyle(TFontStyles value)
{
    // Underlining goes only through the underline kind, so that a wave or a double
    // line survives setting the style of already underlined text.
    std::uint8_t underline = 0;
    if (value.Contains(TFontStyle::fsUnderline)) {
        underline = UnderlineType();
        if (underline == 0)
            underline = CFU_UNDERLINE;
    }
    CHARFORMAT2 format;
    format.dwMask = CFM_BOLD | CFM_ITALIC | CFM_STRIKEOUT | CFM_UNDERLINETYPE;
    if (value.Contains(TFontStyle::fsBold))
        format.dwEffects |= CFE_BOLD;
    if (value.Contains(TFontStyle::fsItalic))
        format.dwEffects |= CFE_ITALIC;
    if (value.Contains(TFontStyle::fsStrikeOut))
        format.dwEffects |= CFE_STRIKEOUT;
    format.bUnderlineType = underline;
    Set(format);
}

void TTextAttributes::Assign(const TTextAttributes& source)
{
    source.AssignTo(*this);
}

void TTextAttributes::AssignTo(TTextAttributes& dest) const
{
    dest.SetColor(Color());
    dest.SetName(Name());
    dest.SetSize(Size());
    dest.SetPitch(Pitch());
    dest.SetBackColor(BackColor());
    dest.SetLanguage(Language());
    dest.SetCharset(Charset());
    dest.SetSubSuperscript(SubSuperscript());
    dest.SetOffset(Offset());
    dest.SetUnderlineType(UnderlineType());
    dest.SetStyle(Style());
    dest.SetSmallCaps(SmallCaps());
    dest.SetAllCaps(AllCaps());
    dest.SetHidden(Hidden());
    dest.SetLink(Link());
}

void TTextAttributes::Assign(const TFont& source)
{
    SetColor(source.Color);
    SetName(source.Name);
    SetSize(source.Size);
    SetCharset(source.Charset);
    SetPitch(source.Pitch);
    SetStyle(source.Style);
}

void TTextAttributes::AssignTo(TFont& dest) const
{
    dest.Color = Color();
    dest.Name = Name();
    dest.Style = Style();
    dest.Charset = Charset();
    dest.Size = Size();
    dest.Pitch = Pitch();
}
