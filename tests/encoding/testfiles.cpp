// SPDX-License-Identifier: GPL-3.0-or-later
// Temporary folders and iconv-made texts for the encoding tests.
#include "testfiles.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

TTempDir::TTempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "quillet-enc-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    dir_ = pattern;
}

TTempDir::~TTempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

std::string TTempDir::Write(const std::string& name, const TBytes& bytes) const
{
    const std::string path = Path(name);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        throw std::runtime_error("cannot write " + path);
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

TBytes Bytes(std::initializer_list<int> values)
{
    TBytes r;
    for (int v : values)
        r.push_back(std::uint8_t(v));
    return r;
}

TBytes FromString(const std::string& s) { return TBytes(s.begin(), s.end()); }

TBytes Iconv(const std::string& utf8, const char* codePage, const char* from)
{
    iconv_t cd = iconv_open(codePage, from);
    if (cd == (iconv_t)-1)
        throw std::runtime_error(std::string("iconv does not know ") + codePage);
    TBytes out(utf8.size() * 4 + 4);
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* outp = reinterpret_cast<char*>(out.data());
    std::size_t outLeft = out.size();
    const std::size_t rc = iconv(cd, &in, &inLeft, &outp, &outLeft);
    iconv_close(cd);
    if (rc == std::size_t(-1))
        throw std::runtime_error(std::string("iconv cannot write the text in ") + codePage);
    out.resize(out.size() - outLeft);
    return out;
}
