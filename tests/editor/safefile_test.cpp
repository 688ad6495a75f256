// The save path's writer: nothing visible beside the target while it works, and
// a named temporary file that a terminating signal removes before the process
// ends (real child processes, real signals).
#include "safefile.h"
#include "savesignals.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
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

TEST(SafeFileWriter, AnUnnamedTemporaryFileIsInvisibleUntilItReplacesTheTarget)
{
    TTestDir dir;
    const QString target = dir.Write(QStringLiteral("kept.txt"), Latin1("old"));
    ASSERT_EQ(::chmod(Native(target).constData(), 0640), 0);
    {
        TSafeFileWriter writer(target);
        if (writer.Route() != TSafeFileWriter::TRoute::UnnamedTemp)
            GTEST_SKIP() << "this file system has no unnamed files";
        const TBytes big(1 << 20, 'n');
        writer.Write(big.data(), big.size());
        EXPECT_EQ(Entries(dir), QStringList{QStringLiteral("kept.txt")});
        // Destroyed without Commit: nothing happened.
    }
    EXPECT_EQ(ReadBytes(target), Latin1("old"));
    EXPECT_EQ(Entries(dir), QStringList{QStringLiteral("kept.txt")});

    TSafeFileWriter writer(target);
    writer.Write(reinterpret_cast<const std::uint8_t*>("new"), 3);
    writer.Commit();
    EXPECT_EQ(ReadBytes(target), Latin1("new"));
    struct stat st {};
    ASSERT_EQ(::stat(Native(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // A new file gets its name in one step.
    TSafeFileWriter fresh(dir.Path(QStringLiteral("fresh.txt")));
    fresh.Write(reinterpret_cast<const std::uint8_t*>("x"), 1);
    fresh.Commit();
    EXPECT_EQ(Entries(dir), (QStringList{QStringLiteral("fresh.txt"), QStringLiteral("kept.txt")}));
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

TEST(SafeFileWriter, ATerminatingSignalRemovesTheNamedTemporaryFileAndEndsTheProcess)
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        TTestDir dir;
        const QString target = dir.Write(QStringLiteral("target.txt"), Latin1("old contents"));
        EXPECT_EQ(SignalMidSave(dir, target, signal, false), signal);
        EXPECT_EQ(ReadBytes(target), Latin1("old contents")) << signal;
        EXPECT_EQ(Entries(dir), QStringList{QStringLiteral("target.txt")}) << signal;
    }
}

TEST(SafeFileWriter, ASignalWaitsForTheStepThatMustNotStopHalfWay)
{
    TTestDir dir;
    const QString target = dir.Write(QStringLiteral("target.txt"), Latin1("old contents"));
    EXPECT_EQ(SignalMidSave(dir, target, SIGTERM, true), SIGTERM);
    // The section ran to its end before the signal took effect; then the
    // temporary file was removed all the same.
    EXPECT_EQ(Entries(dir), (QStringList{QStringLiteral("section-finished"), QStringLiteral("target.txt")}));
    EXPECT_EQ(ReadBytes(target), Latin1("old contents"));
}

} // namespace
