// SPDX-License-Identifier: GPL-3.0-or-later
// Character and paragraph attributes: points against twips, colours, underline
// kinds through the style, copies between selection and default.
#include "qxeditor.h"
#include "richedit.h"
#include "testsupport.h"

#include <QTextCursor>

#include <tuple>

#include <gtest/gtest.h>

namespace {

using namespace platform;

class Attributes : public ::testing::Test {
protected:
    void SetUp() override
    {
        editor.SetText(QStringLiteral("alpha beta gamma"));
        editor.Window()->ExSetSel({6, 10});   // "beta"
    }
    CHARFORMAT2 FormatAt(std::int32_t from, std::int32_t to)
    {
        editor.Window()->ExSetSel({from, to});
        return editor.Window()->GetCharFormat(SCF_SELECTION);
    }
    TTestEditor editor;
};

TEST_F(Attributes, CharacterPropertiesReachTheControlInItsUnits)
{
    TTextAttributes* sel = editor.SelAttributes();
    sel->SetColor(clWindowText);
    EXPECT_EQ(sel->Color(), clWindowText);
    EXPECT_NE(FormatAt(6, 10).dwEffects & CFE_AUTOCOLOR, 0u);

    sel->SetSize(14);
    sel->SetOffset(2.5);
    EXPECT_EQ(FormatAt(6, 10).yHeight, 280);
    EXPECT_EQ(FormatAt(6, 10).yOffset, 50);

    sel->SetName(QString(40, QLatin1Char('N')));   // cut to what the record holds
    EXPECT_EQ(sel->Name(), QString(31, QLatin1Char('N')));

    // An empty selection formats the word at the caret.
    editor.Window()->ExSetSel({8, 8});
    sel->SetColor(0x00FF00);
    EXPECT_TRUE(editor.Window()->ExGetSel().cpMin == 8 && editor.Window()->ExGetSel().cpMax == 8) << "the caret stays";
    EXPECT_EQ(TColor(FormatAt(6, 10).crTextColor), 0x00FF00);
    EXPECT_NE(TColor(FormatAt(0, 5).crTextColor), 0x00FF00);
}

TEST_F(Attributes, UnderlineGoesThroughTheUnderlineKind)
{
    TTextAttributes* sel = editor.SelAttributes();
    sel->SetUnderlineType(CFU_UNDERLINEWAVE);
    sel->SetStyle({TFontStyle::fsBold, TFontStyle::fsUnderline});
    EXPECT_EQ(sel->UnderlineType(), CFU_UNDERLINEWAVE);
    EXPECT_EQ(sel->Style(), (TFontStyles{TFontStyle::fsBold, TFontStyle::fsUnderline}));

    editor.Window()->ExSetSel({0, 5});
    sel->SetStyle({TFontStyle::fsUnderline});
    EXPECT_EQ(sel->UnderlineType(), CFU_UNDERLINE);
    sel->SetStyle({TFontStyle::fsItalic});
    EXPECT_EQ(sel->UnderlineType(), 0);
    EXPECT_EQ(sel->Style(), TFontStyles{TFontStyle::fsItalic});
}

TEST_F(Attributes, AssignCopiesEveryPropertyBetweenSelectionAndDefault)
{
    TTextAttributes* sel = editor.SelAttributes();
    sel->SetName(QStringLiteral("Liberation Serif"));
    sel->SetSize(17);
    sel->SetColor(0x123456);
    sel->SetStyle({TFontStyle::fsItalic, TFontStyle::fsStrikeOut});
    TFont copied;
    sel->AssignTo(copied);
    EXPECT_EQ(std::tuple(copied.Name, copied.Size, copied.Color, copied.Style),
              std::tuple(QStringLiteral("Liberation Serif"), 17, TColor(0x123456),
                         TFontStyles{TFontStyle::fsItalic, TFontStyle::fsStrikeOut}));

    editor.DefAttributes()->Assign(copied);
    EXPECT_EQ(std::pair(editor.DefAttributes()->Name(), editor.DefAttributes()->Size()),
              std::pair(QStringLiteral("Liberation Serif"), 17));
}

TEST_F(Attributes, ParagraphAlignmentIndentsNumberingAndTables)
{
    TParaAttributes* para = editor.Paragraph();
    para->SetAlignment(3);
    EXPECT_EQ(editor.Window()->GetParaFormat().wAlignment, PFA_JUSTIFY);
    para->SetFirstIndent(12.5);
    EXPECT_EQ(editor.Window()->GetParaFormat().dxStartIndent, 250);
    para->SetNumbering(PFN_ARABIC);
    EXPECT_EQ(para->Numbering(), PFN_ARABIC);
    para->SetLineSpacing(4, 18);
    EXPECT_EQ(editor.Window()->GetParaFormat().dyLineSpacing, 360);

    EXPECT_FALSE(para->InTable());
    QTextCursor cursor(editor.Window()->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertTable(1, 2);
    editor.Window()->ExSetSel({editor.Window()->GetTextLength() - 2, editor.Window()->GetTextLength() - 2});
    EXPECT_TRUE(para->InTable());
}

} // namespace
