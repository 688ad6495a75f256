// SPDX-License-Identifier: GPL-3.0-or-later
// Starting the window: no arguments, files on the command line (a second one
// opens in a real second copy), missing files, and the view-request switch.
#include "testsupport.h"
#include "testsupport_copies.h"

#include "qlconsts.h"
#include "richedit.h"

#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

#include <csignal>
#include <sys/types.h>

namespace {

TEST_F(ViewTest, StartsEmptyWithoutArguments)
{
    TfmView& w = Start();
    EXPECT_TRUE(w.TextReady);
    EXPECT_TRUE(w.CurFileName.isEmpty());
    EXPECT_TRUE(w.GEditor->IsEmpty());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Quillet"));
    EXPECT_EQ(w.TaskBarText(), QStringLiteral("Quillet"));
    EXPECT_EQ(w.StatusText(2), QStringLiteral("INS"));
    EXPECT_TRUE(prompter.Asked().empty());
    EXPECT_TRUE(w.StartedCopies.isEmpty());
}

TEST_F(ViewTest, LoadsTheFileNamedOnTheCommandLine)
{
    const QString file = MakeFile(QStringLiteral("letter one.txt"), QByteArray("first line\r\nsecond line\r\n"));
    TfmView& w = Start({file});
    EXPECT_EQ(w.CurFileName, file);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("File ") + file);
    EXPECT_EQ(w.TaskBarText(), file + QStringLiteral(" - Quillet"));
    EXPECT_EQ(w.GEditor->Lines()->Get(1), QStringLiteral("second line"));
    EXPECT_FALSE(w.GEditor->Modified());
    EXPECT_TRUE(w.TextReady);
    EXPECT_TRUE(prompter.Asked().empty());
}

TEST_F(ViewTest, ASecondFileOpensInARealSecondCopy)
{
    const QString first = MakeFile(QStringLiteral("first.txt"), QByteArray("one\r\n"));
    const QString second = MakeFile(QStringLiteral("-second with blank.txt"), QByteArray("two\r\n"));
    TfmView& w = Start({first, second});
    EXPECT_EQ(w.CurFileName, first);
    ASSERT_EQ(w.StartedCopies.size(), 1);
    const qint64 pid = w.StartedCopies.first();
    ASSERT_TRUE(WaitUntil([pid] { return CommandLineOf(pid).size() == 2; }));
    const QStringList copy = CommandLineOf(pid);
    EXPECT_EQ(QFileInfo(copy[0]).fileName(), QStringLiteral("quillet"));
    // The name reaches the copy whole, leading dash and blank included.
    EXPECT_EQ(copy[1], second);
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    EXPECT_TRUE(WaitUntil([pid] { return ProcessGone(pid); }));
}

TEST_F(ViewTest, AMissingFileIsReportedAndNothingLoads)
{
    const QString missing = Path(QStringLiteral("nowhere.txt"));
    TfmView& w = Start({missing});
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_EQ(Messages().first(), QStringLiteral("Can not find the file:  ") + missing);
    EXPECT_EQ(prompter.Asked().front().msgKind, MsgKind::Error);
    EXPECT_TRUE(w.CurFileName.isEmpty());
    EXPECT_TRUE(w.GEditor->IsEmpty());
}

TEST_F(ViewTest, ABareNameIsFoundInTheCurrentFolder)
{
    MakeFile(QStringLiteral("bare.txt"), QByteArray("bare\r\n"));
    const QString saved = QDir::currentPath();
    QDir::setCurrent(dir.path());
    TfmView& w = Start({QStringLiteral("bare.txt")});
    QDir::setCurrent(saved);
    EXPECT_EQ(w.CurFileName, QFileInfo(Path(QStringLiteral("bare.txt"))).absoluteFilePath());
    EXPECT_TRUE(prompter.Asked().empty());
}

TEST_F(ViewTest, OpenLoadsTheFirstChosenFileAndStartsACopyForEachOther)
{
    const QString first = MakeFile(QStringLiteral("a.txt"), QByteArray("a\r\n"));
    const QString second = MakeFile(QStringLiteral("b.txt"), QByteArray("b\r\n"));
    TfmView& w = Start();
    FileDialogAnswer answer;
    answer.files = {first, second};
    answer.filterIndex = 1;
    prompter.AnswerFile(answer);
    w.sbOpenClick();
    ASSERT_EQ(prompter.Asked().size(), 1u);
    EXPECT_TRUE(prompter.Asked().front().request.multiSelect);
    EXPECT_EQ(w.CurFileName, first);
    ASSERT_EQ(w.StartedCopies.size(), 1);
    const qint64 pid = w.StartedCopies.first();
    EXPECT_TRUE(WaitUntil([pid, second] { return CommandLineOf(pid).value(1) == second; }));
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    EXPECT_TRUE(WaitUntil([pid] { return ProcessGone(pid); }));
}

TEST_F(ViewTest, MarginKeysStepTheSideMarginsAndEscClosesTheWindow)
{
    TfmView& w = Start();
    QWidget* editor = w.GEditor->Window();
    QTest::keyClick(editor, Qt::Key_Right, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(editor, Qt::Key_Right, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(w.IndentStep, 2);
    EXPECT_EQ(w.GEditor->x(), w.sbWin->x() + 24);
    EXPECT_TRUE(w.bbLeft->isVisibleTo(&w));
    QTest::keyClick(editor, Qt::Key_Left, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(editor, Qt::Key_Left, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(editor, Qt::Key_Left, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(w.IndentStep, 0);
    EXPECT_EQ(w.GEditor->x(), 0);
    EXPECT_FALSE(w.bbLeft->isVisibleTo(&w));
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(prompter.Asked().empty());
}

TEST_F(ViewTest, TheViewRequestSwitchLeavesTheWindowEmptyAndWaiting)
{
    TfmView& w = Start({QStringLiteral("|?")});
    EXPECT_TRUE(w.AcceptCopyData);
    EXPECT_FALSE(w.TextReady);
    EXPECT_TRUE(w.GEditor->IsEmpty());
    EXPECT_TRUE(prompter.Asked().empty());
}

TEST_F(ViewTest, EveryMenuItemOfTheMainMenuIsThereWithItsCaption)
{
    TfmView& w = Start();
    struct Case {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
    };
    const Case cases[] = {
        {"N9", "New", QKeySequence(QStringLiteral("Ctrl+N"))},
        {"N10", "New window", QKeySequence(QStringLiteral("Ctrl+W"))},
        {"meClsW", "Close window  (Esc)", {}},
        {"meOpenW", "Open in new window...", QKeySequence(QStringLiteral("Ctrl+Alt+O"))},
        {"N12", "Save as...", QKeySequence(QStringLiteral("Ctrl+Alt+S"))},
        {"mPreview", "Print preview", QKeySequence(QStringLiteral("Ctrl+Alt+P"))},
        {"mFrw", "Redo", QKeySequence(QStringLiteral("Ctrl+Alt+Z"))},
        {"N28", "Choice of font", QKeySequence(QStringLiteral("Shift+F10"))},
        {"N52", "Lines wrapping", QKeySequence(QStringLiteral("Ctrl+B"))},
        {"ESC1", "Full screen", QKeySequence(QStringLiteral("Ctrl+U"))},
        {"mIso", "ISO 8859-5", QKeySequence(QStringLiteral("Ctrl+5"))},
        {"m2DotDash", "Dash and two dot", {}},
        {"mnLetE", "(a) (b) (c)", {}},
        {"CtrlF111", "Marking by color (Ctrl-F11)", {}},
        {"pmSaved5", "Saved screen 5", {}},
        {"N18", "Email to author", {}},
    };
    for (const Case& c : cases) {
        QAction* item = w.Item(QString::fromLatin1(c.name));
        ASSERT_NE(item, nullptr) << c.name;
        EXPECT_EQ(item->text(), QString::fromUtf8(c.caption)) << c.name;
        EXPECT_EQ(item->shortcut(), c.shortcut) << c.name;
    }
    // Commands of later work are shown but cannot be chosen.
    for (const char* later : {"N13"})
        EXPECT_FALSE(w.Item(QString::fromLatin1(later))->isEnabled()) << later;
    EXPECT_FALSE(w.sbPrint->isEnabled());
    EXPECT_EQ(w.sbIso->toolTip(), QStringLiteral("To ISO 8859-5  encoding"));
    EXPECT_EQ(w.sbNastr->toolTip(), QStringLiteral("Saving options of the program"));
}

TEST_F(ViewTest, HidingTheExtraEncodingButtonsMovesTheRestLeftByThreeButtons)
{
    TfmView& w = Start();
    const int wrapX = w.sbWrap->x();
    const int nastrX = w.sbNastr->x();
    w.mAllBClick();
    EXPECT_TRUE(w.sbKoi->isHidden());
    EXPECT_TRUE(w.sbMac->isHidden());
    EXPECT_TRUE(w.sbIso->isHidden());
    EXPECT_EQ(w.sbWrap->x(), wrapX - 3 * 25);
    EXPECT_EQ(w.sbNastr->x(), nastrX - 3 * 25);
    w.ShowAlignButtons(false);
    EXPECT_EQ(w.sbNastr->x(), nastrX - 3 * 25 - 5 * 25 - 2 * 4);
    EXPECT_FALSE(w.Bevels[8]->isVisibleTo(&w));
}

} // namespace
