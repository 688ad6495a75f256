// SPDX-License-Identifier: GPL-3.0-or-later
// The temporary store behind every registry test.
#include "registry_store.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

void RegistryStoreTest::SetUp()
{
    std::string templ = (std::filesystem::temp_directory_path() / "quillet-registry-XXXXXX").string();
    ASSERT_NE(::mkdtemp(templ.data()), nullptr);
    dir = templ;
    file = (dir / "registry.db").string();
    ::setenv("QUILLET_REGISTRY", file.c_str(), 1);
}

void RegistryStoreTest::TearDown()
{
    std::filesystem::remove_all(dir);
}

std::string ReadWholeFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteWholeFile(const std::string& name, const std::string& bytes)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}
