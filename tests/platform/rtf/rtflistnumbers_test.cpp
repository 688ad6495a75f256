// SPDX-License-Identifier: GPL-3.0-or-later
// Numbered paragraphs: the number each shows (lists that start at 5, Word lists
// that go on counting), their indents and the \pntext written for them.
#include "listnumbers.h"
#include "rtfwriter.h"
#include "testsupport_rtf.h"
#include "textproperties.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <gtest/gtest.h>

using namespace platform;

namespace {

const QByteArray WordListFromFive =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman\\fcharset204 Times New Roman;}}"
    "{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc0\\levelstartat5{\\leveltext\\'02\\'00.;}"
    "{\\levelnumbers\\'01;}\\fi-360\\li720}\\listid100}}"
    "{\\*\\listoverridetable{\\listoverride\\listid100\\listoverridecount0\\ls1}}"
    "\\pard\\fi-360\\li720\\ls1\\ilvl0 {\\listtext 5.\\tab}first\\par{\\listtext 6.\\tab}second\\par\\pard after\\par}";

const QByteArray PnFromFive = "{\\rtf1\\ansi{\\pntext 5.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart5\\pnindent360{\\pntxta .}}"
                              "\\fi-360\\li720 alpha\\par{\\pntext 6.\\tab}beta\\par\\pard after\\par}";

// The number every paragraph shows, "-" for none.
QStringList Numbers(const QTextDocument& document)
{
    QStringList out;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString number = ListNumberText(block);
        out << (number.isEmpty() ? QStringLiteral("-") : number);
    }
    return out;
}

TEST(RtfListNumbers, ListsStartWhereTheySayAndIndentTheirText)
{
    for (const QByteArray& rtf : {WordListFromFive, PnFromFive}) {
        auto document = rtftest::ReadDocument(rtf);
        EXPECT_EQ(Numbers(*document), (QStringList{"5.", "6.", "-"})) << rtf.constData();
        // Every line at the left indent, the number hanging before the first.
        const QTextBlockFormat item = document->begin().blockFormat();
        EXPECT_EQ(item.leftMargin(), 720 / 15.0);
        EXPECT_EQ(item.textIndent(), 0);
        EXPECT_EQ(item.property(PropStartIndentTwips).toInt(), 360);
        EXPECT_EQ(item.property(PropOffsetTwipsPara).toInt(), 360);
        EXPECT_EQ(item.property(PropNumberingStart).toInt(), 5);
    }
    // A number with no indent at all still gets room to be seen.
    auto bare = rtftest::ReadDocument("{\\rtf1{\\*\\pn\\pnlvlbody\\pnucrm\\pnstart3{\\pntxta .}}x\\par}");
    EXPECT_EQ(Numbers(*bare), QStringList{"III."});
    EXPECT_EQ(bare->begin().blockFormat().leftMargin(), MinNumberRoomTwips / 15.0);
    EXPECT_EQ(bare->begin().blockFormat().property(PropStartIndentTwips).toInt(), 0);
}

TEST(RtfListNumbers, NumberTextsInEveryStyle)
{
    struct Case {
        const char* pn;
        QStringList numbers;
    };
    const Case cases[] = {
        {"\\pndec\\pnstart9{\\pntxta .}", {"9.", "10.", "11."}},
        {"\\pnlcltr\\pnstart26{\\pntxta )}", {"z)", "aa)", "ab)"}},
        {"\\pnucltr\\pnstart1{\\pntxtb (}{\\pntxta )}", {"(A)", "(B)", "(C)"}},
        {"\\pnlcrm\\pnstart3{\\pntxta .}", {"iii.", "iv.", "v."}},
        {"\\pnucrm\\pnstart1998", {"MCMXCVIII", "MCMXCIX", "MM"}},
    };
    for (const Case& c : cases) {
        QByteArray rtf = "{\\rtf1";
        for (int i = 0; i < 3; ++i)
            rtf += QByteArray("{\\*\\pn\\pnlvlbody") + c.pn + "}\\fi-360\\li720 x\\par";
        rtf += "}";
        EXPECT_EQ(Numbers(*rtftest::ReadDocument(rtf)), c.numbers) << c.pn;
    }
}

TEST(RtfListNumbers, AWordListGoesOnCountingAcrossOtherParagraphsAndItsLevels)
{
    const QByteArray rtf =
        "{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}}"
        "{\\listlevel\\levelnfc4\\levelstartat1{\\leveltext\\'02\\'01);}}\\listid7}}"
        "{\\*\\listoverridetable{\\listoverride\\listid7\\ls1}}"
        "\\pard\\fi-360\\li720\\ls1\\ilvl0 one\\par two\\par"
        "\\pard\\fi-360\\li1440\\ls1\\ilvl1 two-a\\par two-b\\par"
        "\\pard\\fi-360\\li720\\ls1\\ilvl0 three\\par"
        "\\pard note\\par"
        "\\pard\\fi-360\\li720\\ls1\\ilvl0 four\\par"
        "\\pard\\fi-360\\li1440\\ls1\\ilvl1 four-a\\par}";
    auto document = rtftest::ReadDocument(rtf);
    EXPECT_EQ(Numbers(*document), (QStringList{"1.", "2.", "a)", "b)", "3.", "-", "4.", "a)"}));
}

// What is written says what is shown: \pnstart and \pntext agree, and reading
// the RTF back shows the same numbers, cycle after cycle.
TEST(RtfListNumbers, TheWrittenNumberIsTheShownOne)
{
    for (const QByteArray& rtf : {WordListFromFive, PnFromFive}) {
        const QByteArray written =
            rtftest::ExpectSameEveryCycle(rtf, [](const QTextDocument& d) { return Numbers(d).join(u' '); });
        EXPECT_TRUE(written.contains("\\pnstart5")) << written.constData();
        EXPECT_TRUE(written.contains("{\\pntext 5.\\tab}")) << written.constData();
        EXPECT_TRUE(written.contains("{\\pntext 6.\\tab}")) << written.constData();
    }
}

} // namespace
