// SPDX-License-Identifier: GPL-3.0-or-later
// The list of texts kept for recovery as a question the Prompter asks: Recover,
// Discard or Later on the selected one.
#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <vector>

struct RecoveryListEntry {
    QString name;       // the file's name as shown, or "untitled"
    QString time;       // when the text was kept, as shown
    QString size;       // how much text, as shown
    QString preview;    // the first lines
};

struct RecoveryListRequest {
    std::vector<RecoveryListEntry> entries;
    // Discard acts at once on an index into entries: it answers whether the
    // entry's journal went, and the list then drops it. The window closes when
    // nothing is left.
    std::function<bool(int index)> discard;
};

// The entry to recover; nothing for Later (the window closed, the rest left).
struct RecoveryListAnswer {
    int recover = 0;    // an index into the request's entries
};

// What a test does in the list: the entries it discards, in order (indexes into
// the list as it is at that moment), then Recover on one, or Later when none.
struct RecoveryListScript {
    std::vector<int> discards;
    std::optional<int> recover;
};
