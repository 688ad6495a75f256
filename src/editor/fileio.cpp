// SPDX-License-Identifier: GPL-3.0-or-later
// Whole writes, copies and unnamed temporary files.
#include "fileio.h"

#include <QByteArray>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
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

bool CopyStart(int from, int to, std::int64_t size)
{
    constexpr std::size_t Block = 1 << 20;
    std::vector<std::uint8_t> buffer(std::size_t(std::min<std::int64_t>(size, Block)));
    std::int64_t done = 0;
    while (done < size) {
        const std::size_t want = std::size_t(std::min<std::int64_t>(size - done, Block));
        const ssize_t n = ::pread(from, buffer.data(), want, off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        if (!WriteAll(to, buffer.data(), std::size_t(n), off_t(done)))
            return false;
        done += n;
    }
    return true;
}

int AnonymousTempFile()
{
    QByteArray folder = qgetenv("TMPDIR");
    if (folder.isEmpty())
        folder = "/tmp";
    const int fd = ::open(folder.constData(), O_TMPFILE | O_RDWR | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0)
        return fd;
    // Without O_TMPFILE: a named file, unlinked at once.
    QByteArray pattern = folder + "/quillet-XXXXXX";
    const int named = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (named >= 0)
        ::unlink(pattern.constData());
    return named;
}

} // namespace fileio
