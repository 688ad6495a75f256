// SPDX-License-Identifier: GPL-3.0-or-later
// A private registry file for each test, named through QUILLET_REGISTRY.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path dir;
    std::string file;
};

// The whole content of a file, to prove it was left untouched.
std::string ReadWholeFile(const std::string& name);
void WriteWholeFile(const std::string& name, const std::string& bytes);
