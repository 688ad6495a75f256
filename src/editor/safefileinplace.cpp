// SPDX-License-Identifier: GPL-3.0-or-later
// The in-place route of TSafeFileWriter, for a folder that takes no new file: the
// new bytes wait in a private temporary file until they are complete; the old
// bytes are copied to another before the target is touched and written back if
// overwriting it fails half way.
#include "safefile.h"

#include "editorerrors.h"
#include "fileio.h"
#include "qlconsts.h"
#include "savesignals.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

void TSafeFileWriter::OpenInPlace()
{
    // Read as well as written: the old bytes are kept until the new ones are in.
    targetFd = ::open(target.constData(), O_RDWR | O_CLOEXEC | O_NOCTTY);
    struct stat st {};
    if (targetFd < 0 || ::fstat(targetFd, &st) != 0 || !S_ISREG(st.st_mode)) {
        Discard();
        throw EFCreateError(QlConsts::CannotOpenForWriting);
    }
    fd = fileio::AnonymousTempFile();
    if (fd < 0) {
        Discard();
        throw EFCreateError(QlConsts::CannotOpenForWriting);
    }
    route = TRoute::InPlace;
}

void TSafeFileWriter::CommitInPlace()
{
    // Another copy saving the same file in place waits for us.
    while (::flock(targetFd, LOCK_EX) != 0 && errno == EINTR) {
    }
    struct stat st {};
    const int backup = fileio::AnonymousTempFile();
    const bool kept = backup >= 0 && ::fstat(targetFd, &st) == 0 &&
                      fileio::CopyStart(targetFd, backup, st.st_size);
    bool done = false;
    if (kept) {
        // A signal now would leave the file half old, half new: it waits.
        savesignals::TCriticalSection section;
        done = fileio::CopyStart(fd, targetFd, written) && ::ftruncate(targetFd, written) == 0 &&
               ::fsync(targetFd) == 0;
        if (!done) {
            // The old bytes go back into blocks the file already has, so a full
            // disk does not stop them.
            fileio::CopyStart(backup, targetFd, st.st_size);
            (void)!::ftruncate(targetFd, st.st_size);
            ::fsync(targetFd);
        }
    }
    if (backup >= 0)
        ::close(backup);
    Discard();
    if (!done)
        throw EWriteError(QlConsts::FileWritingError);
}
