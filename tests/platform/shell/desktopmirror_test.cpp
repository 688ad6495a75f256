// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop mirror on real XDG folders: the desktop opens the chosen types
// with us and shows our menus, the installed entry is named and never hidden,
// the user's own defaults and files come back when ours go, nothing of ours is
// left when nothing is checked, and a failure leaves every file as it was.
#include "desktopentry.h"
#include "desktoperror.h"
#include "desktopmirror.h"
#include "mimepackage.h"
#include "mirrortestsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

using platform::DesktopMirror;
using platform::DesktopState;

namespace {

class DesktopMirrorTest : public MirrorTest {
protected:
    void SetUp() override
    {
        MirrorTest::SetUp();
        // xdg-mime takes the first word of Exec as it stands, so a path that
        // needs quoting is tried where the desktop's own parsing is tested.
        program = MakeRecorder(QStringLiteral("bin"));
    }

    DesktopState State(const QStringList& extensions, bool fileMenu = false, bool folderMenu = false) const
    {
        DesktopState state;
        state.program = program;
        state.extensions = extensions;
        state.fileMenu = fileMenu;
        state.fileMenuCaption = QStringLiteral("Load with Quillet");
        state.folderMenu = folderMenu;
        return state;
    }

    static void Mirror(const DesktopState& state)
    {
        DesktopMirror mirror;
        mirror.Apply(state);
        mirror.Commit();
    }

    // A desktop entry of another program, installed for the user.
    void InstallOther(const QString& id)
    {
        Write(Data(QStringLiteral("applications/") + id),
              "[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/true %f\nMimeType=text/plain;\n");
    }

    // Starts an Exec value exactly as it stands in one of our files, the way the
    // desktop reads it, with one file or none; answers the arguments the program got.
    QStringList LaunchExec(const QByteArray& exec, const QString& file = {})
    {
        const QString entry = dir.filePath(QStringLiteral("launch.desktop"));
        Write(entry, "[Desktop Entry]\nType=Application\nName=Launch\nExec=" + exec + "\n");
        QStringList arguments{QStringLiteral("launch"), entry};
        if (!file.isEmpty())
            arguments << file;
        EXPECT_EQ(Run(QStringLiteral("gio"), arguments), 0);
        return Recorded();
    }

    static QByteArray KeyOf(const QByteArray& text, const QByteArray& key)
    {
        for (const QByteArray& line : text.split('\n'))
            if (line.startsWith(key + '='))
                return line.mid(key.size() + 1);
        return {};
    }

    // The program as a package installs it: an entry in the system's data
    // folder that starts it by name, found along PATH, and that folder's cache.
    void InstallPackage()
    {
        Write(systemData + QStringLiteral("/applications/quillet.desktop"),
              "[Desktop Entry]\nType=Application\nName=Quillet\nExec=quillet %F\nMimeType=text/plain;text/rtf;\n");
        // As the package manager's trigger does.
        Run(QStringLiteral("update-desktop-database"), {systemData + QStringLiteral("/applications")});
        qputenv("PATH", QFile::encodeName(QFileInfo(program).path()) + ':' + path);
    }

    // The applications "Open with" offers for the type.
    static QString OpenWith(const QString& type)
    {
        QString out;
        Run(QStringLiteral("gio"), {QStringLiteral("mime"), type}, &out);
        return out.section(QStringLiteral("Registered applications:"), 1).section(QStringLiteral("Recommended"), 0, 0);
    }

    QString program;
};

TEST_F(DesktopMirrorTest, TheInstalledEntryIsNamedAndNeverHiddenAndOnlyAnUninstalledCopyGetsItsOwn)
{
    InstallPackage();
    // What an earlier version wrote under the installed entry's name, hiding it.
    Write(Data(QStringLiteral("applications/quillet.desktop")),
          "[Desktop Entry]\nType=Application\nName=Quillet\nExec=" + program.toUtf8()
              + " %f\nMimeType=text/plain;\nX-Quillet-Mirror=true\n");
    ASSERT_FALSE(OpenWith(QStringLiteral("text/rtf")).contains(QStringLiteral("quillet.desktop")));

    Mirror(State({QStringLiteral("TXT"), QStringLiteral("CFG")}));
    EXPECT_FALSE(QFileInfo::exists(Data(QStringLiteral("applications/quillet.desktop"))));
    EXPECT_FALSE(QFileInfo::exists(Data(QStringLiteral("applications/quillet-private.desktop"))));
    EXPECT_EQ(DefaultFor(QStringLiteral("text/plain")), QStringLiteral("quillet.desktop"));
    EXPECT_EQ(DefaultFor(platform::DeclaredTypeName(QStringLiteral("CFG"))), QStringLiteral("quillet.desktop"));
    // Still offered for every type it opens, checked or not.
    EXPECT_TRUE(OpenWith(QStringLiteral("text/rtf")).contains(QStringLiteral("quillet.desktop")));

    // A build started from its own folder is not what the installed entry
    // starts: it gets an entry of its own, beside the installed one.
    const QString installed = program;
    program = MakeRecorder(QStringLiteral("build"));
    Mirror(State({QStringLiteral("TXT")}));
    EXPECT_EQ(DefaultFor(QStringLiteral("text/plain")), QStringLiteral("quillet-private.desktop"));
    EXPECT_TRUE(OpenWith(QStringLiteral("text/rtf")).contains(QStringLiteral("quillet.desktop")));
    EXPECT_FALSE(Read(Config(QStringLiteral("mimeapps.list"))).contains("=quillet.desktop"));

    // Installed later: the defaults move to the installed entry and the own one goes.
    program = installed;
    Mirror(State({QStringLiteral("TXT")}));
    EXPECT_EQ(DefaultFor(QStringLiteral("text/plain")), QStringLiteral("quillet.desktop"));
    EXPECT_FALSE(QFileInfo::exists(Data(QStringLiteral("applications/quillet-private.desktop"))));
    EXPECT_FALSE(Read(Config(QStringLiteral("mimeapps.list"))).contains("quillet-private"));

    Mirror(State({}));
    EXPECT_FALSE(QFileInfo::exists(Config(QStringLiteral("mimeapps.list"))));
    EXPECT_TRUE(QDir(Data(QStringLiteral("applications"))).entryList({QStringLiteral("*.desktop")}).isEmpty());
}

TEST_F(DesktopMirrorTest, NothingCheckedLeavesTheHomeAsItWasWithoutAFolderOrCacheOfOurs)
{
    Write(Config(QStringLiteral("user-dirs.locale")), "ru_RU\n");
    const QMap<QString, QByteArray> before = Tree();
    const DesktopState all = State({QStringLiteral("TXT"), QStringLiteral("CFG")}, true, true);

    // Applied but not committed, as when the store then fails: the caches the
    // tools built go too.
    {
        DesktopMirror mirror;
        mirror.Apply(all);
        ASSERT_TRUE(QFileInfo::exists(Data(QStringLiteral("mime/mime.cache"))));
    }
    EXPECT_EQ(Tree().keys(), before.keys());

    Mirror(all);
    Mirror(State({QStringLiteral("TXT")}, true));
    Mirror(State({}));
    EXPECT_EQ(Tree().keys(), before.keys());
    EXPECT_EQ(Tree(), before);
}

TEST_F(DesktopMirrorTest, ACheckedExtensionOpensWithUsAndThePreviousDefaultComesBack)
{
    InstallOther(QStringLiteral("other.desktop"));
    const QByteArray before =
        "# the user's own\n[Default Applications]\ntext/plain=other.desktop;\nimage/png=viewer.desktop;\n";
    Write(Config(QStringLiteral("mimeapps.list")), before);
    ASSERT_EQ(DefaultFor(QStringLiteral("text/plain")), QStringLiteral("other.desktop"));

    Mirror(State({QStringLiteral("TXT"), QStringLiteral("CFG")}));
    EXPECT_EQ(DefaultFor(QStringLiteral("text/plain")), QStringLiteral("quillet-private.desktop"));
    // CFG has no type of its own on this desktop: we declare one and take it.
    const QString cfg = platform::DeclaredTypeName(QStringLiteral("CFG"));
    EXPECT_EQ(DefaultFor(cfg), QStringLiteral("quillet-private.desktop"));
    EXPECT_TRUE(Read(Data(QStringLiteral("mime/globs2"))).contains((cfg + QStringLiteral(":*.cfg")).toUtf8()));
    const QByteArray entry = Read(Data(QStringLiteral("applications/quillet-private.desktop")));
    EXPECT_EQ(KeyOf(entry, "MimeType"), "text/plain;" + cfg.toUtf8() + ";");
    QString out;
    EXPECT_EQ(
        Run(QStringLiteral("desktop-file-validate"), {Data(QStringLiteral("applications/quillet-private.desktop"))}, &out), 0)
        << out.toStdString();

    // Unchecked again: the other program is the default once more, the user's
    // file is byte for byte as it was, and nothing of ours is left.
    Mirror(State({}));
    EXPECT_EQ(DefaultFor(QStringLiteral("text/plain")), QStringLiteral("other.desktop"));
    EXPECT_EQ(Read(Config(QStringLiteral("mimeapps.list"))), before);
    EXPECT_FALSE(QFileInfo::exists(Data(QStringLiteral("applications/quillet-private.desktop"))));
    EXPECT_FALSE(QFileInfo::exists(Data(QStringLiteral("mime/packages/quillet.xml"))));
    EXPECT_FALSE(QFileInfo::exists(DesktopMirror::StateFolder()));
}

TEST_F(DesktopMirrorTest, ADefaultTheUserChoseSinceIsNotTakenBackByALaterSave)
{
    Mirror(State({QStringLiteral("TXT")}));
    InstallOther(QStringLiteral("later.desktop"));
    Write(Config(QStringLiteral("mimeapps.list")),
          "[Default Applications]\ntext/plain=later.desktop;quillet-private.desktop;\n\n"
          "[Added Associations]\ntext/plain=quillet-private.desktop;\n");

    Mirror(State({QStringLiteral("TXT")}, true));
    EXPECT_EQ(DefaultFor(QStringLiteral("text/plain")), QStringLiteral("later.desktop"));
    Mirror(State({}));
    EXPECT_EQ(Read(Config(QStringLiteral("mimeapps.list"))),
              QByteArray("[Default Applications]\ntext/plain=later.desktop;\n"));
}

TEST_F(DesktopMirrorTest, EveryEntryStartsTheProgramWithTheFileAsItIs)
{
    program = MakeRecorder();
    const QString file = dir.filePath(QStringLiteral("a b'c\"$d.txt"));
    Write(file, "text");
    Mirror(State({QStringLiteral("TXT")}, true, true));

    const QByteArray entry = Read(Data(QStringLiteral("applications/quillet-private.desktop")));
    EXPECT_EQ(LaunchExec(KeyOf(entry, "Exec"), file), QStringList{file});
    for (const QString& menu : {QStringLiteral("kio/servicemenus/quillet-load.desktop"),
                                QStringLiteral("nemo/actions/quillet-load.nemo_action"),
                                QStringLiteral("file-manager/actions/quillet-load.desktop")}) {
        const QByteArray text = Read(Data(menu));
        EXPECT_TRUE(text.contains("Load with Quillet")) << menu.toStdString();
        EXPECT_EQ(LaunchExec(KeyOf(text, "Exec"), file), QStringList{file}) << menu.toStdString();
    }
    // The folder entries start the program alone.
    EXPECT_EQ(LaunchExec(KeyOf(Read(Data(QStringLiteral("kio/servicemenus/quillet-folder.desktop"))), "Exec")),
              QStringList{});

    // Scripts get the selected files as their arguments.
    for (const QString& script : {Data(QStringLiteral("nautilus/scripts/Load with Quillet")),
                                  Config(QStringLiteral("caja/scripts/Load with Quillet"))}) {
        ASSERT_TRUE(QFileInfo(script).isExecutable()) << script.toStdString();
        EXPECT_EQ(Run(script, {file, QStringLiteral("second one")}), 0);
        EXPECT_EQ(Recorded(), (QStringList{file, QStringLiteral("second one")}));
    }

    // Thunar reads its command with shell rules and quotes the files itself.
    const QString actions = QString::fromUtf8(Read(Config(QStringLiteral("Thunar/uca.xml"))));
    const QRegularExpressionMatch command =
        QRegularExpression(QStringLiteral("<unique-id>quillet-load</unique-id>\\s*<command>([^<]*)</command>"))
            .match(actions);
    ASSERT_TRUE(command.hasMatch()) << actions.toStdString();
    QString line = command.captured(1);
    line.replace(QStringLiteral("&quot;"), QStringLiteral("\"")).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    line.replace(QStringLiteral("&lt;"), QStringLiteral("<")).replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    line.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    line.replace(QStringLiteral("%F"), QStringLiteral("'a b'\\''c\"$d.txt'"));
    EXPECT_EQ(
        Run(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("cd '%1' && %2").arg(dir.path(), line)}),
        0);
    EXPECT_EQ(Recorded(), QStringList{QStringLiteral("a b'c\"$d.txt")});
}

TEST_F(DesktopMirrorTest, TheUsersOwnFilesOfOurNamesComeBackWhenOursGo)
{
    // A launcher the user made with a menu editor, and their own Thunar actions.
    const QByteArray launcher = "[Desktop Entry]\nType=Application\nName=My Quillet\nExec=/bin/true\n";
    Write(Data(QStringLiteral("applications/quillet-private.desktop")), launcher);
    const QByteArray system = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n<action>\n\t<name>Open "
                              "Terminal Here</name>\n\t<unique-id>1-1</unique-id>\n</action>\n</actions>\n";
    Write(systemConfig + QStringLiteral("/Thunar/uca.xml"), system);
    const QMap<QString, QByteArray> before = Snapshot();

    Mirror(State({QStringLiteral("TXT")}, true, true));
    EXPECT_NE(Read(Data(QStringLiteral("applications/quillet-private.desktop"))), launcher);
    // The system's actions stay in the menu beside ours.
    const QByteArray actions = Read(Config(QStringLiteral("Thunar/uca.xml")));
    EXPECT_TRUE(actions.contains("<unique-id>1-1</unique-id>"));
    EXPECT_TRUE(actions.contains("<unique-id>quillet-load</unique-id>"));
    EXPECT_TRUE(actions.contains("<unique-id>quillet-folder</unique-id>"));

    Mirror(State({}));
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(DesktopMirrorTest, AFailureLeavesEveryFileAsItWas)
{
    InstallOther(QStringLiteral("other.desktop"));
    Write(Config(QStringLiteral("mimeapps.list")), "[Default Applications]\ntext/plain=other.desktop;\n");
    Mirror(State({QStringLiteral("LOG")}));
    const QMap<QString, QByteArray> before = Snapshot();

    // Thunar's file is a folder here: nothing can be written in its place.
    ASSERT_TRUE(QDir().mkpath(Config(QStringLiteral("Thunar/uca.xml"))));
    EXPECT_THROW(Mirror(State({QStringLiteral("TXT"), QStringLiteral("CFG")}, false, true)), platform::DesktopError);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(DefaultFor(QStringLiteral("text/plain")), QStringLiteral("other.desktop"));
    EXPECT_FALSE(QFileInfo::exists(Data(QStringLiteral("mime/packages/quillet.xml"))));

    // Applied but never committed, as when the store then fails: all put back.
    QDir(Config(QStringLiteral("Thunar"))).removeRecursively();
    {
        DesktopMirror mirror;
        mirror.Apply(State({QStringLiteral("TXT")}, false, true));
        EXPECT_EQ(DefaultFor(QStringLiteral("text/plain")), QStringLiteral("quillet-private.desktop"));
    }
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(DefaultFor(QStringLiteral("text/plain")), QStringLiteral("other.desktop"));
}

TEST_F(DesktopMirrorTest, AProgramPathNoEntryCanHoldIsRefusedBeforeAnythingIsWritten)
{
    DesktopState state = State({QStringLiteral("TXT")});
    state.program = dir.filePath(QStringLiteral("new\nline"));
    EXPECT_THROW(Mirror(state), platform::DesktopError);
    state.program = QStringLiteral("relative/quillet");
    EXPECT_THROW(Mirror(state), platform::DesktopError);
    EXPECT_TRUE(Snapshot().isEmpty());
}

} // namespace
