// quillet-conv as a child process, its output through temporary files.
#include "runtool.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

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

TToolRun RunTool(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    std::string exe = QUILLET_CONV_EXE;
    argv.push_back(exe.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    const int outFd = TempFd();
    const int errFd = TempFd();
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(outFd, 1);
        ::dup2(errFd, 2);
        const int nul = ::open("/dev/null", O_RDONLY);
        ::dup2(nul, 0);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int wstatus = 0;
    ::waitpid(pid, &wstatus, 0);
    TToolRun r;
    r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    r.out = Slurp(outFd);
    r.err = Slurp(errFd);
    return r;
}
