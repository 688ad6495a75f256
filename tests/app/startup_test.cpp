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

TEST_F(ViewTest, TheCommandLineLoadsItsFileOrSaysWhyNot)
{
    TfmView& empty = Start();
    EXPECT_TRUE(empty.TextReady);
    EXPECT_TRUE(empty.GEditor->IsEmpty());
    EXPECT_EQ(empty.windowTitle(), QStringLiteral("Quillet"));
    EXPECT_EQ(empty.StatusText(2), QStringLiteral("INS"));
    Discard();

    const QString file = MakeFile(QStringLiteral("letter one.txt"), QByteArray("first line\r\nsecond line\r\n"));
    TfmView& named = Start({file});
    EXPECT_EQ(named.CurFileName, file);
    EXPECT_EQ(named.windowTitle(), QStringLiteral("File ") + file);
    EXPECT_EQ(named.TaskBarText(), file + QStringLiteral(" - Quillet"));
    EXPECT_EQ(named.GEditor->Lines()->Get(1), QStringLiteral("second line"));
    EXPECT_FALSE(named.GEditor->Modified());
    Discard();

    // A bare name is looked for in the current folder.
    const QString saved = QDir::currentPath();
    QDir::setCurrent(dir.path());
    TfmView& bare = Start({QStringLiteral("letter one.txt")});
    QDir::setCurrent(saved);
    EXPECT_EQ(bare.CurFileName, file);
    EXPECT_TRUE(prompter.Asked().empty());
    Discard();

    // The view-request switch leaves the window empty and waiting.
    TfmView& waiting = Start({QStringLiteral("|?")});
    EXPECT_TRUE(waiting.AcceptCopyData);
    EXPECT_FALSE(waiting.TextReady);
    EXPECT_TRUE(waiting.GEditor->IsEmpty());
    EXPECT_TRUE(prompter.Asked().empty());
    Discard();

    const QString missing = Path(QStringLiteral("nowhere.txt"));
    TfmView& w = Start({missing});
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_EQ(Messages().first(), QStringLiteral("Can not find the file:  ") + missing);
    EXPECT_EQ(prompter.Asked().front().msgKind, MsgKind::Error);
    EXPECT_TRUE(w.CurFileName.isEmpty());
    EXPECT_TRUE(w.GEditor->IsEmpty());
}

TEST_F(ViewTest, EveryFileAfterTheFirstOpensInARealSecondCopy)
{
    const QString first = MakeFile(QStringLiteral("first.txt"), QByteArray("one\r\n"));
    const QString second = MakeFile(QStringLiteral("-second with blank.txt"), QByteArray("two\r\n"));
    const auto expectCopyOf = [](TfmView& w, const QString& file) {
        ASSERT_EQ(w.StartedCopies.size(), 1);
        const qint64 pid = w.StartedCopies.first();
        ASSERT_TRUE(WaitUntil([pid] { return CommandLineOf(pid).size() == 2; }));
        const QStringList copy = CommandLineOf(pid);
        EXPECT_EQ(QFileInfo(copy[0]).fileName(), QStringLiteral("quillet"));
        // The name reaches the copy whole, leading dash and blank included.
        EXPECT_EQ(copy[1], file);
        ::kill(static_cast<pid_t>(pid), SIGTERM);
        EXPECT_TRUE(WaitUntil([pid] { return ProcessGone(pid); }));
    };
    TfmView& w = Start({first, second});
    EXPECT_EQ(w.CurFileName, first);
    expectCopyOf(w, second);
    Discard();

    // The same from Open with two files chosen.
    TfmView& opened = Start();
    FileDialogAnswer answer;
    answer.files = {first, second};
    answer.filterIndex = 1;
    prompter.AnswerFile(answer);
    opened.sbOpenClick();
    ASSERT_EQ(prompter.Asked().size(), 1u);
    EXPECT_TRUE(prompter.Asked().front().request.multiSelect);
    EXPECT_EQ(opened.CurFileName, first);
    expectCopyOf(opened, second);
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

} // namespace
