// SPDX-License-Identifier: GPL-3.0-or-later
// Saving a file so that a failure at any point leaves the old file as it was. The
// one way every save goes: the editor, the export line-end filter, quillet-conv.
#pragma once

#include "streams.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <sys/types.h>

class TInPlaceJournal;

// The new bytes go to a temporary file in the target's folder, which replaces the
// target only once it is complete and on disk. Where the file system allows, the
// temporary file has no name until then (O_TMPFILE), so even a killed process
// leaves nothing behind; elsewhere it is named, and removed by its owner or, when
// a signal ends the process, by the handler of savesignals.h.
//
// A folder that takes no new file (no write permission) with a target that may be
// written is saved in place instead: the new bytes are first collected in a
// journal in the user's own folder, the old ones copied beside them, and only
// then is the target overwritten; if that fails half way, the old bytes are
// written back, by this process or, should it die, by the next run
// (inplacejournal.h).
// Owner, mode, hard links and extended attributes stay as they are.
//
// Opening fails with EFCreateError ("Can not open file for writing") when the
// target exists but is not a regular file or is not writable for us (a file with
// no write bit at all is refused even to the super-user), or when neither route
// can be taken; the target is untouched then. Write errors raise EWriteError.
// Nothing replaces the target until Commit; a writer destroyed without Commit
// leaves no trace.
class TSafeFileWriter : public TStream {
public:
    enum class TRoute { UnnamedTemp, NamedTemp, InPlace };
    // Named: always a named temporary file, as on file systems without unnamed ones.
    enum class TTempKind { UnnamedWherePossible, Named };

    // A name carried as platform/shell's file names are.
    explicit TSafeFileWriter(const QString& fileName);
    // The file system's own bytes.
    explicit TSafeFileWriter(const QByteArray& path, TTempKind kind = TTempKind::UnnamedWherePossible);
    ~TSafeFileWriter() override;
    TSafeFileWriter(const TSafeFileWriter&) = delete;
    TSafeFileWriter& operator=(const TSafeFileWriter&) = delete;

    std::size_t Read(std::uint8_t* buffer, std::size_t count) override;
    std::size_t Write(const std::uint8_t* buffer, std::size_t count) override;
    std::int64_t Position() const override { return written + std::int64_t(pending.size()); }
    void SetPosition(std::int64_t value) override;
    std::int64_t Size() const override { return Position(); }

    // Flushes, syncs and puts the file in place. Raises EWriteError on failure
    // (the target then holds its old bytes).
    void Commit();

    // The path actually replaced: a symbolic link is followed, so the link stays.
    const QByteArray& TargetPath() const { return target; }
    TRoute Route() const { return route; }

private:
    void Open(TTempKind kind);
    bool OpenTemporary(TTempKind kind);
    void OpenInPlace();
    void Flush();
    void Discard();
    void CommitTemporary();
    void CommitInPlace();

    QByteArray target;
    QByteArray folder;
    QByteArray base;
    TRoute route = TRoute::UnnamedTemp;
    QByteArray temp;       // the named temporary file
    int tempSlot = -1;     // its place in the signal handler's table
    int fd = -1;           // where the new bytes go
    int targetFd = -1;     // the target, when written in place
    std::unique_ptr<TInPlaceJournal> journal;   // its old and new bytes
    bool targetExists = false;
    mode_t mode = 0;
    uid_t uid = 0;
    gid_t gid = 0;
    std::int64_t written = 0;
    std::int64_t flushStarted = 0;
    std::vector<std::uint8_t> pending;
};
