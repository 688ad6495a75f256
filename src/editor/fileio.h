// SPDX-License-Identifier: GPL-3.0-or-later
// Small POSIX file helpers of the save path: whole writes and copies that retry
// after interruptions, and private temporary files that never have a name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <sys/types.h>

namespace fileio {

// Writes all count bytes at offset (or at the file position when offset < 0).
bool WriteAll(int fd, const void* data, std::size_t count, off_t offset = -1);

// Copies size bytes from the start of one file to the start of another.
bool CopyStart(int from, int to, std::int64_t size);

// A read-write file in the temporary folder ($TMPDIR, else /tmp) that no one else
// can open and that disappears with its last descriptor; -1 when none can be made.
int AnonymousTempFile();

} // namespace fileio
