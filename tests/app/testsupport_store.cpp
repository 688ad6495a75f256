// SPDX-License-Identifier: GPL-3.0-or-later
// Filling the test's own settings store before a window starts.
#include "testsupport_store.h"

#include "registry.h"

#include <gtest/gtest.h>

void Store(const char* key, std::initializer_list<std::pair<const char*, std::variant<std::int32_t, bool, std::string>>> values)
{
    platform::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(key, true));
    for (const auto& [name, value] : values) {
        if (const std::int32_t* number = std::get_if<std::int32_t>(&value))
            reg.WriteInteger(name, *number);
        else if (const bool* flag = std::get_if<bool>(&value))
            reg.WriteBool(name, *flag);
        else
            reg.WriteString(name, std::get<std::string>(value));
    }
}
