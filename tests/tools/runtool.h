// SPDX-License-Identifier: GPL-3.0-or-later
// Runs quillet-conv as a child process and collects what it says.
#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

struct TToolRun {
    int status = -1;      // the exit status, or -1 when a signal ended it
    int signal = 0;       // the signal that ended it
    std::string out;
    std::string err;
};

struct TToolOptions {
    // "NAME=value" set, or "NAME" removed, in the child's environment.
    std::vector<std::string> env;
    // Run as the unprivileged user "nobody" when the tests run as root, so that
    // permissions are checked as for an ordinary user; otherwise as ourselves.
    bool unprivileged = false;
};

// The uid and gid an unprivileged run gets (ours when we are not root).
uid_t UnprivilegedUid();
gid_t UnprivilegedGid();

TToolRun RunTool(const std::vector<std::string>& args, const TToolOptions& options = {});

// Every byte of a file, none when it cannot be read.
std::vector<std::uint8_t> ReadAll(const std::string& path);

// A run not waited for, for tests that act on it while it works.
class TRunningTool {
public:
    TRunningTool(const std::vector<std::string>& args, const TToolOptions& options = {});
    ~TRunningTool();
    pid_t Pid() const { return pid_; }
    // Waits for the end and collects the result.
    TToolRun Wait();

private:
    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
};
