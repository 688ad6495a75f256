// SPDX-License-Identifier: GPL-3.0-or-later
// Starting programs with an argument vector, the PATH look-up of bare names, and
// which links may be handed to the desktop.
#include "filenames.h"
#include "shell.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <filesystem>

// Readable failures: strings as text.
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

bool WaitForFile(const QString& name)
{
    QElapsedTimer timer;
    timer.start();
    while (!QFileInfo::exists(name)) {
        if (timer.elapsed() > 10000)
            return false;
        QThread::msleep(20);
    }
    return true;
}

void Touch(const QString& name, QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner)
{
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    f.setPermissions(permissions);
}

TEST(StartDetached, EveryArgumentArrivesAsOneNameWithNoShellInBetweenAndAMissingProgramIsReported)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Blanks, quotes, a newline, shell syntax and a leading dash: each must reach
    // the program as the one argument it was.
    const QStringList names = {QStringLiteral("with blank"), QStringLiteral("quote\"'s"),
                               QStringLiteral("new\nline"), QStringLiteral("$(touch pwned);x"),
                               QStringLiteral("-r")};
    // A name whose bytes are not UTF-8 (KOI8-R) arrives as those very bytes; it
    // goes first, so it is made before the names waited for.
    const QString koi = platform::FileNameFromBytes(QFile::encodeName(dir.path()) + "/\xD0\xC9\xD3\xD8\xCD\xCF.txt");
    QStringList arguments{QStringLiteral("--"), koi};
    for (const QString& n : names)
        arguments << dir.filePath(n);
    qint64 pid = 0;
    ASSERT_TRUE(platform::StartDetached(QStringLiteral("/usr/bin/touch"), arguments, &pid));
    EXPECT_GT(pid, 0);
    for (const QString& n : names)
        EXPECT_TRUE(WaitForFile(dir.filePath(n))) << n.toStdString();
    EXPECT_TRUE(platform::IsExistingFile(koi));
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath(QStringLiteral("pwned"))));
    const auto entries = std::filesystem::directory_iterator(QFile::encodeName(dir.path()).toStdString());
    EXPECT_EQ(std::distance(std::filesystem::begin(entries), std::filesystem::end(entries)), names.size() + 1);
    // A program that is not there is reported, not started.
    EXPECT_FALSE(platform::StartDetached(QStringLiteral("/nonexistent/program"), {}));
}

class FindFileOnPathTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(cwd.isValid() && pathA.isValid() && pathB.isValid());
        savedCwd = QDir::currentPath();
        savedPath = qgetenv("PATH");
        QDir::setCurrent(cwd.path());
        qputenv("PATH", (pathA.path() + QStringLiteral(":") + pathB.path()).toLocal8Bit());
    }
    void TearDown() override
    {
        QDir::setCurrent(savedCwd);
        qputenv("PATH", savedPath);
    }
    QTemporaryDir cwd, pathA, pathB;
    QString savedCwd;
    QByteArray savedPath;
};

TEST_F(FindFileOnPathTest, TheCurrentFolderThenPathInOrderAndNamesFoundNowhereOrWithAFolderAreTakenFromHere)
{
    // The folders searched: the current one, then each PATH entry within the
    // first 8000 characters of the variable.
    EXPECT_EQ(platform::SearchFolders(QStringLiteral("/cwd"), QStringLiteral("/a::/b:")),
              (QStringList{QStringLiteral("/cwd"), QStringLiteral("/a"), QStringLiteral("/b")}));
    const QString longPath = QString(7990, QLatin1Char('x')) + QStringLiteral(":/beyond/the/limit");
    EXPECT_FALSE(platform::SearchFolders(QStringLiteral("/cwd"), longPath).contains(QStringLiteral("/beyond/the/limit")));

    Touch(cwd.filePath(QStringLiteral("text.txt")));
    Touch(pathA.filePath(QStringLiteral("text.txt")));
    Touch(pathB.filePath(QStringLiteral("only-b.txt")));
    Touch(pathA.filePath(QStringLiteral("both.txt")));
    Touch(pathB.filePath(QStringLiteral("both.txt")));
    Touch(pathA.filePath(QStringLiteral("sub")));
    const auto here = [this](const char* name) { return QDir(cwd.path()).absoluteFilePath(QLatin1String(name)); };
    EXPECT_EQ(platform::FindFileOnPath(QStringLiteral("text.txt")), here("text.txt"));
    EXPECT_EQ(platform::FindFileOnPath(QStringLiteral("only-b.txt")), pathB.filePath(QStringLiteral("only-b.txt")));
    EXPECT_EQ(platform::FindFileOnPath(QStringLiteral("both.txt")), pathA.filePath(QStringLiteral("both.txt")));
    EXPECT_EQ(platform::FindFileOnPath(QStringLiteral("missing.txt")), here("missing.txt"));
    // A name with a folder part is never looked up along PATH.
    EXPECT_EQ(platform::FindFileOnPath(QStringLiteral("./sub")), here("sub"));
    EXPECT_EQ(platform::FindFileOnPath(QStringLiteral("-leading-dash")), here("-leading-dash"));
}

TEST(IsAllowedUrl, OnlyWebMailAndPlainFileLinksPass)
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("note.txt"));
    const QString program = dir.filePath(QStringLiteral("run.sh"));
    Touch(plain);
    Touch(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString file = QStringLiteral("file://");
    for (const QString& url : {QStringLiteral("http://example.org/page"), QStringLiteral("HTTPS://example.org"),
                               QStringLiteral("ftp://files.example.org/a.txt"),
                               QStringLiteral("mailto:someone@example.org"), file + plain})
        EXPECT_TRUE(platform::IsAllowedUrl(url)) << url.toStdString();
    for (const QString& url :
         {file + program, file + dir.path(), QStringLiteral("file:///nonexistent/file.txt"),
          QStringLiteral("javascript:alert(1)"), QStringLiteral("smb://server/share"), QStringLiteral("http://"),
          QStringLiteral("mailto:"), QStringLiteral("/usr/bin/xterm"), QString()})
        EXPECT_FALSE(platform::IsAllowedUrl(url)) << url.toStdString();
    EXPECT_FALSE(platform::OpenUrl(QStringLiteral("file://") + program));
}

} // namespace
