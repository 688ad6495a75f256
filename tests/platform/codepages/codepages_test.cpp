// SPDX-License-Identifier: GPL-3.0-or-later
// The code-page tables against the C library's own converters, and the round trips
// that reinterpretation depends on.
#include "codepages.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>

using namespace platform;

namespace {

// What glibc's iconv makes of one byte in the named code page; 0xFFFF when it refuses.
char16_t IconvDecode(const char* codePage, std::uint8_t byte)
{
    iconv_t cd = iconv_open("UTF-16LE", codePage);
    EXPECT_NE(cd, (iconv_t)-1);
    char in[1] = {char(byte)};
    char out[4] = {};
    char* inp = in;
    char* outp = out;
    size_t inLeft = 1, outLeft = sizeof out;
    const size_t rc = iconv(cd, &inp, &inLeft, &outp, &outLeft);
    iconv_close(cd);
    if (rc == size_t(-1))
        return 0xFFFF;
    return char16_t(std::uint8_t(out[0]) | (std::uint8_t(out[1]) << 8));
}

bool IsRussianLetter(char16_t u) { return (u >= 0x410 && u <= 0x44F) || u == 0x401 || u == 0x451; }

} // namespace

TEST(CodePages, TablesAgreeWithThePublishedCodePages)
{
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(Cp866ToUnicode[b], IconvDecode("CP866", std::uint8_t(b))) << "CP866 byte " << b;
        const char16_t expected = b == 0x98 ? char16_t(0x98) : IconvDecode("CP1251", std::uint8_t(b));
        EXPECT_EQ(Cp1251ToUnicode[b], expected) << "Windows-1251 byte " << b;
    }
}

TEST(CodePages, EveryWindowsByteSurvivesDecodeThenEncode)
{
    std::uint8_t bytes[256];
    for (int b = 0; b < 256; ++b)
        bytes[b] = std::uint8_t(b);
    char16_t units[256];
    DecodeCp1251(bytes, 256, units);
    std::uint8_t back[256];
    EXPECT_EQ(EncodeCp1251(units, 256, back), 0u);
    EXPECT_EQ(std::memcmp(bytes, back, 256), 0);

    for (int b = 0; b < 256; ++b) {
        std::uint8_t dos = 0;
        ASSERT_TRUE(UnicodeToCp866(Cp866ToUnicode[b], dos));
        EXPECT_EQ(dos, b);
    }
}

TEST(CodePages, UnitsWithoutAByteBecomeQuestionMarks)
{
    const char16_t units[] = {u'Ж', 0x4E2D /* CJK */, 0x2502 /* box line */, u'z'};
    std::uint8_t out[4];
    EXPECT_EQ(EncodeCp1251(units, 4, out), 2u);
    EXPECT_EQ(out[0], 0xC6);
    EXPECT_EQ(out[1], '?');
    EXPECT_EQ(out[2], '?');
    EXPECT_EQ(out[3], 'z');
    std::uint8_t b = 0;
    EXPECT_TRUE(UnicodeToCp866(0x2502, b));
    EXPECT_EQ(b, 0xB3);
}

TEST(CodePages, OemAnsiTablesAgreeOnLettersAndDrawBoxesWithAscii)
{
    for (int b = 0; b < 256; ++b) {
        const char16_t dos = Cp866ToUnicode[b];
        if (IsRussianLetter(dos)) {
            EXPECT_EQ(Cp1251ToUnicode[OemToAnsiTable[b]], dos) << "OEM byte " << b;
        }
        const char16_t win = Cp1251ToUnicode[b];
        if (IsRussianLetter(win)) {
            EXPECT_EQ(Cp866ToUnicode[AnsiToOemTable[b]], win) << "ANSI byte " << b;
        }
    }
    std::uint8_t frame[] = {0xDA, 0xC4, 0xC2, 0xCD, 0xBF, 0xB3, 0xBA, 0xDB};
    OemToAnsi(frame, sizeof frame);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(frame), sizeof frame), "+-+=+||#");
    std::uint8_t text[] = {0xC0, 0xA8, 0xB9, 0xB0};   // А Ё № °
    AnsiToOem(text, sizeof text);
    EXPECT_EQ(text[0], 0x80);
    EXPECT_EQ(text[1], 0xF0);
    EXPECT_EQ(text[2], 0xFC);
    EXPECT_EQ(text[3], 0xF8);
}
