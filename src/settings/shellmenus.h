// SPDX-License-Identifier: GPL-3.0-or-later
// The two context-menu entries under HKEY_CLASSES_ROOT: "Load with Quillet" on
// every file, and the program on folders (shown by its key name, Quillet).
#pragma once

#include "registry.h"

#include <string>

namespace ShellMenuKeys {
inline constexpr const char* Files = "\\*\\shell\\Quillet";
inline constexpr const char* FilesCommand = "\\*\\shell\\Quillet\\command";
inline constexpr const char* Folders = "\\directory\\shell\\Quillet";
inline constexpr const char* FoldersCommand = "\\directory\\shell\\Quillet\\command";
} // namespace ShellMenuKeys

// Each box is checked exactly when its command is the one the checked box writes.
bool ExplorerMenuChecked(platform::TRegistry& reg, const std::string& program);
bool StartMenuChecked(platform::TRegistry& reg, const std::string& program);

void WriteExplorerMenu(platform::TRegistry& reg, const std::string& program, bool on, const std::string& caption);
void WriteStartMenu(platform::TRegistry& reg, const std::string& program, bool on);

// The menu text of the file entry as stored.
std::string ExplorerMenuCaption(platform::TRegistry& reg);
