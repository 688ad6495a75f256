// SPDX-License-Identifier: GPL-3.0-or-later
// The status bar: caret panel, line count, INS/OVR, and the progress bar with
// its ticker thread during a large load.
#include "testsupport.h"

#include "richedit.h"

#include <QKeyEvent>
#include <QTest>

namespace {

TEST_F(ViewTest, ThePanelsShowTheCaretTheLineCountAndTheInsertMode)
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

    EXPECT_EQ(w.StatusText(2), QStringLiteral("INS"));
    QTest::keyClick(w.GEditor->Window(), Qt::Key_Insert);
    EXPECT_EQ(w.StatusText(2), QStringLiteral("OVR"));
    EXPECT_TRUE(w.GEditor->Overwrite());
    QTest::keyClick(w.GEditor->Window(), Qt::Key_Insert);
    EXPECT_EQ(w.StatusText(2), QStringLiteral("INS"));
    EXPECT_FALSE(w.GEditor->Overwrite());
}

TEST_F(ViewTest, TheCaretsLineInALongWrappedTextFollowsOnceItsLinesAreCounted)
{
    QByteArray text;
    for (int i = 0; i < 8000; ++i)
        text += QByteArray::number(i) + QByteArray(" Съешь же ещё этих мягких французских булок, да выпей чаю.").repeated(i % 5 + 1)
                + "\r\n";
    TfmView& w = Start({MakeFile(QStringLiteral("prose.txt"), text)});
    w.sbWrap->click();
    platform::RichEdit* control = w.GEditor->Window();
    QTest::keyClick(control, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(control, Qt::Key_Left);
    // The line above the caret is not counted yet: the panel shows where the caret
    // stands in its line, and its number once the lines are counted.
    const std::int32_t pos = control->ExGetSel().cpMin;
    const QString column = QStringLiteral("  %1  ").arg(pos - control->LineStartFromChar(pos) + 1);
    EXPECT_TRUE(w.StatusText(0).startsWith(QStringLiteral(" [ \u2026  "))) << w.StatusText(0).toStdString();
    EXPECT_TRUE(w.StatusText(0).contains(column));
    EXPECT_EQ(w.StatusText(1), QStringLiteral(" \u2026"));
    QTRY_VERIFY_WITH_TIMEOUT(!w.StatusText(1).contains(QChar(0x2026)), 60000);
    const std::int32_t line = control->ExLineFromChar(pos);
    EXPECT_GT(line, 8000);
    EXPECT_EQ(w.StatusText(0), QStringLiteral(" [ %1%2%3 ]").arg(line + 1).arg(column).arg(control->LineLength(pos)));
    EXPECT_EQ(w.StatusText(1), QStringLiteral(" %1").arg(w.GEditor->Lines()->Count()));
}

TEST_F(ViewTest, ProgressReachesTheTickerOnALargeLoadAndEndsEmpty)
{
    QByteArray big;
    const QByteArray line("Съешь же ещё этих мягких французских булок, да выпей чаю. 0123456789\r\n");
    while (big.size() < 4 * 1024 * 1024)
        big += line;
    const QString file = MakeFile(QStringLiteral("big.txt"), big);
    TfmView& w = Start();
    w.GEditorStream(0, 0);   // an empty stream divides by nothing
    EXPECT_EQ(w.Progress.load(), 0);
    w.LoadNewFile(file, Win, false, 0, 0);
    EXPECT_GE(w.TickerStarts, 1);
    EXPECT_FALSE(w.TickerRunning());
    EXPECT_EQ(w.Progress.load(), 0);
    EXPECT_EQ(w.CurFileName, file);
}

} // namespace
