// SPDX-License-Identifier: GPL-3.0-or-later
// The save path's named temporary file, as on file systems without unnamed ones:
// a terminating signal removes it before the process ends, and waits for the
// steps that must not stop half way (real child processes, real signals).
#include "safefile.h"
#include "savesignals.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QStringList Entries(const TTestDir& dir)
{
    return QDir(dir.Path(QString())).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QByteArray Native(const QString& name)
{
    return QFile::encodeName(name);
}

// A child that saves through a named temporary file and waits, half done, for
// the parent's signal; answers how the child ended.
int SignalMidSave(const TTestDir& dir, const QString& target, int signal, bool inCriticalSection)
{
    int ready[2];
    if (::pipe(ready) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        savesignals::InstallTerminationCleanup();
        TSafeFileWriter writer(Native(target), TSafeFileWriter::TTempKind::Named);
        const TBytes half(300000, 'h');
        writer.Write(half.data(), half.size());
        if (inCriticalSection) {
            savesignals::TCriticalSection section;
            (void)!::write(ready[1], "r", 1);
            ::sleep(1);   // the signal comes now and waits for the section
            const QString marker = dir.Path(QStringLiteral("section-finished"));
            QFile(marker).open(QIODevice::WriteOnly);
        } else {
            (void)!::write(ready[1], "r", 1);
            for (;;)
                ::pause();
        }
        ::_exit(0);
    }
    char c;
    const bool started = ::read(ready[0], &c, 1) == 1;
    ::close(ready[0]);
    ::close(ready[1]);
    if (started && !inCriticalSection) {
        // The named file is there while the save runs.
        EXPECT_EQ(Entries(dir).size(), 2);
    }
    ::kill(child, signal);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : -WEXITSTATUS(status);
}

TEST(SafeFileWriter, ATerminatingSignalRemovesTheNamedTemporaryFileOnceTheUnstoppableStepIsDone)
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        TTestDir dir;
        const QString target = dir.Write(QStringLiteral("target.txt"), Latin1("old contents"));
        EXPECT_EQ(SignalMidSave(dir, target, signal, false), signal);
        EXPECT_EQ(ReadBytes(target), Latin1("old contents")) << signal;
        EXPECT_EQ(Entries(dir), QStringList{QStringLiteral("target.txt")}) << signal;
    }
    // The section ran to its end before the signal took effect; then the
    // temporary file was removed all the same.
    TTestDir dir;
    const QString target = dir.Write(QStringLiteral("target.txt"), Latin1("old contents"));
    EXPECT_EQ(SignalMidSave(dir, target, SIGTERM, true), SIGTERM);
    EXPECT_EQ(Entries(dir), (QStringList{QStringLiteral("section-finished"), QStringLiteral("target.txt")}));
    EXPECT_EQ(ReadBytes(target), Latin1("old contents"));
}

} // namespace
