// Saving a file so that a failure at any point leaves the old file as it was: the
// bytes go to a temporary file in the same folder, which replaces the target only
// once it is complete and on disk.
#pragma once

#include "streams.h"

#include <QString>

#include <sys/types.h>

// Opening fails with EFCreateError ("Can not open file for writing") when the
// target exists but is not a regular file or is not writable for us, or when the
// folder takes no new file; the target is untouched then. Write errors raise
// EWriteError. Nothing replaces the target until Commit; a writer destroyed
// without Commit removes its temporary file.
class TSafeFileWriter : public TStream {
public:
    explicit TSafeFileWriter(const QString& fileName);
    ~TSafeFileWriter() override;
    TSafeFileWriter(const TSafeFileWriter&) = delete;
    TSafeFileWriter& operator=(const TSafeFileWriter&) = delete;

    std::size_t Read(std::uint8_t* buffer, std::size_t count) override;
    std::size_t Write(const std::uint8_t* buffer, std::size_t count) override;
    std::int64_t Position() const override { return written + std::int64_t(pending.size()); }
    void SetPosition(std::int64_t value) override;
    std::int64_t Size() const override { return Position(); }

    // Flushes, syncs, gives the file the target's permissions and renames it over
    // the target. Raises EWriteError on failure (the target is then untouched).
    void Commit();

    // The path actually replaced: a symbolic link is followed, so the link stays.
    const QByteArray& TargetPath() const { return target; }

private:
    void Flush();
    void Discard();

    QByteArray target;
    QByteArray temp;
    int fd = -1;
    mode_t mode = 0;
    bool keepOwner = false;
    uid_t uid = 0;
    gid_t gid = 0;
    std::int64_t written = 0;
    std::vector<std::uint8_t> pending;
};
