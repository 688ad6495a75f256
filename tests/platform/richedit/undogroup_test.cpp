// SPDX-License-Identifier: GPL-3.0-or-later
// Edits that act as one: undo groups (Replace All, multi-attribute commands),
// replacing a selection letter for letter with formats kept (case change), and
// searches whose matches straddle the pieces a long text is searched in.
#include "richedit.h"
#include "testsupport.h"

#include <QTextBlock>
#include <QTextCharFormat>
#include <gtest/gtest.h>

using namespace platform;
using namespace platform::test;

namespace {

TEST(UndoGroup, ManyReplacementsUndoAndRedoAsOneStepAndNotifyOnce)
{
    RichEdit edit;
    edit.SetText(u"a-b-a-c-a"_qs);
    edit.EmptyUndoBuffer();
    int changes = 0;
    edit.SetEventMask(ENM_CHANGE);
    edit.OnChange = [&changes] { ++changes; };
    edit.BeginUndoGroup();
    edit.BeginUndoGroup();  // nested: only the outermost counts
    for (int at : {8, 4, 0}) {
        edit.SetSel(at, at + 1);
        edit.ReplaceSel(u"xyz"_qs, true);
    }
    edit.EndUndoGroup();
    EXPECT_EQ(changes, 0);
    edit.EndUndoGroup();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(edit.GetTextRange(0, -1), u"xyz-b-xyz-c-xyz"_qs);
    EXPECT_EQ(edit.GetUndoName(), UID_UNKNOWN);
    ASSERT_TRUE(edit.Undo());
    EXPECT_EQ(edit.GetTextRange(0, -1), u"a-b-a-c-a"_qs);
    EXPECT_FALSE(edit.CanUndo());
    ASSERT_TRUE(edit.Redo());
    EXPECT_EQ(edit.GetTextRange(0, -1), u"xyz-b-xyz-c-xyz"_qs);
    // An end without a beginning does nothing.
    edit.EndUndoGroup();
    edit.SetSel(0, 0);
    edit.ReplaceSel(u"!"_qs, true);
    ASSERT_TRUE(edit.Undo());
    EXPECT_EQ(edit.GetTextRange(0, -1), u"xyz-b-xyz-c-xyz"_qs);
}

TEST(SameLength, KeepsEveryCharactersFormatAndTheSelection)
{
    RichEdit edit;
    edit.SetText(u"ёлка\r\nЁж bold"_qs);
    edit.SetSel(8, 12);
    CHARFORMAT2 bold;
    bold.dwMask = CFM_BOLD;
    bold.dwEffects = CFE_BOLD;
    ASSERT_TRUE(edit.SetCharFormat(SCF_SELECTION, bold));
    edit.EmptyUndoBuffer();
    edit.SetSel(12, 1);  // backwards, from the end
    ASSERT_TRUE(edit.ReplaceSelSameLength(u"ЛКА\rЁЖ BOLD"_qs));
    EXPECT_EQ(edit.GetTextRange(0, -1), u"ёЛКА\rЁЖ BOLD"_qs);
    const QTextCursor cursor = edit.textCursor();
    EXPECT_EQ(cursor.anchor(), 12);
    EXPECT_EQ(cursor.position(), 1);
    EXPECT_EQ(edit.Document()->blockCount(), 2);
    edit.SetSel(8, 12);
    EXPECT_TRUE(edit.GetCharFormat(SCF_SELECTION).dwEffects & CFE_BOLD);
    edit.SetSel(5, 7);
    EXPECT_FALSE(edit.GetCharFormat(SCF_SELECTION).dwEffects & CFE_BOLD);
    ASSERT_TRUE(edit.Undo());
    EXPECT_EQ(edit.GetTextRange(0, -1), u"ёлка\rЁж bold"_qs);
    // Another length is refused and changes nothing.
    edit.SetSel(0, 3);
    EXPECT_FALSE(edit.ReplaceSelSameLength(u"AB"_qs));
    EXPECT_EQ(edit.GetTextRange(0, -1), u"ёлка\rЁж bold"_qs);
}

TEST(FindInPieces, MatchesAcrossPieceEdgesAreFoundBothWays)
{
    // Pieces of a search begin small and double: matches are put across the edges
    // of the first few.
    QString text(20000, u'.');
    const std::vector<int> at = {2046, 6142, 14334, 19990};
    for (int p : at)
        text.replace(p, 4, u"word"_qs);
    RichEdit edit;
    edit.SetText(text);
    int from = 0;
    for (int p : at) {
        EXPECT_EQ(edit.FindTextEx({from, -1}, u"WORD"_qs, FR_DOWN), p);
        from = p + 1;
    }
    EXPECT_EQ(edit.FindTextEx({from, -1}, u"word"_qs, FR_DOWN), -1);
    int end = int(text.size());
    for (auto it = at.rbegin(); it != at.rend(); ++it) {
        EXPECT_EQ(edit.FindTextEx({end, 0}, u"word"_qs, FR_WHOLEWORD), *it);
        end = *it + 3;
    }
    EXPECT_EQ(edit.FindTextEx({end, 0}, u"word"_qs, 0), -1);
}

} // namespace
