// SPDX-License-Identifier: GPL-3.0-or-later
// Name tables for quillet-conv's options and output.
#include "encodingnames.h"

#include <string>

namespace {

std::string Lower(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return r;
}

} // namespace

const char* EncName(TEnc enc)
{
    constexpr const char* Names[] = {"Dos", "Win", "Koi", "Mac", "Iso", "Uni", "Rtf", "None", "Utf8"};
    return enc <= Utf8 ? Names[enc] : "None";
}

const char* ByteOrderName(TUniType uniType) { return uniType == Big ? "big" : "little"; }

std::optional<TEnc> ParseEnc(std::string_view name)
{
    static const struct {
        const char* name;
        TEnc enc;
    } Known[] = {
        {"dos", Dos},        {"cp866", Dos},   {"ibm866", Dos},     {"win", Win},     {"cp1251", Win},
        {"windows-1251", Win}, {"koi", Koi},   {"koi8-r", Koi},     {"koi8r", Koi},   {"mac", Mac},
        {"mac-cyrillic", Mac}, {"maccyrillic", Mac}, {"iso", Iso},  {"iso-8859-5", Iso},
        {"iso8859-5", Iso},  {"uni", Uni},     {"unicode", Uni},    {"utf-16", Uni},  {"rtf", Rtf},
        {"utf8", Utf8},      {"utf-8", Utf8},  {"none", None},
    };
    const std::string n = Lower(name);
    for (const auto& k : Known)
        if (n == k.name)
            return k.enc;
    return std::nullopt;
}

std::optional<TDosAdd> ParseDosMode(std::string_view name)
{
    const std::string n = Lower(name);
    if (n == "none")
        return daNone;
    if (n == "oem")
        return daOEM;
    if (n == "uni")
        return daUNI;
    if (n == "tbl")
        return daTBL;
    return std::nullopt;
}

std::optional<TUniType> ParseByteOrder(std::string_view name)
{
    const std::string n = Lower(name);
    if (n == "little" || n == "le")
        return Little;
    if (n == "big" || n == "be")
        return Big;
    return std::nullopt;
}
