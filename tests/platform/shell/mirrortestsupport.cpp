// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop-mirror test home.
#include "mirrortestsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

namespace {

class CoreApplication : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "mirror-tests";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    void TearDown() override { app.reset(); }

private:
    std::unique_ptr<QCoreApplication> app;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new CoreApplication);

} // namespace

void MirrorTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    home = dir.filePath(QStringLiteral("home"));
    data = home + QStringLiteral("/.local/share");
    config = home + QStringLiteral("/.config");
    systemConfig = dir.filePath(QStringLiteral("etc-xdg"));
    systemData = dir.filePath(QStringLiteral("usr-share"));
    for (const QString& d : {data, config, systemConfig, systemData})
        ASSERT_TRUE(QDir().mkpath(d));
    path = qgetenv("PATH");
    qputenv("HOME", home.toLocal8Bit());
    qputenv("XDG_DATA_HOME", data.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    qputenv("XDG_CONFIG_DIRS", systemConfig.toLocal8Bit());
    // The system's own MIME types stay known.
    qputenv("XDG_DATA_DIRS", (systemData + QStringLiteral(":/usr/local/share:/usr/share")).toLocal8Bit());
    for (const char* variable : {"XDG_CURRENT_DESKTOP", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
                                 "MATE_DESKTOP_SESSION_ID", "DESKTOP_SESSION", "XDG_MENU_PREFIX", "DISPLAY"})
        qunsetenv(variable);
}

void MirrorTest::TearDown()
{
    qputenv("PATH", path);
}

QByteArray MirrorTest::Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void MirrorTest::Write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

QMap<QString, QByteArray> MirrorTest::Snapshot() const
{
    QMap<QString, QByteArray> files;
    QDirIterator it(home, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString rel = path.mid(home.size());
        // The caches the desktop's tools rebuild from the files are not files of anyone's.
        if (rel.endsWith(QLatin1String("/applications/mimeinfo.cache"))
            || (rel.startsWith(QLatin1String("/.local/share/mime/")) && !rel.contains(QLatin1String("/packages/"))))
            continue;
        files.insert(rel, Read(path));
    }
    return files;
}

QMap<QString, QByteArray> MirrorTest::Tree() const
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(home, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries.insert(path.mid(home.size()), it.fileInfo().isDir() ? QByteArray("/") : Read(path));
    }
    return entries;
}

QString MirrorTest::MakeRecorder(const QString& folderName)
{
    // Blanks, quotes, a dollar, a backquote, a backslash and parentheses: each
    // would break a command line built without quoting.
    const QString folder =
        dir.filePath(folderName.isEmpty() ? QStringLiteral("odd dir $HOME 'q' \"d\" `b` \\ (p) ; & x") : folderName);
    EXPECT_TRUE(QDir().mkpath(folder));
    const QString program = folder + QStringLiteral("/quillet");
    const QString out = dir.filePath(QStringLiteral("recorded.txt"));
    // Written whole, then renamed, so that a reader never sees half of it.
    Write(program, ("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + out + ".part'\nmv '" + out
                    + ".part' '" + out + "'\n")
                       .toUtf8());
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                       | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    return program;
}

QStringList MirrorTest::Recorded() const
{
    const QString name = dir.filePath(QStringLiteral("recorded.txt"));
    QElapsedTimer timer;
    timer.start();
    while (!QFileInfo::exists(name) && timer.elapsed() < 10000)
        QThread::msleep(20);
    const QString text = QString::fromUtf8(Read(name));
    QFile::remove(name);
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

int MirrorTest::Run(const QString& program, const QStringList& arguments, QString* out)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return -1;
    if (out)
        *out = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    return process.exitCode();
}

QString MirrorTest::DefaultFor(const QString& type) const
{
    Run(QStringLiteral("update-desktop-database"), {Data(QStringLiteral("applications"))});
    QString answer;
    Run(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), type}, &answer);
    return answer;
}
