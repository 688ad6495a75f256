// SPDX-License-Identifier: GPL-3.0-or-later
// The unit of lengths on the page: millimetres or inches.
#pragma once

enum class TMeasureUnit { muMillimeters, muInches };

inline constexpr double MillimetersPerInch = 25.4;

// A length given in one unit, in the other.
constexpr double ConvertLength(double value, TMeasureUnit from, TMeasureUnit to)
{
    if (from == to)
        return value;
    return to == TMeasureUnit::muInches ? value / MillimetersPerInch : value * MillimetersPerInch;
}
