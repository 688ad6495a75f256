// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the printing keys value by value: a value that cannot be used counts as
// absent, and only the first such failure is kept, to be told once all is read.
#pragma once

#include "registry.h"
#include "registryerror.h"

#include <optional>

class StoredPrintKey {
public:
    // Opens the key of HKEY_CURRENT_USER without creating it; failures are kept.
    StoredPrintKey(const char* path, std::optional<platform::RegistryError>& firstError);

    bool Found() const { return found; }
    bool Exists(const char* name);
    // Nothing when the value is absent or is not a number.
    std::optional<int> Integer(const char* name);
    // Nothing when the value is absent, is not a float or is not a finite number.
    std::optional<double> Length(const char* name);

private:
    void Keep(const platform::RegistryError& error);

    platform::TRegistry reg;
    std::optional<platform::RegistryError>& firstError;
    bool found = false;
};
