// SPDX-License-Identifier: GPL-3.0-or-later
// The temporary store behind the settings tests.
#include "settingsstore.h"

#include <cstdlib>

void SettingsStoreTest::SetUp()
{
    std::string templ = (std::filesystem::temp_directory_path() / "quillet-settings-XXXXXX").string();
    ASSERT_NE(::mkdtemp(templ.data()), nullptr);
    dir = templ;
    file = (dir / "registry.db").string();
    ::setenv("QUILLET_REGISTRY", file.c_str(), 1);
}

void SettingsStoreTest::TearDown()
{
    std::filesystem::remove_all(dir);
}

void SettingsStoreTest::PutIntegers(const char* key, std::initializer_list<std::pair<const char*, int>> values)
{
    platform::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(key, true));
    for (const auto& [name, value] : values)
        reg.WriteInteger(name, value);
}
