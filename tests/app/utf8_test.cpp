// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 through the real window: a file opens right with no button pressed, the
// button, key and menu item reinterpret and come back, a selection is refused,
// Save as and export write UTF-8, the recent list carries it, and
// a file with bytes that are not UTF-8 is said once and not saved over unasked.
#include "testsupport.h"
#include "testsupport_dialogs.h"

#include "registry.h"
#include "registrylayout.h"
#include "richedit.h"

#include <QTest>

namespace {

const QString Greeting = QStringLiteral("Привет, мир! 😀");

// What the bytes of a text say when read as Windows-1251, as the control reads them.
QString AsWindows(const QByteArray& bytes)
{
    TqxEditor editor;
    TMemoryStream stream(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    editor.SetEncoding(Win);
    editor.Lines()->LoadFromStream(stream);
    return editor.Text();
}

TEST_F(ViewTest, AUtf8FileOpensRightWithNoButtonPressed)
{
    const QString file = MakeFile(QStringLiteral("privet-utf8.txt"), (Greeting + QStringLiteral("\r\nвторая")).toUtf8());
    TfmView& w = Start({file});
    ASSERT_TRUE(WaitUntil([&] { return w.CurFileName == file && w.TextReady; }));
    EXPECT_EQ(w.CurEncoding, Utf8);
    EXPECT_TRUE(w.sbUtf8->isChecked());
    EXPECT_EQ(w.GEditor->Lines()->Get(0), Greeting);
    EXPECT_EQ(w.GEditor->Lines()->Get(1), QStringLiteral("вторая"));
    EXPECT_FALSE(w.GEditor->Modified());
    EXPECT_TRUE(prompter.Asked().empty());

    // Left, it is remembered as UTF-8 and comes back as UTF-8 even where
    // detection would say otherwise.
    MakeFile(QStringLiteral("privet-utf8.txt"), QByteArray("plain"));
    w.UpdateHist();
    {
        platform::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(RegistryKeys::Files, false));
        EXPECT_EQ(reg.ReadInteger("File1Kod"), 8);
    }
    w.SetKodP(Win);
    w.Item(QStringLiteral("File1"))->trigger();
    EXPECT_EQ(w.CurEncoding, Utf8);
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("plain"));
}

TEST_F(ViewTest, ReinterpretingToWindowsAndBackGivesTheStartingText)
{
    const QByteArray bytes = (Greeting + QStringLiteral("\r\nещё")).toUtf8();
    const QString file = MakeFile(QStringLiteral("named.txt"), bytes);
    TfmView& w = Start({file});
    ASSERT_TRUE(WaitUntil([&] { return w.CurFileName == file && w.TextReady; }));
    const QString start = w.GEditor->Text();

    // A named, unchanged file is read again from disk each time.
    w.sbWin->click();
    EXPECT_EQ(w.CurEncoding, Win);
    EXPECT_EQ(w.GEditor->Text(), AsWindows(bytes));
    QTest::keyClick(w.GEditor->Window(), Qt::Key_8, Qt::ControlModifier);
    EXPECT_EQ(w.CurEncoding, Utf8);
    EXPECT_TRUE(w.sbUtf8->isChecked());
    EXPECT_EQ(w.GEditor->Text(), start);

    // An edited text goes through the snapshot: every press decodes the bytes it
    // had before the first, so UTF-8 at the end gives it back exactly.
    QTest::keyClicks(w.GEditor->Window(), QStringLiteral("z"));
    const QString edited = w.GEditor->Text();
    w.sbWin->click();
    w.sbKoi->click();
    EXPECT_EQ(w.CurEncoding, Koi);
    w.Item(QStringLiteral("mUtf8"))->trigger();
    EXPECT_EQ(w.CurEncoding, Utf8);
    EXPECT_EQ(w.GEditor->Text(), edited);
    EXPECT_TRUE(w.GEditor->Modified());
    EXPECT_TRUE(prompter.Asked().empty()) << Messages().join(QStringLiteral(" | ")).toStdString();
}

TEST_F(ViewTest, ASelectionIsNotConvertedToOrFromUtf8)
{
    TfmView& w = Start();
    w.GEditor->SetText(Greeting);
    w.GEditor->SetModified(true);
    w.GEditor->Window()->ExSetSel({0, 6});
    w.sbUtf8->click();
    EXPECT_EQ(w.GEditor->Text(), Greeting);
    EXPECT_EQ(w.CurEncoding, Win);
    EXPECT_TRUE(w.sbWin->isChecked());

    w.GEditor->Window()->ExSetSel({0, 0});
    w.sbUtf8->click();   // the whole text is converted
    ASSERT_EQ(w.CurEncoding, Utf8);
    const QString whole = w.GEditor->Text();
    w.GEditor->Window()->ExSetSel({0, 3});
    w.sbKoi->click();
    EXPECT_EQ(w.GEditor->Text(), whole);
    EXPECT_EQ(w.CurEncoding, Utf8);
    // Hiding the extra buttons keeps the UTF-8 one, checked in the menu too.
    w.mAllBClick();
    EXPECT_TRUE(w.sbKoi->isHidden());
    EXPECT_FALSE(w.sbUtf8->isHidden());
    emit w.Menu(QStringLiteral("N33"))->aboutToShow();
    EXPECT_TRUE(w.Item(QStringLiteral("mUtf8"))->isChecked());
    EXPECT_FALSE(w.Item(QStringLiteral("mWin"))->isChecked());
}

TEST_F(ViewTest, AfterSavingAsUtf8ExportOffersUtf8AndWritesIt)
{
    TfmView& w = Start();
    w.GEditor->SetText(QStringLiteral("Привет ёж\nвторая 😀"));
    prompter.AnswerFile(Chosen(Path(QStringLiteral("utf8")), 8));
    w.N12Click();
    EXPECT_EQ(ReadFile(Path(QStringLiteral("utf8.txt"))), QStringLiteral("Привет ёж\r\nвторая 😀").toUtf8());

    // Unix line ends drop the CR bytes, which never occur inside a UTF-8 sequence.
    const QString unix = Path(QStringLiteral("unix.txt"));
    prompter.AnswerFile(Chosen(unix, 8));
    w.UnixLF1Click();
    ASSERT_FALSE(prompter.Asked().empty());
    EXPECT_EQ(prompter.Asked().back().request.filterIndex, 8);
    EXPECT_EQ(ReadFile(unix), QStringLiteral("Привет ёж\nвторая 😀").toUtf8());
    EXPECT_TRUE(prompter.Problems().isEmpty()) << prompter.Problems().join(QStringLiteral("; ")).toStdString();
}

TEST_F(ViewTest, BytesThatAreNotUtf8AreSaidOnceAndTheFileIsNotSavedOverUnasked)
{
    // Valid up to its last letter, which the end cuts in half.
    QByteArray bytes = Greeting.toUtf8() + QStringLiteral("\r\nконец").toUtf8();
    bytes.chop(1);
    const QString file = MakeFile(QStringLiteral("cut.txt"), bytes);
    prompter.AnswerMessage(MsgButton::Ok);
    TfmView& w = Start({file});
    ASSERT_TRUE(WaitUntil([&] { return w.CurFileName == file && w.TextReady; }));
    EXPECT_EQ(w.CurEncoding, Utf8);
    EXPECT_EQ(w.GEditor->Lines()->Get(1), QStringLiteral("коне\uFFFD"));
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_EQ(prompter.Asked().front().msgKind, MsgKind::Information);
    EXPECT_TRUE(Messages().first().contains(file));
    EXPECT_TRUE(Messages().first().contains(QStringLiteral("(1 in all)")));

    // Saving over the file asks first; No keeps the file and the edit.
    QTest::keyClicks(w.GEditor->Window(), QStringLiteral("x"));
    prompter.AnswerMessage(MsgButton::No);
    w.N19Click();
    ASSERT_EQ(Messages().size(), 2);
    EXPECT_EQ(prompter.Asked().back().msgKind, MsgKind::Confirmation);
    EXPECT_EQ(ReadFile(file), bytes);
    EXPECT_TRUE(w.GEditor->Modified());

    // Closing with Yes to the save question asks the same and can still be stopped.
    prompter.AnswerMessage(MsgButton::Yes).AnswerMessage(MsgButton::No);
    EXPECT_FALSE(w.QuestSave());
    EXPECT_EQ(ReadFile(file), bytes);

    // Yes writes what is shown; from then on the file holds it and nothing is asked.
    prompter.AnswerMessage(MsgButton::Yes);
    w.N19Click();
    EXPECT_EQ(ReadFile(file), ("x" + Greeting + QStringLiteral("\r\nконе\uFFFD")).toUtf8());
    EXPECT_FALSE(w.GEditor->Modified());
    const qsizetype asked = Messages().size();
    QTest::keyClicks(w.GEditor->Window(), QStringLiteral("y"));
    w.N19Click();
    EXPECT_EQ(Messages().size(), asked);
    EXPECT_TRUE(prompter.Problems().isEmpty()) << prompter.Problems().join(QStringLiteral("; ")).toStdString();
}

} // namespace
