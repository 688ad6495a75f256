// SPDX-License-Identifier: GPL-3.0-or-later
// The status bar: caret panel, line count, INS/OVR and hints, and the progress
// bar with its ticker thread during a large load.
#include "testsupport.h"

#include "richedit.h"
#include "statuspanels.h"

#include <QKeyEvent>
#include <QTest>

namespace {

TEST_F(ViewTest, TheCaretPanelShowsLineColumnAndLength)
{
    const QString file = MakeFile(QStringLiteral("three.txt"), QByteArray("first\r\nsecond\r\nthird line\r\nlast"));
    TfmView& w = Start({file});
    const std::int32_t third = static_cast<std::int32_t>(QByteArray("first\nsecond\n").size());
    w.GEditor->SetSelStart(third);
    QCoreApplication::processEvents();
    w.StrCount();
    EXPECT_EQ(w.StatusText(0), QStringLiteral(" [ 3  1  10 ]"));
    w.GEditor->SetSelStart(third + 4);
    w.StrCount();
    EXPECT_EQ(w.StatusText(0), QStringLiteral(" [ 3  5  10 ]"));
    w.AllStrCount();
    EXPECT_EQ(w.StatusText(1), QStringLiteral(" 4"));
}

TEST_F(ViewTest, InsertSwitchesBetweenInsAndOvr)
{
    TfmView& w = Start();
    EXPECT_EQ(w.StatusText(2), QStringLiteral("INS"));
    QTest::keyClick(w.GEditor->Window(), Qt::Key_Insert);
    EXPECT_EQ(w.StatusText(2), QStringLiteral("OVR"));
    EXPECT_TRUE(w.GEditor->Overwrite());
    EXPECT_EQ(w.stbPanels->HintAt(240), QStringLiteral("Overwrite mode"));
    QTest::keyClick(w.GEditor->Window(), Qt::Key_Insert);
    EXPECT_EQ(w.StatusText(2), QStringLiteral("INS"));
    EXPECT_EQ(w.stbPanels->HintAt(240), QStringLiteral("Insert mode"));
}

TEST_F(ViewTest, HintsFollowThePointerAcrossThePanels)
{
    TfmView& w = Start();
    EXPECT_EQ(w.stbPanels->HintAt(3), QStringLiteral("[line number, position in line, length of line]"));
    EXPECT_EQ(w.stbPanels->HintAt(150), QStringLiteral("All lines count"));
    EXPECT_EQ(w.stbPanels->HintAt(135), QString());
    EXPECT_EQ(w.stbPanels->HintAt(400), QString());
}

TEST_F(ViewTest, ProgressReachesTheTickerOnALargeLoadAndEndsEmpty)
{
    QByteArray big;
    const QByteArray line("Съешь же ещё этих мягких французских булок, да выпей чаю. 0123456789\r\n");
    while (big.size() < 4 * 1024 * 1024)
        big += line;
    const QString file = MakeFile(QStringLiteral("big.txt"), big);
    TfmView& w = Start();
    w.LoadNewFile(file, Win, false, 0, 0);
    EXPECT_GE(w.TickerStarts, 1);
    EXPECT_FALSE(w.TickerRunning());
    EXPECT_EQ(w.Progress.load(), 0);
    EXPECT_EQ(w.CurFileName, file);
}

TEST_F(ViewTest, StreamEventsFillTheFirstQuarterAndAZeroTotalLeavesItEmpty)
{
    TfmView& w = Start();
    w.GEditorStream(0, 0);
    EXPECT_EQ(w.Progress.load(), 0);
    w.LoadStartTick = TfmView::TickNow();
    w.GEditorStream(1000, 500);  // 2.5 rounds to even
    EXPECT_EQ(w.Progress.load(), 2);
    w.GEditorStream(1000, 700);
    EXPECT_EQ(w.Progress.load(), 4);
    EXPECT_FALSE(w.TickerRunning());
    w.GEditorStream(1000, 1000);
    EXPECT_TRUE(w.TickerRunning());
    // Further stream events change nothing while the ticker runs.
    w.GEditorStream(1000, 0);
    EXPECT_GE(w.Progress.load(), 5);
    w.GEditorResizeRequest();
    EXPECT_EQ(w.Progress.load(), 99);
    EXPECT_EQ(w.ProgressMode.load(), 1);
    w.EndProgress();
    EXPECT_FALSE(w.TickerRunning());
    EXPECT_EQ(w.Progress.load(), 0);
}

} // namespace
