// SPDX-License-Identifier: GPL-3.0-or-later
// Automatic links: detection as text arrives or is typed, undo, and EN_LINK.
#include "richedit.h"
#include "testsupport.h"

#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <tuple>

using namespace platform;
using namespace platform::test;

namespace {

TEST(Links, AddressesInLoadedTextAreFoundOnlyWhenDetectionIsOnWhateverTheReadsCutAndAreShownAsLinks)
{
    // Addresses in any case, far down, some cut by the edges of the reads.
    QString text;
    for (int i = 0; i < 3000; ++i)
        text += u"plain line, no address: here.\n"_qs;
    const int first = int(text.size()) + 4;
    text += u"see HTTP://a.ru/x, WWW.b.com and MAILTO:c@d.e.\nfile:///f wwwx.ru nohttp://x\n"_qs;
    for (int i = 0; i < 50; ++i)
        text += u"one more plain line.\n"_qs;
    const int last = int(text.size());
    text += u"www.end.org"_qs;
    QByteArray bytes = text.toLatin1();
    bytes.replace("\n", "\r\n");

    for (const int block : {3, 7, 1000, INT_MAX}) {
        SCOPED_TRACE(block);
        RichEdit edit;
        edit.AutoUrlDetect(true);
        ByteSource source{bytes};
        source.blockLimit = block;
        StreamIn(edit, SF_TEXT, source);
        // {from, to, a link}: the addresses are; the comma and period after them, "wwwx.ru",
        // an address not at a word's start and plain text are not.
        for (const auto& [from, to, link] : std::initializer_list<std::tuple<int, int, bool>>{
                 {first, first + 13, true}, {first + 13, first + 14, false}, {first + 15, first + 24, true},
                 {first + 29, first + 41, true}, {first + 41, first + 42, false}, {first + 43, first + 52, true},
                 {first + 53, first + 60, false}, {first + 61, first + 71, false}, {last, last + 11, true},
                 {0, 5, false}, {last - 10, last - 2, false}})
            EXPECT_EQ(IsLink(edit, from, to), link) << from;
        // The far link is drawn as one: its block carries the link's display format.
        const QTextBlock far = edit.Document()->findBlock(last);
        ASSERT_FALSE(far.layout()->formats().isEmpty());
        EXPECT_EQ(far.layout()->formats().front().format.underlineStyle(), QTextCharFormat::SingleUnderline);
        EXPECT_FALSE(edit.CanUndo());
        EXPECT_FALSE(edit.GetModify());
    }
    RichEdit off;
    StreamIn(off, SF_TEXT, bytes);
    EXPECT_FALSE(IsLink(off, first, first + 13));
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

TEST(Links, TheFirstEditAfterStreamingATextWithAnAddressReportsOnlyItself)
{
    // Marking the addresses of a text read in must not leave its span pending
    // in the document: the first typed character would then report the whole
    // text as changed, and all that listens (the layout, the recovery journal)
    // would take the whole text anew.
    RichEdit edit;
    edit.AutoUrlDetect(true);
    edit.resize(500, 300);
    QByteArray text;
    for (int i = 0; i < 2000; ++i)
        text += "line " + QByteArray::number(i) + (i == 1500 ? " http://example.org/x" : "") + "\r\n";
    StreamIn(edit, SF_TEXT, text);
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    ASSERT_TRUE(IsLink(edit, text.indexOf("http") - 1500, text.indexOf("http") - 1500 + 10));
    std::vector<std::array<int, 3>> seen;
    QObject::connect(edit.Document(), &QTextDocument::contentsChange,
                     [&](int p, int r, int a) { seen.push_back({p, r, a}); });
    edit.SetSel(0, 0);
    edit.setFocus();
    QTest::keyClick(&edit, Qt::Key_X);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), (std::array<int, 3>{0, 0, 1}));
}
