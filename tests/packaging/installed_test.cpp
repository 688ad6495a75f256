// SPDX-License-Identifier: GPL-3.0-or-later
// The program installed with `cmake --install` into a temporary folder: started
// from there it finds its language file and help file in the installed data folder
// (also after the whole tree was moved), and the desktop entry, metainfo, manual
// pages and icons it installs are what the desktop's own validators accept.
#include "packagingsupport.h"

#include "languageoverride.h"
#include "privateworld.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

const QStringList IconSizes = {QStringLiteral("16"), QStringLiteral("22"), QStringLiteral("24"), QStringLiteral("32"),
                               QStringLiteral("48"), QStringLiteral("64"), QStringLiteral("128"), QStringLiteral("256")};

// A private world for a started copy: its own settings store, HOME and XDG folders.
class InstalledProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(world.isValid());
        // The override is written here and read by the started copy, which inherits the world.
        EnterPrivateWorld(world.path());
    }

    // Starts the program with a test script, waits for what it reports having found
    // at start (the File menu's caption, the help file's address), then ends it.
    QStringList StartAndReport(const QString& program)
    {
        const QString script = world.filePath(QStringLiteral("copy%1.script").arg(++starts));
        {
            QFile file(script);
            if (!file.open(QIODevice::WriteOnly))
                return {};
        }
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner);
        QProcessEnvironment copyEnv = QProcessEnvironment::systemEnvironment();
        copyEnv.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        copyEnv.insert(QStringLiteral("QUILLET_TEST_SCRIPT"), script);
        QProcess process;
        process.setProcessEnvironment(copyEnv);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(program, {});
        if (!process.waitForStarted(10000))
            return {};
        QStringList report;
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 20000 && process.state() == QProcess::Running) {
            QFile log(script + QStringLiteral(".log"));
            if (log.open(QIODevice::ReadOnly)) {
                report.clear();
                for (const QByteArray& line : log.readAll().split('\n'))
                    if (!line.isEmpty())
                        report << QString::fromUtf8(line.mid(line.indexOf('\t') + 1));
                if (!report.filter(QStringLiteral("help file")).isEmpty())
                    break;
            }
            QThread::msleep(50);
        }
        process.terminate();
        if (!process.waitForFinished(10000)) {
            process.kill();
            process.waitForFinished();
        }
        return report;
    }

    QTemporaryDir world;
    int starts = 0;
};

TEST_F(InstalledProgramTest, FindsItsRussianLanguageFileAndHelpFileInTheInstalledTreeWhereverItIsMoved)
{
    QTemporaryDir root;
    const QString first = root.filePath(QStringLiteral("first"));
    ASSERT_EQ(InstallInto(first), QString());
    // Installed, then moved as a whole: the program finds its files from where it is.
    const QString moved = root.filePath(QStringLiteral("moved"));
    ASSERT_TRUE(QDir().rename(first, moved));
    const QString data = moved + QStringLiteral("/share/quillet");
    ASSERT_TRUE(QFileInfo::exists(data + QStringLiteral("/quillet.ru")));
    EXPECT_FALSE(QFileInfo::exists(moved + QStringLiteral("/bin/quillet.ru"))) << "data files belong in share";

    const QString program = QFileInfo(moved + QStringLiteral("/bin/quillet")).canonicalFilePath();
    ASSERT_FALSE(program.isEmpty());
    WriteLanguageOverride(program, QStringLiteral("RU"));
    const QStringList report = StartAndReport(program);
    ASSERT_TRUE(report.contains(QStringLiteral("started"))) << report.join(u'\n').toStdString();
    EXPECT_TRUE(report.contains(QString::fromUtf8("file menu\tФайл"))) << report.join(u'\n').toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("help file\t")
                                + QUrl::fromLocalFile(data + QStringLiteral("/Quillpad.hlp")).toString()))
        << report.join(u'\n').toStdString();

    // Without them the program still starts, in English, with the help built into it
    // (unless an installation of this build's own prefix has them).
    const QString configured = QStringLiteral(QUILLET_CONFIGURED_DATADIR);
    if (QFileInfo::exists(configured + QStringLiteral("/quillet.ru"))
        || QFileInfo::exists(configured + QStringLiteral("/Quillpad.hlp")))
        return;
    ASSERT_TRUE(QFile::remove(data + QStringLiteral("/quillet.ru")));
    ASSERT_TRUE(QFile::remove(data + QStringLiteral("/Quillpad.hlp")));
    const QStringList without = StartAndReport(program);
    EXPECT_TRUE(without.contains(QStringLiteral("file menu\tFile"))) << without.join(u'\n').toStdString();
    EXPECT_TRUE(without.contains(QStringLiteral("help file\tqrc:/help/Quillpad.hlp")))
        << without.join(u'\n').toStdString();
}

// One install for the checks of the installed files.
class InstalledFilesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        root = new QTemporaryDir;
        installError = InstallInto(root->path());
    }
    static void TearDownTestSuite()
    {
        delete root;
        root = nullptr;
    }
    void SetUp() override { ASSERT_EQ(installError, QString()); }

    static QString Path(const QString& relative) { return root->filePath(relative); }
    static QString Read(const QString& relative)
    {
        QFile file(Path(relative));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    static inline QTemporaryDir* root = nullptr;
    static inline QString installError;
};

TEST_F(InstalledFilesTest, TheDesktopEntryOpensEveryFileGivenAndPassesTheValidator)
{
    const QString entry = QStringLiteral("share/applications/quillet.desktop");
    const QString text = Read(entry);
    ASSERT_FALSE(text.isEmpty());
    const QStringList lines = text.split(u'\n');
    EXPECT_TRUE(lines.contains(QStringLiteral("Exec=quillet %F")));
    const QStringList mime = lines.filter(QStringLiteral("MimeType="));
    ASSERT_EQ(mime.size(), 1);
    for (const char* type : {"text/plain;", "text/rtf;", "application/rtf;"})
        EXPECT_TRUE(mime[0].contains(QLatin1String(type))) << type;
    // Nothing of the template is left unfilled, and the mirror's mark is only the mirror's.
    EXPECT_FALSE(text.contains(u'@'));
    EXPECT_FALSE(text.contains(QStringLiteral("X-Quillet-Mirror")));

    if (!HaveTool(QStringLiteral("desktop-file-validate")))
        GTEST_SKIP() << "desktop-file-validate is not installed (scripts/setup.sh installs it)";
    const RunResult valid = RunTool(QStringLiteral("desktop-file-validate"), {Path(entry)});
    EXPECT_EQ(valid.exitCode, 0);
    EXPECT_EQ(valid.out + valid.err, QString());
}

TEST_F(InstalledFilesTest, TheMetainfoNamesTheInstalledEntryAndPassesTheValidator)
{
    const QString metainfo = QStringLiteral("share/metainfo/io.github.quillet.Quillet.metainfo.xml");
    const QString text = Read(metainfo);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_TRUE(text.contains(QStringLiteral("<launchable type=\"desktop-id\">quillet.desktop</launchable>")));
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("share/applications/quillet.desktop"))));

    if (!HaveTool(QStringLiteral("appstreamcli")))
        GTEST_SKIP() << "appstreamcli is not installed (scripts/setup.sh installs it)";
    const RunResult valid = RunTool(QStringLiteral("appstreamcli"), {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                                                 Path(metainfo)});
    EXPECT_EQ(valid.exitCode, 0) << (valid.out + valid.err).toStdString();
}

TEST_F(InstalledFilesTest, EachProgramHasAManualPageThatFormatsWithoutWarningsAndTheToolsAnswerHelp)
{
    for (const char* tool : {"quillet-conv", "quillet-view"}) {
        const RunResult help = RunTool(Path(QStringLiteral("bin/") + QLatin1String(tool)), {QStringLiteral("--help")});
        EXPECT_EQ(help.exitCode, 0) << help.err.toStdString();
        EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: ") + QLatin1String(tool))) << help.out.toStdString();
    }
    for (const char* name : {"quillet", "quillet-conv", "quillet-view"}) {
        const QString page = Path(QStringLiteral("share/man/man1/%1.1.gz").arg(QLatin1String(name)));
        ASSERT_TRUE(QFileInfo::exists(page)) << name;
        if (!HaveTool(QStringLiteral("man")))
            continue;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        const RunResult shown = RunTool(QStringLiteral("man"), {QStringLiteral("--warnings"), QStringLiteral("-l"), page},
                                    60000, env);
        EXPECT_EQ(shown.exitCode, 0) << name;
        EXPECT_EQ(shown.err, QString()) << name;
        EXPECT_TRUE(shown.out.contains(QStringLiteral("NAME"))) << name;
        EXPECT_TRUE(shown.out.contains(QLatin1String(name))) << name;
    }
}

TEST_F(InstalledFilesTest, TheIconIsInTheHicolorThemeAtEverySizeItsFolderNames)
{
    const QString theme = QStringLiteral("share/icons/hicolor/");
    EXPECT_TRUE(Read(theme + QStringLiteral("scalable/apps/quillet.svg")).contains(QStringLiteral("<svg")));
    for (const QString& size : IconSizes) {
        QImageReader icon(Path(theme + size + u'x' + size + QStringLiteral("/apps/quillet.png")));
        EXPECT_EQ(icon.format(), QByteArray("png")) << size.toStdString();
        EXPECT_EQ(icon.size(), QSize(size.toInt(), size.toInt())) << size.toStdString();
    }
}

} // namespace
