// SPDX-License-Identifier: GPL-3.0-or-later
// What each item of the Numbering and Underline kind submenus stands for, in menu
// order: the stored indexes "ParNum" and "UnderLine" count along these lists.
#pragma once

#include <cstdint>
#include <utility>

// The numbering kind and style of each item of the Numbering submenu.
inline constexpr std::pair<std::uint8_t, std::uint8_t> NumberingItems[] = {{1, 3}, {2, 3}, {3, 3}, {2, 2}, {3, 2},
                                                                            {2, 0}, {3, 0}, {2, 1}, {3, 1}};
// The underline type of each item of the Underline kind submenu.
inline constexpr std::uint8_t UnderlineItems[] = {1, 9, 4, 5, 8, 6, 7};
