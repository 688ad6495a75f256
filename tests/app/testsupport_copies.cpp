// SPDX-License-Identifier: GPL-3.0-or-later
// Child copies of the real program for the several-window tests.
#include "testsupport_copies.h"

#include "instanceclient.h"

#include <QFile>

#include <algorithm>
#include <csignal>

ChildCopy::ChildCopy(const QString& folder, const QString& name, const QStringList& arguments,
                     const QStringList& answers)
    : script(folder + QLatin1Char('/') + name + QStringLiteral(".script"))
{
    QFile file(script);
    if (file.open(QIODevice::WriteOnly))
        for (const QString& answer : answers)
            file.write("answer " + answer.toUtf8() + '\n');
    file.close();
    // A script that others may write is not taken.
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUILLET_TEST_SCRIPT"), script);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    // What the copy prints stays beside its script, for a failing test to read.
    process.setStandardOutputFile(script + QStringLiteral(".out"));
    process.setStandardErrorFile(script + QStringLiteral(".out"), QIODevice::Append);
    process.start(QStringLiteral(QUILLET_APP_PATH), arguments);
    if (!process.waitForStarted(10000))
        return;
    const qint64 pid = process.processId();
    if (WaitUntil([pid] {
            const std::vector<platform::TInstance> list = platform::ListInstances();
            return std::any_of(list.begin(), list.end(), [pid](const auto& copy) { return copy.handle == pid; });
        }) && WaitForLog(QStringLiteral("started"), 10000, pid))
        handle = pid;
}

ChildCopy::~ChildCopy()
{
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
    }
}

QStringList ChildCopy::Log(qint64 of) const
{
    const QByteArray prefix = QByteArray::number(of ? of : handle) + '\t';
    QFile file(script + QStringLiteral(".log"));
    QStringList lines;
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith(prefix))
            lines << QString::fromUtf8(line.mid(prefix.size()));
    return lines;
}

bool ChildCopy::WaitForLog(const QString& line, int timeoutMs, qint64 of) const
{
    return WaitUntil([&] { return Log(of).contains(line); }, timeoutMs);
}

bool ChildCopy::WaitForExit(int timeoutMs)
{
    return WaitUntil([this] { return process.state() == QProcess::NotRunning || process.waitForFinished(0); },
                     timeoutMs);
}

bool ChildCopy::Command(const QString& command) const
{
    return platform::SendCommand(handle, command);
}

void WindowsTest::TearDown()
{
    children.clear();
    ViewTest::TearDown();
}

ChildCopy& WindowsTest::Child(const QStringList& arguments, const QStringList& answers)
{
    children.push_back(std::make_unique<ChildCopy>(dir.path(), QStringLiteral("copy%1").arg(children.size() + 1),
                                                   arguments, answers));
    EXPECT_TRUE(children.back()->Started());
    return *children.back();
}

bool WindowsTest::WaitForCopies(const QList<qint64>& handles, int timeoutMs)
{
    QList<qint64> wanted = handles;
    std::sort(wanted.begin(), wanted.end());
    return WaitUntil([&] {
        QList<qint64> listed;
        for (const platform::TInstance& copy : platform::ListInstances())
            listed << copy.handle;
        return listed == wanted;
    }, timeoutMs);
}

bool WindowsTest::WaitForCaption(qint64 handle, const QString& caption, int timeoutMs)
{
    return WaitUntil([&] {
        for (const platform::TInstance& copy : platform::ListInstances())
            if (copy.handle == handle)
                return copy.caption == caption;
        return false;
    }, timeoutMs);
}

QStringList CommandLineOf(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList parts;
    for (const QByteArray& part : file.readAll().split('\0'))
        if (!part.isEmpty())
            parts << QFile::decodeName(part);
    return parts;
}

bool ProcessGone(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return true;
    const QByteArray stat = status.readAll();
    const qsizetype close = stat.lastIndexOf(')');
    return close > 0 && stat.size() > close + 2 && stat[close + 2] == 'Z';
}

ConvRun Conv(const QStringList& arguments)
{
    QProcess conv;
    conv.start(QStringLiteral(QUILLET_CONV_PATH), arguments);
    ConvRun run;
    if (!conv.waitForFinished(60000))
        return run;
    run.status = conv.exitStatus() == QProcess::NormalExit ? conv.exitCode() : -1;
    run.out = conv.readAllStandardOutput();
    run.err = conv.readAllStandardError();
    return run;
}
