// SPDX-License-Identifier: GPL-3.0-or-later
// Taking extensions over and giving them back.
#include "fileassoc.h"

#include "registrylayout.h"
#include "registrypath.h"

#include <algorithm>

using platform::HKEY_CLASSES_ROOT;
using platform::HKEY_CURRENT_USER;

namespace {

std::string ExtensionKey(const std::string& ext)
{
    return "\\." + ext;
}

std::string TypeName(const std::string& ext)
{
    return ext + "file";
}

std::string CommandKey(const std::string& typeName)
{
    return "\\" + typeName + "\\shell\\open\\command";
}

// A name that would reach another key than its own is never ours to touch.
bool IsKeyName(const std::string& name)
{
    return !name.empty() && name.find('\\') == std::string::npos;
}

} // namespace

bool SameRegistryName(const std::string& a, const std::string& b)
{
    return platform::FoldName(a) == platform::FoldName(b);
}

TFileAssociations::TFileAssociations(platform::TRegistry& reg, std::string programPath)
    : reg(reg), program(std::move(programPath))
{
}

std::string TFileAssociations::OpenCommand() const
{
    return program + " %1";
}

std::string TFileAssociations::ClassesDefault(const std::string& key)
{
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    return reg.OpenKey(key, false) ? reg.ReadDefault() : std::string();
}

void TFileAssociations::SetClassesDefault(const std::string& key, const std::string& value)
{
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    reg.OpenKey(key, true);
    reg.WriteDefault(value);
}

std::string TFileAssociations::UserValue(const char* key, const std::string& name)
{
    reg.SetRootKey(HKEY_CURRENT_USER);
    return reg.OpenKey(key, false) ? reg.ReadString(name) : std::string();
}

bool TFileAssociations::IsMyAssociation(const std::string& ext)
{
    if (!IsKeyName(ext))
        return false;
    const std::string type = ClassesDefault(ExtensionKey(ext));
    return IsKeyName(type) && ClassesDefault(CommandKey(type)) == OpenCommand();
}

bool TFileAssociations::ListedAsOwn(const std::string& ext)
{
    if (!IsKeyName(ext))
        return false;
    return SameRegistryName(ClassesDefault(ExtensionKey(ext)), TypeName(ext))
           && ClassesDefault(CommandKey(TypeName(ext))) == OpenCommand();
}

std::string TFileAssociations::CommStr(const std::string& ext)
{
    if (!IsKeyName(ext))
        return {};
    const std::string type = ClassesDefault(ExtensionKey(ext));
    return IsKeyName(type) ? ClassesDefault(CommandKey(type)) : std::string();
}

std::string TFileAssociations::OldNameType(const std::string& ext)
{
    return ClassesDefault(ExtensionKey(ext));
}

std::string TFileAssociations::OldCommLine(const std::string& typeName)
{
    return IsKeyName(typeName) ? ClassesDefault(CommandKey(typeName)) : std::string();
}

void TFileAssociations::TakeOver(const std::string& ext)
{
    if (!IsKeyName(ext))
        return;
    std::string oldTypeName = OldNameType(ext);
    std::string oldCommand;
    if (!oldTypeName.empty()) {
        oldCommand = OldCommLine(oldTypeName);
        // A command of this program, from this or an earlier place, is nothing to
        // give back.
        const std::string fileName = program.substr(program.rfind('/') + 1);
        if (oldCommand.find(fileName) != std::string::npos)
            oldCommand.clear();
        if (oldCommand.empty() && SameRegistryName(oldTypeName, TypeName(ext)))
            oldTypeName.clear();
    }
    SetClassesDefault(ExtensionKey(ext), TypeName(ext));
    SetClassesDefault(CommandKey(TypeName(ext)), OpenCommand());
    SaveOldExt(ext, oldCommand, oldTypeName);
}

void TFileAssociations::SaveOldExt(const std::string& ext, const std::string& oldCommand,
                                   const std::string& oldTypeName)
{
    // What the extension pointed to before the first take-over is kept; a later
    // take-over only adds what it learnt.
    reg.SetRootKey(HKEY_CURRENT_USER);
    reg.OpenKey(RegistryKeys::Types, true);
    if (!reg.ValueExists(ext) || !oldCommand.empty())
        reg.WriteString(ext, oldCommand);
    reg.OpenKey(RegistryKeys::Names, true);
    if (!reg.ValueExists(ext) || !oldTypeName.empty())
        reg.WriteString(ext, oldTypeName);
}

void TFileAssociations::KeepBookkeeping(const std::string& ext)
{
    reg.SetRootKey(HKEY_CURRENT_USER);
    for (const char* key : {RegistryKeys::Types, RegistryKeys::Names}) {
        reg.OpenKey(key, true);
        if (!reg.ValueExists(ext))
            reg.WriteString(ext, "");
    }
}

void TFileAssociations::DeleteAssociation(const std::string& ext)
{
    if (!IsKeyName(ext))
        return;
    const std::string oldCommand = UserValue(RegistryKeys::Types, ext);
    const std::string oldTypeName = UserValue(RegistryKeys::Names, ext);
    if (!oldTypeName.empty()) {
        SetClassesDefault(ExtensionKey(ext), oldTypeName);
        // The earlier owner's type may be the very key this program wrote to
        // (the store, like the registry, does not tell "txtfile" from "TXTfile"):
        // its command goes back, even an empty one.
        if (SameRegistryName(oldTypeName, TypeName(ext)))
            SetClassesDefault(CommandKey(TypeName(ext)), oldCommand);
        else
            DeleteRegKey(ext);
        return;
    }
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    if (reg.OpenKey(ExtensionKey(ext), false) && !reg.HasSubKeys()) {
        reg.CloseKey();
        reg.DeleteKey(ExtensionKey(ext));
    }
    DeleteRegKey(ext);
}

void TFileAssociations::DeleteRegKey(const std::string& ext)
{
    if (!IsKeyName(ext))
        return;
    const std::string type = "\\" + TypeName(ext);
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    for (const std::string& key : {type + "\\shell\\open\\command", type + "\\shell\\open", type + "\\shell", type}) {
        if (!reg.OpenKey(key, false))
            continue;
        const bool empty = !reg.HasSubKeys();
        reg.CloseKey();
        if (empty)
            reg.DeleteKey(key);
    }
}

void TFileAssociations::DeleteExtension(const std::string& ext)
{
    reg.SetRootKey(HKEY_CURRENT_USER);
    for (const char* key : {RegistryKeys::Types, RegistryKeys::Names})
        if (reg.OpenKey(key, false))
            reg.DeleteValue(ext);
}

std::vector<std::string> TFileAssociations::StoredExtensions()
{
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (!reg.OpenKey(RegistryKeys::Types, false))
        return {};
    return reg.GetValueNames();
}

void TFileAssociations::DeleteLostExts(const std::vector<std::string>& listed)
{
    for (const std::string& name : StoredExtensions()) {
        const bool kept = std::any_of(listed.begin(), listed.end(),
                                      [&](const std::string& ext) { return SameRegistryName(ext, name); });
        if (kept)
            continue;
        if (IsMyAssociation(name))
            DeleteAssociation(name);
        DeleteExtension(name);
    }
}
