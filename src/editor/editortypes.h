// SPDX-License-Identifier: GPL-3.0-or-later
// Value types of the editor's interface: colours, fonts, small sets, and the
// enumerations of its properties and search options.
#pragma once

#include <QString>

#include <cstdint>
#include <initializer_list>

// A colour: 0x00BBGGRR, or a system colour (0x80000000 | index) resolved on use.
using TColor = std::int32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clWindow = TColor(0x80000005u);
inline constexpr TColor clWindowText = TColor(0x80000008u);

// The RGB value of a colour; system colours take the values of a light desktop theme.
std::uint32_t ColorToRGB(TColor color);

// A set of enumeration values, as small bit flags.
template <typename E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> values)
    {
        for (E v : values)
            bits |= Bit(v);
    }
    constexpr bool Contains(E v) const { return (bits & Bit(v)) != 0; }
    constexpr TSet& Include(E v) { bits |= Bit(v); return *this; }
    constexpr TSet& Exclude(E v) { bits &= ~Bit(v); return *this; }
    constexpr bool Empty() const { return bits == 0; }
    friend constexpr bool operator==(TSet, TSet) = default;

private:
    static constexpr std::uint32_t Bit(E v) { return 1u << unsigned(v); }
    std::uint32_t bits = 0;
};

enum class TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

enum class TFontPitch : std::uint8_t { fpDefault, fpVariable, fpFixed };
using TFontCharset = std::uint8_t;
inline constexpr TFontCharset DEFAULT_CHARSET = 1;
inline constexpr TFontCharset RUSSIAN_CHARSET = 204;

// The editor's font as the formatting code sees it. Size is in points.
struct TFont {
    QString Name = QStringLiteral("Courier New");
    int Size = 10;
    TColor Color = clWindowText;
    TFontStyles Style;
    TFontCharset Charset = DEFAULT_CHARSET;
    TFontPitch Pitch = TFontPitch::fpDefault;
    friend bool operator==(const TFont&, const TFont&) = default;
};

enum class TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
enum class TBorderStyle : std::uint8_t { bsNone, bsSingle };
enum class TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

enum class TSearchType : std::uint8_t { stWholeWord, stMatchCase, stBackward };
using TSearchTypes = TSet<TSearchType>;

enum class TSelectionTypeItem : std::uint8_t { stText, stObject, stMultiChar, stMultiObject };
using TSelectionType = TSet<TSelectionTypeItem>;

// A caret position: line first, then the column within it, both from 0.
struct TCaretPos {
    std::int32_t Line = 0;
    std::int32_t Column = 0;
    friend bool operator==(const TCaretPos&, const TCaretPos&) = default;
};
