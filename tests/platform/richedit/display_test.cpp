// SPDX-License-Identifier: GPL-3.0-or-later
// Display operations: size requests, read-only and overwrite.
#include "richedit.h"
#include "testsupport.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace platform;
using namespace platform::test;

namespace {

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

TEST(Display, ReadOnlyRefusesTypingButKeepsSelectingAndOverwriteTypesOver)
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

    // Insert switches to typing over the characters, and back.
    edit.SetSel(0, 0);
    QTest::keyClick(&edit, Qt::Key_Insert);
    EXPECT_TRUE(edit.Overwrite());
    QTest::keyClicks(&edit, u"XY"_qs);
    EXPECT_EQ(edit.GetTextRange(0, -1), u"XYxed"_qs);
    QTest::keyClick(&edit, Qt::Key_Insert);
    EXPECT_FALSE(edit.Overwrite());
}

} // namespace
