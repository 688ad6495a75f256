// SPDX-License-Identifier: GPL-3.0-or-later
// Windows-1251 case mapping: Latin and Russian letters flip, Ё/ё and all else stay.
#include "casemap.h"

#include <gtest/gtest.h>

TEST(CaseMap, EveryByteAndStringsOfThem)
{
    for (int b = 0; b < 256; ++b) {
        const char c = char(b);
        const bool small = (b >= 'a' && b <= 'z') || b >= 0xE0;
        const bool capital = (b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDF);
        EXPECT_EQ(std::uint8_t(UpCaseWin(c)), small ? b - 0x20 : b) << b;
        EXPECT_EQ(std::uint8_t(LowCaseWin(c)), capital ? b + 0x20 : b) << b;
    }
    // "Ёж ёлка я" in Windows-1251: strings keep Ё, ё and their length.
    EXPECT_EQ(UpperWin("\xA8\xE6 \xB8\xEB\xEA\xE0 \xFF z"), "\xA8\xC6 \xB8\xCB\xCA\xC0 \xDF Z");
    EXPECT_EQ(LowerWin("\xA8\xC6 Z"), "\xA8\xE6 z");
    EXPECT_EQ(UpperWin(std::string("a\0b", 3)), std::string("A\0B", 3));
}

TEST(CaseMap, DecodedTextFollowsTheByteRule)
{
    // Exactly the letters whose Windows-1251 bytes change, change: Latin and а-я.
    for (char32_t c = 0; c < 0x10000; ++c) {
        const char16_t u = char16_t(c);
        const bool small = (c >= u'a' && c <= u'z') || (c >= 0x430 && c <= 0x44F);
        const bool capital = (c >= u'A' && c <= u'Z') || (c >= 0x410 && c <= 0x42F);
        ASSERT_EQ(UpCaseWin(u), small ? char16_t(c - 0x20) : u) << std::uint32_t(c);
        ASSERT_EQ(LowCaseWin(u), capital ? char16_t(c + 0x20) : u) << std::uint32_t(c);
    }
    EXPECT_EQ(UpperWin(std::u16string_view(u"ёжик Ёлка ї ω")), u"ёЖИК ЁЛКА ї ω");
    EXPECT_EQ(LowerWin(std::u16string_view(u"МАМА Ё Ω")), u"мама Ё Ω");
}
