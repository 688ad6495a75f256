// SPDX-License-Identifier: GPL-3.0-or-later
// quillet-conv as a child process, its output through temporary files.
#include "runtool.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uid_t Nobody = 65534;

std::string Slurp(int fd)
{
    std::string s;
    ::lseek(fd, 0, SEEK_SET);
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0)
        s.append(buf, std::size_t(n));
    ::close(fd);
    return s;
}

int TempFd()
{
    char name[] = "/tmp/quillet-conv-run-XXXXXX";
    const int fd = ::mkstemp(name);
    ::unlink(name);
    return fd;
}

} // namespace

uid_t UnprivilegedUid()
{
    return ::geteuid() == 0 ? Nobody : ::geteuid();
}

gid_t UnprivilegedGid()
{
    return ::geteuid() == 0 ? Nobody : ::getegid();
}

TRunningTool::TRunningTool(const std::vector<std::string>& args, const TToolOptions& options)
{
    std::vector<std::string> copy = args;
    copy.insert(copy.begin(), QUILLET_CONV_EXE);
    std::vector<char*> argv;
    for (std::string& a : copy)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    outFd_ = TempFd();
    errFd_ = TempFd();
    std::fflush(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(outFd_, 1);
        ::dup2(errFd_, 2);
        const int nul = ::open("/dev/null", O_RDONLY);
        ::dup2(nul, 0);
        for (const std::string& e : options.env) {
            const std::size_t eq = e.find('=');
            if (eq == std::string::npos)
                ::unsetenv(e.c_str());
            else
                ::setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
        }
        if (options.unprivileged && ::geteuid() == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setresgid(Nobody, Nobody, Nobody) != 0 ||
                ::setresuid(Nobody, Nobody, Nobody) != 0)
                ::_exit(126);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
}

TRunningTool::~TRunningTool()
{
    if (pid_ > 0)
        Wait();
}

TToolRun TRunningTool::Wait()
{
    TToolRun r;
    int wstatus = 0;
    ::waitpid(pid_, &wstatus, 0);
    pid_ = -1;
    r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    r.signal = WIFSIGNALED(wstatus) ? WTERMSIG(wstatus) : 0;
    r.out = Slurp(outFd_);
    r.err = Slurp(errFd_);
    return r;
}

TToolRun RunTool(const std::vector<std::string>& args, const TToolOptions& options)
{
    return TRunningTool(args, options).Wait();
}

std::vector<std::uint8_t> ReadAll(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(f), {});
}
