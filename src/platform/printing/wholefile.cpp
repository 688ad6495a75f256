// SPDX-License-Identifier: GPL-3.0-or-later
// WholeFile over POSIX calls: O_TMPFILE (or a named temporary file), buffered
// writes checked one by one, fsync, close, link and rename.
#include "wholefile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Big enough that the PDF engine's many small writes cost few system calls.
constexpr qsizetype BufferSize = 256 * 1024;
constexpr int NameAttempts = 100;

QByteArray RandomSuffix()
{
    return QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

} // namespace

WholeFile::WholeFile(const QString& name)
{
    // A symbolic link stays a link: the file it points at is replaced.
    const QFileInfo info(name);
    const QString real = info.isSymLink() && info.exists() ? info.canonicalFilePath() : name;
    target = QFile::encodeName(real);
    const qsizetype slash = target.lastIndexOf('/');
    folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash);
}

WholeFile::~WholeFile()
{
    Discard();
}

bool WholeFile::Fail(int error)
{
    if (!failed) {
        failed = true;
        errorText = QString::fromLocal8Bit(std::strerror(error));
    }
    return false;
}

bool WholeFile::Open()
{
    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        return Fail(S_ISDIR(old.st_mode) ? EISDIR : EINVAL);
    if (exists && ::access(target.constData(), W_OK) != 0)
        return Fail(errno);
    fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        // This file system has no unnamed files: a hidden named one.
        for (int i = 0; i < NameAttempts && fd < 0; ++i) {
            const QByteArray name = target.mid(target.lastIndexOf('/') + 1);
            temp = folder + "/." + name + "." + RandomSuffix() + ".tmp";
            fd = ::open(temp.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
            if (fd < 0 && errno != EEXIST)
                break;
        }
        if (fd < 0)
            temp.clear();
    }
    if (fd < 0)
        return Fail(errno);
    // The new file keeps the old one's permissions.
    if (exists && ::fchmod(fd, old.st_mode & 07777) != 0) {
        const int error = errno;
        Discard();
        return Fail(error);
    }
    buffer.reserve(BufferSize);
    return QIODevice::open(QIODevice::WriteOnly);
}

qint64 WholeFile::readData(char*, qint64)
{
    return -1;
}

qint64 WholeFile::writeData(const char* data, qint64 size)
{
    if (failed || fd < 0)
        return -1;
    if (buffer.size() + size > BufferSize && !FlushBuffer())
        return -1;
    if (size >= BufferSize)
        return WriteOut(data, size) ? size : -1;
    buffer.append(data, qsizetype(size));
    return size;
}

bool WholeFile::WriteOut(const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t done = ::write(fd, data, std::size_t(size));
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return Fail(errno);
        }
        // A short write is retried: the next one says why it fell short.
        data += done;
        size -= done;
    }
    return true;
}

bool WholeFile::FlushBuffer()
{
    const bool ok = WriteOut(buffer.constData(), buffer.size());
    buffer.clear();
    return ok;
}

// Gives the unnamed file a name beside the target.
bool WholeFile::NameTemporary()
{
    if (!temp.isEmpty())
        return true;
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    const QByteArray name = target.mid(target.lastIndexOf('/') + 1);
    for (int i = 0; i < NameAttempts; ++i) {
        const QByteArray candidate = folder + "/." + name + "." + RandomSuffix() + ".tmp";
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, candidate.constData(), AT_SYMLINK_FOLLOW) == 0) {
            temp = candidate;
            return true;
        }
        if (errno != EEXIST)
            return Fail(errno);
    }
    return Fail(EEXIST);
}

bool WholeFile::Commit()
{
    if (fd < 0)
        return Fail(EBADF);
    bool ok = !failed && FlushBuffer();
    if (ok && ::fsync(fd) != 0)
        ok = Fail(errno);
    if (ok)
        ok = NameTemporary();
    // Some file systems report a failed write only when the file is closed.
    const int closed = ::close(fd);
    fd = -1;
    if (ok && closed != 0)
        ok = Fail(errno);
    if (ok && ::rename(temp.constData(), target.constData()) != 0)
        ok = Fail(errno);
    if (ok)
        temp.clear();
    Discard();
    return ok;
}

void WholeFile::Discard()
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
    if (!temp.isEmpty()) {
        ::unlink(temp.constData());
        temp.clear();
    }
    buffer.clear();
    if (isOpen())
        QIODevice::close();
}

} // namespace platform
