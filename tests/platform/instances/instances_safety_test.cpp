// SPDX-License-Identifier: GPL-3.0-or-later
// Nobody but this user reaches a copy, and nothing a peer sends can stop a copy
// answering the others: bytes of strangers, frames cut short, lengths that lie,
// peers that connect and say nothing.
#include "instances_support.h"

#include "instancefolder.h"
#include "instanceprotocol.h"
#include "viewrequest.h"

#include <QDir>
#include <QFile>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

namespace {

constexpr uid_t Nobody = 65534;

mode_t ModeOf(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode : 0;
}

TEST_F(InstancesTest, WhatAStrangerSendsIsDroppedAndTheCopyStillAnswers)
{
    InstanceServer server;
    server.SetCaption(QStringLiteral("still here"));
    server.SetReady(true);
    QByteArray record;
    server.OnCopyData = [&](std::uint32_t, const QByteArray& data) -> std::uint32_t {
        record = data;
        return 1;
    };
    ASSERT_TRUE(server.Register());
    const QString path = InstanceSocketPath(Folder(), OwnHandle());

    QByteArray huge = EncodeRequest(RequestKind::CopyData, {});
    huge[8] = char(0xFF);  // announces 4 GB
    huge[9] = char(0xFF);
    huge[10] = char(0xFF);
    huge[11] = char(0xFF);
    QByteArray twoFrames = EncodeRequest(RequestKind::Describe, {}) + EncodeRequest(RequestKind::Describe, {});
    QByteArray unknownKind = EncodeRequest(RequestKind::Describe, {});
    unknownKind[4] = 9;
    const QByteArray strangers[] = {"GET / HTTP/1.0\r\n\r\n", huge, twoFrames, unknownKind,
                                    EncodeRequest(RequestKind::Activate, "payload where none belongs")};
    for (const QByteArray& bytes : strangers) {
        const int fd = ConnectRaw(path);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, bytes.constData(), bytes.size()), bytes.size());
        EXPECT_TRUE(ReadAllRaw(fd, 2000).isEmpty()) << bytes.toHex().toStdString();
        ::close(fd);
    }
    EXPECT_TRUE(record.isEmpty());

    // Peers that hold connections open, silent or half way through a frame, do
    // not keep others waiting.
    const int silent = ConnectRaw(path);
    const int half = ConnectRaw(path);
    const QByteArray cut = EncodeRequest(RequestKind::CopyData, QByteArray(600, 'x')).left(100);
    ASSERT_EQ(::write(half, cut.constData(), cut.size()), cut.size());
    const std::vector<TInstance> list = ListInstances();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].caption, QStringLiteral("still here"));
    ::close(silent);
    ::close(half);
    EXPECT_TRUE(record.isEmpty()) << "a cut frame is never handed on";
}

TEST_F(InstancesTest, AFolderThatIsNotThisUsersAloneIsNotUsed)
{
    const QString folder = Folder();
    // Open to others but ours: narrowed, then used.
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0777), 0);
    ASSERT_TRUE(InstanceFolder(true));
    EXPECT_EQ(ModeOf(folder) & 0777, 0700u);

    // A link, even to a private folder of ours, is not used: whoever made it
    // chose where our sockets go.
    ASSERT_TRUE(QDir(folder).removeRecursively());
    const QString elsewhere = dir.filePath(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    ASSERT_TRUE(QFile::link(elsewhere, folder));
    EXPECT_FALSE(InstanceFolder(true));
    InstanceServer server;
    EXPECT_FALSE(server.Register());
    EXPECT_TRUE(ListInstances().empty());
    EXPECT_TRUE(QDir(elsewhere).isEmpty());
    ASSERT_TRUE(QFile::remove(folder));

    // Another user's folder is not used either.
    if (::getuid() != 0)
        GTEST_SKIP() << "giving a folder to another user needs root";
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0700), 0);
    ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), Nobody, Nobody), 0);
    EXPECT_FALSE(InstanceFolder(true));
    EXPECT_FALSE(server.Register());
}

// Runs in a child process as another user: 0 when it could not connect, 1 when
// it connected but got no answer, 2 when a copy answered it.
int TryAsNobody(const QByteArray& path, const QByteArray& request)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
            ::_exit(9);
        const int fd = ConnectRaw(QFile::decodeName(path));
        if (fd < 0)
            ::_exit(0);
        if (::write(fd, request.constData(), request.size()) != request.size())
            ::_exit(1);
        ::_exit(ReadAllRaw(fd, 2000).isEmpty() ? 1 : 2);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(InstancesTest, AnotherUserCannotReachACopy)
{
    if (::getuid() != 0)
        GTEST_SKIP() << "acting as another user needs root";
    InstanceServer server;
    server.SetCaption(QStringLiteral("private"));
    ASSERT_TRUE(server.Register());
    const QByteArray path = QFile::encodeName(InstanceSocketPath(Folder(), OwnHandle()));
    const QByteArray describe = EncodeRequest(RequestKind::Describe, {});
    EXPECT_EQ(TryAsNobody(path, describe), 0) << "the folder keeps others out";

    // Even with the folder and the socket opened up by mistake, the copy asks the
    // kernel who is calling and answers only its own user.
    const QByteArray runtime = QFile::encodeName(dir.filePath(QStringLiteral("runtime")));
    for (const QByteArray& p : {QFile::encodeName(dir.path()), runtime, QFile::encodeName(Folder())})
        ASSERT_EQ(::chmod(p.constData(), 0755), 0);
    ASSERT_EQ(::chmod(path.constData(), 0777), 0);
    EXPECT_EQ(TryAsNobody(path, describe), 1);
    EXPECT_EQ(ListInstances().size(), 1u) << "and still answers its own user";
}

} // namespace
