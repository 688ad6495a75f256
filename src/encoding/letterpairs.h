// SPDX-License-Identifier: GPL-3.0-or-later
// The second look of detection: how well bytes read as Russian text in each single-byte
// code page, judged pair by pair (letters, capitals, word starts and ends, punctuation).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace encoding_detail {

// Pages in the order of the letter vectors: Dos, Win, Koi, Mac, Iso.
inline constexpr int PairPages = 5;

// The second look reads no more than this from the start of the sample: enough for
// thousands of letters, and it keeps detection of a large file fast.
inline constexpr std::size_t PairSampleSize = 16384;

struct TPairReading {
    // Cost of the whole span read in the page, in eighths of a bit; smaller reads better.
    std::int64_t Cost = 0;
    // The pairs that involve a byte of 0x80 or above and what they cost: only they can
    // differ between pages.
    std::int64_t HighCost = 0;
    std::int32_t HighPairs = 0;
};

// Reads bytes in one page (0..4 in the order above).
TPairReading ReadPairs(std::span<const std::uint8_t> bytes, int page);

} // namespace encoding_detail
