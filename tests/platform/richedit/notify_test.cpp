// SPDX-License-Identifier: GPL-3.0-or-later
// Notifications under the event mask: EN_CHANGE, EN_SELCHANGE, EN_PROTECTED.
#include "richedit.h"
#include "testsupport.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace platform;
using namespace platform::test;

namespace {

struct Counts {
    int change = 0;
    int selChange = 0;
};

void Count(RichEdit& edit, Counts& counts)
{
    edit.OnChange = [&counts] { ++counts.change; };
    edit.OnSelChange = [&counts] { ++counts.selChange; };
}

TEST(Notify, ChangeAndSelChangeFollowTheMask)
{
    struct Case {
        std::uint32_t mask;
        bool change, sel;
    };
    for (const Case& c : {Case{0, false, false}, Case{ENM_CHANGE, true, false}, Case{ENM_SELCHANGE, false, true},
                          Case{ENM_CHANGE | ENM_SELCHANGE, true, true}}) {
        RichEdit edit;
        Counts counts;
        Count(edit, counts);
        edit.SetEventMask(c.mask);
        edit.ReplaceSel(u"some text"_qs, true);    // one change, and the caret moves
        EXPECT_EQ(counts.change, c.change ? 1 : 0) << c.mask;
        EXPECT_EQ(counts.selChange, c.sel ? 1 : 0) << c.mask;
        edit.SetSel(0, 4);
        EXPECT_EQ(counts.selChange, c.sel ? 2 : 0) << c.mask;
        edit.SetSel(0, 4);                          // no change, no notification
        EXPECT_EQ(counts.selChange, c.sel ? 2 : 0) << c.mask;
        EXPECT_EQ(counts.change, c.change ? 1 : 0) << c.mask;
    }
}

TEST(Notify, EachOperationChangesOnce)
{
    RichEdit edit;
    Counts counts;
    Count(edit, counts);
    edit.SetEventMask(ENM_CHANGE);
    edit.SetText(u"a\r\nb\r\nc"_qs);
    EXPECT_EQ(counts.change, 1);
    StreamIn(edit, SF_TEXT, QByteArray("x\r\ny\r\nz"));
    EXPECT_EQ(counts.change, 2);
    edit.SetSel(0, -1);
    edit.Clear();
    EXPECT_EQ(counts.change, 3);
    edit.Undo();
    EXPECT_EQ(counts.change, 4);
    QTest::keyClicks(&edit, u"ab"_qs);
    EXPECT_EQ(counts.change, 6);
}

TEST(Notify, ProtectedTextIsRefusedUnlessTheHandlerAllows)
{
    RichEdit edit;
    edit.SetText(u"free LOCKED free"_qs);
    edit.SetSel(5, 11);
    CHARFORMAT2 protect;
    protect.dwMask = CFM_PROTECTED;
    protect.dwEffects = CFE_PROTECTED;
    edit.SetCharFormat(SCF_SELECTION, protect);
    edit.SetEventMask(ENM_PROTECTED);

    // No handler: refused.
    edit.SetSel(6, 8);
    edit.ReplaceSel(u"x"_qs, true);
    EXPECT_EQ(edit.GetTextRange(0, -1), u"free LOCKED free"_qs);
    edit.SetSel(7, 7);
    QTest::keyClicks(&edit, u"y"_qs);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.GetTextRange(0, -1), u"free LOCKED free"_qs);

    // Outside and at the edges typing goes on.
    edit.SetSel(11, 11);
    QTest::keyClicks(&edit, u"!"_qs);
    EXPECT_EQ(edit.GetTextRange(0, -1), u"free LOCKED! free"_qs);

    // The handler sees the range and decides.
    std::vector<std::pair<int, int>> asked;
    bool allow = false;
    edit.OnProtected = [&](std::int32_t a, std::int32_t b) {
        asked.emplace_back(a, b);
        return allow;
    };
    edit.SetSel(3, 7);
    edit.Clear();
    EXPECT_EQ(edit.GetTextRange(0, -1), u"free LOCKED! free"_qs);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], std::make_pair(3, 7));
    allow = true;
    edit.Clear();
    EXPECT_EQ(edit.GetTextRange(0, -1), u"freCKED! free"_qs);

    // Without the mask bit the protection is not enforced.
    allow = false;
    edit.SetEventMask(0);
    edit.SetSel(4, 6);
    edit.Clear();
    EXPECT_EQ(edit.GetTextRange(0, -1), u"freCD! free"_qs);
}

} // namespace
