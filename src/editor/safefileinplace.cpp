// SPDX-License-Identifier: GPL-3.0-or-later
// The in-place route of TSafeFileWriter, for a folder that takes no new file: the
// new bytes wait in a journal until they are complete; the old bytes are copied
// there before the target is touched and written back if overwriting it fails
// half way, or by a later run if the process dies meanwhile.
#include "safefile.h"

#include "editorerrors.h"
#include "inplacejournal.h"
#include "qlconsts.h"
#include "savesignals.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

void TSafeFileWriter::OpenInPlace()
{
    // A save of this file that an earlier run left half done is undone first.
    RecoverInterruptedSaves();
    // Read as well as written: the old bytes are kept until the new ones are in.
    targetFd = ::open(target.constData(), O_RDWR | O_CLOEXEC | O_NOCTTY);
    struct stat st {};
    journal = std::make_unique<TInPlaceJournal>();
    if (targetFd < 0 || ::fstat(targetFd, &st) != 0 || !S_ISREG(st.st_mode) || !journal->Create(target)) {
        Discard();
        throw EFCreateError(QlConsts::CannotOpenForWriting);
    }
    fd = journal->Fd();
    route = TRoute::InPlace;
}

void TSafeFileWriter::CommitInPlace()
{
    // Another copy saving the same file in place waits for us.
    while (::flock(targetFd, LOCK_EX) != 0 && errno == EINTR) {
    }
    struct stat st {};
    bool done = false;
    if (::fstat(targetFd, &st) == 0 && journal->Arm(targetFd, st, written)) {
        // A signal now would leave the file half old, half new: it waits.
        savesignals::TCriticalSection section;
        done = journal->WriteNew(targetFd);
        // The old bytes go back into blocks the file already has, so a full
        // disk does not stop them; should even that fail, the next run tries again.
        if (done || journal->WriteOld(targetFd))
            journal->Remove();
        else
            journal->Keep();
    }
    Discard();
    if (!done)
        throw EWriteError(QlConsts::FileWritingError);
}
