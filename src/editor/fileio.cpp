// SPDX-License-Identifier: GPL-3.0-or-later
// Whole reads, writes and copies.
#include "fileio.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace fileio {

bool WriteAll(int fd, const void* data, std::size_t count, off_t offset)
{
    const auto* p = static_cast<const std::uint8_t*>(data);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = offset < 0 ? ::write(fd, p + done, count - done)
                                     : ::pwrite(fd, p + done, count - done, offset + off_t(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += std::size_t(n);
    }
    return true;
}

bool ReadAll(int fd, void* data, std::size_t count, off_t offset)
{
    auto* p = static_cast<std::uint8_t*>(data);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd, p + done, count - done, offset + off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

bool Copy(int from, std::int64_t fromOffset, int to, std::int64_t toOffset, std::int64_t size)
{
    constexpr std::size_t Block = 1 << 20;
    std::vector<std::uint8_t> buffer(std::size_t(std::min<std::int64_t>(size, Block)));
    std::int64_t done = 0;
    while (done < size) {
        const std::size_t want = std::size_t(std::min<std::int64_t>(size - done, Block));
        const ssize_t n = ::pread(from, buffer.data(), want, off_t(fromOffset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        if (!WriteAll(to, buffer.data(), std::size_t(n), off_t(toOffset + done)))
            return false;
        done += n;
    }
    return true;
}

} // namespace fileio
