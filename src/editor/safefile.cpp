// Atomic replacement of a file: temporary file in the target's folder, sync, rename.
#include "safefile.h"

#include "qlconsts.h"
#include "editorerrors.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Blocks from the control are small; collecting them saves system calls.
constexpr std::size_t WriteBufferSize = 256 * 1024;

mode_t CurrentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

[[noreturn]] void CannotCreate()
{
    throw EFCreateError(QlConsts::CannotOpenForWriting);
}

[[noreturn]] void WriteFailed()
{
    throw EWriteError(QlConsts::FileWritingError);
}

} // namespace

TSafeFileWriter::TSafeFileWriter(const QString& fileName)
{
    target = fileName.toLocal8Bit();
    if (target.isEmpty())
        CannotCreate();

    struct stat st {};
    if (::lstat(target.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(target.constData(), resolved))
            target = resolved;
    }
    if (::stat(target.constData(), &st) == 0) {
        // A file marked read-only for everybody stays read-only even for root.
        if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0 || ::access(target.constData(), W_OK) != 0)
            CannotCreate();
        mode = st.st_mode & 07777;
        keepOwner = true;
        uid = st.st_uid;
        gid = st.st_gid;
    } else if (errno == ENOENT) {
        mode = 0666 & ~CurrentUmask();
    } else {
        CannotCreate();
    }

    const int slash = target.lastIndexOf('/');
    const QByteArray dir = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash);
    const QByteArray base = slash < 0 ? target : target.mid(slash + 1);
    QByteArray pattern = dir + "/." + base + ".XXXXXX";
    fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        CannotCreate();
    temp = pattern;
    pending.reserve(WriteBufferSize);
}

TSafeFileWriter::~TSafeFileWriter()
{
    Discard();
}

void TSafeFileWriter::Discard()
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
    if (!temp.isEmpty()) {
        ::unlink(temp.constData());
        temp.clear();
    }
}

std::size_t TSafeFileWriter::Read(std::uint8_t*, std::size_t)
{
    WriteFailed();
}

void TSafeFileWriter::SetPosition(std::int64_t value)
{
    // Only appending is supported; the stream path never seeks while saving.
    if (value != Position())
        WriteFailed();
}

std::size_t TSafeFileWriter::Write(const std::uint8_t* buffer, std::size_t count)
{
    if (fd < 0)
        WriteFailed();
    if (pending.size() + count > WriteBufferSize)
        Flush();
    if (count >= WriteBufferSize) {
        pending.assign(buffer, buffer + count);
        Flush();
    } else {
        pending.insert(pending.end(), buffer, buffer + count);
    }
    return count;
}

void TSafeFileWriter::Flush()
{
    std::size_t done = 0;
    while (done < pending.size()) {
        const ssize_t n = ::write(fd, pending.data() + done, pending.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            WriteFailed();
        }
        done += std::size_t(n);
    }
    written += std::int64_t(done);
    pending.clear();
}

void TSafeFileWriter::Commit()
{
    if (fd < 0)
        WriteFailed();
    try {
        Flush();
    } catch (...) {
        Discard();
        throw;
    }
    if (keepOwner)
        (void)!::fchown(fd, uid, gid);   // only possible for root; the group may still succeed
    const bool ok = ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    fd = -1;
    if (!ok || !closed || ::rename(temp.constData(), target.constData()) != 0) {
        Discard();
        WriteFailed();
    }
    temp.clear();
}
