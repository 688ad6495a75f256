// SPDX-License-Identifier: GPL-3.0-or-later
// Where the registry store lives, and how key paths and names are split and compared.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// QUILLET_REGISTRY when set, else $XDG_CONFIG_HOME/quillet/registry.db, else
// ~/.config/quillet/registry.db. Read at every call, so a test may switch stores.
std::string RegistryFileName();

// Key and value names compare without regard to letter case, as the Windows
// registry does: "Software\Tarnwick" and "SOFTWARE\tarnwick" are one key.
// Folds ASCII, Latin-1 and Cyrillic letters of UTF-8 text; other bytes stay.
std::string FoldName(std::string_view name);

// The non-empty components of a key path split at backslashes.
std::vector<std::string> SplitKeyPath(std::string_view path);

// True when the path is absolute within its root (begins with a backslash).
inline bool IsAbsoluteKeyPath(std::string_view path)
{
    return !path.empty() && path.front() == '\\';
}

} // namespace platform
