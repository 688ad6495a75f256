// SPDX-License-Identifier: GPL-3.0-or-later
// The journal of a save written in place: the new bytes and a copy of the old
// ones, kept in the user's own folder so that a later run can undo a save cut short.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <sys/stat.h>
#include <vector>

// A save that overwrites its target cannot be undone by the process that dies in
// the middle of it, so the copy of the old bytes lives in a file a later run
// finds: $XDG_STATE_HOME/quillet/saves (else /var/tmp/quillet-saves-UID), one
// file per save, locked by its writer while it lives. The record naming the
// target is written only once the copy is complete and on disk; a journal whose
// writer is gone and whose target is half new, half old gets the old bytes back.
class TInPlaceJournal {
public:
    TInPlaceJournal() = default;
    // Removes the journal unless Keep was called.
    ~TInPlaceJournal();
    TInPlaceJournal(const TInPlaceJournal&) = delete;
    TInPlaceJournal& operator=(const TInPlaceJournal&) = delete;

    // Makes the journal for target (an absolute path, links resolved); false when
    // no folder takes it. New bytes are then written to Fd at its file position.
    bool Create(const QByteArray& target);
    int Fd() const { return fd; }

    // Appends the target's size old bytes behind newSize new ones and records the
    // save, all on disk before it answers true; from then on a later run that
    // finds the journal repairs the target.
    bool Arm(int targetFd, const struct stat& targetStat, std::int64_t newSize);
    // Writes the new bytes over the target, or after a failure the old ones.
    bool WriteNew(int targetFd) const;
    bool WriteOld(int targetFd) const;

    // The save ended, either way: the journal goes.
    void Remove();
    // The target could not be put right: the journal stays for a later run.
    void Keep();

private:
    QByteArray target;
    QByteArray path;
    int fd = -1;
    int slot = -1;
    std::int64_t newSize = 0;
    std::int64_t oldSize = 0;
};

// Puts back the old bytes of every file whose in-place save was cut short (by a
// kill, a crash, a power loss) and whose journal no running save holds. Runs at
// every start and before every save in place; answers the files put back.
std::vector<QByteArray> RecoverInterruptedSaves();
