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
