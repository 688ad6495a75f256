// SPDX-License-Identifier: GPL-3.0-or-later
// Protected text refuses every way of changing it: typing is covered with the
// notifications; here a selection stream-in and format changes, which must ask
// EN_PROTECTED too and change nothing when refused.
#include "richedit.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using namespace platform;
using namespace platform::test;

namespace {

// "free LOCKED free" with LOCKED (5..11) protected and the mask asking.
void Protect(RichEdit& edit)
{
    edit.SetText(u"free LOCKED free\r\nnext"_qs);
    edit.SetSel(5, 11);
    CHARFORMAT2 protect;
    protect.dwMask = CFM_PROTECTED;
    protect.dwEffects = CFE_PROTECTED;
    edit.SetCharFormat(SCF_SELECTION, protect);
    edit.EmptyUndoBuffer();
    edit.SetEventMask(ENM_PROTECTED);
}

TEST(Protected, SelectionStreamInIsRefusedUnlessTheHandlerAllows)
{
    for (unsigned format : {unsigned(SF_TEXT), unsigned(SF_RTF)}) {
        RichEdit edit;
        Protect(edit);
        const QByteArray bytes = format == SF_RTF ? QByteArray("{\\rtf1 NEW}") : QByteArray("NEW");
        edit.SetSel(3, 7);
        std::uint32_t error = 99;
        EXPECT_EQ(StreamIn(edit, format | SFF_SELECTION, bytes, &error), 0);
        EXPECT_EQ(error, 0u);
        EXPECT_EQ(edit.GetTextRange(0, -1), u"free LOCKED free\rnext"_qs);
        EXPECT_FALSE(edit.CanUndo());

        std::vector<std::pair<int, int>> asked;
        edit.OnProtected = [&](std::int32_t a, std::int32_t b) {
            asked.emplace_back(a, b);
            return true;
        };
        StreamIn(edit, format | SFF_SELECTION, bytes);
        EXPECT_TRUE(edit.GetTextRange(0, -1).startsWith(u"freNEW"_qs)) << edit.GetTextRange(0, -1).toStdString();
        EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{3, 7}}));
    }
}

TEST(Protected, CharacterAndParagraphFormatsAreRefusedOnProtectedText)
{
    RichEdit edit;
    Protect(edit);
    CHARFORMAT2 bold;
    bold.dwMask = CFM_BOLD;
    bold.dwEffects = CFE_BOLD;
    PARAFORMAT2 centre;
    centre.dwMask = PFM_ALIGNMENT;
    centre.wAlignment = PFA_CENTER;

    edit.SetSel(3, 7);
    EXPECT_FALSE(edit.SetCharFormat(SCF_SELECTION, bold));
    EXPECT_FALSE(edit.SetCharFormat(SCF_ALL, bold));
    edit.SetSel(0, 0);   // a caret in a paragraph holding protected text
    EXPECT_FALSE(edit.SetParaFormat(centre));
    EXPECT_FALSE(edit.CanUndo());
    edit.SetSel(0, -1);
    EXPECT_FALSE(edit.GetCharFormat(SCF_SELECTION).dwEffects & CFE_BOLD);
    EXPECT_NE(edit.GetParaFormat().wAlignment, PFA_CENTER);

    // Text and paragraphs without protection take formats as before.
    edit.SetSel(18, 20);
    EXPECT_TRUE(edit.SetCharFormat(SCF_SELECTION, bold));
    EXPECT_TRUE(edit.SetParaFormat(centre));
    EXPECT_EQ(edit.GetParaFormat().wAlignment, PFA_CENTER);

    // The handler may allow it.
    edit.OnProtected = [](std::int32_t, std::int32_t) { return true; };
    edit.SetSel(3, 7);
    EXPECT_TRUE(edit.SetCharFormat(SCF_SELECTION, bold));
    EXPECT_TRUE(edit.GetCharFormat(SCF_SELECTION).dwEffects & CFE_BOLD);
}

} // namespace
