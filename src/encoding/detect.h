// SPDX-License-Identifier: GPL-3.0-or-later
// Which Russian code page a file or a byte span is in: RTF signature, the control-byte
// pattern of UTF-16, valid UTF-8 with letters beyond ASCII, then Russian letter
// frequencies as each code page reads the bytes, and letter pairs where those cannot tell.
#pragma once

#include "enctypes.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

// One value per letter: Ё first, then А..Я.
using TLetterVector = std::array<double, 33>;

// Frequency of each letter in Russian text, per mille (the entries sum to 1000).
inline constexpr std::array<std::uint8_t, 33> RusLetterFreq = {
    0,  81, 17, 44, 17, 31, 83, 11, 17, 67, 12, 34, 50, 32, 66, 111, 29,
    45, 53, 62, 29, 2,  9,  4,  15, 9,  4,  0,  18, 18, 3,  6,  21};

// The score of a candidate whose letters never occur; anything at or above it is
// no answer at all.
inline constexpr std::int32_t NoLetterScore = 10'000'000;

// Detection looks at no more than this, in blocks of this size.
inline constexpr std::size_t DetectBlockSize = 2048;
inline constexpr std::size_t DetectMaxBlocks = 250;
inline constexpr std::size_t DetectSampleSize = DetectBlockSize * DetectMaxBlocks;

// Scales v so that its entries sum to 1000; an all-zero (or negative-sum) vector stays.
void NormalizeFreq(TLetterVector& v);

// 100 times the squared distance of v from reference, rounded half to even;
// NoLetterScore when v sums to 0 or less. Smaller is closer.
std::int32_t LetterDistance(const TLetterVector& v, const std::array<std::uint8_t, 33>& reference);

// Detection of data already in memory; looks at the first DetectSampleSize bytes.
TDetectResult DetectEncoding(std::span<const std::uint8_t> data);

// Detection of a file on disk. Only regular files are read: anything else (FIFO,
// device, directory), a missing, empty or unreadable file answers the initial
// result (None, no graphics, Little) at once. Never throws.
TDetectResult DetectEncoding(const std::string& fileName);
