// SPDX-License-Identifier: GPL-3.0-or-later
// Colours as the registry stores them: 0x00BBGGRR, or a system colour 0x800000nn
// (clWindow is 0x80000005) that follows the desktop's palette.
#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

// The stored form of the editor's default background.
inline constexpr std::int32_t ClWindow = std::int32_t(0x80000005u);

// A system colour the palette has no role for reads as the palette's window colour.
QColor ColorFromRef(std::int32_t value, const QPalette& palette);
std::int32_t ColorToRef(const QColor& color);
