// SPDX-License-Identifier: GPL-3.0-or-later
// The copies' test harness.
#include "instances_support.h"

#include "instancefolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "instances_test";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    void TearDown() override { app.reset(); }

private:
    std::unique_ptr<QCoreApplication> app;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

void InstancesTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    QDir(dir.path()).mkdir(QStringLiteral("runtime"));
    QFile::setPermissions(dir.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", dir.filePath(QStringLiteral("runtime")).toLocal8Bit());
}

void InstancesTest::TearDown()
{
    for (auto& peer : peers) {
        peer->kill();
        peer->waitForFinished(5000);
    }
    peers.clear();
}

QString InstancesTest::Folder() const
{
    return dir.filePath(QStringLiteral("runtime/quillet"));
}

qint64 InstancesTest::StartPeer(const QString& caption)
{
    auto peer = std::make_unique<QProcess>();
    peer->start(QStringLiteral(INSTANCE_PEER), {caption});
    if (!peer->waitForStarted(5000) || !peer->waitForReadyRead(5000))
        return 0;
    const qint64 pid = peer->processId();
    peers.push_back(std::move(peer));
    return pid;
}

void InstancesTest::LeaveSocketFile(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = QFile::encodeName(path);
    std::memcpy(address.sun_path, bytes.constData(), std::min<size_t>(bytes.size(), sizeof address.sun_path - 1));
    EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

qint64 InstancesTest::LeaveDeadSocket()
{
    QProcess ended;
    ended.start(QStringLiteral("/bin/true"), {});
    EXPECT_TRUE(ended.waitForStarted(5000));
    const qint64 pid = ended.processId();
    EXPECT_TRUE(ended.waitForFinished(5000));  // reaped: the id names no process now
    QDir().mkpath(Folder());
    QFile::setPermissions(Folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    LeaveSocketFile(Folder() + QLatin1Char('/') + QString::number(pid));
    return pid;
}

int ConnectRaw(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = QFile::encodeName(path);
    std::memcpy(address.sun_path, bytes.constData(), std::min<size_t>(bytes.size(), sizeof address.sun_path - 1));
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

QByteArray ReadAllRaw(int fd, int timeoutMs)
{
    QByteArray all;
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        const int left = int(std::max<qint64>(0, timeoutMs - timer.elapsed()));
        if (::poll(&p, 1, left) <= 0)
            return all;  // still open when the time ran out
        char buffer[4096];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return all;
        all.append(buffer, n);
    }
}
