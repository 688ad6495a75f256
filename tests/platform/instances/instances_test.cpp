// SPDX-License-Identifier: GPL-3.0-or-later
// Copies finding each other: registration and withdrawal, listings across real
// processes in handle order, copies that died, and requests handed to the
// window's thread in order, only when it is ready and free.
#include "instances_support.h"

#include "instancefolder.h"
#include "viewrequest.h"

#include <QFile>

#include <csignal>
#include <sys/stat.h>
#include <thread>

using namespace platform;

namespace {

std::optional<TInstance> Find(const std::vector<TInstance>& list, qint64 handle)
{
    for (const TInstance& copy : list)
        if (copy.handle == handle)
            return copy;
    return std::nullopt;
}

// The state letter of a process (R, S, T ...), from /proc.
char StateOf(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close > 0 && text.size() > close + 2 ? text[close + 2] : 0;
}

TEST_F(InstancesTest, ACopyIsListedWhileRegisteredGoneOnceWithdrawnAndANewerRegistrationTakesOver)
{
    EXPECT_TRUE(ListInstances().empty());
    {
        InstanceServer server;
        server.SetTag(INSTANCE_TAG);
        server.SetCaption(QStringLiteral("File /tmp/письмо.txt"));
        ASSERT_TRUE(server.Register());
        struct stat folder {};
        ASSERT_EQ(::stat(QFile::encodeName(Folder()).constData(), &folder), 0);
        EXPECT_EQ(folder.st_mode & 0777, 0700u);
        std::vector<TInstance> list = ListInstances();
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0].handle, OwnHandle());
        EXPECT_EQ(list[0].tag, INSTANCE_TAG);
        EXPECT_EQ(list[0].applicationTag, 0u);
        EXPECT_EQ(list[0].caption, QStringLiteral("File /tmp/письмо.txt"));

        // What the window changes, the next listing shows.
        server.SetApplicationTag(VIEW_REQUEST_TAG);
        server.SetCaption(QString(5000, u'я'));
        list = ListInstances();
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0].applicationTag, VIEW_REQUEST_TAG);
        EXPECT_EQ(list[0].caption, QString(5000, u'я'));

        server.Withdraw();
        EXPECT_TRUE(ListInstances().empty());
        EXPECT_FALSE(QFile::exists(InstanceSocketPath(Folder(), OwnHandle())));
        ASSERT_TRUE(server.Register());
        EXPECT_EQ(ListInstances().size(), 1u);
    }
    EXPECT_TRUE(ListInstances().empty());

    // A newer registration of the process takes over.
    InstanceServer older;
    older.SetCaption(QStringLiteral("older"));
    ASSERT_TRUE(older.Register());
    {
        InstanceServer newer;
        newer.SetCaption(QStringLiteral("newer"));
        ASSERT_TRUE(newer.Register());
        EXPECT_FALSE(older.Registered());
        const std::vector<TInstance> list = ListInstances();
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0].caption, QStringLiteral("newer"));
    }
    // The older one's end must not have removed anything of the newer one's, nor
    // the newer one's end anything that is not its own.
    EXPECT_TRUE(ListInstances().empty());
}

TEST_F(InstancesTest, CopiesInOtherProcessesAreListedInHandleOrderAndAKilledOneIsForgotten)
{
    InstanceServer own;
    own.SetTag(INSTANCE_TAG);
    own.SetCaption(QStringLiteral("own"));
    ASSERT_TRUE(own.Register());
    std::vector<qint64> handles{OwnHandle()};
    for (const char* caption : {"one", "two", "three"}) {
        const qint64 pid = StartPeer(QString::fromLatin1(caption));
        ASSERT_NE(pid, 0);
        handles.push_back(pid);
    }
    const qint64 dead = LeaveDeadSocket();
    // A refused socket of a live process (one that is still starting, say) stays.
    LeaveSocketFile(InstanceSocketPath(Folder(), 1));
    QFile junk(Folder() + QStringLiteral("/notes"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.close();

    std::vector<TInstance> list = ListInstances();
    ASSERT_EQ(list.size(), 4u);
    for (std::size_t i = 1; i < list.size(); ++i)
        EXPECT_LT(list[i - 1].handle, list[i].handle);
    for (qint64 handle : handles)
        EXPECT_TRUE(Find(list, handle)) << handle;
    EXPECT_EQ(Find(list, handles[2])->caption, QStringLiteral("two"));
    EXPECT_FALSE(QFile::exists(InstanceSocketPath(Folder(), dead)));
    EXPECT_TRUE(QFile::exists(InstanceSocketPath(Folder(), 1)));
    EXPECT_TRUE(junk.exists());

    // A copy killed outright leaves its socket; the next listing does without it.
    ::kill(pid_t(handles[1]), SIGKILL);
    ASSERT_TRUE(peers[0]->waitForFinished(5000));
    list = ListInstances();
    EXPECT_EQ(list.size(), 3u);
    EXPECT_FALSE(Find(list, handles[1]));
    EXPECT_FALSE(QFile::exists(InstanceSocketPath(Folder(), handles[1])));

    // A close request ends a stand-in; it is gone from the next listing.
    EXPECT_TRUE(CloseInstance(handles[3]));
    ASSERT_TRUE(peers[2]->waitForFinished(5000));
    EXPECT_EQ(ListInstances().size(), 2u);
    EXPECT_FALSE(CloseInstance(handles[3]));
    EXPECT_FALSE(ActivateInstance(dead));
}

TEST_F(InstancesTest, ACopyThatDoesNotAnswerIsLeftOutWithoutHoldingUpTheListing)
{
    const qint64 stopped = StartPeer(QStringLiteral("stopped"));
    const qint64 running = StartPeer(QStringLiteral("running"));
    ASSERT_TRUE(stopped && running);
    ::kill(pid_t(stopped), SIGSTOP);
    ASSERT_TRUE(WaitUntil([stopped] { return StateOf(stopped) == 'T'; }));
    const std::vector<TInstance> list = ListInstances(300);
    ::kill(pid_t(stopped), SIGCONT);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].handle, running);
    // Once it runs again it answers again, alive: the late answer to the listing
    // that gave up on it found its peer gone, and nothing was removed meanwhile.
    EXPECT_EQ(ListInstances().size(), 2u);
    EXPECT_EQ(peers[0]->state(), QProcess::Running);
}

TEST_F(InstancesTest, RequestsWaitUntilTheWindowIsReadyAndFreeAndRunInOrder)
{
    InstanceServer server;
    QStringList ran;
    bool busy = false;
    server.IsBusy = [&] { return busy; };
    server.OnActivate = [&] { ran << QStringLiteral("activate"); };
    server.OnClose = [&] { ran << QStringLiteral("close"); };
    ASSERT_TRUE(server.Register());

    EXPECT_TRUE(ActivateInstance(OwnHandle()));
    EXPECT_TRUE(CloseInstance(OwnHandle()));
    WaitUntil([] { return false; }, 100);
    EXPECT_TRUE(ran.isEmpty()) << "the window has not finished starting";

    busy = true;
    server.SetReady(true);
    WaitUntil([] { return false; }, 150);
    EXPECT_TRUE(ran.isEmpty()) << "the window is busy";

    busy = false;
    ASSERT_TRUE(WaitUntil([&] { return ran.size() == 2; }));
    EXPECT_EQ(ran, (QStringList{QStringLiteral("activate"), QStringLiteral("close")}));

    // Commands are refused unless the window takes them.
    EXPECT_FALSE(SendCommand(OwnHandle(), QStringLiteral("menu N30")));
    QString command;
    server.SetOnCommand([&](const QString& text) { command = text; });
    EXPECT_TRUE(SendCommand(OwnHandle(), QStringLiteral("menu N30")));
    EXPECT_TRUE(WaitUntil([&] { return command == QLatin1String("menu N30"); }));
}

TEST_F(InstancesTest, CopyDataWaitsForTheWindowsAnswer)
{
    InstanceServer server;
    QByteArray received;
    server.OnCopyData = [&](std::uint32_t dwData, const QByteArray& record) -> std::uint32_t {
        received = record;
        return dwData == VIEW_REQUEST_TAG ? 7 : 0;
    };
    server.SetReady(true);
    ASSERT_TRUE(server.Register());

    // The sender blocks as a sent message does, so it runs on a thread of its own
    // while this one serves the window.
    auto send = [](std::uint32_t dwData, QByteArray record) {
        std::optional<std::uint32_t> answer;
        bool done = false;
        std::thread sender([&] {
            answer = SendCopyData(OwnHandle(), dwData, record, 3000);
            done = true;
        });
        WaitUntil([&] { return done; }, 5000);
        sender.join();
        return answer;
    };
    EXPECT_EQ(send(VIEW_REQUEST_TAG, "record"), std::optional<std::uint32_t>(7));
    EXPECT_EQ(received, QByteArray("record"));
    EXPECT_EQ(send(0x12345678, "x"), std::optional<std::uint32_t>(0));
    // A record over the bound is never sent, and never read.
    EXPECT_EQ(send(VIEW_REQUEST_TAG, QByteArray(70 * 1024, 'a')), std::nullopt);
    EXPECT_EQ(received, QByteArray("x"));

    // A window that is gone before it answers leaves the sender with no answer.
    server.OnCopyData = [&](std::uint32_t, const QByteArray&) -> std::uint32_t {
        server.Withdraw();
        return 1;
    };
    EXPECT_EQ(send(VIEW_REQUEST_TAG, "late"), std::nullopt);
}

} // namespace
