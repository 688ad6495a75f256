// SPDX-License-Identifier: GPL-3.0-or-later
// Selection, text ranges, replacement and lines as displayed.
#include "richedit.h"
#include "testsupport.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace platform;
using namespace platform::test;

namespace {

TEST(Selection, SetAndGetIncludingSelectAllAndClamping)
{
    RichEdit edit;
    edit.SetText(u"ab\r\ncd"_qs);    // a b ¶ c d
    struct Case {
        int start, end;
        CHARRANGE expected;
    };
    for (const Case& c : {Case{0, -1, {0, 5}}, Case{1, 3, {1, 3}}, Case{3, 1, {1, 3}}, Case{2, 99, {2, 5}},
                          Case{-5, 3, {5, 5}}, Case{4, 4, {4, 4}}, Case{7, 9, {5, 5}}}) {
        if (c.start < 0)
            edit.SetSel(2, 5);
        edit.SetSel(c.start, c.end);
        EXPECT_EQ(edit.ExGetSel(), c.expected) << c.start << ".." << c.end;
    }
    edit.ExSetSel({0, -1});
    EXPECT_EQ(edit.ExGetSel(), (CHARRANGE{0, 5}));
}

TEST(Selection, TextOfRangesAndSelectionHasCrForParagraphEnds)
{
    RichEdit edit;
    edit.SetText(u"ab\ncd\r\n"_qs);
    EXPECT_EQ(edit.GetTextLength(), 6);
    EXPECT_EQ(edit.GetTextRange(1, 4), u"b\rc"_qs);
    EXPECT_EQ(edit.GetTextRange(0, -1), u"ab\rcd\r"_qs);
    edit.SetSel(1, 4);
    EXPECT_EQ(edit.GetSelText(), u"b\rc"_qs);
    EXPECT_EQ(edit.SelectionType(), SEL_TEXT | SEL_MULTICHAR);
    edit.SetSel(1, 2);
    EXPECT_EQ(edit.SelectionType(), SEL_TEXT);
    edit.SetSel(1, 1);
    EXPECT_EQ(edit.SelectionType(), SEL_EMPTY);
}

TEST(Selection, ReplaceSelMakesParagraphsOfEveryLineEndWithOrWithoutUndoWithinTheLimit)
{
    RichEdit edit;
    edit.SetText(u"one two"_qs);
    edit.SetSel(3, 4);
    edit.ReplaceSel(u"\r\nx\ry\n"_qs, true);
    EXPECT_EQ(edit.GetTextRange(0, -1), u"one\rx\ry\rtwo"_qs);
    EXPECT_EQ(edit.ExGetSel(), (CHARRANGE{8, 8}));
    ASSERT_TRUE(edit.CanUndo());

    // Without undo it empties the undo buffer.
    edit.ReplaceSel(u"c"_qs, false);
    EXPECT_EQ(edit.GetTextRange(0, -1), u"one\rx\ry\rctwo"_qs);
    EXPECT_FALSE(edit.CanUndo());
    EXPECT_TRUE(edit.GetModify());

    // The text limit cuts what is inserted.
    RichEdit limited;
    limited.ExLimitText(5);
    limited.ReplaceSel(u"abcdefgh"_qs, true);
    EXPECT_EQ(limited.GetTextRange(0, -1), u"abcde"_qs);
}

TEST(Lines, WithoutWrapALineIsAParagraphAndAFinalParagraphEndMakesAnEmptyLine)
{
    RichEdit edit;
    edit.SetWordWrap(false);
    edit.SetText(u"first\r\nsecond line\r\n\r\nlast"_qs);
    EXPECT_EQ(edit.GetLineCount(), 4);
    struct Case {
        int line, index, length;
        QString text;
    };
    for (const Case& c : {Case{0, 0, 5, u"first\r"_qs}, Case{1, 6, 11, u"second line\r"_qs}, Case{2, 18, 0, u"\r"_qs},
                          Case{3, 19, 4, u"last"_qs}}) {
        EXPECT_EQ(edit.LineIndex(c.line), c.index) << c.line;
        EXPECT_EQ(edit.LineLength(c.index), c.length) << c.line;
        EXPECT_EQ(edit.GetLine(c.line), c.text) << c.line;
        EXPECT_EQ(edit.ExLineFromChar(c.index), c.line) << c.line;
        EXPECT_EQ(edit.ExLineFromChar(c.index + c.length), c.line) << c.line;
    }
    EXPECT_EQ(edit.LineIndex(4), -1);
    EXPECT_EQ(edit.GetLine(4), QString());
    edit.SetSel(8, 20);
    EXPECT_EQ(edit.ExLineFromChar(-1), 1);     // where the selection begins
    EXPECT_EQ(edit.LineIndex(-1), 6);
    EXPECT_EQ(edit.ExLineFromChar(999), 3);

    // A text ending with a paragraph end has an empty last line.
    edit.SetText(u"a\r\n"_qs);
    EXPECT_EQ(edit.GetLineCount(), 2);
    EXPECT_EQ(edit.LineIndex(1), 2);
    EXPECT_EQ(edit.LineLength(2), 0);
    RichEdit empty;
    EXPECT_EQ(empty.GetLineCount(), 1);
    EXPECT_EQ(empty.LineIndex(0), 0);
    EXPECT_EQ(empty.GetLine(0), QString());
}

TEST(Lines, WithWrapAParagraphIsSeveralLines)
{
    RichEdit edit;
    edit.SetWordWrap(true);
    edit.resize(200, 300);
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    QString words;
    for (int i = 0; i < 40; ++i)
        words += u"word%1 "_qs.arg(i);
    edit.SetText(words + u"\r\nshort"_qs);
    const int lines = edit.GetLineCount();
    ASSERT_GT(lines, 3);
    // Lines follow one another without gaps and cover the text.
    int expectedStart = 0;
    for (int line = 0; line < lines; ++line) {
        const int start = edit.LineIndex(line);
        EXPECT_EQ(start, expectedStart) << line;
        EXPECT_EQ(edit.ExLineFromChar(start), line) << line;
        const QString text = edit.GetLine(line);
        EXPECT_EQ(edit.GetTextRange(start, start + int(text.size())), text) << line;
        expectedStart = start + int(text.size());
    }
    EXPECT_EQ(expectedStart, edit.GetTextLength());
    EXPECT_EQ(edit.GetLine(lines - 1), u"short"_qs);
    EXPECT_TRUE(edit.GetLine(lines - 2).endsWith(u'\r'));
    EXPECT_FALSE(edit.GetLine(0).endsWith(u'\r'));
    EXPECT_EQ(edit.LineIndex(lines), -1);

    // Larger letters wrap into more lines; the count follows at once.
    edit.SetSel(0, -1);
    CHARFORMAT2 big;
    big.dwMask = CFM_SIZE;
    big.yHeight = 40 * 20;
    edit.SetCharFormat(SCF_SELECTION, big);
    EXPECT_GT(edit.GetLineCount(), lines);
    // And so does a narrower window.
    const int bigLines = edit.GetLineCount();
    edit.resize(120, 300);
    QApplication::processEvents();
    EXPECT_GT(edit.GetLineCount(), bigLines);
}

} // namespace
