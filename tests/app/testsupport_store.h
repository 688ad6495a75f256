// SPDX-License-Identifier: GPL-3.0-or-later
// Filling the test's own settings store before a window starts.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <variant>

// Writes values into a key of the store, creating it: integers, flags or strings
// as given.
void Store(const char* key, std::initializer_list<std::pair<const char*, std::variant<std::int32_t, bool, std::string>>> values);
