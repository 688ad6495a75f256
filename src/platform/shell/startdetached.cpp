// SPDX-License-Identifier: GPL-3.0-or-later
// Detached starts with an argument vector of exact bytes. The toolkit's process
// class encodes arguments as UTF-8 text, which would turn a name that is not
// UTF-8 into another name; this start hands each argument over byte for byte.
#include "shell.h"

#include "filenames.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

// Reads exactly one value from a pipe; false at its end.
template <typename T>
bool ReadValue(int fd, T& value)
{
    std::size_t got = 0;
    auto* p = reinterpret_cast<char*>(&value);
    while (got < sizeof value) {
        const ssize_t n = ::read(fd, p + got, sizeof value - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        got += std::size_t(n);
    }
    return true;
}

// A program without a folder is looked for along PATH, before the fork: after
// it only async-signal-safe calls may be made.
QByteArray ResolveProgram(const QString& program)
{
    const QByteArray bytes = FileNameBytes(program);
    if (bytes.contains('/'))
        return bytes;
    for (const QByteArray& folder : qgetenv("PATH").split(':')) {
        const QByteArray candidate = (folder.isEmpty() ? QByteArray(".") : folder) + '/' + bytes;
        if (::access(candidate.constData(), X_OK) == 0)
            return candidate;
    }
    return bytes;
}

} // namespace

bool StartDetached(const QString& program, const QStringList& arguments, qint64* pid)
{
    std::vector<QByteArray> bytes{ResolveProgram(program)};
    for (const QString& argument : arguments)
        bytes.push_back(FileNameBytes(argument));
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);

    const int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    int pidPipe[2];
    int execPipe[2];
    if (devNull < 0 || ::pipe2(pidPipe, O_CLOEXEC) != 0) {
        if (devNull >= 0)
            ::close(devNull);
        return false;
    }
    if (::pipe2(execPipe, O_CLOEXEC) != 0) {
        ::close(devNull);
        ::close(pidPipe[0]);
        ::close(pidPipe[1]);
        return false;
    }

    // Two forks, so that the started program belongs to init and never waits
    // as a zombie for us; its own session keeps a terminal's hang-up away.
    const pid_t child = ::fork();
    if (child == 0) {
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            sigset_t none;
            ::sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            ::dup2(devNull, STDIN_FILENO);
            ::execv(argv[0], argv.data());
            const int error = errno;
            [[maybe_unused]] const ssize_t ignored = ::write(execPipe[1], &error, sizeof error);
            ::_exit(127);
        }
        [[maybe_unused]] const ssize_t ignored = ::write(pidPipe[1], &grandchild, sizeof grandchild);
        ::_exit(0);
    }
    ::close(devNull);
    ::close(pidPipe[1]);
    ::close(execPipe[1]);
    bool started = false;
    if (child > 0) {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        pid_t grandchild = -1;
        int execError = 0;
        // The exec pipe closes without a word when the program started.
        started = ReadValue(pidPipe[0], grandchild) && grandchild > 0 && !ReadValue(execPipe[0], execError);
        if (started && pid)
            *pid = grandchild;
    }
    ::close(pidPipe[0]);
    ::close(execPipe[0]);
    return started;
}

} // namespace platform
