// SPDX-License-Identifier: GPL-3.0-or-later
// The copies' tests: an application object for the process, a private runtime
// folder per test, stand-in copies as real processes, and raw sockets for
// speaking to a copy the way a stranger would.
#pragma once

#include "instanceclient.h"
#include "instanceserver.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

class InstancesTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The copies' folder for this test (made by the first registration).
    QString Folder() const;
    // A stand-in copy in its own process; answers its handle once it listens.
    qint64 StartPeer(const QString& caption);
    // A socket file nobody listens on, named after a process that has ended.
    qint64 LeaveDeadSocket();
    // Binds a socket at the path and closes it, leaving the file behind.
    static void LeaveSocketFile(const QString& path);

    QTemporaryDir dir;
    std::vector<std::unique_ptr<QProcess>> peers;
};

// Processes events until the condition holds or the time runs out.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

// A raw connection to a copy's socket: connects, sends bytes, and tells whether
// the copy answered anything before closing.
int ConnectRaw(const QString& path);
QByteArray ReadAllRaw(int fd, int timeoutMs);
