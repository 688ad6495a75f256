// SPDX-License-Identifier: GPL-3.0-or-later
// The recent-files list of the Files key: ten entries, most recent first, each with
// encoding, caret position and, for Unicode, whether it was big-endian.
#pragma once

#include <QString>

#include <array>

struct THistItem {
    QString FileName;
    int Kod = 0;     // TEnc ordinal
    int Pos = 0;     // caret position
    bool Uni = false; // Unicode with byte order Big
};

inline constexpr int HistorySize = 10;
// Entry 0 is the menu's File1.
using THistory = std::array<THistItem, HistorySize>;

// Each value is read on its own, so an encoding without a name is kept as found.
THistory ReadHistory();

// The list with the current file first, then the older entries that are named and
// differ from it (exact comparison), at most ten in all.
THistory PushHistory(const THistory& old, const THistItem& current);

// Writes the whole list: the Uni value exists only for entries whose Kod is Unicode,
// and the four values of every unused place are removed.
void WriteHistory(const THistory& history);

// Reads the list, puts the current file first and writes it back as one change, so
// that two copies of the program leaving files at once do not drop each other's
// entries. Answers the new list.
THistory UpdateHistory(const THistItem& current);
