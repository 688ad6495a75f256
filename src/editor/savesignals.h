// SPDX-License-Identifier: GPL-3.0-or-later
// What a terminating signal does to a save in progress: the named temporary files
// of unfinished saves are removed before the process ends, and the few steps
// that must not stop half way (putting a finished file in place, writing a file
// in place) end first, so the target is always either old or new, never torn.
#pragma once

namespace savesignals {

// For a process that ends on SIGINT, SIGTERM, SIGHUP and SIGQUIT as by default
// (the converter): each first removes the temporary files, then ends the process
// by the same signal. SIGXFSZ is ignored, so a file-size limit fails the write
// instead of killing the process.
void InstallTerminationCleanup();

// A named temporary file to remove if a signal ends the process; registration
// copies the path. Answers a slot for Forget, or -1 when every slot is taken
// (the file is then only removed by its owner).
int Remember(const char* path);
void Forget(int slot);

// While one exists, a terminating signal waits: it takes effect when the last
// section ends.
class TCriticalSection {
public:
    TCriticalSection();
    ~TCriticalSection();
    TCriticalSection(const TCriticalSection&) = delete;
    TCriticalSection& operator=(const TCriticalSection&) = delete;
};

} // namespace savesignals
