// In-memory and file-reading streams of the stream path.
#include "streams.h"

#include "qlconsts.h"
#include "editorerrors.h"

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

TFileReadStream::TFileReadStream(const QString& fileName) : name(fileName)
{
    using namespace QlConsts;
    const QByteArray path = fileName.toLocal8Bit();
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
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_size != size || MtimeNs(st) != mtimeNs)
        throw EReadError(Message(QlConsts::FileChangedWhileRead, name));
}
