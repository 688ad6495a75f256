// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the journal of a save in place, and putting back the old bytes of a
// target whose save ended half way.
#include "inplacejournal.h"

#include "fileio.h"
#include "filenames.h"
#include "savesignals.h"
#include "xdgfolders.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr char Magic[8] = {'Q', 'l', 'I', 'n', 'P', 'l', '0', '1'};
constexpr char Prefix[] = "save-";

// The record before the bytes; all zero (no magic) until the copy of the old
// bytes is complete, so that a journal cut short before is known as harmless.
struct THeader {
    char magic[8];
    std::uint64_t dev;
    std::uint64_t ino;
    std::int64_t newSize;
    std::int64_t oldSize;
    std::uint32_t pathLength;
};

constexpr std::int64_t HeaderSize = 8192;
constexpr std::size_t MaxPath = HeaderSize - sizeof(THeader);

std::int64_t NewStart() { return HeaderSize; }

std::vector<QByteArray> JournalFolders()
{
    return {platform::FileNameBytes(platform::XdgStateHome()) + "/quillet/saves",
            "/var/tmp/quillet-saves-" + QByteArray::number(::geteuid())};
}

// A folder that is ours alone; made (with its parents) when asked. Another
// user's folder, or a link, is never used: the journal holds the file's bytes.
bool OwnFolder(const QByteArray& dir, bool make)
{
    if (make) {
        for (qsizetype i = 1; i <= dir.size(); ++i)
            if (i == dir.size() || dir[i] == '/')
                if (::mkdir(dir.left(i).constData(), 0700) != 0 && errno != EEXIST)
                    return false;
    }
    struct stat st {};
    return ::lstat(dir.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 077) == 0 && ::access(dir.constData(), W_OK | X_OK) == 0;
}

bool Lock(int fd, bool wait)
{
    for (;;) {
        if (::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB)) == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

void SyncFolderOf(const QByteArray& path)
{
    const int dir = ::open(path.left(path.lastIndexOf('/')).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

bool Overwrite(int from, std::int64_t offset, std::int64_t size, int targetFd)
{
    return fileio::Copy(from, offset, targetFd, 0, size) && ::ftruncate(targetFd, size) == 0 && ::fsync(targetFd) == 0;
}

enum class TState { New, Old, Mixed, Foreign, Unreadable };

// What the target holds: the new bytes, the old ones, a mixture that only an
// unfinished overwrite leaves (each byte the new one or the old one at its
// place), or anything else, which someone wrote since and is left alone.
TState Compare(int target, std::int64_t size, int journal, std::int64_t newSize, std::int64_t oldSize)
{
    if (size < std::min(newSize, oldSize) || size > std::max(newSize, oldSize))
        return TState::Foreign;
    constexpr std::int64_t Block = 1 << 20;
    std::vector<std::uint8_t> now(Block), fresh(Block), old(Block);
    bool isNew = size == newSize;
    bool isOld = size == oldSize;
    for (std::int64_t at = 0; at < size; at += Block) {
        const auto n = std::size_t(std::min(Block, size - at));
        const auto freshN = std::size_t(std::clamp<std::int64_t>(newSize - at, 0, std::int64_t(n)));
        const auto oldN = std::size_t(std::clamp<std::int64_t>(oldSize - at, 0, std::int64_t(n)));
        if (!fileio::ReadAll(target, now.data(), n, off_t(at)) ||
            !fileio::ReadAll(journal, fresh.data(), freshN, off_t(NewStart() + at)) ||
            !fileio::ReadAll(journal, old.data(), oldN, off_t(NewStart() + newSize + at)))
            return TState::Unreadable;
        for (std::size_t i = 0; i < n; ++i) {
            const bool fromNew = i < freshN && now[i] == fresh[i];
            const bool fromOld = i < oldN && now[i] == old[i];
            if (!fromNew && !fromOld)
                return TState::Foreign;
            isNew = isNew && fromNew;
            isOld = isOld && fromOld;
        }
    }
    return isNew ? TState::New : isOld ? TState::Old : TState::Mixed;
}

// Answers whether the journal has served; a target that cannot be reached now
// (a share not mounted, a read error) keeps it for a later run.
bool Repair(int journal, std::int64_t journalSize, std::vector<QByteArray>& repaired)
{
    std::vector<char> record(HeaderSize);
    THeader h {};
    if (!fileio::ReadAll(journal, record.data(), record.size(), 0))
        return true;   // cut short while the new bytes were collected
    std::memcpy(&h, record.data(), sizeof h);
    if (std::memcmp(h.magic, Magic, sizeof Magic) != 0)
        return true;
    if (h.pathLength == 0 || h.pathLength > MaxPath || h.newSize < 0 || h.oldSize < 0 ||
        h.newSize > journalSize || h.oldSize > journalSize || HeaderSize + h.newSize + h.oldSize > journalSize)
        return true;
    const QByteArray target(record.data() + sizeof h, qsizetype(h.pathLength));
    const int fd = ::open(target.constData(), O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR;
    bool served = true;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && std::uint64_t(st.st_dev) == h.dev &&
        std::uint64_t(st.st_ino) == h.ino && Lock(fd, true) && ::fstat(fd, &st) == 0) {
        switch (Compare(fd, st.st_size, journal, h.newSize, h.oldSize)) {
        case TState::Mixed:
            served = Overwrite(journal, NewStart() + h.newSize, h.oldSize, fd);
            if (served)
                repaired.push_back(target);
            break;
        case TState::Unreadable:
            served = false;
            break;
        default:
            break;
        }
    }
    ::close(fd);
    return served;
}

} // namespace

TInPlaceJournal::~TInPlaceJournal()
{
    Remove();
}

bool TInPlaceJournal::Create(const QByteArray& target)
{
    char resolved[PATH_MAX];
    if (!::realpath(target.constData(), resolved) || std::strlen(resolved) > MaxPath)
        return false;
    this->target = resolved;
    for (const QByteArray& folder : JournalFolders()) {
        if (!OwnFolder(folder, true))
            continue;
        for (int attempt = 0; attempt < 10; ++attempt) {
            QByteArray name = folder + "/" + Prefix + "XXXXXX";
            int made = -1;
            {
                // Made and registered as one step: a signal removes it with the rest.
                savesignals::TCriticalSection section;
                made = ::mkostemp(name.data(), O_CLOEXEC);
                if (made >= 0)
                    slot = savesignals::Remember(name.constData());
            }
            if (made < 0)
                break;
            // Until it is locked, another run tidying the folder may take the
            // empty file for a dead save's and remove it: then it is made anew.
            struct stat st {};
            const bool locked = Lock(made, true) && ::fstat(made, &st) == 0;
            if (locked && st.st_nlink > 0 && ::lseek(made, NewStart(), SEEK_SET) == NewStart()) {
                fd = made;
                path = name;
                return true;
            }
            if (!locked || st.st_nlink > 0)
                ::unlink(name.constData());
            ::close(made);
            savesignals::Forget(slot);
            slot = -1;
            if (!locked || st.st_nlink > 0)
                break;
        }
    }
    return false;
}

bool TInPlaceJournal::Arm(int targetFd, const struct stat& targetStat, std::int64_t size)
{
    newSize = size;
    oldSize = targetStat.st_size;
    if (!fileio::Copy(targetFd, 0, fd, NewStart() + newSize, oldSize) || ::fsync(fd) != 0)
        return false;
    THeader h {};
    std::memcpy(h.magic, Magic, sizeof Magic);
    h.dev = std::uint64_t(targetStat.st_dev);
    h.ino = std::uint64_t(targetStat.st_ino);
    h.newSize = newSize;
    h.oldSize = oldSize;
    h.pathLength = std::uint32_t(target.size());
    std::vector<char> record(HeaderSize);
    std::memcpy(record.data(), &h, sizeof h);
    std::memcpy(record.data() + sizeof h, target.constData(), std::size_t(target.size()));
    if (!fileio::WriteAll(fd, record.data(), record.size(), 0) || ::fsync(fd) != 0)
        return false;
    SyncFolderOf(path);
    return true;
}

bool TInPlaceJournal::WriteNew(int targetFd) const
{
    return Overwrite(fd, NewStart(), newSize, targetFd);
}

bool TInPlaceJournal::WriteOld(int targetFd) const
{
    return Overwrite(fd, NewStart() + newSize, oldSize, targetFd);
}

void TInPlaceJournal::Remove()
{
    if (fd < 0)
        return;
    // Removed while still locked, so that no other run acts on it meanwhile.
    ::unlink(path.constData());
    Keep();
}

void TInPlaceJournal::Keep()
{
    savesignals::Forget(slot);
    slot = -1;
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

std::vector<QByteArray> RecoverInterruptedSaves()
{
    std::vector<QByteArray> repaired;
    for (const QByteArray& folder : JournalFolders()) {
        if (!OwnFolder(folder, false))
            continue;
        DIR* dir = ::opendir(folder.constData());
        if (!dir)
            continue;
        std::vector<QByteArray> names;
        while (const dirent* e = ::readdir(dir))
            if (std::strncmp(e->d_name, Prefix, sizeof Prefix - 1) == 0)
                names.push_back(folder + "/" + e->d_name);
        ::closedir(dir);
        for (const QByteArray& name : names) {
            const int journal = ::open(name.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY);
            if (journal < 0)
                continue;
            struct stat st {};
            // A save still running holds its journal locked.
            if (Lock(journal, false) && ::fstat(journal, &st) == 0 && st.st_nlink > 0 && S_ISREG(st.st_mode) &&
                st.st_uid == ::geteuid() && Repair(journal, st.st_size, repaired))
                ::unlink(name.constData());
            ::close(journal);
        }
    }
    return repaired;
}
