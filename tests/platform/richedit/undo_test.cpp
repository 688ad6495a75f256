// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo: the names of the actions, merged typing, the limit, the modify
// flag, and the clipboard actions that make steps.
#include "richedit.h"
#include "testsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <gtest/gtest.h>

using namespace platform;
using namespace platform::test;

namespace {

TEST(Undo, EachUserActionHasItsName)
{
    RichEdit edit;
    edit.show();
    QTest::keyClicks(&edit, u"hello world"_qs);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    edit.SetSel(0, 5);
    edit.Cut();
    EXPECT_EQ(edit.GetTextRange(0, -1), u" worl"_qs);

    edit.SetSel(5, 5);
    edit.Paste();
    EXPECT_EQ(edit.GetTextRange(0, -1), u" worlhello"_qs);

    edit.SetSel(0, 1);
    edit.Clear();
    edit.ReplaceSel(u"x"_qs, true);

    // Each step has its name, kept walking back and forth.
    const int expected[] = {UID_UNKNOWN, UID_DELETE, UID_PASTE, UID_CUT, UID_DELETE, UID_TYPING};
    for (int name : expected) {
        EXPECT_EQ(edit.GetUndoName(), name);
        ASSERT_TRUE(edit.Undo());
        EXPECT_EQ(edit.GetRedoName(), name);
    }
    EXPECT_FALSE(edit.CanUndo());
    EXPECT_EQ(edit.GetTextRange(0, -1), QString());
    ASSERT_TRUE(edit.Redo());
    EXPECT_EQ(edit.GetTextRange(0, -1), u"hello world"_qs);
    EXPECT_EQ(edit.GetUndoName(), UID_TYPING);
}

TEST(Undo, LimitAnswersTheValueAcceptedAndBoundsTheStepsAndEmptyingForgetsThem)
{
    RichEdit edit;
    EXPECT_EQ(edit.SetUndoLimit(2147483647), 2147483647);
    EXPECT_EQ(edit.SetUndoLimit(-5), 0);
    edit.ReplaceSel(u"a"_qs, true);
    EXPECT_FALSE(edit.CanUndo());

    EXPECT_EQ(edit.SetUndoLimit(2), 2);
    for (const char16_t* s : {u"b", u"c", u"d"})
        edit.ReplaceSel(QString::fromUtf16(s), true);
    EXPECT_TRUE(edit.Undo());
    EXPECT_TRUE(edit.Undo());
    EXPECT_FALSE(edit.CanUndo());
    EXPECT_FALSE(edit.Undo());
    EXPECT_EQ(edit.GetTextRange(0, -1), u"ab"_qs);
    EXPECT_TRUE(edit.CanRedo());
    edit.EmptyUndoBuffer();
    EXPECT_FALSE(edit.CanUndo());
    EXPECT_FALSE(edit.CanRedo());
    EXPECT_EQ(edit.GetUndoName(), UID_UNKNOWN);
}

TEST(Clipboard, CopyAndPasteKeepEveryFormatInTheProgramPlainTextMakesParagraphsAndReadOnlyRefuses)
{
    RichEdit edit;
    edit.SetText(u"wave here"_qs);
    edit.SetSel(0, 4);
    CHARFORMAT2 wave;
    wave.dwMask = CFM_UNDERLINETYPE | CFM_CHARSET;
    wave.bUnderlineType = CFU_UNDERLINEWAVE;
    wave.bCharSet = 204;
    edit.SetCharFormat(SCF_SELECTION, wave);
    edit.Copy();
    EXPECT_TRUE(edit.CanPaste());
    EXPECT_EQ(QApplication::clipboard()->text(), u"wave"_qs);

    RichEdit other;
    other.Paste();
    other.SetSel(0, -1);
    const CHARFORMAT2 r = other.GetCharFormat(SCF_SELECTION);
    EXPECT_EQ(other.GetTextRange(0, -1), u"wave"_qs);
    EXPECT_EQ(r.bUnderlineType, CFU_UNDERLINEWAVE);
    EXPECT_EQ(r.bCharSet, 204);

    // Plain text from elsewhere makes paragraphs; read-only refuses every change.
    RichEdit plain;
    QApplication::clipboard()->setText(u"a\nb\r\nc"_qs);
    plain.Paste();
    EXPECT_EQ(plain.GetTextRange(0, -1), u"a\rb\rc"_qs);
    plain.SetReadOnly(true);
    plain.Paste();
    plain.SetSel(0, -1);
    plain.Cut();
    plain.Clear();
    EXPECT_EQ(plain.GetTextRange(0, -1), u"a\rb\rc"_qs);
}

TEST(Clipboard, OwnerDecidesWhetherTheClipboardOutlivesTheControl)
{
    for (bool keep : {true, false}) {
        auto* edit = new RichEdit;
        edit->SetText(u"copied"_qs);
        edit->SetSel(0, -1);
        edit->Copy();
        int asked = 0;
        edit->OnSaveClipboard = [&](int objects, int chars) {
            ++asked;
            EXPECT_EQ(objects, 0);
            EXPECT_EQ(chars, 6);
            return keep;
        };
        delete edit;
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(QApplication::clipboard()->text(), keep ? u"copied"_qs : QString());
    }
}

} // namespace
