// SPDX-License-Identifier: GPL-3.0-or-later
// The program's file-type associations under HKEY_CLASSES_ROOT, and their
// bookkeeping under its Types and Names keys, by which an extension taken over
// is given back to its earlier owner.
#pragma once

#include "registry.h"

#include <string>
#include <vector>

class TFileAssociations {
public:
    // The accessor is used as it is, root and all, so that every change of one
    // command can be one transaction. The program path is the one the open
    // commands name.
    TFileAssociations(platform::TRegistry& reg, std::string programPath);

    // The open command this program writes: its path, one blank and %1.
    std::string OpenCommand() const;

    // ".EXT" names some type whose open command is ours.
    bool IsMyAssociation(const std::string& ext);
    // Stricter: the type is the one this program writes, EXT + "file".
    bool ListedAsOwn(const std::string& ext);
    // The open command of the type ".EXT" names; empty when either is missing.
    std::string CommStr(const std::string& ext);

    // A check mark newly set: ".EXT" and its type become ours, and what they were
    // before is recorded once.
    void TakeOver(const std::string& ext);
    // A check mark unchanged: the bookkeeping values exist, empty when new.
    void KeepBookkeeping(const std::string& ext);
    // A check mark newly cleared: the earlier owner back, as recorded.
    void DeleteAssociation(const std::string& ext);
    // The keys of EXT + "file" that hold nothing else.
    void DeleteRegKey(const std::string& ext);
    // The bookkeeping values of EXT.
    void DeleteExtension(const std::string& ext);
    // Extensions recorded in Types but no longer listed: given back when ours,
    // and their bookkeeping removed.
    void DeleteLostExts(const std::vector<std::string>& listed);

    // The value names of Types, which are the saved extension list.
    std::vector<std::string> StoredExtensions();

    std::string OldNameType(const std::string& ext);
    std::string OldCommLine(const std::string& typeName);
    void SaveOldExt(const std::string& ext, const std::string& oldCommand, const std::string& oldTypeName);

private:
    std::string ClassesDefault(const std::string& key);
    void SetClassesDefault(const std::string& key, const std::string& value);
    std::string UserValue(const char* key, const std::string& name);

    platform::TRegistry& reg;
    std::string program;
};

// Type and extension names compare as the store compares key names: without
// regard to letter case. "txtfile" and "TXTfile" are one key.
bool SameRegistryName(const std::string& a, const std::string& b);
