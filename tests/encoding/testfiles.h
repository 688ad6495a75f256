// SPDX-License-Identifier: GPL-3.0-or-later
// Temporary folder and byte helpers shared by the encoding tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

// A fresh folder under the system's temporary folder, removed with its files.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    std::string Write(const std::string& name, const TBytes& bytes) const;

private:
    std::string dir_;
};

TBytes Bytes(std::initializer_list<int> values);
TBytes FromString(const std::string& s);

// Text in the given code page through glibc's iconv, from UTF-8 unless told; the test oracle.
TBytes Iconv(const std::string& text, const char* codePage, const char* from = "UTF-8");
