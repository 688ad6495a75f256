// SPDX-License-Identifier: GPL-3.0-or-later
// Pair costs of bytes read in one code page, from the generated Russian pair table.
#include "letterpairs.h"

#include "letterpairtables.h"
#include "letterpositions.h"

namespace encoding_detail {

namespace {

// The generated table was made from the code pages as published; the converters use
// letterpositions.h. Both must agree on every letter or the two steps judge different texts.
constexpr bool TablesAgree()
{
    const TLetterPositions* pages[PairPages] = {&DosLetters, &WinLetters, &KoiLetters, &MacLetters, &IsoLetters};
    for (int p = 0; p < PairPages; ++p) {
        for (int k = 0; k < 33; ++k) {
            if (PageTokens[p][pages[p]->Small[k]] != k || PageTokens[p][pages[p]->Capital[k]] != 33 + k)
                return false;
        }
        int letters = 0;
        for (int b = 0; b < 256; ++b)
            letters += PageTokens[p][b] < 66 ? 1 : 0;
        if (letters != 66)
            return false;
    }
    return true;
}
static_assert(TablesAgree(), "letterpairtables.h and letterpositions.h place the letters differently");

} // namespace

TPairReading ReadPairs(std::span<const std::uint8_t> bytes, int page)
{
    const std::uint8_t* tokens = PageTokens[page];
    TPairReading r;
    // Where a text starts, capitals are common and closing punctuation is not.
    unsigned prev = TokenStart;
    bool prevHigh = false;
    for (std::uint8_t b : bytes) {
        const unsigned cur = tokens[b];
        const unsigned cost = PairCost[prev * PairTokens + cur];
        r.Cost += cost;
        const bool high = b >= 0x80;
        if (high || prevHigh) {
            r.HighCost += cost;
            ++r.HighPairs;
        }
        prev = cur;
        prevHigh = high;
    }
    // And ends as a line does: the last word's end counts too.
    const unsigned end = PairCost[prev * PairTokens + TokenLineBreak];
    r.Cost += end;
    if (prevHigh) {
        r.HighCost += end;
        ++r.HighPairs;
    }
    return r;
}

} // namespace encoding_detail
