// SPDX-License-Identifier: GPL-3.0-or-later
// File commands through the real window: Save as in every encoding, the save
// question's answers, the modified flag after undo past a save, export line
// ends, read-only targets and folders, the recent-files list in the store, and
// names that cannot be loaded.
#include "testsupport.h"
#include "testsupport_store.h"
#include "testsupport_dialogs.h"

#include "qlconsts.h"
#include "registry.h"
#include "registrylayout.h"
#include "richedit.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

namespace {

constexpr const char* FilesKey = RegistryKeys::Files;

struct SavedAs {
    int filterIndex;
    std::uint8_t encoding;
    const char* name;
    QByteArray bytes;
};

class SaveAsTest : public ViewTest, public ::testing::WithParamInterface<SavedAs> {};

TEST_P(SaveAsTest, WritesTheShownTextInTheChosenEncoding)
{
    const SavedAs c = GetParam();
    TfmView& w = Start();
    w.GEditor->SetText(QStringLiteral("Привет ёж"));
    const QString target = Path(QString::fromLatin1(c.name));
    prompter.AnswerFile(Chosen(target, c.filterIndex));
    w.N12Click();
    EXPECT_TRUE(prompter.Problems().isEmpty()) << prompter.Problems().join(QStringLiteral("; ")).toStdString();
    const QString written = QFileInfo(target).suffix().isEmpty() ? target + QStringLiteral(".txt") : target;
    EXPECT_EQ(ReadFile(written), c.bytes);
    EXPECT_EQ(w.CurFileName, written);
    EXPECT_EQ(w.CurEncoding, c.encoding);
    ASSERT_NE(w.encodingGroup->button(c.encoding), nullptr);
    EXPECT_TRUE(w.encodingGroup->button(c.encoding)->isChecked());
    EXPECT_FALSE(w.GEditor->Modified());
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, SaveAsTest,
    ::testing::Values(SavedAs{1, Dos, "dos", QByteArray::fromHex("8fe0a8a2a5e220f1a6")},
                      SavedAs{2, Win, "win.txt", QByteArray::fromHex("cff0e8e2e5f220b8e6")},
                      SavedAs{3, Koi, "koi.txt", QByteArray::fromHex("f0d2c9d7c5d420a3d6")},
                      SavedAs{4, Mac, "mac.txt", QByteArray::fromHex("8ff0e8e2e5f220dee6")},
                      SavedAs{5, Iso, "iso.txt", QByteArray::fromHex("bfe0d8d2d5e220f1d6")},
                      SavedAs{6, Uni, "uni.txt", QByteArray::fromHex("1f0440043804320435044204200051043604")},
                      SavedAs{8, Utf8, "utf8.txt", QByteArray::fromHex("d09fd180d0b8d0b2d0b5d18220d191d0b6")}),
    [](const ::testing::TestParamInfo<SavedAs>& info) {
        return QString::fromLatin1(info.param.name).section(QLatin1Char('.'), 0, 0).toStdString();
    });

TEST_F(ViewTest, SaveAsAsksBeforeReplacingAndTheRtfFilterAddsItsExtension)
{
    const QString target = MakeFile(QStringLiteral("kept.txt"), QByteArray("old contents"));
    TfmView& w = Start();
    w.GEditor->SetText(QStringLiteral("Привет"));
    prompter.AnswerFile(Chosen(target, 2)).AnswerMessage(MsgButton::No);
    EXPECT_TRUE(w.SaveTxt(false, 0));
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_EQ(Messages().first(), QStringLiteral("File ") + target + QStringLiteral(" is already exists. Rewrite it?"));
    prompter.AnswerFile(Chosen(target, 2)).AnswerMessage(MsgButton::Cancel);
    EXPECT_FALSE(w.SaveTxt(false, 0));
    EXPECT_EQ(ReadFile(target), QByteArray("old contents"));

    prompter.AnswerFile(Chosen(Path(QStringLiteral("formatted")), 7));
    w.N12Click();
    EXPECT_EQ(w.CurFileName, Path(QStringLiteral("formatted.rtf")));
    EXPECT_TRUE(ReadFile(Path(QStringLiteral("formatted.rtf"))).startsWith("{\\rtf"));
    EXPECT_EQ(w.CurEncoding, Rtf);
}

TEST_F(ViewTest, TheSaveQuestionsAnswersSaveHereSaveElsewhereOrKeepTheWindow)
{
    const QString file = MakeFile(QStringLiteral("source.txt"), QByteArray("text\r\n"));
    TfmView& w = Start({file});
    w.GEditor->SetText(QStringLiteral("changed"));
    w.GEditor->SetModified(true);
    // All: Save as.
    const QString target = Path(QStringLiteral("copy.txt"));
    prompter.AnswerMessage(MsgButton::All).AnswerFile(Chosen(target, 2));
    EXPECT_TRUE(w.QuestSave());
    ASSERT_EQ(prompter.Asked().size(), 2u);
    EXPECT_EQ(prompter.Asked()[0].text, QStringLiteral("The text was changed. Do you want save it?"));
    EXPECT_EQ(prompter.Asked()[0].buttons, MsgButton::Yes | MsgButton::No | MsgButton::Cancel | MsgButton::All);
    EXPECT_EQ(prompter.Asked()[1].kind, PromptKind::SaveFile);
    EXPECT_EQ(ReadFile(target), QByteArray("changed"));
    EXPECT_EQ(ReadFile(file), QByteArray("text\r\n"));

    // Yes: quietly to the named file.
    prompter.Clear();
    w.GEditor->SetText(QStringLiteral("edited"));
    w.GEditor->SetModified(true);
    prompter.AnswerMessage(MsgButton::Yes);
    EXPECT_TRUE(w.QuestSave());
    EXPECT_EQ(prompter.Asked().size(), 1u);
    EXPECT_EQ(ReadFile(target), QByteArray("edited"));

    // Cancel at the close keeps the window.
    w.GEditor->SetModified(true);
    prompter.AnswerMessage(MsgButton::Cancel);
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    prompter.AnswerMessage(MsgButton::No);
    EXPECT_TRUE(w.close());
}

TEST_F(ViewTest, UndoPastASaveMarksTheTextModifiedUntilWhatIsShownIsSavedAgain)
{
    const QString file = MakeFile(QStringLiteral("named.txt"), QByteArray("text"));
    TfmView& w = Start({file});
    platform::RichEdit* control = w.GEditor->Window();
    control->SetSel(4, 4);
    QTest::keyClicks(control, QStringLiteral("s"));
    QTest::keyClick(control, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(ReadFile(file), QByteArray("texts"));
    EXPECT_FALSE(w.GEditor->Modified());

    // Back past the save point: the text differs from the file again.
    QTest::keyClick(control, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(w.GEditor->Text(), QStringLiteral("text"));
    EXPECT_TRUE(w.GEditor->Modified());
    EXPECT_TRUE(w.sbSave->isEnabled());
    prompter.AnswerMessage(MsgButton::Cancel);
    QTest::keyClick(control, Qt::Key_Escape);
    EXPECT_EQ(prompter.Asked().size(), 1u);
    EXPECT_TRUE(w.isVisible());
    QTest::keyClick(control, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadFile(file), QByteArray("text"));

    // Redo leaves the saved state, undo comes back to it.
    QTest::keyClick(control, Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(w.GEditor->Modified());
    QTest::keyClick(control, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(w.GEditor->Modified());
    EXPECT_FALSE(w.sbSave->isEnabled());
}

TEST_F(ViewTest, ExportDropsTheOtherLineEndByWholeUnitsAndRefusesRtf)
{
    TfmView& w = Start();
    w.GEditor->SetText(QStringLiteral("строка один\nстрока два\nтри"));
    prompter.AnswerFile(Chosen(Path(QStringLiteral("unix.txt")), 2));
    w.UnixLF1Click();
    const QByteArray unix = ReadFile(Path(QStringLiteral("unix.txt")));
    EXPECT_FALSE(unix.contains('\r'));
    EXPECT_EQ(unix.count('\n'), 2);
    prompter.AnswerFile(Chosen(Path(QStringLiteral("mac.txt")), 2));
    w.MacintoshCR1Click();
    const QByteArray mac = ReadFile(Path(QStringLiteral("mac.txt")));
    EXPECT_FALSE(mac.contains('\n'));
    EXPECT_EQ(mac.count('\r'), 2);

    // U+0D0A would be taken apart by a byte filter; it must survive whole.
    w.GEditor->SetText(QStringLiteral("a\nb") + QChar(0x0D0A));
    prompter.AnswerFile(Chosen(Path(QStringLiteral("uni.txt")), 6));
    w.UnixLF1Click();
    EXPECT_EQ(ReadFile(Path(QStringLiteral("uni.txt"))), QByteArray::fromHex("61000a0062000a0d"));

    prompter.AnswerFile(Chosen(Path(QStringLiteral("r.rtf")), 7));
    w.UnixLF1Click();
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("RTF text export is not allowed")});
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("r.rtf"))));
}

TEST_F(ViewTest, AReadOnlyTargetIsWrittenAndKeepsItsProtection)
{
    const QString file = MakeFile(QStringLiteral("locked.txt"), QByteArray("old\r\n"));
    QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup);
    TfmView& w = Start({file});
    w.GEditor->SetText(QStringLiteral("new"));
    w.GEditor->SetModified(true);
    w.N19Click();
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(ReadFile(file), QByteArray("new"));
    // Owner, group and others only: the "user" bits say what the tester may do.
    EXPECT_EQ(QFileInfo(file).permissions() & 0x7077, QFile::ReadOwner | QFile::ReadGroup);
}

TEST_F(ViewTest, AFolderThatTakesNoNewFileGetsItsFileWrittenInPlaceAndNoNewOne)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the super-user writes into any folder (quillet-conv's tests run this as another user)";
    QDir(dir.path()).mkdir(QStringLiteral("locked"));
    const QString folder = Path(QStringLiteral("locked"));
    const QString file = MakeFile(QStringLiteral("locked/kept.txt"), QByteArray("old\r\n"));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    TfmView& w = Start({file});
    w.GEditor->SetText(QStringLiteral("new"));
    w.GEditor->SetModified(true);
    w.N19Click();
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join(QStringLiteral("; ")).toStdString();
    EXPECT_EQ(ReadFile(file), QByteArray("new"));
    EXPECT_FALSE(w.GEditor->Modified());

    // A new name there cannot be made: refused, nothing lost, nothing made.
    w.GEditor->SetModified(true);
    prompter.AnswerFile(Chosen(Path(QStringLiteral("locked/other.txt")), 2));
    w.N12Click();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(Messages().size(), 1);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("kept.txt")});
    EXPECT_TRUE(w.GEditor->Modified());
    EXPECT_EQ(w.CurFileName, file);
}

TEST_F(ViewTest, TheRecentListTakesEachFileLeftWithItsCaretAndShowsItFirst)
{
    // The list's order, its length and its values are checked where it is stored.
    TfmView& w = Start();
    QStringList files;
    for (int i = 1; i <= 3; ++i)
        files << MakeFile(QStringLiteral("file%1.txt").arg(i), QByteArray("line one\r\nline two\r\n"));
    for (const QString& f : files) {
        w.LoadNewFile(f, Win, false, 0, 0);
        w.GEditor->SetSelStart(3);
        w.UpdateHist();
    }
    w.LoadNewFile(files[0], Win, false, 0, 0);
    w.UpdateHist();
    platform::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(FilesKey, false));
    EXPECT_EQ(QString::fromStdString(reg.ReadString("File1")), files[0]);
    EXPECT_EQ(QString::fromStdString(reg.ReadString("File2")), files[2]);
    EXPECT_EQ(reg.ReadInteger("File2Pos"), 3);
    EXPECT_EQ(reg.ReadInteger("File2Kod"), Win);
    EXPECT_FALSE(reg.ValueExists("File4"));
    EXPECT_EQ(w.Item(QStringLiteral("File1"))->text(), files[0]);
    EXPECT_TRUE(w.Item(QStringLiteral("File3"))->isVisible());
    EXPECT_FALSE(w.Item(QStringLiteral("File4"))->isVisible());
}

TEST_F(ViewTest, ABigEndianEntryReloadsAsBigEndianAtItsCaret)
{
    // "ab\r\ncd" in UTF-16 big endian with its byte-order mark.
    const QString file = MakeFile(QStringLiteral("big.txt"), QByteArray::fromHex("feff00610062000d000a00630064"));
    Store(FilesKey, {{"File1", file.toStdString()}, {"File1Kod", Uni}, {"File1Pos", 4}, {"File1Uni", true}});
    TfmView& w = Start();
    ASSERT_TRUE(w.Item(QStringLiteral("File1"))->isVisible());
    w.Item(QStringLiteral("File1"))->trigger();
    EXPECT_EQ(w.CurFileName, file);
    EXPECT_EQ(w.CurEncoding, Uni);
    EXPECT_EQ(w.GEditor->UniType(), Big);
    EXPECT_EQ(w.GEditor->SelStart(), 4);
    EXPECT_TRUE(w.GEditor->Text().contains(QStringLiteral("cd")));
    w.UpdateHist();
    platform::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(FilesKey, false));
    EXPECT_TRUE(reg.ReadBool("File1Uni"));
}

TEST_F(ViewTest, ANameThatCannotBeLoadedIsReportedForWhatItIs)
{
    // What is there but is no regular file is said to be so, not to be missing.
    const QString fifo = Path(QStringLiteral("pipe.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = Path(QStringLiteral("folder.txt"));
    ASSERT_TRUE(QDir().mkdir(folder));
    for (const QString& name : {fifo, folder, QStringLiteral("/dev/zero")}) {
        Discard();
        TfmView& w = Start({name});
        ASSERT_FALSE(Messages().isEmpty()) << name.toStdString();
        EXPECT_EQ(Messages().last(), Tr(QlConsts::NotRegularFile).arg(name));
        EXPECT_TRUE(w.CurFileName.isEmpty());
        EXPECT_TRUE(w.GEditor->IsEmpty());
    }
    Store(FilesKey, {{"File1", Path(QStringLiteral("gone.txt")).toStdString()}, {"File1Kod", Win},
                     {"File2", folder.toStdString()}, {"File2Kod", Win}});
    Discard();
    const qsizetype before = Messages().size();
    TfmView& w = Start();
    w.FileClick(1);
    w.FileClick(2);
    EXPECT_EQ(Messages().mid(before), (QStringList{QStringLiteral("Can not find the file: ") + Path(QStringLiteral("gone.txt")),
                                                   Tr(QlConsts::NotRegularFile).arg(folder)}));
    EXPECT_TRUE(w.CurFileName.isEmpty());
}

} // namespace
