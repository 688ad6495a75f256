// SPDX-License-Identifier: GPL-3.0-or-later
// TRegistry: the accessor of the registry store, a typed key/value tree in one
// SQLite file per user holding the roots HKEY_CURRENT_USER and HKEY_CLASSES_ROOT.
#pragma once

#include "registryerror.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class RegistryDatabase;

enum class RegRoot { CurrentUser, ClassesRoot };
inline constexpr RegRoot HKEY_CURRENT_USER = RegRoot::CurrentUser;
inline constexpr RegRoot HKEY_CLASSES_ROOT = RegRoot::ClassesRoot;

// The value kinds of the store; the numbers are the classic REG_* codes.
enum class RegDataType { None = 0, String = 1, Binary = 3, Integer = 4 };

// Create one, select the root, open a key, read or write, and let it go: nothing is
// kept between accessors. Key and value names are compared without regard to
// letter case, as the Windows registry does; the first writer's spelling is kept.
class TRegistry {
public:
    explicit TRegistry(RegRoot root = HKEY_CURRENT_USER);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    // Selecting a root closes the current key.
    void SetRootKey(RegRoot root);
    RegRoot RootKey() const { return root; }

    // Paths beginning with a backslash are absolute within the root; others are
    // relative to the open key. OpenKey answers false when the key is absent and
    // not to be created; a key opened read-only refuses writes.
    bool OpenKey(std::string_view path, bool canCreate);
    bool OpenKeyReadOnly(std::string_view path);
    void CloseKey();
    // The open key's path from the root, as spelt when it was opened; empty for the root.
    const std::string& CurrentPath() const { return currentPath; }

    bool KeyExists(std::string_view path);
    bool CreateKey(std::string_view path);
    // Deletes the key with all keys and values below it; false when it was absent.
    bool DeleteKey(std::string_view path);

    // The following act on the open key, or on the root when none is open.
    bool HasSubKeys();
    std::vector<std::string> GetKeyNames();
    // In the order the values were first written.
    std::vector<std::string> GetValueNames();
    bool ValueExists(std::string_view name);
    RegDataType GetDataType(std::string_view name);
    bool DeleteValue(std::string_view name);

    // An absent string reads as empty; an absent number, flag or binary value raises
    // MissingValue. A value of another kind raises WrongKind naming the value.
    std::string ReadString(std::string_view name);
    std::int32_t ReadInteger(std::string_view name);
    // Any non-zero integer is true; written as 0 or 1.
    bool ReadBool(std::string_view name);
    // An 8-byte binary value holding an IEEE 754 double, little endian.
    double ReadFloat(std::string_view name);
    std::vector<std::uint8_t> ReadBinaryData(std::string_view name);

    void WriteString(std::string_view name, std::string_view value);
    void WriteInteger(std::string_view name, std::int32_t value);
    void WriteBool(std::string_view name, bool value);
    void WriteFloat(std::string_view name, double value);
    void WriteBinaryData(std::string_view name, const std::vector<std::uint8_t>& value);

    // The unnamed value of the open key, a string.
    std::string ReadDefault() { return ReadString({}); }
    void WriteDefault(std::string_view value) { WriteString({}, value); }

    // The store file this accessor works on (see RegistryFileName).
    const std::string& FileName() const;

private:
    friend class RegistryTransaction;

    struct StoredValue {
        RegDataType type = RegDataType::None;
        std::int64_t number = 0;
        std::vector<std::uint8_t> bytes;
    };

    bool EnsureRead();
    void EnsureWrite(std::string_view what);
    std::int64_t RootId() const;
    std::int64_t CurrentId() const;
    std::optional<std::int64_t> FindKey(std::string_view path);
    std::int64_t MakeKey(std::string_view path);
    std::optional<StoredValue> Load(std::string_view name);
    StoredValue LoadAs(std::string_view name, RegDataType type);
    void Store(std::string_view name, RegDataType type, const StoredValue& value);
    std::string JoinPath(std::string_view path) const;

    RegRoot root;
    std::unique_ptr<RegistryDatabase> db;
    std::optional<std::int64_t> currentKey; // none: the root
    std::string currentPath;
    bool currentReadOnly = false;
    int transactionDepth = 0;
};

// Groups several writes of one accessor into one transaction, so that another copy
// of the program sees all of them or none (the recent-files list, for one). Rolled
// back unless committed.
class RegistryTransaction {
public:
    explicit RegistryTransaction(TRegistry& registry);
    ~RegistryTransaction();
    RegistryTransaction(const RegistryTransaction&) = delete;
    RegistryTransaction& operator=(const RegistryTransaction&) = delete;
    void Commit();

private:
    TRegistry& registry;
    bool done = false;
};

} // namespace platform
