// SPDX-License-Identifier: GPL-3.0-or-later
// The Debian package CPack makes from the finished build, in a temporary folder:
// what it holds and where, its control fields (the libraries found by shlibdeps),
// no maintainer scripts, since dpkg's triggers refresh the desktop's caches, and
// its licence in the machine-readable copyright file.
#include "packagingsupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class PackageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = new QTemporaryDir;
        if (!HaveTool(QStringLiteral("dpkg-deb")) || !HaveTool(QStringLiteral("dpkg-shlibdeps"))) {
            problem = QStringLiteral("dpkg-dev is not installed (scripts/setup.sh installs it)");
            return;
        }
        const RunResult packed = RunTool(QStringLiteral(QUILLET_CPACK),
                                     {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                                      QStringLiteral(QUILLET_BUILD_DIR "/CPackConfig.cmake"), QStringLiteral("-B"),
                                      folder->path()},
                                     300000);
        const QStringList made = QDir(folder->path()).entryList({QStringLiteral("quillet_*.deb")}, QDir::Files);
        if (packed.exitCode != 0 || made.size() != 1) {
            problem = QStringLiteral("cpack failed:\n") + packed.out + packed.err;
            return;
        }
        package = folder->filePath(made[0]);
        const RunResult listed = RunTool(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), package});
        for (const QString& line : listed.out.split(u'\n', Qt::SkipEmptyParts))
            contents << line.section(u' ', -1).remove(QRegularExpression(QStringLiteral("^\\./")));
        const RunResult info = RunTool(QStringLiteral("dpkg-deb"), {QStringLiteral("-I"), package});
        control = info.out;
    }
    static void TearDownTestSuite()
    {
        delete folder;
        folder = nullptr;
    }
    void SetUp() override
    {
        if (!problem.isEmpty() && problem.startsWith(QStringLiteral("dpkg-dev")))
            GTEST_SKIP() << problem.toStdString();
        ASSERT_EQ(problem, QString());
    }

    static QString Field(const QString& name)
    {
        for (const QString& line : control.split(u'\n'))
            if (line.trimmed().startsWith(name + u':'))
                return line.section(u':', 1).trimmed();
        return {};
    }

    static inline QTemporaryDir* folder = nullptr;
    static inline QString problem, package, control;
    static inline QStringList contents;
};

TEST_F(PackageTest, HoldsTheProgramsAndEveryFileTheDesktopAndTheProgramLookFor)
{
    const char* expected[] = {
        "usr/bin/quillet",
        "usr/bin/quillet-conv",
        "usr/bin/quillet-view",
        "usr/share/quillet/quillet.ru",
        "usr/share/quillet/Quillpad.hlp",
        "usr/share/applications/quillet.desktop",
        "usr/share/metainfo/io.github.quillet.Quillet.metainfo.xml",
        "usr/share/icons/hicolor/scalable/apps/quillet.svg",
        "usr/share/icons/hicolor/16x16/apps/quillet.png",
        "usr/share/icons/hicolor/48x48/apps/quillet.png",
        "usr/share/icons/hicolor/256x256/apps/quillet.png",
        "usr/share/man/man1/quillet.1.gz",
        "usr/share/man/man1/quillet-conv.1.gz",
        "usr/share/man/man1/quillet-view.1.gz",
        "usr/share/doc/quillet/copyright",
    };
    for (const char* path : expected)
        EXPECT_TRUE(contents.contains(QLatin1String(path))) << path << "\n" << contents.join(u'\n').toStdString();
    // Only what a user runs or the desktop reads: nothing of the build, nothing outside /usr.
    for (const QString& path : contents) {
        EXPECT_TRUE(path.isEmpty() || path.startsWith(QStringLiteral("usr/"))) << path.toStdString();
        EXPECT_FALSE(path.startsWith(QStringLiteral("usr/local"))) << path.toStdString();
        EXPECT_FALSE(path.endsWith(QStringLiteral(".a")) || path.endsWith(QStringLiteral(".h"))
                     || path.contains(QStringLiteral("_test")))
            << path.toStdString();
    }
}

TEST_F(PackageTest, ControlFieldsNameTheLibrariesFoundAndNoMaintainerScripts)
{
    EXPECT_FALSE(Field(QStringLiteral("Maintainer")).isEmpty());
    EXPECT_FALSE(Field(QStringLiteral("Description")).isEmpty());
    // Computed by dpkg-shlibdeps from the executables, not written by hand.
    const QString depends = Field(QStringLiteral("Depends"));
    for (const char* library : {"libqt6widgets6", "libqt6printsupport6", "libqt6network6", "libsqlite3-0", "libc6"})
        EXPECT_TRUE(depends.contains(QLatin1String(library))) << library << ": " << depends.toStdString();
#ifdef QUILLET_QT_ABI_VERSION
    // Built with Qt's private headers, it needs the very Qt it was built with.
    EXPECT_TRUE(depends.contains(QLatin1String("qt6-base-abi (= " QUILLET_QT_ABI_VERSION ")"))) << depends.toStdString();
#endif
    // The menu and icon caches are refreshed by dpkg's triggers; no script of ours runs.
    for (const char* script : {"preinst", "postinst", "prerm", "postrm"})
        EXPECT_FALSE(control.contains(QLatin1String(script))) << script;
}

TEST_F(PackageTest, DeclaresTheGplVersion3OrLaterInAMachineReadableCopyrightFile)
{
    const QString root = folder->filePath(QStringLiteral("root"));
    ASSERT_EQ(RunTool(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), package, root}).exitCode, 0);
    QFile file(root + QStringLiteral("/usr/share/doc/quillet/copyright"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // The machine-readable form: every file under the licence, and the licence's text.
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.startsWith(QStringLiteral("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
                                               "Upstream-Name: Quillet\n")));
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\n\nFiles: \\*\nCopyright: \\S.*\nLicense: GPL-3.0-or-later\n\n"))));
    EXPECT_TRUE(text.contains(QStringLiteral("\n\nLicense: GPL-3.0-or-later\n This program is free software")));
    for (const char* words : {"either version 3 of the License, or", "/usr/share/common-licenses/GPL-3"})
        EXPECT_TRUE(text.contains(QLatin1String(words))) << words;
    QFile metainfo(root + QStringLiteral("/usr/share/metainfo/io.github.quillet.Quillet.metainfo.xml"));
    ASSERT_TRUE(metainfo.open(QIODevice::ReadOnly));
    EXPECT_TRUE(metainfo.readAll().contains("<project_license>GPL-3.0-or-later</project_license>"));
    EXPECT_FALSE(control.contains(QStringLiteral("proprietary"), Qt::CaseInsensitive));
}

} // namespace
