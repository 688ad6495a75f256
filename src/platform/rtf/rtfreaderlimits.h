// SPDX-License-Identifier: GPL-3.0-or-later
// Bounds the RTF reader puts on numbers from the data, so that absurd values
// stay harmless: the largest font the control shows (1638 points) and a page far
// wider than any printer's.
#pragma once

#include "rtftokenizer.h"

#include <algorithm>

namespace platform::rtflimits {

constexpr int MaxHalfPoints = 3276;
constexpr int MaxLengthTwips = 31680 * 4;
constexpr int MaxUnicodeSkip = 16;

inline int Clamp(int v, int lo, int hi) { return std::clamp(v, lo, hi); }
inline int Length(const RtfToken& t) { return Clamp(t.parameter, -MaxLengthTwips, MaxLengthTwips); }
inline bool On(const RtfToken& t) { return !t.hasParameter || t.parameter != 0; }

} // namespace platform::rtflimits
