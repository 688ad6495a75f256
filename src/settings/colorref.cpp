// SPDX-License-Identifier: GPL-3.0-or-later
// Conversion between stored colour values and Qt colours.
#include "colorref.h"

namespace {

constexpr std::uint32_t SystemColorFlag = 0x80000000u;

// The classic system-colour indexes that the program's forms use.
QPalette::ColorRole RoleOf(std::uint32_t index)
{
    switch (index) {
    case 5: return QPalette::Base;             // window background
    case 8: return QPalette::Text;             // window text
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Button;          // button face
    case 16: return QPalette::Dark;            // button shadow
    case 18: return QPalette::ButtonText;
    default: return QPalette::Base;
    }
}

} // namespace

QColor ColorFromRef(std::int32_t value, const QPalette& palette)
{
    const auto bits = std::uint32_t(value);
    if (bits & SystemColorFlag)
        return palette.color(QPalette::Active, RoleOf(bits & 0xFFu));
    return QColor(int(bits & 0xFFu), int((bits >> 8) & 0xFFu), int((bits >> 16) & 0xFFu));
}

std::int32_t ColorToRef(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return std::int32_t(std::uint32_t(rgb.red()) | (std::uint32_t(rgb.green()) << 8)
                        | (std::uint32_t(rgb.blue()) << 16));
}
