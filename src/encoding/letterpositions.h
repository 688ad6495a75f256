// SPDX-License-Identifier: GPL-3.0-or-later
// Where the 33 Russian letters (Ё first, then А..Я) sit in each single-byte code page;
// the converters and detection are both built from these positions.
#pragma once

#include <array>
#include <cstdint>

namespace encoding_detail {

struct TLetterPositions {
    std::array<std::uint8_t, 33> Capital;
    std::array<std::uint8_t, 33> Small;
};

constexpr TLetterPositions Contiguous(std::uint8_t capYo, std::uint8_t smallYo, std::uint8_t capA,
                                      std::uint8_t smallA)
{
    TLetterPositions p{};
    p.Capital[0] = capYo;
    p.Small[0] = smallYo;
    for (int i = 0; i < 32; ++i) {
        p.Capital[i + 1] = std::uint8_t(capA + i);
        p.Small[i + 1] = std::uint8_t(smallA + i);
    }
    return p;
}

// CP866 splits the small letters: а..п follow the capitals, р..я come after the
// box-drawing block.
constexpr TLetterPositions MakeDos()
{
    TLetterPositions p = Contiguous(0xF0, 0xF1, 0x80, 0xA0);
    for (int i = 16; i < 32; ++i)
        p.Small[i + 1] = std::uint8_t(0xE0 + i - 16);
    return p;
}

// KOI8-R orders letters by their Latin transliteration (Ю А Б Ц Д ...), so that a
// text with the eighth bit stripped stays readable; small letters sit below capitals.
constexpr TLetterPositions MakeKoi()
{
    // Alphabet index (А = 0 .. Я = 31) of the letter at KOI position 0..31.
    constexpr int KoiOrder[32] = {30, 0, 1, 22, 4, 5, 20, 3, 21, 8, 9, 10, 11, 12, 13, 14,
                                  15, 31, 16, 17, 18, 19, 6, 2, 28, 27, 7, 24, 29, 25, 23, 26};
    TLetterPositions p{};
    p.Capital[0] = 0xB3;
    p.Small[0] = 0xA3;
    for (int j = 0; j < 32; ++j) {
        p.Capital[KoiOrder[j] + 1] = std::uint8_t(0xE0 + j);
        p.Small[KoiOrder[j] + 1] = std::uint8_t(0xC0 + j);
    }
    return p;
}

// Macintosh Cyrillic keeps а..ю where Windows-1251 has them but puts я at 0xDF.
constexpr TLetterPositions MakeMac()
{
    TLetterPositions p = Contiguous(0xDD, 0xDE, 0x80, 0xE0);
    p.Small[32] = 0xDF;
    return p;
}

constexpr TLetterPositions DosLetters = MakeDos();
constexpr TLetterPositions WinLetters = Contiguous(0xA8, 0xB8, 0xC0, 0xE0);
constexpr TLetterPositions KoiLetters = MakeKoi();
constexpr TLetterPositions MacLetters = MakeMac();
constexpr TLetterPositions IsoLetters = Contiguous(0xA1, 0xF1, 0xB0, 0xD0);

} // namespace encoding_detail
