// SPDX-License-Identifier: GPL-3.0-or-later
// The five saved screens of the Screens key (font, colours and window state of one
// look each) and the fixed screen by default.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

struct TScreenParams {
    QString FontName;
    QString FStyle;            // bold, italic, underline as '1' or '0'
    std::int32_t FColor = 0;   // a stored colour value
    std::int32_t Size = 10;    // points
    std::int32_t Charset = 1;  // low byte used
    std::int32_t Color = 0;    // the editor's background
    std::int32_t Window = 0;   // 1: normal window; anything else: maximized
};

inline constexpr int SavedScreenCount = 5;

// Entry 0: Courier New 10, no style, black on the window colour, maximized.
TScreenParams DefaultScreen();

// Slots 1..5; a slot is present only when all seven of its values are stored and
// readable (a value of another kind leaves the slot empty rather than half read).
std::array<std::optional<TScreenParams>, SavedScreenCount + 1> ReadSavedScreens();

// Whether all seven values of slot n exist.
bool SavedScreenExists(int n);

// Writes the seven values of slot n as one change.
void WriteSavedScreen(int n, const TScreenParams& screen);
