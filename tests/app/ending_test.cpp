// SPDX-License-Identifier: GPL-3.0-or-later
// A logout, a shutdown or Ctrl+C ends the real program as a close that asks
// nothing: the recent list and the window bounds are in the store afterwards,
// and a start-up error box no one answers does not hold the end back.
#include "testsupport.h"
#include "testsupport_store.h"

#include "filenames.h"
#include "instanceclient.h"
#include "recentfiles.h"
#include "registry.h"
#include "registrylayout.h"

#include <QFile>
#include <QTest>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// The program started with one argument, given as bytes; killed if a failed
// check leaves it running.
class TProgram {
public:
    explicit TProgram(const QByteArray& argument)
    {
        pid = ::fork();
        if (pid == 0) {
            const int nul = ::open("/dev/null", O_RDWR);
            ::dup2(nul, 0);
            ::dup2(nul, 1);
            ::dup2(nul, 2);
            ::execl(QUILLET_APP_PATH, "quillet", argument.constData(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~TProgram()
    {
        if (pid > 0 && ::waitpid(pid, nullptr, WNOHANG) == 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;
    pid_t pid = -1;
};

// True once the process catches the signal: its handler is installed.
bool WaitUntilCaught(pid_t pid, int signal)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("SigCgt:", 0) == 0) {
                const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
                if (mask & (1ULL << (signal - 1)))
                    return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// The wait status, or -1 when the process would not end.
int WaitForEnd(TProgram& program)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        if (::waitpid(program.pid, &status, WNOHANG) == program.pid) {
            program.pid = -1;
            return status;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return -1;
}

TEST_F(ViewTest, ALogoutAShutdownOrCtrlCWritesWhatACloseWritesThenEnds)
{
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        const QString registry = Path(QStringLiteral("registry-%1.db").arg(signal));
        qputenv("QUILLET_REGISTRY", registry.toLocal8Bit());
        // A window in its normal state writes its bounds when it closes.
        Store(RegistryKeys::Options, {{OptionsValue::Window, 1}});
        // A Windows-1251 name: the command line and the store keep its bytes.
        const QByteArray file = QFile::encodeName(dir.path()) + "/\xEF\xE8\xF1\xFC\xEC\xEE-" + QByteArray::number(signal) + ".txt";
        std::ofstream(file.toStdString(), std::ios::binary) << "text\r\n";

        TProgram program(file);
        ASSERT_TRUE(WaitUntilCaught(program.pid, signal)) << signal;
        ::kill(program.pid, signal);
        const int status = WaitForEnd(program);
        ASSERT_NE(status, -1) << "the window did not end on signal " << signal;
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "status " << status;

        EXPECT_EQ(ReadHistory()[0].FileName, platform::FileNameFromBytes(file)) << signal;
        platform::TRegistry reg(platform::HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey(RegistryKeys::Options, false));
        EXPECT_TRUE(reg.ValueExists(OptionsValue::Width)) << signal;
        EXPECT_GT(reg.ReadInteger(OptionsValue::Height), 0) << signal;
    }
    qputenv("QUILLET_REGISTRY", RegistryFile().toLocal8Bit());
}

TEST_F(ViewTest, ASignalEndsAWindowAtOnceWhileItsStartUpErrorIsShown)
{
    // No script answers the box: the real program shows it and waits for a click.
    TProgram program(QFile::encodeName(Path(QStringLiteral("missing.txt"))));
    ASSERT_TRUE(WaitUntilCaught(program.pid, SIGTERM));
    ASSERT_TRUE(WaitUntil([&] {
        for (const platform::TInstance& copy : platform::ListInstances())
            if (copy.handle == program.pid)
                return true;
        return false;
    }, 20000));
    QTest::qWait(500);
    const auto sent = std::chrono::steady_clock::now();
    ::kill(program.pid, SIGTERM);
    const int status = WaitForEnd(program);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - sent);
    ASSERT_NE(status, -1);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "status " << status;
    EXPECT_LT(took.count(), 3000);
}

} // namespace
