// SPDX-License-Identifier: GPL-3.0-or-later
// Failures of the registry store: one exception type whose message is a resource
// string followed by the name of the value, key or file concerned.
#pragma once

#include <stdexcept>
#include <string>

namespace platform {

enum class RegistryErrorKind {
    WrongKind,     // a value read as another kind than it holds
    MissingValue,  // a number, flag or binary read that is not there
    KeyFailed,     // a key could not be opened or created
    WriteFailed,   // a value or key could not be written or deleted
    ReadFailed,    // the store could not be read
    Unavailable,   // the store file could not be opened at all
    Corrupt,       // the file is damaged or is not our store; it is left untouched
};

// The texts are the program's resource strings; the user-interface layer may show
// a translation of Prefix() followed by Name().
namespace RegistryText {
inline constexpr const char* WrongKind = "Invalid data type of the registry value: ";
inline constexpr const char* MissingValue = "The registry value does not exist: ";
inline constexpr const char* KeyFailed = "Can not open the registry key: ";
inline constexpr const char* WriteFailed = "Can not write to the registry: ";
inline constexpr const char* ReadFailed = "Can not read the registry: ";
inline constexpr const char* Unavailable = "Can not open the registry file: ";
inline constexpr const char* Corrupt = "The registry file is damaged or is not a registry: ";
}

const char* RegistryPrefix(RegistryErrorKind kind);

class RegistryError : public std::runtime_error {
public:
    RegistryError(RegistryErrorKind kind, std::string name, std::string detail = {});

    RegistryErrorKind Kind() const { return kind; }
    const char* Prefix() const { return RegistryPrefix(kind); }
    // The value name, key path or file name the message names.
    const std::string& Name() const { return name; }
    // What SQLite or the system said, for diagnostics; not part of the message.
    const std::string& Detail() const { return detail; }

private:
    RegistryErrorKind kind;
    std::string name;
    std::string detail;
};

// Raised when the store file exists but cannot be our store: the program starts with
// its defaults and says so, and the file is never rewritten.
class RegistryCorruptError : public RegistryError {
public:
    RegistryCorruptError(std::string fileName, std::string detail);
};

} // namespace platform
