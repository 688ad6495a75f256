// SPDX-License-Identifier: GPL-3.0-or-later
// The two code pages the program holds text in, as published: CP866 (DOS) and
// Windows-1251, to and from UTF-16, plus the fixed OEM<->ANSI byte tables.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// UTF-16 code unit of each byte. Windows-1251 leaves 0x98 unassigned; it maps
// to U+0098 so that every byte value survives a decode followed by an encode.
extern const char16_t Cp866ToUnicode[256];
extern const char16_t Cp1251ToUnicode[256];

// The byte of a UTF-16 unit, or false when the code page has none.
bool UnicodeToCp1251(char16_t unit, std::uint8_t& byte);
bool UnicodeToCp866(char16_t unit, std::uint8_t& byte);

// Byte of a unit with '?' for units the code page cannot hold.
inline std::uint8_t EncodeCp1251(char16_t unit)
{
    std::uint8_t b;
    return UnicodeToCp1251(unit, b) ? b : std::uint8_t('?');
}

// Decode / encode whole buffers. Encode writes one byte per unit; answers the
// number of units that had no byte and became '?'.
void DecodeCp1251(const std::uint8_t* src, std::size_t n, char16_t* dst);
std::size_t EncodeCp1251(const char16_t* src, std::size_t n, std::uint8_t* dst);
void DecodeCp866(const std::uint8_t* src, std::size_t n, char16_t* dst);

// OEM (CP866) <-> ANSI (Windows-1251) conversion in place. The letters map as the
// letters-only converters do; the box-drawing bytes become their closest
// Windows-1251 characters (- = | + #), and so do the rest where no exact one exists.
extern const std::uint8_t OemToAnsiTable[256];
extern const std::uint8_t AnsiToOemTable[256];
void OemToAnsi(std::uint8_t* buf, std::size_t n);
void AnsiToOem(std::uint8_t* buf, std::size_t n);

} // namespace platform
