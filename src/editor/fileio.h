// SPDX-License-Identifier: GPL-3.0-or-later
// Small POSIX file helpers of the save path: whole writes and copies that retry
// after interruptions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <sys/types.h>

namespace fileio {

// Writes all count bytes at offset (or at the file position when offset < 0).
bool WriteAll(int fd, const void* data, std::size_t count, off_t offset = -1);

// Copies size bytes at fromOffset of one file to toOffset of another.
bool Copy(int from, std::int64_t fromOffset, int to, std::int64_t toOffset, std::int64_t size);

// Reads exactly count bytes at offset; false on an error or an early end.
bool ReadAll(int fd, void* data, std::size_t count, off_t offset);

} // namespace fileio
