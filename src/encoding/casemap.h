// SPDX-License-Identifier: GPL-3.0-or-later
// Windows-1251 upper and lower case, per byte and without locale services: Latin
// and Russian letters only; Ё and ё keep their case.
#pragma once

#include <string>
#include <string_view>

constexpr char UpCaseWin(char c)
{
    const unsigned char b = static_cast<unsigned char>(c);
    if ((b >= 0x61 && b <= 0x7A) || b >= 0xE0)
        return static_cast<char>(b - 0x20);
    return c;
}

constexpr char LowCaseWin(char c)
{
    const unsigned char b = static_cast<unsigned char>(c);
    if ((b >= 0x41 && b <= 0x5A) || (b >= 0xC0 && b <= 0xDF))
        return static_cast<char>(b + 0x20);
    return c;
}

std::string UpperWin(std::string_view s);
std::string LowerWin(std::string_view s);

// The same rule on decoded text: the characters whose Windows-1251 bytes the rule
// changes (Latin a-z, Russian а-я and their capitals) change; every other
// character, Ё and ё and those with no Windows-1251 byte among them, is kept.
constexpr char16_t UpCaseWin(char16_t c)
{
    if ((c >= u'a' && c <= u'z') || (c >= u'\u0430' && c <= u'\u044F'))
        return static_cast<char16_t>(c - 0x20);
    return c;
}

constexpr char16_t LowCaseWin(char16_t c)
{
    if ((c >= u'A' && c <= u'Z') || (c >= u'\u0410' && c <= u'\u042F'))
        return static_cast<char16_t>(c + 0x20);
    return c;
}

std::u16string UpperWin(std::u16string_view s);
std::u16string LowerWin(std::u16string_view s);
