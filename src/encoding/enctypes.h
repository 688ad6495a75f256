// SPDX-License-Identifier: GPL-3.0-or-later
// The encoding identifiers shared by the whole program: code page of a text, DOS
// character-graphics mode, UTF-16 byte order, and the answer of detection.
#pragma once

#include <cstdint>

// Ordinals are stored in settings and travel in view requests: never reorder.
// None is only ever a detection answer; every converter treats it like Win.
// Utf8 came last, after None, so that every stored ordinal kept its meaning.
enum TEnc : std::uint8_t { Dos, Win, Koi, Mac, Iso, Uni, Rtf, None, Utf8 };

// The ordinals a text can be shown in: every encoding but detection's None.
constexpr bool IsShownEncoding(int ordinal)
{
    return (ordinal >= Dos && ordinal <= Rtf) || ordinal == Utf8;
}

enum TDosAdd : std::uint8_t { daNone, daOEM, daUNI, daTBL };

enum TUniType : std::uint8_t { Little, Big };

struct TDetectResult {
    TEnc Enc = None;
    bool HasGraphics = false;
    TUniType UniType = Little;

    friend bool operator==(const TDetectResult&, const TDetectResult&) = default;
};

// The one rule the loader applies to a detection answer when "Except for Mac" is on:
// Macintosh Cyrillic shares most small letters with Windows-1251 and is rare.
constexpr TDetectResult ApplyExceptMac(TDetectResult r, bool exceptMac)
{
    if (exceptMac && r.Enc == Mac)
        r.Enc = Win;
    return r;
}
