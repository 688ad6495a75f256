// SPDX-License-Identifier: GPL-3.0-or-later
// Pseudo-Russian text for the benchmarks: words drawn with the letter frequencies of
// Russian, punctuation and CR LF lines, in Windows-1251; and files made of it in /tmp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

std::vector<std::uint8_t> RussianText(std::size_t size, std::uint32_t seed = 1);

// DOS (CP866) text with a pseudo-graphic table every few paragraphs.
std::vector<std::uint8_t> DosTextWithTables(std::size_t size);

// A file under /tmp removed when the object goes.
class TBenchFile {
public:
    TBenchFile(const std::string& name, const std::vector<std::uint8_t>& bytes);
    ~TBenchFile();
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};
