// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own files in an installed tree: language files and the help file
// are found beside the executable first, then in the data folder reached from it,
// one file per language; help falls back to the copy built into the program.
#include "testsupport.h"

#include "datafolders.h"
#include "helpviewer.h"
#include "languagefiles.h"
#include "languageoverride.h"
#include "shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QScrollBar>
#include <QSet>
#include <QTextBrowser>
#include <QUrl>

namespace {

// Records the links handed to the desktop instead of opening them.
class LinkRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened << url; }
};

// An installed tree in the test's folder: bin/quillet and share/quillet.
class InstalledTreeTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        ASSERT_TRUE(QDir(Path({})).mkpath(QStringLiteral("tree/bin")));
        ASSERT_TRUE(QDir(Path({})).mkpath(QStringLiteral("tree/share/quillet")));
        program = MakeFile(QStringLiteral("tree/bin/quillet"), "");
    }
    void TearDown() override
    {
        RemoveInterfaceLanguage();
        platform::SetSelfExecutable(QStringLiteral(QUILLET_APP_PATH));
        ViewTest::TearDown();
    }

    QString Data(const QString& name) const { return Path(QStringLiteral("tree/share/quillet/") + name); }
    QString Bin(const QString& name) const { return Path(QStringLiteral("tree/bin/") + name); }

    QString program;
};

TEST_F(InstalledTreeTest, FilesAreFoundBesideTheExecutableFirstThenInTheDataFolderEachOnce)
{
    const QStringList folders = DataFolders(program);
    ASSERT_GE(folders.size(), 2);
    EXPECT_EQ(folders[0], Path(QStringLiteral("tree/bin")));
    EXPECT_EQ(folders[1], Path(QStringLiteral("tree/share/quillet")));
    EXPECT_EQ(folders.size(), QSet<QString>(folders.begin(), folders.end()).size());

    EXPECT_TRUE(FindDataFile(program, QStringLiteral("Quillpad.hlp")).isEmpty());
    MakeFile(QStringLiteral("tree/share/quillet/Quillpad.hlp"), "<html>installed</html>");
    EXPECT_EQ(FindDataFile(program, QStringLiteral("Quillpad.hlp")), Data(QStringLiteral("Quillpad.hlp")));
    MakeFile(QStringLiteral("tree/bin/Quillpad.hlp"), "<html>beside</html>");
    EXPECT_EQ(FindDataFile(program, QStringLiteral("Quillpad.hlp")), Bin(QStringLiteral("Quillpad.hlp")));
    // A folder of that name is no file.
    ASSERT_TRUE(QDir().mkpath(Data(QStringLiteral("quillet.de"))));
    EXPECT_TRUE(FindDataFile(program, QStringLiteral("quillet.de")).isEmpty());
    ASSERT_TRUE(QDir().rmdir(Data(QStringLiteral("quillet.de"))));

    // Language files of both folders, one per language, the one beside the
    // executable first.
    for (const char* name : {"quillet.ru", "quillet.de", "quillet-conv.fr", "other.it"})
        MakeFile(QStringLiteral("tree/share/quillet/") + QLatin1String(name), "");
    MakeFile(QStringLiteral("tree/bin/quillet.ru"), "");
    QList<LanguageFile> files = LanguageFiles(program);
    ASSERT_EQ(files.size(), 2);
    // In file-name order, whichever folder each came from.
    EXPECT_EQ(files[0].Code, QStringLiteral("DE"));
    EXPECT_EQ(files[0].Path, Data(QStringLiteral("quillet.de")));
    EXPECT_EQ(files[1].Code, QStringLiteral("RU"));
    EXPECT_EQ(files[1].Path, Bin(QStringLiteral("quillet.ru")));

    ASSERT_TRUE(QFile::remove(Bin(QStringLiteral("quillet.ru"))));
    files = LanguageFiles(program);
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(files[1].Path, Data(QStringLiteral("quillet.ru")));
}

TEST_F(InstalledTreeTest, TheStoredLanguageIsInstalledFromTheDataFolderAndTheMenuListsIt)
{
    ASSERT_TRUE(QFile::copy(QFileInfo(QStringLiteral(QUILLET_APP_PATH)).dir().filePath(QStringLiteral("quillet.ru")),
                            Data(QStringLiteral("quillet.ru"))));
    platform::SetSelfExecutable(program);
    WriteLanguageOverride(program, QStringLiteral("RU"));
    ASSERT_EQ(InstallInterfaceLanguage(program), QStringLiteral("RU"));
    TfmView& w = Start();
    EXPECT_EQ(w.Menu(QStringLiteral("N8"))->title(), QString::fromUtf8("Файл"));
    w.FillLangMenu();
    QStringList codes;
    for (QAction* item : w.Menu(QStringLiteral("meLang"))->actions())
        if (item->isChecked())
            codes << item->data().toString();
    EXPECT_EQ(codes, QStringList{QStringLiteral("RU")});
    Discard();
}

TEST_F(InstalledTreeTest, HelpShowsTheInstalledFileAndTheBuiltInCopyWhenNoneIsInstalled)
{
    platform::SetSelfExecutable(program);
    EXPECT_EQ(HelpFileUrl(), QUrl(QStringLiteral("qrc:/help/Quillpad.hlp")));
    {
        THelpViewer builtIn;
        EXPECT_TRUE(builtIn.Browser()->toPlainText().contains(QStringLiteral("Quillet")));
    }

    MakeFile(QStringLiteral("tree/share/quillet/Quillpad.hlp"),
             "<html><body><p>Installed help</p><a href=\"#context60\">files</a>"
             "<p style=\"margin-top: 2000px\"><a name=\"context60\">The File menu</a></p></body></html>");
    EXPECT_EQ(HelpFileUrl(), QUrl::fromLocalFile(Data(QStringLiteral("Quillpad.hlp"))));
    THelpViewer viewer;
    EXPECT_TRUE(viewer.Browser()->toPlainText().startsWith(QStringLiteral("Installed help")));
    // A link into the file stays in the viewer: it scrolls, nothing is handed to the desktop.
    LinkRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "Open");
    viewer.ShowContext(HelpContext::Window);
    ASSERT_TRUE(WaitUntil([&] { return viewer.isVisible(); }));
    const int before = viewer.Browser()->verticalScrollBar()->value();
    emit viewer.Browser()->anchorClicked(QUrl::fromLocalFile(Data(QStringLiteral("Quillpad.hlp")))
                                             .resolved(QUrl(QStringLiteral("#context60"))));
    EXPECT_TRUE(WaitUntil([&] { return viewer.Browser()->verticalScrollBar()->value() > before; }, 3000));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    EXPECT_TRUE(recorder.opened.isEmpty());
}

} // namespace

#include "datafolders_test.moc"
