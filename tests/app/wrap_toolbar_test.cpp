// SPDX-License-Identifier: GPL-3.0-or-later
// Word wrap toggled from the toolbar and the menu, and the toolbar's arrangement
// when groups of buttons are hidden.
#include "testsupport.h"

#include "richedit.h"

#include <QTest>

namespace {

TEST_F(ViewTest, WrapOnAndOffKeepsFormattingSelectionAndTheModifiedFlag)
{
    TfmView& w = Start();
    w.GEditor->SetText(QStringLiteral("обычный жирный обычный"));
    w.GEditor->SetSelStart(8);
    w.GEditor->SetSelLength(6);
    TFontStyles bold;
    bold.Include(TFontStyle::fsBold);
    w.GEditor->SelAttributes()->SetStyle(bold);
    w.GEditor->SetSelStart(3);
    w.GEditor->SetSelLength(9);
    w.GEditor->SetModified(true);
    auto boldAt = [&w](int pos) {
        w.GEditor->SetSelStart(pos);
        w.GEditor->SetSelLength(1);
        return w.GEditor->SelAttributes()->Style().Contains(TFontStyle::fsBold);
    };

    w.sbWrap->click();
    EXPECT_TRUE(w.GEditor->WordWrap());
    EXPECT_TRUE(w.sbWrap->isChecked());
    EXPECT_EQ(w.GEditor->SelStart(), 3);
    EXPECT_EQ(w.GEditor->SelLength(), 9);
    EXPECT_TRUE(w.GEditor->Modified());
    EXPECT_TRUE(w.TextReady);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Text input"));

    // Ctrl+B runs the same toggle from the Options menu.
    QTest::keyClick(w.GEditor->Window(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_FALSE(w.GEditor->WordWrap());
    EXPECT_FALSE(w.sbWrap->isChecked());
    EXPECT_EQ(w.GEditor->SelStart(), 3);
    EXPECT_EQ(w.GEditor->SelLength(), 9);
    EXPECT_TRUE(w.GEditor->Modified());
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("обычный жирный обычный"));
    EXPECT_TRUE(boldAt(9));
    EXPECT_FALSE(boldAt(2));
    EXPECT_FALSE(boldAt(16));
    EXPECT_TRUE(w.GEditor->TempStream()->Stale);
}

TEST_F(ViewTest, HiddenButtonGroupsCloseUpTheToolbarAndComeBackInPlace)
{
    TfmView& w = Start();
    const int wrap = w.sbWrap->x();
    const int nastr = w.sbNastr->x();
    w.Item(QStringLiteral("mAllB"))->trigger();
    w.Item(QStringLiteral("N54"))->trigger();
    for (QToolButton* b : {w.sbKoi, w.sbMac, w.sbIso, w.sbLeft, w.sbCenter, w.sbRight, w.sbWidth, w.sbBullet})
        EXPECT_TRUE(b->isHidden()) << b->objectName().toStdString();
    // No gap is left where the buttons were.
    EXPECT_EQ(w.sbUni->x(), w.sbWin->x() + 25);
    EXPECT_EQ(w.sbNastr->x(), w.Bevels[7]->x() + 4);

    w.Item(QStringLiteral("mAllB"))->trigger();
    w.Item(QStringLiteral("N54"))->trigger();
    EXPECT_FALSE(w.sbKoi->isHidden());
    EXPECT_EQ(w.sbWrap->x(), wrap);
    EXPECT_EQ(w.sbNastr->x(), nastr);
}

} // namespace
