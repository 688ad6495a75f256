// SPDX-License-Identifier: GPL-3.0-or-later
// The three strings of the last search, kept in the Search key so that they
// survive the program: one value each, no history.
#pragma once

#include <QString>

#include <optional>

struct SearchStrings {
    std::optional<QString> findStr;      // the Find dialog's text
    std::optional<QString> findReplStr;  // the Replace dialog's find text
    std::optional<QString> replStr;      // the Replace dialog's replace text
};

// The values present; all absent when the key is. Raises platform::RegistryError.
SearchStrings ReadSearchStrings();

// Writes the values given, creating the key; an empty text is never written, so
// that the last real search stays. Raises platform::RegistryError.
void WriteSearchStrings(const SearchStrings& strings);
