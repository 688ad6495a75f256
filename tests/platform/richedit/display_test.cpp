// SPDX-License-Identifier: GPL-3.0-or-later
// Display operations: colours, redraw, scrolling by lines, size requests, and
// the scroll bar kept on for texts too long for Qt's layout progress.
#include "richedit.h"
#include "testsupport.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace platform;
using namespace platform::test;

namespace {

TEST(Display, BackgroundColourAndSystemColour)
{
    RichEdit edit;
    edit.SetBkgndColor(false, RgbColor(10, 20, 30));
    EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(10, 20, 30));
    edit.SetBkgndColor(true, 0);
    EXPECT_EQ(edit.palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
}

TEST(Display, RedrawOffStopsPaintingAndLineScrollMovesByLines)
{
    RichEdit edit;
    edit.resize(300, 100);
    edit.SetScrollBars(false, true);
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    edit.SetRedraw(false);
    EXPECT_FALSE(edit.viewport()->updatesEnabled());
    edit.SetRedraw(true);
    EXPECT_TRUE(edit.viewport()->updatesEnabled());

    edit.SetText(QString(u"line\r\n"_qs).repeated(200));
    QApplication::processEvents();
    QScrollBar* bar = edit.verticalScrollBar();
    bar->setValue(0);
    edit.VScrollLines(3);
    const int afterThree = bar->value();
    EXPECT_GT(afterThree, 0);
    edit.VScrollLines(-1);
    EXPECT_LT(bar->value(), afterThree);
    EXPECT_GT(bar->value(), 0);
}

TEST(Display, SizeRequestsFollowTheMask)
{
    RichEdit edit;
    edit.resize(300, 100);
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    std::vector<QRect> asked;
    edit.OnRequestResize = [&](const QRect& r) { asked.push_back(r); };
    edit.ReplaceSel(u"a\r\nb\r\nc\r\nd"_qs, true);
    QApplication::processEvents();
    EXPECT_TRUE(asked.empty());
    edit.SetEventMask(ENM_REQUESTRESIZE);
    edit.ReplaceSel(u"\r\ne\r\nf\r\ng"_qs, true);
    QApplication::processEvents();
    ASSERT_FALSE(asked.empty());
    EXPECT_GT(asked.back().height(), 0);
}

TEST(Display, ReadOnlyRefusesTypingButKeepsSelecting)
{
    RichEdit edit;
    edit.SetText(u"fixed"_qs);
    edit.SetReadOnly(true);
    edit.SetSel(0, 0);
    QTest::keyClicks(&edit, u"xy"_qs);
    QTest::keyClick(&edit, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(edit.GetTextRange(0, -1), u"fixed"_qs);
    EXPECT_EQ(edit.ExGetSel(), (CHARRANGE{0, 1}));
    edit.SetReadOnly(false);
    QTest::keyClicks(&edit, u"F"_qs);
    EXPECT_EQ(edit.GetTextRange(0, -1), u"Fixed"_qs);
}

} // namespace
