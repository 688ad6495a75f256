// SPDX-License-Identifier: GPL-3.0-or-later
// Searching: direction, ranges, whole words, case, paragraph ends.
#include "richedit.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using namespace platform;
using namespace platform::test;

namespace {

struct FindCase {
    const char* name;
    CHARRANGE range;
    const char16_t* what;
    unsigned flags;
    int expected;
};

// Text: positions          0         1         2         3
//                          0123456789012345678901234567890123456
const QString Text = u"Кот котик КОТ. Кот\r\nкот-кот end"_qs;

class Find : public ::testing::TestWithParam<FindCase> {};

TEST_P(Find, AnswersTheMatchStartOrMinusOne)
{
    RichEdit edit;
    edit.SetText(Text);
    const FindCase& c = GetParam();
    CHARRANGE found;
    const int at = edit.FindTextEx(c.range, QString::fromUtf16(c.what), c.flags, &found);
    EXPECT_EQ(at, c.expected);
    if (at >= 0) {
        EXPECT_EQ(found.cpMin, at);
        EXPECT_EQ(found.cpMax, at + int(QString::fromUtf16(c.what).replace(u"\r\n"_qs, u"\r"_qs).size()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Search, Find,
    ::testing::Values(
        FindCase{"DownIgnoringCase", {0, -1}, u"кот", FR_DOWN, 0},
        FindCase{"DownMatchCase", {0, -1}, u"кот", FR_DOWN | FR_MATCHCASE, 4},
        FindCase{"DownFromInsideAWord", {1, -1}, u"кот", FR_DOWN, 4},
        FindCase{"WholeWordSkipsLongerWords", {1, -1}, u"кот", FR_DOWN | FR_WHOLEWORD, 10},
        FindCase{"WholeWordAcrossPunctuation", {16, -1}, u"кот", FR_DOWN | FR_WHOLEWORD | FR_MATCHCASE, 19},
        FindCase{"WholeWordAfterHyphen", {20, -1}, u"кот", FR_DOWN | FR_WHOLEWORD, 23},
        FindCase{"RangeBoundsTheStart", {0, 4}, u"кот", FR_DOWN | FR_MATCHCASE, -1},
        FindCase{"MatchMayBeginAtTheLastPositionOfTheRange", {0, 5}, u"кот", FR_DOWN | FR_MATCHCASE, 4},
        FindCase{"UpFindsTheLastBeforeTheStart", {18, 0}, u"кот", 0, 15},
        FindCase{"UpNeedsTheWholeMatchBeforeTheStart", {17, 0}, u"кот", 0, 10},
        FindCase{"UpStopsAtTheRangeEnd", {14, 11}, u"кот", 0, -1},
        FindCase{"UpWholeWordMatchCase", {37, 0}, u"кот", FR_WHOLEWORD | FR_MATCHCASE, 23},
        FindCase{"ParagraphEndInTheText", {0, -1}, u"Кот\r\nкот", FR_DOWN | FR_MATCHCASE, 15},
        FindCase{"NotFound", {0, -1}, u"собака", FR_DOWN, -1},
        FindCase{"EmptyText", {0, -1}, u"", FR_DOWN, -1},
        FindCase{"AtTheVeryEnd", {0, -1}, u"end", FR_DOWN | FR_WHOLEWORD, 27}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Search, ReplaceAllStyleRangesReachTheLastMatch)
{
    // Replace All searches with length = text length - start - n + 1: the range
    // counts the positions where a match may begin.
    RichEdit edit;
    edit.SetText(u"xab ab"_qs);
    const int n = 2;
    int count = 0;
    int q = 0;
    for (;;) {
        const int length = edit.GetTextLength() - q - n + 1;
        const int p = edit.FindTextEx({q, q + length}, u"ab"_qs, FR_DOWN | FR_MATCHCASE);
        if (p < 0)
            break;
        edit.SetSel(p, p + n);
        edit.ReplaceSel(u"abab"_qs, true);
        q = edit.ExGetSel().cpMax;
        ++count;
    }
    EXPECT_EQ(count, 2);
    EXPECT_EQ(edit.GetTextRange(0, -1), u"xabab abab"_qs);
}

TEST(Search, FarIntoALongText)
{
    RichEdit edit;
    QByteArray text = QByteArray("строка текста номер\r\n").repeated(20000);
    text.append("иголка");
    StreamIn(edit, SF_TEXT, Cp1251(QString::fromUtf8(text)));
    const int length = edit.GetTextLength();
    EXPECT_EQ(edit.FindTextEx({0, -1}, u"ИГОЛКА"_qs, FR_DOWN), length - 6);
    EXPECT_EQ(edit.FindTextEx({length, 0}, u"иголка"_qs, FR_WHOLEWORD), length - 6);
    EXPECT_EQ(edit.FindTextEx({length - 6, 0}, u"иголка"_qs, 0), -1);
}

} // namespace
