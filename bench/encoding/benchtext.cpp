// SPDX-License-Identifier: GPL-3.0-or-later
// The benchmarks' text generator.
#include "benchtext.h"

#include "converters.h"
#include "detect.h"

#include <cstdio>
#include <random>
#include <stdexcept>
#include <unistd.h>

std::vector<std::uint8_t> RussianText(std::size_t size, std::uint32_t seed)
{
    // Windows-1251 small letters weighted by their per-mille frequency.
    std::vector<std::uint8_t> pool;
    for (int k = 1; k < 33; ++k)
        pool.insert(pool.end(), RusLetterFreq[k], std::uint8_t(0xE0 + k - 1));
    pool.insert(pool.end(), 2, std::uint8_t(0xB8)); // ё
    std::mt19937 rng(seed);
    std::uniform_int_distribution<std::size_t> letter(0, pool.size() - 1);
    std::uniform_int_distribution<int> wordLength(1, 9);
    std::uniform_int_distribution<int> roll(0, 99);
    std::vector<std::uint8_t> out;
    out.reserve(size + 16);
    std::size_t lineStart = 0;
    bool sentenceStart = true;
    while (out.size() < size) {
        const int n = wordLength(rng);
        for (int i = 0; i < n; ++i) {
            std::uint8_t c = pool[letter(rng)];
            if (i == 0 && sentenceStart)
                c = c == 0xB8 ? 0xA8 : std::uint8_t(c - 0x20);
            out.push_back(c);
        }
        sentenceStart = false;
        const int r = roll(rng);
        if (r < 8) {
            out.push_back(',');
        } else if (r < 14) {
            out.push_back('.');
            sentenceStart = true;
        }
        if (out.size() - lineStart > 70) {
            out.push_back('\r');
            out.push_back('\n');
            lineStart = out.size();
        } else {
            out.push_back(' ');
        }
    }
    out.resize(size);
    return out;
}

std::vector<std::uint8_t> DosTextWithTables(std::size_t size)
{
    const std::string table = "\xDA\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC2\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xBF\r\n"
                              "\xB3 \xAD\xA0\xA7\xA2\xA0\xAD\xA8\xA5 \xB3 \xE6\xA5\xAD\xA0     \xB3\r\n"
                              "\xC3\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC5\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xB4\r\n"
                              "\xB3 \xE1\xA0\xE5\xA0\xE0    \xB3 12,50    \xB3\r\n"
                              "\xC0\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC1\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xD9\r\n";
    std::vector<std::uint8_t> text = RussianText(size, 7);
    WinToDos(text.data(), text.size());
    std::vector<std::uint8_t> out;
    out.reserve(size + table.size());
    for (std::size_t at = 0; out.size() < size; at += 2000) {
        const std::size_t n = std::min<std::size_t>(2000, text.size() - at % text.size());
        out.insert(out.end(), text.begin() + std::ptrdiff_t(at % text.size()),
                   text.begin() + std::ptrdiff_t(at % text.size() + n));
        out.insert(out.end(), {'\r', '\n'});
        out.insert(out.end(), table.begin(), table.end());
    }
    return out;
}

TBenchFile::TBenchFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
    : path_("/tmp/quillet-bench-" + std::to_string(::getpid()) + "-" + name)
{
    std::FILE* f = std::fopen(path_.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
        throw std::runtime_error("cannot write " + path_);
    std::fclose(f);
}

TBenchFile::~TBenchFile() { std::remove(path_.c_str()); }
