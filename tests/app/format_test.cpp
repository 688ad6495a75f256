// SPDX-License-Identifier: GPL-3.0-or-later
// Formatting and editing commands through the real window and real keys:
// numbering (F9), underline kinds (F7), alignment that leaves the text unmodified,
// indents and table rows laid out with the mouse while a key is held (and repeats),
// Alt keys that never type, Ctrl+Y, case, undo, the font and colour dialogs, and
// the stored numbering and underline items.
#include "testsupport.h"
#include "testsupport_store.h"

#include "registry.h"
#include "registrylayout.h"
#include "richedit.h"

#include <QKeyEvent>
#include <QMenu>
#include <QTest>
#include <QTextTable>

namespace {

class FormatTest : public ViewTest {
protected:
    TfmView& StartWith(const QString& text)
    {
        TfmView& w = Start();
        w.GEditor->SetText(text);
        w.GEditor->SetModified(false);
        return w;
    }
    platform::RichEdit* Control() { return view->GEditor->Window(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers state = Qt::NoModifier)
    {
        QTest::keyClick(Control(), key, state);
    }
    void Click(int x, int y = 5) { QTest::mouseClick(Control()->viewport(), Qt::LeftButton, {}, QPoint(x, y)); }
    void HeldF2(QEvent::Type type, quint64 at, bool autoRepeat = false)
    {
        QKeyEvent event(type, Qt::Key_F2, Qt::NoModifier, QString(), autoRepeat);
        event.setTimestamp(at);
        QCoreApplication::sendEvent(Control(), &event);
    }
};

TEST_F(FormatTest, F9TogglesNumberingOfTheStoredOrChosenKind)
{
    Store(RegistryKeys::Options, {{OptionsValue::ParNum, 4}, {OptionsValue::UnderLine, 4}});
    TfmView& w = StartWith(QStringLiteral("первый\rвторой"));
    EXPECT_EQ(w.NumKind, 3);
    EXPECT_EQ(w.NumStyle, 2);
    EXPECT_EQ(w.UnderKind, platform::CFU_UNDERLINEWAVE);
    w.N50Click();
    w.N60Click();
    EXPECT_TRUE(w.Item(QStringLiteral("mnLetF"))->isChecked());
    EXPECT_TRUE(w.Item(QStringLiteral("mWave"))->isChecked());
    EXPECT_FALSE(w.Item(QStringLiteral("mUlUse"))->isChecked());
    Control()->SetSel(0, 8);
    // A kind chosen with the button up changes nothing yet.
    w.Item(QStringLiteral("mnLetP"))->trigger();
    EXPECT_EQ(w.GEditor->Paragraph()->Numbering(), 0);
    Key(Qt::Key_F9);
    EXPECT_EQ(w.GEditor->Paragraph()->Numbering(), 3);
    EXPECT_EQ(Control()->GetParaFormat().wNumberingStyle, platform::PFNS_PAREN);
    EXPECT_TRUE(w.sbBullet->isChecked());
    // Another kind with the button down applies at once.
    w.Item(QStringLiteral("mnDigF"))->trigger();
    EXPECT_EQ(w.GEditor->Paragraph()->Numbering(), 2);
    EXPECT_EQ(Control()->GetParaFormat().wNumberingStyle, platform::PFNS_PERIOD);
    w.N50Click();
    EXPECT_TRUE(w.Item(QStringLiteral("mnDigF"))->isChecked());
    EXPECT_FALSE(w.Item(QStringLiteral("mnLetP"))->isChecked());
    Key(Qt::Key_F9);
    EXPECT_EQ(w.GEditor->Paragraph()->Numbering(), 0);
    EXPECT_FALSE(w.sbBullet->isChecked());
    // The bullet button's pop-up shows the chosen kind checked.
    w.PopupMenu2Popup();
    EXPECT_TRUE(w.PopupMenu2->actions()[3]->isChecked());
}

TEST_F(FormatTest, F7AppliesTheChosenUnderlineKindAndRemovesIt)
{
    TfmView& w = StartWith(QStringLiteral("волна"));
    Control()->SetSel(0, 5);
    w.Item(QStringLiteral("mWave"))->trigger();
    EXPECT_EQ(w.GEditor->SelAttributes()->UnderlineType(), 0);
    Key(Qt::Key_F7);
    EXPECT_EQ(w.GEditor->SelAttributes()->UnderlineType(), platform::CFU_UNDERLINEWAVE);
    Key(Qt::Key_F7);
    EXPECT_EQ(w.GEditor->SelAttributes()->UnderlineType(), 0);
    // With Apply checked a new kind applies at once.
    Key(Qt::Key_F7);
    w.Item(QStringLiteral("mBold"))->trigger();
    EXPECT_EQ(w.GEditor->SelAttributes()->UnderlineType(), platform::CFU_UNDERLINETHICK);
    // F8: superscript, then plain again.
    Key(Qt::Key_F8);
    EXPECT_EQ(w.GEditor->SelAttributes()->SubSuperscript(), 2);
    Key(Qt::Key_F8);
    EXPECT_EQ(w.GEditor->SelAttributes()->SubSuperscript(), 0);
}

TEST_F(FormatTest, AlignmentLeavesTheTextUnmodifiedAndUndoRefreshesTheButtons)
{
    const QString file = MakeFile(QStringLiteral("plain.txt"), QByteArray("line"));
    TfmView& w = Start({file});
    ASSERT_EQ(w.CurFileName, file);
    w.sbCenter->click();
    EXPECT_EQ(w.GEditor->Paragraph()->Alignment(), 2);
    EXPECT_FALSE(w.GEditor->Modified());
    EXPECT_FALSE(w.sbSave->isEnabled());
    w.Item(QStringLiteral("N56"))->trigger();
    EXPECT_TRUE(w.sbWidth->isChecked());
    // Undo of the unnamed step puts the buttons right.
    w.mBackClick();
    EXPECT_EQ(w.GEditor->Paragraph()->Alignment(), 2);
    EXPECT_TRUE(w.sbCenter->isChecked());
    w.N61Click();
    EXPECT_TRUE(w.Item(QStringLiteral("N48"))->isChecked());
}

TEST_F(FormatTest, IndentAndColumnClicksFollowThePointRule)
{
    TfmView& w = StartWith(QStringLiteral("абзац\r"));
    QTest::keyPress(Control(), Qt::Key_F11);
    Click(100);
    QTest::keyRelease(Control(), Qt::Key_F11);
    EXPECT_TRUE(WaitUntil([&] { return w.ClickMode == 0; }));
    EXPECT_DOUBLE_EQ(w.GEditor->Paragraph()->FirstIndent(), 73);
    EXPECT_EQ(Control()->GetParaFormat().dxOffset, -73 * 20);
    // A click without F11 is an ordinary click.
    Click(200);
    EXPECT_DOUBLE_EQ(w.GEditor->Paragraph()->FirstIndent(), 73);

    // Three clicks with F2 held make one empty row of three columns, however the
    // key's repeats come: flagged as such, or as a plain release and press that
    // share one time stamp.
    Control()->SetSel(6, 6);
    HeldF2(QEvent::KeyPress, 1000);
    Click(100);
    HeldF2(QEvent::KeyRelease, 1660);
    QCoreApplication::processEvents();
    HeldF2(QEvent::KeyPress, 1660);
    Click(200);
    HeldF2(QEvent::KeyRelease, 1700, true);
    HeldF2(QEvent::KeyPress, 1700, true);
    Click(300);
    HeldF2(QEvent::KeyRelease, 1900);
    ASSERT_TRUE(WaitUntil([&] { return !w.F2Held; }));
    EXPECT_EQ(w.ClickMode, 0);
    ASSERT_EQ(w.ColumnStops, (std::vector<std::int32_t>{73 * 20, 148 * 20, 223 * 20}));
    QTextTable* table = nullptr;
    for (QTextFrame* frame : Control()->Document()->rootFrame()->childFrames())
        table = table ? table : qobject_cast<QTextTable*>(frame);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->columns(), 3);
    EXPECT_EQ(table->rows(), 1);
    EXPECT_TRUE(w.GEditor->Text().startsWith(QStringLiteral("абзац")));
}

TEST_F(FormatTest, AltWithACharacterNeverTypes)
{
    TfmView& w = StartWith(QStringLiteral("Ёлка и ёж"));
    Control()->SetSel(0, 5);
    for (char c : {'f', 'w', 'x', '8', ' '})
        QTest::keyClick(Control(), c, Qt::AltModifier);
    QTest::keyClick(Control(), 'F', Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("Ёлка и ёж"));
    EXPECT_EQ(w.GEditor->SelLength(), 5);
    EXPECT_FALSE(w.GEditor->Modified());
    // Without Alt the same key types.
    QTest::keyClick(Control(), 'f');
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("fи ёж"));
}

TEST_F(FormatTest, CtrlYCaseAndSizeKeysEditAsOneUndoStepEach)
{
    TfmView& w = StartWith(QStringLiteral("один\rдва\rтри"));
    // Ctrl+Y deletes the caret's line, on the last line to the end, and a
    // selection's lines all.
    Control()->SetSel(6, 6);
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("один\rтри"));
    Control()->SetSel(6, 6);
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("один\r"));
    w.mBackClick();
    w.mBackClick();
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("один\rдва\rтри"));
    Control()->SetSel(1, 6);
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("три"));

    // Case by the Windows-1251 rule keeps Ё and the formats, in one step.
    w.GEditor->SetText(QStringLiteral("ёлка и Ёж, Tree"));
    Control()->SetSel(7, 9);
    Key(Qt::Key_F5);
    EXPECT_TRUE(w.GEditor->SelAttributes()->Style().Contains(TFontStyle::fsBold));
    w.GEditor->SelectAll();
    Key(Qt::Key_Plus, Qt::AltModifier | Qt::KeypadModifier);
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("ёЛКА И ЁЖ, TREE"));
    EXPECT_EQ(w.GEditor->SelLength(), 15);
    Control()->SetSel(7, 9);
    EXPECT_TRUE(w.GEditor->SelAttributes()->Style().Contains(TFontStyle::fsBold));
    w.mBackClick();
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("ёлка и Ёж, Tree"));
    Control()->SetSel(0, 15);
    Key(Qt::Key_Minus, Qt::AltModifier | Qt::KeypadModifier);
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("ёлка и Ёж, tree"));

    // Size and baseline step by one point, only with a selection.
    Control()->SetSel(1, 2);
    const int size = w.GEditor->SelAttributes()->Size();
    Key(Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(w.GEditor->SelAttributes()->Size(), size + 1);
    Key(Qt::Key_Down, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_DOUBLE_EQ(w.GEditor->SelAttributes()->Offset(), -1);
    Control()->SetSel(1, 1);
    Key(Qt::Key_Up, Qt::ControlModifier | Qt::AltModifier);
    Control()->SetSel(1, 2);
    EXPECT_DOUBLE_EQ(w.GEditor->SelAttributes()->Offset(), -1);
}

TEST_F(FormatTest, ColourAndFontDialogsChangeNothingWhenCancelled)
{
    TfmView& w = StartWith(QStringLiteral("цвет"));
    Control()->SetSel(0, 4);
    prompter.AnswerColor(std::nullopt).AnswerColor(std::nullopt).AnswerFont(std::nullopt);
    w.mClrClick();
    w.N27Click();
    w.meFontClick();
    EXPECT_FALSE(w.GEditor->Modified());
    EXPECT_EQ(w.GEditor->Color(), clWindow);

    prompter.AnswerColor(QColor(255, 255, 0)).AnswerColor(QColor(0, 0, 128));
    w.mClrClick();
    EXPECT_EQ(w.GEditor->SelAttributes()->BackColor(), 0x00FFFF);
    w.N27Click();
    EXPECT_EQ(w.GEditor->Color(), 0x800000);
    // The whole text in another font: the editor's own font follows.
    QFont chosen(QStringLiteral("Liberation Serif"), 14);
    chosen.setItalic(true);
    chosen.setUnderline(true);
    prompter.AnswerFont(chosen);
    w.GEditor->SelectAll();
    w.meFontClick();
    EXPECT_EQ(w.GEditor->SelAttributes()->Name(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(w.GEditor->SelAttributes()->Size(), 14);
    EXPECT_EQ(w.GEditor->SelAttributes()->UnderlineType(), w.UnderKind);
    EXPECT_EQ(w.GEditor->Font().Name, QStringLiteral("Liberation Serif"));
    EXPECT_TRUE(prompter.Problems().isEmpty());
}

} // namespace
