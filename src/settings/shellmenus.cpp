// SPDX-License-Identifier: GPL-3.0-or-later
// Writing and removing the context-menu keys.
#include "shellmenus.h"

#include "registrylayout.h"

using platform::HKEY_CLASSES_ROOT;

namespace {

std::string DefaultOf(platform::TRegistry& reg, const char* key)
{
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    return reg.OpenKey(key, false) ? reg.ReadDefault() : std::string();
}

void SetDefault(platform::TRegistry& reg, const char* key, const std::string& value)
{
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    reg.OpenKey(key, true);
    reg.WriteDefault(value);
}

// The default value first, then the key, as the entry was put together.
void RemoveEntryKey(platform::TRegistry& reg, const char* key)
{
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    if (!reg.OpenKey(key, false))
        return;
    reg.DeleteValue({});
    reg.CloseKey();
    reg.DeleteKey(key);
}

} // namespace

bool ExplorerMenuChecked(platform::TRegistry& reg, const std::string& program)
{
    return DefaultOf(reg, ShellMenuKeys::FilesCommand) == program + " %1";
}

bool StartMenuChecked(platform::TRegistry& reg, const std::string& program)
{
    return DefaultOf(reg, ShellMenuKeys::FoldersCommand) == program;
}

std::string ExplorerMenuCaption(platform::TRegistry& reg)
{
    return DefaultOf(reg, ShellMenuKeys::Files);
}

void WriteExplorerMenu(platform::TRegistry& reg, const std::string& program, bool on, const std::string& caption)
{
    if (on) {
        SetDefault(reg, ShellMenuKeys::FilesCommand, program + " %1");
        SetDefault(reg, ShellMenuKeys::Files, caption);
        return;
    }
    RemoveEntryKey(reg, ShellMenuKeys::FilesCommand);
    RemoveEntryKey(reg, ShellMenuKeys::Files);
    DeleteEmptyKeys(reg, {"\\*\\shell", "\\*"});
}

void WriteStartMenu(platform::TRegistry& reg, const std::string& program, bool on)
{
    if (on) {
        SetDefault(reg, ShellMenuKeys::FoldersCommand, program);
        return;
    }
    RemoveEntryKey(reg, ShellMenuKeys::FoldersCommand);
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    if (reg.KeyExists(ShellMenuKeys::Folders))
        reg.DeleteKey(ShellMenuKeys::Folders);
    DeleteEmptyKeys(reg, {"\\directory\\shell", "\\directory"});
}
