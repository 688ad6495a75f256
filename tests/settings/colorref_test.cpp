// SPDX-License-Identifier: GPL-3.0-or-later
// Stored colour values and their Qt colours.
#include "colorref.h"

#include <gtest/gtest.h>

namespace {

TEST(ColorRefTest, StoredOrderIsRedGreenBlueFromTheLowByteAndSystemColoursFollowThePalette)
{
    QPalette palette;
    EXPECT_EQ(ColorFromRef(0x0000FF, palette), QColor(255, 0, 0));
    EXPECT_EQ(ColorFromRef(0xFF0000, palette), QColor(0, 0, 255));
    EXPECT_EQ(ColorFromRef(0x123456, palette), QColor(0x56, 0x34, 0x12));
    for (std::int32_t v : {0, 0x00FFFFFF, 0x00804020, 0x123456})
        EXPECT_EQ(ColorToRef(ColorFromRef(v, palette)), v);

    // System colours follow the palette.
    palette.setColor(QPalette::Active, QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Active, QPalette::Text, QColor(4, 5, 6));
    EXPECT_EQ(ColorFromRef(ClWindow, palette), QColor(1, 2, 3));
    EXPECT_EQ(ColorFromRef(std::int32_t(0x80000008u), palette), QColor(4, 5, 6));
    EXPECT_EQ(ColorFromRef(std::int32_t(0x80000063u), palette), QColor(1, 2, 3)); // unknown index
}

} // namespace
