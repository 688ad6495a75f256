// SPDX-License-Identifier: GPL-3.0-or-later
// Automatic links: detection as text arrives or is typed, undo, and EN_LINK.
#include "richedit.h"
#include "testsupport.h"

#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

using namespace platform;
using namespace platform::test;

namespace {

TEST(Links, AddressesAreFoundInLoadedTextOnlyWhenDetectionIsOn)
{
    RichEdit edit;
    edit.AutoUrlDetect(true);
    EXPECT_TRUE(edit.GetAutoUrlDetect());
    StreamIn(edit, SF_TEXT, "see http://a.ru/x, www.b.com and mailto:c@d.e.\r\nfile:///tmp/f; nohttp://x");
    EXPECT_TRUE(IsLink(edit, 4, 17));
    EXPECT_FALSE(IsLink(edit, 17, 18));          // trailing comma
    EXPECT_TRUE(IsLink(edit, 19, 28));
    EXPECT_TRUE(IsLink(edit, 33, 45));
    EXPECT_FALSE(IsLink(edit, 45, 46));
    EXPECT_TRUE(IsLink(edit, 47, 60));
    EXPECT_FALSE(IsLink(edit, 62, 72));          // not at the start of a word
    EXPECT_FALSE(edit.CanUndo());
    EXPECT_FALSE(edit.GetModify());

    RichEdit off;
    StreamIn(off, SF_TEXT, "http://a.ru");
    EXPECT_FALSE(IsLink(off, 0, 11));
}

TEST(Links, TypedAddressBecomesALinkWhenItsWordEndsAndUndoesStepByStep)
{
    RichEdit edit;
    edit.AutoUrlDetect(true);
    QTest::keyClicks(&edit, u"go www.x.org"_qs);
    QTest::keyClicks(&edit, u" "_qs);
    EXPECT_TRUE(IsLink(edit, 3, 12));
    EXPECT_FALSE(IsLink(edit, 12, 13));
    EXPECT_EQ(edit.GetUndoName(), UID_TYPING);
    // Breaking the address removes the link.
    edit.SetSel(6, 7);
    QTest::keyClicks(&edit, u" "_qs);
    EXPECT_FALSE(IsLink(edit, 3, 6));
    edit.Undo();
    EXPECT_TRUE(IsLink(edit, 3, 12));
    // The space that ended the address and made the link, then the typing.
    edit.Undo();
    EXPECT_EQ(edit.GetTextRange(0, -1), u"go www.x.org"_qs);
    EXPECT_FALSE(IsLink(edit, 3, 12));
    edit.Undo();
    EXPECT_EQ(edit.GetTextRange(0, -1), QString());
}

TEST(Links, ClickOnALinkIsReportedWithItsRangeWhenTheMaskAsks)
{
    RichEdit edit;
    edit.resize(400, 200);
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    edit.AutoUrlDetect(true);
    edit.SetText(u"open https://example.org now"_qs);
    std::vector<ENLINK> seen;
    edit.OnLink = [&](const ENLINK& link) { seen.push_back(link); };

    edit.SetSel(8, 8);
    const QPoint onLink = edit.cursorRect().center() + QPoint(2, 0);
    edit.SetSel(0, 0);
    const QPoint offLink = edit.cursorRect().center() + QPoint(2, 0);

    QTest::mouseClick(edit.viewport(), Qt::LeftButton, {}, onLink);
    EXPECT_TRUE(seen.empty());                   // mask bit off

    edit.SetEventMask(ENM_LINK);
    QTest::mouseClick(edit.viewport(), Qt::LeftButton, {}, onLink);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].msg, LinkMessage::LeftButtonDown);
    EXPECT_EQ(seen[1].msg, LinkMessage::LeftButtonUp);
    EXPECT_EQ(seen[1].chrg, (CHARRANGE{5, 24}));
    seen.clear();
    QTest::mouseClick(edit.viewport(), Qt::LeftButton, {}, offLink);
    EXPECT_TRUE(seen.empty());
}

} // namespace
