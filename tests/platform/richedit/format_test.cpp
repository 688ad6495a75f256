// SPDX-License-Identifier: GPL-3.0-or-later
// Character and paragraph formats: what is set reads back, and a selection
// whose characters differ clears the mask bit of each property that varies.
#include "richedit.h"
#include "testsupport.h"
#include "textproperties.h"

#include <QTextBlock>
#include <QTextList>
#include <QTextTable>
#include <gtest/gtest.h>

#include <tuple>

using namespace platform;
using namespace platform::test;

namespace {

CHARFORMAT2 Effect(std::uint32_t mask, std::uint32_t effects)
{
    CHARFORMAT2 f;
    f.dwMask = mask;
    f.dwEffects = effects;
    return f;
}

void SetFace(CHARFORMAT2& f, const QString& name)
{
    std::copy(name.utf16(), name.utf16() + name.size(), f.szFaceName);
}

QString Face(const CHARFORMAT2& f)
{
    return QString::fromUtf16(f.szFaceName);
}

class Formats : public ::testing::Test {
protected:
    void SetUp() override { edit.SetText(u"Красный и синий текст"_qs); }
    void Format(int from, int to, const CHARFORMAT2& f)
    {
        edit.SetSel(from, to);
        ASSERT_TRUE(edit.SetCharFormat(SCF_SELECTION, f));
    }
    CHARFORMAT2 Read(int from, int to)
    {
        edit.SetSel(from, to);
        return edit.GetCharFormat(SCF_SELECTION);
    }
    RichEdit edit;
};

TEST_F(Formats, EveryPropertyReadsBackAsSet)
{
    CHARFORMAT2 f;
    f.dwMask = CFM_BOLD | CFM_ITALIC | CFM_STRIKEOUT | CFM_SIZE | CFM_FACE | CFM_COLOR | CFM_BACKCOLOR | CFM_CHARSET
             | CFM_LCID | CFM_OFFSET | CFM_SMALLCAPS | CFM_HIDDEN | CFM_PROTECTED;
    f.dwEffects = CFE_BOLD | CFE_ITALIC | CFE_STRIKEOUT | CFE_SMALLCAPS | CFE_HIDDEN | CFE_PROTECTED;
    f.yHeight = 14 * 20;
    f.yOffset = 50;
    f.crTextColor = RgbColor(200, 10, 20);
    f.crBackColor = RgbColor(1, 2, 3);
    f.bCharSet = 204;
    f.bPitchAndFamily = 1;
    f.lcid = 0x0419;
    SetFace(f, u"Courier New"_qs);
    Format(0, 7, f);
    const CHARFORMAT2 r = Read(0, 7);
    const std::uint32_t all = f.dwMask;
    EXPECT_EQ(r.dwMask & all, all);
    EXPECT_EQ(r.dwEffects & f.dwEffects, f.dwEffects);
    EXPECT_FALSE(r.dwEffects & (CFE_AUTOCOLOR | CFE_AUTOBACKCOLOR | CFE_SUBSCRIPT | CFE_SUPERSCRIPT | CFE_ALLCAPS));
    EXPECT_EQ(std::tuple(r.yHeight, r.yOffset, r.crTextColor, r.crBackColor, r.bCharSet, r.bPitchAndFamily, r.lcid),
              std::tuple(f.yHeight, f.yOffset, f.crTextColor, f.crBackColor, f.bCharSet, f.bPitchAndFamily, f.lcid));
    EXPECT_EQ(Face(r), u"Courier New"_qs);
    // The rest of the text is untouched.
    const CHARFORMAT2 rest = Read(8, 12);
    EXPECT_FALSE(rest.dwEffects & (CFE_BOLD | CFE_PROTECTED));
    EXPECT_TRUE(rest.dwEffects & CFE_AUTOCOLOR);
}

TEST_F(Formats, EveryUnderlineKindScriptAndAutomaticColourIsKept)
{
    for (std::uint8_t kind : {CFU_UNDERLINENONE, CFU_UNDERLINE, CFU_UNDERLINEWORD, CFU_UNDERLINEDOUBLE,
                              CFU_UNDERLINEDOTTED, CFU_UNDERLINEDASH, CFU_UNDERLINEDASHDOT, CFU_UNDERLINEDASHDOTDOT,
                              CFU_UNDERLINEWAVE, CFU_UNDERLINETHICK}) {
        CHARFORMAT2 f = Effect(CFM_UNDERLINETYPE, 0);
        f.bUnderlineType = kind;
        Format(0, 7, f);
        const CHARFORMAT2 r = Read(0, 7);
        EXPECT_EQ(r.bUnderlineType, kind);
        EXPECT_EQ((r.dwEffects & CFE_UNDERLINE) != 0, kind != 0) << int(kind);
    }
    // CFM_UNDERLINE alone is a single line or none.
    Format(0, 7, Effect(CFM_UNDERLINE, CFE_UNDERLINE));
    EXPECT_EQ(Read(0, 7).bUnderlineType, CFU_UNDERLINE);
    Format(0, 7, Effect(CFM_UNDERLINE, 0));
    EXPECT_EQ(Read(0, 7).bUnderlineType, CFU_UNDERLINENONE);

    // Subscript and superscript exclude each other; automatic colour comes back.
    Format(0, 3, Effect(CFM_SUPERSCRIPT, CFE_SUPERSCRIPT));
    EXPECT_EQ(Read(0, 3).dwEffects & (CFE_SUBSCRIPT | CFE_SUPERSCRIPT), CFE_SUPERSCRIPT);
    Format(0, 3, Effect(CFM_SUBSCRIPT, CFE_SUBSCRIPT));
    EXPECT_EQ(Read(0, 3).dwEffects & (CFE_SUBSCRIPT | CFE_SUPERSCRIPT), CFE_SUBSCRIPT);
    Format(0, 3, Effect(CFM_SUBSCRIPT, 0));
    EXPECT_EQ(Read(0, 3).dwEffects & (CFE_SUBSCRIPT | CFE_SUPERSCRIPT), 0u);

    CHARFORMAT2 red = Effect(CFM_COLOR, 0);
    red.crTextColor = RgbColor(255, 0, 0);
    Format(0, 3, red);
    EXPECT_FALSE(Read(0, 3).dwEffects & CFE_AUTOCOLOR);
    Format(0, 3, Effect(CFM_COLOR, CFE_AUTOCOLOR));
    EXPECT_TRUE(Read(0, 3).dwEffects & CFE_AUTOCOLOR);
}

TEST_F(Formats, MixedSelectionClearsTheMaskBitOfEachVaryingProperty)
{
    CHARFORMAT2 red = Effect(CFM_COLOR | CFM_BOLD, CFE_BOLD);
    red.crTextColor = RgbColor(255, 0, 0);
    Format(0, 7, red);                           // "Красный": red and bold
    CHARFORMAT2 blue = Effect(CFM_COLOR, 0);
    blue.crTextColor = RgbColor(0, 0, 255);
    Format(10, 15, blue);                        // "синий": blue

    const CHARFORMAT2 both = Read(0, 15);
    EXPECT_FALSE(both.dwMask & CFM_COLOR);
    EXPECT_FALSE(both.dwMask & CFM_BOLD);
    EXPECT_TRUE(both.dwMask & CFM_ITALIC);
    EXPECT_TRUE(both.dwMask & CFM_SIZE);
    EXPECT_TRUE(both.dwMask & CFM_FACE);

    const CHARFORMAT2 redOnly = Read(1, 5);
    EXPECT_TRUE(redOnly.dwMask & CFM_COLOR);
    EXPECT_EQ(redOnly.crTextColor, RgbColor(255, 0, 0));

    // Uniform colour over everything: printing relies on CFM_COLOR then.
    edit.SetSel(0, -1);
    edit.SetCharFormat(SCF_SELECTION, blue);
    const CHARFORMAT2 all = Read(0, -1);
    EXPECT_TRUE(all.dwMask & CFM_COLOR);
    EXPECT_FALSE(all.dwMask & CFM_BOLD);
    EXPECT_EQ(all.crTextColor, RgbColor(0, 0, 255));

    // Paragraph ends alone do not make a selection mixed.
    edit.SetText(u"one\r\n\r\ntwo"_qs);
    CHARFORMAT2 green = Effect(CFM_COLOR, 0);
    green.crTextColor = RgbColor(0, 128, 0);
    Format(0, -1, green);
    EXPECT_TRUE(Read(0, -1).dwMask & CFM_COLOR);
}

TEST_F(Formats, DefaultFormatAppliesToTextWithoutItsOwnAndFormattingUndoesInOneStep)
{
    CHARFORMAT2 f = Effect(CFM_SIZE | CFM_FACE | CFM_CHARSET | CFM_BOLD, CFE_BOLD);
    f.yHeight = 10 * 20;
    f.bCharSet = 204;
    SetFace(f, u"Courier New"_qs);
    edit.SetCharFormat(SCF_DEFAULT, f);
    const CHARFORMAT2 def = edit.GetCharFormat(SCF_DEFAULT);
    const CHARFORMAT2 text = Read(0, 7);
    for (const CHARFORMAT2& r : {def, text})
        EXPECT_EQ(std::tuple(r.yHeight, Face(r), r.bCharSet), std::tuple(200, u"Courier New"_qs, 204));
    EXPECT_TRUE(def.dwEffects & CFE_BOLD);

    // Formatting is one unnamed undo step.
    edit.EmptyUndoBuffer();
    Format(0, 7, Effect(CFM_ITALIC, CFE_ITALIC));
    EXPECT_TRUE(edit.CanUndo());
    EXPECT_EQ(edit.GetUndoName(), UID_UNKNOWN);
    edit.Undo();
    EXPECT_FALSE(Read(0, 7).dwEffects & CFE_ITALIC);
    EXPECT_FALSE(edit.CanUndo());
}

PARAFORMAT2 Para(std::uint32_t mask)
{
    PARAFORMAT2 p;
    p.dwMask = mask;
    return p;
}

TEST(ParaFormats, PropertiesReadBackAndVaryingOnesClearTheirBits)
{
    RichEdit edit;
    edit.SetText(u"first\r\nsecond\r\nthird"_qs);
    edit.SetSel(0, 8);                           // first and second paragraphs
    PARAFORMAT2 p = Para(PFM_ALIGNMENT | PFM_STARTINDENT | PFM_OFFSET | PFM_RIGHTINDENT | PFM_LINESPACING
                         | PFM_SPACEBEFORE | PFM_SPACEAFTER);
    p.wAlignment = PFA_CENTER;
    p.dxStartIndent = 300;
    p.dxOffset = -150;
    p.dxRightIndent = 100;
    p.bLineSpacingRule = 1;
    p.dySpaceBefore = 60;
    p.dySpaceAfter = 120;
    ASSERT_TRUE(edit.SetParaFormat(p));
    const PARAFORMAT2 r = edit.GetParaFormat();
    EXPECT_EQ(std::tuple(r.wAlignment, r.dxStartIndent, r.dxOffset, r.dxRightIndent, r.bLineSpacingRule, r.dySpaceBefore,
                         r.dySpaceAfter),
              std::tuple(p.wAlignment, p.dxStartIndent, p.dxOffset, p.dxRightIndent, p.bLineSpacingRule, p.dySpaceBefore,
                         p.dySpaceAfter));
    EXPECT_TRUE(r.dwMask & PFM_ALIGNMENT);

    edit.SetSel(2, 16);                          // all three: the third differs
    const PARAFORMAT2 mixed = edit.GetParaFormat();
    EXPECT_FALSE(mixed.dwMask & PFM_ALIGNMENT);
    EXPECT_FALSE(mixed.dwMask & PFM_STARTINDENT);
    EXPECT_TRUE(mixed.dwMask & PFM_NUMBERING);
}

TEST(ParaFormats, NumberingWithStyleAndRemovalAndTheTableEffect)
{
    RichEdit edit;
    edit.SetText(u"one\r\ntwo\r\nthree"_qs);
    edit.SetSel(0, 6);
    PARAFORMAT2 p = Para(PFM_NUMBERING | PFM_NUMBERINGSTART | PFM_NUMBERINGTAB);
    p.wNumbering = PFN_ARABIC;
    p.wNumberingStart = 1;
    p.wNumberingTab = 200;
    edit.SetParaFormat(p);
    PARAFORMAT2 s = Para(PFM_NUMBERINGSTYLE);
    s.wNumberingStyle = PFNS_PERIOD;
    edit.SetParaFormat(s);
    const PARAFORMAT2 r = edit.GetParaFormat();
    EXPECT_EQ(std::tuple(r.wNumbering, r.wNumberingStyle, r.wNumberingStart, r.wNumberingTab),
              std::tuple(p.wNumbering, s.wNumberingStyle, p.wNumberingStart, p.wNumberingTab));
    const QTextBlock first = edit.Document()->firstBlock();
    ASSERT_NE(first.textList(), nullptr);
    EXPECT_EQ(first.textList(), first.next().textList());
    EXPECT_EQ(first.textList()->format().numberSuffix(), u"."_qs);
    EXPECT_EQ(first.next().next().textList(), nullptr);

    PARAFORMAT2 none = Para(PFM_NUMBERING);
    none.wNumbering = PFN_NONE;
    edit.SetParaFormat(none);
    EXPECT_EQ(edit.GetParaFormat().wNumbering, PFN_NONE);
    EXPECT_EQ(edit.Document()->firstBlock().textList(), nullptr);

    // Table paragraphs carry the table effect.
    edit.SetText(u"before"_qs);
    QTextCursor cursor(edit.Document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertTable(1, 2);
    edit.SetSel(0, 0);
    EXPECT_EQ(edit.GetParaFormat().wEffects & PFE_TABLE, 0);
    edit.SetSel(8, 8);
    EXPECT_EQ(edit.GetParaFormat().wEffects, PFE_TABLE);
}

} // namespace

TEST(Format, ColoursOfTheTextOutliveAnAutomaticDefaultColour)
{
    RichEdit edit;
    CHARFORMAT2 automatic;
    automatic.dwMask = CFM_COLOR;
    automatic.dwEffects = CFE_AUTOCOLOR;
    edit.SetCharFormat(SCF_DEFAULT, automatic);
    edit.SetText(u"красный синий"_qs);
    edit.SetSel(0, 7);
    CHARFORMAT2 red;
    red.dwMask = CFM_COLOR;
    red.crTextColor = RgbColor(255, 0, 0);
    edit.SetCharFormat(SCF_SELECTION, red);

    const CHARFORMAT2 read = edit.GetCharFormat(SCF_SELECTION);
    EXPECT_TRUE(read.dwMask & CFM_COLOR);
    EXPECT_FALSE(read.dwEffects & CFE_AUTOCOLOR);
    EXPECT_EQ(read.crTextColor, RgbColor(255, 0, 0));
    edit.SetSel(8, 13);
    EXPECT_TRUE(edit.GetCharFormat(SCF_SELECTION).dwEffects & CFE_AUTOCOLOR);
    edit.SetSel(0, 13);
    EXPECT_FALSE(edit.GetCharFormat(SCF_SELECTION).dwMask & CFM_COLOR);
}
