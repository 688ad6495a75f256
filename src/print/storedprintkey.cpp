// SPDX-License-Identifier: GPL-3.0-or-later
// StoredPrintKey: the tolerant reader of the keys Pages and Marges.
#include "storedprintkey.h"

#include <cmath>

StoredPrintKey::StoredPrintKey(const char* path, std::optional<platform::RegistryError>& firstError)
    : reg(platform::HKEY_CURRENT_USER), firstError(firstError)
{
    try {
        found = reg.OpenKeyReadOnly(path);
    } catch (const platform::RegistryError& error) {
        Keep(error);
    }
}

void StoredPrintKey::Keep(const platform::RegistryError& error)
{
    if (!firstError)
        firstError = error;
}

bool StoredPrintKey::Exists(const char* name)
{
    try {
        return found && reg.ValueExists(name);
    } catch (const platform::RegistryError& error) {
        Keep(error);
        return false;
    }
}

std::optional<int> StoredPrintKey::Integer(const char* name)
{
    if (!Exists(name))
        return std::nullopt;
    try {
        return reg.ReadInteger(name);
    } catch (const platform::RegistryError& error) {
        Keep(error);
        return std::nullopt;
    }
}

std::optional<double> StoredPrintKey::Length(const char* name)
{
    if (!Exists(name))
        return std::nullopt;
    try {
        const double value = reg.ReadFloat(name);
        // A NaN or an infinity is no length: told like a value of the wrong kind.
        if (std::isfinite(value))
            return value;
        Keep(platform::RegistryError(platform::RegistryErrorKind::WrongKind, name, reg.CurrentPath()));
    } catch (const platform::RegistryError& error) {
        Keep(error);
    }
    return std::nullopt;
}
