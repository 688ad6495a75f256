// SPDX-License-Identifier: GPL-3.0-or-later
// In-memory and file-reading streams of the stream path.
#include "streams.h"

#include "qlconsts.h"
#include "editorerrors.h"
#include "filenames.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Message(const char* pattern, const QString& a)
{
    return QString::fromUtf8(pattern).arg(a).toStdString();
}

std::string Message(const char* pattern, const QString& a, const QString& b)
{
    return QString::fromUtf8(pattern).arg(a, b).toStdString();
}

QString ErrnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

std::int64_t MtimeNs(const struct stat& st)
{
    return std::int64_t(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
}

} // namespace

std::size_t TMemoryStream::Read(std::uint8_t* buffer, std::size_t count)
{
    const std::size_t n = position < data.size() ? std::min(count, data.size() - position) : 0;
    if (n)
        std::memcpy(buffer, data.data() + position, n);
    position += n;
    return n;
}

std::size_t TMemoryStream::Write(const std::uint8_t* buffer, std::size_t count)
{
    if (position + count > data.size())
        data.resize(position + count);
    if (count)
        std::memcpy(data.data() + position, buffer, count);
    position += count;
    return count;
}

void TMemoryStream::SetPosition(std::int64_t value)
{
    position = std::size_t(std::max<std::int64_t>(0, value));
}

void TMemoryStream::Clear()
{
    data.clear();
    data.shrink_to_fit();
    position = 0;
}

TFileReadStream::TFileReadStream(const QString& fileName, std::int64_t unknownSizeLimit) : name(fileName)
{
    using namespace QlConsts;
    const QByteArray path = platform::FileNameBytes(fileName);
    // Non-blocking, so that opening a FIFO with no writer does not hang before
    // fstat can tell that it is not a regular file.
    fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw EFOpenError(Message(CannotOpenFile, fileName, ErrnoText(errno)));
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        throw EFOpenError(Message(CannotOpenFile, fileName, ErrnoText(error)));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        throw EFOpenError(Message(NotRegularFile, fileName));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    size = st.st_size;
    mtimeNs = MtimeNs(st);
    if (size == 0) {
        try {
            ReadWhole(unknownSizeLimit);
        } catch (...) {
            ::close(fd);
            fd = -1;
            throw;
        }
    }
}

void TFileReadStream::ReadWhole(std::int64_t limit)
{
    constexpr std::size_t Step = 64 * 1024;
    for (;;) {
        const std::size_t at = contents.size();
        const std::size_t room = std::size_t(std::min<std::int64_t>(Step, limit + 1 - std::int64_t(at)));
        if (room == 0)
            break;   // more than the caller takes: the size says so
        contents.resize(at + room);
        const ssize_t n = ::read(fd, contents.data() + at, room);
        if (n < 0) {
            contents.resize(at);
            if (errno == EINTR)
                continue;
            throw EReadError(Message(QlConsts::FileReadError, name, ErrnoText(errno)));
        }
        contents.resize(at + std::size_t(n));
        if (n == 0)
            break;
    }
    whole = true;
    size = std::int64_t(contents.size());
}

TFileReadStream::~TFileReadStream()
{
    if (fd >= 0)
        ::close(fd);
}

std::size_t TFileReadStream::ReadAt(std::int64_t offset, std::uint8_t* buffer, std::size_t count) const
{
    if (offset >= size)
        return 0;
    count = std::size_t(std::min<std::int64_t>(std::int64_t(count), size - offset));
    if (whole) {
        std::memcpy(buffer, contents.data() + offset, count);
        return count;
    }
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd, buffer + done, count - done, offset + std::int64_t(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw EReadError(Message(QlConsts::FileReadError, name, ErrnoText(errno)));
        }
        if (n == 0)
            break;   // the file was cut short meanwhile
        done += std::size_t(n);
    }
    return done;
}

std::size_t TFileReadStream::Read(std::uint8_t* buffer, std::size_t count)
{
    const std::size_t n = ReadAt(position, buffer, count);
    position += std::int64_t(n);
    return n;
}

std::size_t TFileReadStream::Write(const std::uint8_t*, std::size_t)
{
    throw EReadError(Message(QlConsts::FileReadError, name, ErrnoText(EBADF)));
}

void TFileReadStream::SetPosition(std::int64_t value)
{
    position = std::max<std::int64_t>(0, value);
}

void TFileReadStream::CheckUnchanged() const
{
    if (whole)
        return;   // what was shown is what was read at once
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_size != size || MtimeNs(st) != mtimeNs)
        throw EReadError(Message(QlConsts::FileChangedWhileRead, name));
}
