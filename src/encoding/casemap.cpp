// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-string case mapping for Windows-1251 text.
#include "casemap.h"

#include <algorithm>

std::string UpperWin(std::string_view s)
{
    std::string r(s);
    std::transform(r.begin(), r.end(), r.begin(), [](char c) { return UpCaseWin(c); });
    return r;
}

std::string LowerWin(std::string_view s)
{
    std::string r(s);
    std::transform(r.begin(), r.end(), r.begin(), [](char c) { return LowCaseWin(c); });
    return r;
}

std::u16string UpperWin(std::u16string_view s)
{
    std::u16string r(s);
    std::transform(r.begin(), r.end(), r.begin(), [](char16_t c) { return UpCaseWin(c); });
    return r;
}

std::u16string LowerWin(std::u16string_view s)
{
    std::u16string r(s);
    std::transform(r.begin(), r.end(), r.begin(), [](char16_t c) { return LowCaseWin(c); });
    return r;
}
