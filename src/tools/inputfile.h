// SPDX-License-Identifier: GPL-3.0-or-later
// Opens a file quillet-conv is to read, refusing what is not a regular file, with
// messages that say what is wrong.
#pragma once

#include "detect.h"

#include <cstddef>
#include <cstdint>
#include <string>

class TInputFile {
public:
    // Throws std::runtime_error: missing, unreadable, a directory, a FIFO or device.
    explicit TInputFile(const std::string& path);
    ~TInputFile();
    TInputFile(const TInputFile&) = delete;
    TInputFile& operator=(const TInputFile&) = delete;

    // Fills buf as far as the file goes; 0 at its end. Throws on a read error.
    std::size_t Read(std::uint8_t* buf, std::size_t n);

private:
    std::string path_;
    int fd_ = -1;
};

// Detection of the file's first bytes, as the editor detects when it loads; a
// file that cannot be read throws instead of answering None.
TDetectResult DetectFile(const std::string& path);
