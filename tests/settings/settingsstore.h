// SPDX-License-Identifier: GPL-3.0-or-later
// A private registry file for each settings test, and short ways to fill it.
#pragma once

#include "registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes integers into a key, creating it.
    void PutIntegers(const char* key, std::initializer_list<std::pair<const char*, int>> values);

    std::filesystem::path dir;
    std::string file;
};
