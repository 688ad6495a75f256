// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing how a file is replaced, collecting its bytes, and the temporary-file
// route: an unnamed or named file in the target's folder, synced, then put in
// place by one rename.
#include "safefile.h"

#include "editorerrors.h"
#include "fileio.h"
#include "filenames.h"
#include "inplacejournal.h"
#include "qlconsts.h"
#include "savesignals.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Blocks from the control are small; collecting them saves system calls.
constexpr std::size_t WriteBufferSize = 256 * 1024;
// Starting the write-back of what is complete while the rest is still being made
// leaves little for the final sync to wait for.
constexpr std::int64_t WriteBackStep = 8 << 20;

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

// An unnamed file can be given a name through /proc by anyone, or directly by a
// process allowed to read any folder.
bool CanLinkUnnamed()
{
    return ::access("/proc/self/fd", X_OK) == 0 || ::geteuid() == 0;
}

bool LinkUnnamed(int fd, const QByteArray& name)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
    if (::linkat(AT_FDCWD, path, AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    if (errno == EEXIST)
        return false;
    return ::linkat(fd, "", AT_FDCWD, name.constData(), AT_EMPTY_PATH) == 0;
}

QByteArray RandomSuffix()
{
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<int> pick(0, int(sizeof Letters) - 2);
    QByteArray suffix(6, 'x');
    for (char& c : suffix)
        c = Letters[pick(generator)];
    return suffix;
}

void SyncFolder(const QByteArray& folder)
{
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace

TSafeFileWriter::TSafeFileWriter(const QString& fileName) : TSafeFileWriter(platform::FileNameBytes(fileName))
{
}

TSafeFileWriter::TSafeFileWriter(const QByteArray& path, TTempKind kind) : target(path)
{
    Open(kind);
    pending.reserve(WriteBufferSize);
}

TSafeFileWriter::~TSafeFileWriter()
{
    Discard();
}

void TSafeFileWriter::Open(TTempKind kind)
{
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
        targetExists = true;
        mode = st.st_mode & 07777;
        uid = st.st_uid;
        gid = st.st_gid;
    } else if (errno == ENOENT) {
        mode = 0666 & ~CurrentUmask();
    } else {
        CannotCreate();
    }

    const qsizetype slash = target.lastIndexOf('/');
    folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash);
    base = slash < 0 ? target : target.mid(slash + 1);
    if (OpenTemporary(kind))
        return;
    // A folder we may not add to, around a file we may write: a shared folder, a
    // mounted share. The file itself is written then.
    const int error = errno;
    if (targetExists && (error == EACCES || error == EPERM)) {
        OpenInPlace();
        return;
    }
    CannotCreate();
}

bool TSafeFileWriter::OpenTemporary(TTempKind kind)
{
    if (kind == TTempKind::UnnamedWherePossible && CanLinkUnnamed()) {
        fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0) {
            route = TRoute::UnnamedTemp;
            return true;
        }
        if (errno == EACCES || errno == EPERM || errno == EROFS || errno == ENOENT || errno == ENOTDIR)
            return false;   // a named file would fail the same way
    }
    QByteArray pattern = folder + "/." + base + ".XXXXXX";
    int error = 0;
    {
        // Created and registered as one step, so that a signal cannot come between.
        savesignals::TCriticalSection section;
        fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        error = errno;
        if (fd >= 0) {
            temp = pattern;
            tempSlot = savesignals::Remember(temp.constData());
        }
    }
    if (fd < 0) {
        errno = error;
        return false;
    }
    route = TRoute::NamedTemp;
    return true;
}

void TSafeFileWriter::Discard()
{
    if (journal) {
        // Its descriptor is the journal's own.
        journal.reset();
        fd = -1;
    }
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
    if (targetFd >= 0) {
        ::close(targetFd);
        targetFd = -1;
    }
    if (!temp.isEmpty()) {
        ::unlink(temp.constData());
        savesignals::Forget(tempSlot);
        tempSlot = -1;
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
    if (!fileio::WriteAll(fd, pending.data(), pending.size()))
        WriteFailed();
    written += std::int64_t(pending.size());
    pending.clear();
    if (route != TRoute::InPlace && written - flushStarted >= WriteBackStep) {
        ::sync_file_range(fd, flushStarted, written - flushStarted, SYNC_FILE_RANGE_WRITE);
        flushStarted = written;
    }
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
    if (route == TRoute::InPlace)
        CommitInPlace();
    else
        CommitTemporary();
}

void TSafeFileWriter::CommitTemporary()
{
    if (targetExists && (uid != ::geteuid() || gid != ::getegid()))
        (void)!::fchown(fd, uid, gid);   // only root may give the file away; the group may still succeed
    if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) {
        Discard();
        WriteFailed();
    }
    bool placed = false;
    {
        savesignals::TCriticalSection section;
        if (route == TRoute::NamedTemp) {
            placed = ::rename(temp.constData(), target.constData()) == 0;
            if (placed) {
                savesignals::Forget(tempSlot);
                tempSlot = -1;
                temp.clear();
            }
        } else if (!targetExists && LinkUnnamed(fd, target)) {
            // A new file gets its name in one step: nothing can be left over.
            placed = true;
        } else {
            // An unnamed file cannot replace another directly: it gets a name
            // beside the target first, for the moment until the rename.
            for (int attempt = 0; attempt < 100 && !placed; ++attempt) {
                const QByteArray name = folder + "/." + base + "." + RandomSuffix();
                if (LinkUnnamed(fd, name)) {
                    placed = ::rename(name.constData(), target.constData()) == 0;
                    if (!placed)
                        ::unlink(name.constData());
                    break;
                }
                if (errno != EEXIST)
                    break;
            }
        }
    }
    const bool closed = ::close(fd) == 0;
    fd = -1;
    if (!placed || !closed) {
        Discard();
        WriteFailed();
    }
    SyncFolder(folder);
}
