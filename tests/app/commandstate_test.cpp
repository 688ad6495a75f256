// SPDX-License-Identifier: GPL-3.0-or-later
// When commands run, through the real window and real key presses: shortcuts
// whatever menus were opened before, the keypad's digits, a read-only text that no
// command changes, and the Paste button following the clipboard.
#include "testsupport.h"
#include "testsupport_store.h"

#include "registry.h"
#include "registrylayout.h"
#include "richedit.h"

#include <QApplication>
#include <QClipboard>
#include <QKeySequence>
#include <QMenu>
#include <QTest>

namespace {

const QString Russian = QStringLiteral("Съешь же ещё этих мягких французских булок");

// Opens a menu as the user does and closes it again without choosing anything.
void OpenAndClose(TfmView& w, const char* name)
{
    QMenu* menu = w.Menu(QString::fromLatin1(name));
    QWidget* window = &w;
    menu->popup(QPoint(10, 10));
    ASSERT_TRUE(WaitUntil([menu] { return menu->isVisible(); }));
    menu->hide();
    // A desktop gives the activation back to the window a pop-up came from; the
    // offscreen platform leaves it with the closed pop-up.
    window->activateWindow();
    ASSERT_TRUE(WaitUntil([window] { return QApplication::activeWindow() == window; }));
}

void TypeAtEnd(TfmView& w, const QString& text)
{
    platform::RichEdit* control = w.GEditor->Window();
    control->SetSel(control->GetTextLength(), control->GetTextLength());
    QTest::keyClicks(control, text);
}

TEST_F(ViewTest, KeysRunTheirCommandsWhateverTheMenusShowedWhenLastOpened)
{
    const QString file = MakeFile(QStringLiteral("named.txt"), QByteArray("text"));
    TfmView& w = Start({file});
    platform::RichEdit* control = w.GEditor->Window();
    OpenAndClose(w, "N8");
    EXPECT_FALSE(w.Item(QStringLiteral("N19"))->isEnabled());   // the menu showed Save unavailable
    TypeAtEnd(w, QStringLiteral("s"));
    ASSERT_TRUE(w.GEditor->Modified());
    QTest::keyClick(control, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadFile(file), QByteArray("texts"));
    EXPECT_FALSE(w.GEditor->Modified());
    // Nothing to save: the key does nothing, as the menu item would.
    QFile::remove(file);
    QTest::keyClick(control, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(QFile::exists(file));
    MakeFile(QStringLiteral("named.txt"), QByteArray("text"));

    // Redo, after the Edit menu showed nothing to redo.
    OpenAndClose(w, "N14");
    EXPECT_FALSE(w.Item(QStringLiteral("mFrw"))->isEnabled());
    w.GEditor->Undo();
    ASSERT_EQ(w.GEditor->Text(), QStringLiteral("text"));
    QTest::keyClick(control, Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("texts"));

    // An encoding key follows its button, not what the menu showed.
    w.GEditor->SetText(Russian);
    w.GEditor->SetModified(false);
    w.sbKoi->setEnabled(false);
    OpenAndClose(w, "N33");
    EXPECT_FALSE(w.Item(QStringLiteral("mKoi"))->isEnabled());
    w.sbKoi->setEnabled(true);
    // The keypad's digits reinterpret nothing; the digit above the letters does.
    for (Qt::Key key : {Qt::Key_1, Qt::Key_3, Qt::Key_7, Qt::Key_8})
        QTest::keyClick(control, key, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(w.CurEncoding, Win);
    EXPECT_EQ(w.GEditor->Text(), Russian);
    EXPECT_FALSE(w.GEditor->Modified());
    QTest::keyClick(control, Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(w.CurEncoding, Koi);
    EXPECT_TRUE(prompter.Asked().empty());
}

class ReadOnlyTest : public ViewTest {
protected:
    TfmView& StartReadOnly()
    {
        Store(RegistryKeys::Options, {{"ReadOnly", 1}});
        TfmView& w = Start();
        EXPECT_TRUE(w.GEditor->ReadOnly());
        w.GEditor->SetText(Russian);
        w.GEditor->SetModified(false);
        QGuiApplication::clipboard()->setText(QStringLiteral("из буфера"));
        QCoreApplication::processEvents();
        return w;
    }

    void ExpectUntouched(TfmView& w, const char* how)
    {
        EXPECT_EQ(w.GEditor->Text(), Russian) << how;
        EXPECT_FALSE(w.GEditor->Modified()) << how;
    }
};

TEST_F(ReadOnlyTest, NoPasteCutDeleteTypingUndoRedoOrFormatKeyChangesTheText)
{
    TfmView& w = StartReadOnly();
    platform::RichEdit* control = w.GEditor->Window();
    // Something to undo from before the text became read-only.
    w.GEditor->SetReadOnly(false);
    control->SetSel(0, 0);
    QTest::keyClicks(control, QStringLiteral("x"));
    control->SetSel(0, 1);
    QTest::keyClick(control, Qt::Key_Delete);
    w.GEditor->SetReadOnly(true);
    w.GEditor->SetModified(false);
    ASSERT_EQ(w.GEditor->Text(), Russian);
    ASSERT_TRUE(w.GEditor->CanUndo());

    // Every key that edits, pastes or undoes, each checked on its own.
    const QKeyCombination edits[] = {
        Qt::ControlModifier | Qt::Key_V, Qt::ControlModifier | Qt::AltModifier | Qt::Key_V,
        Qt::ShiftModifier | Qt::Key_Insert, Qt::ControlModifier | Qt::Key_X, QKeyCombination(Qt::Key_Delete),
        QKeyCombination(Qt::Key_Backspace), QKeyCombination(Qt::Key_A), Qt::ControlModifier | Qt::Key_Y,
        Qt::ControlModifier | Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier | Qt::Key_Backspace};
    control->SetSel(0, 5);
    for (const QKeyCombination key : edits) {
        QTest::keyClick(control, key.key(), key.keyboardModifiers());
        ExpectUntouched(w, QKeySequence(key).toString().toLatin1().constData());
    }
    w.PasteText();
    ExpectUntouched(w, "PasteText");
    EXPECT_FALSE(w.sbPaste->isEnabled());
    for (const char* item : {"mIns", "N4", "mInsF", "N7", "mCut", "N3", "mBack", "mFrw"}) {
        w.Item(QString::fromLatin1(item))->trigger();
        ExpectUntouched(w, item);
    }
    for (QToolButton* b : {w.sbCut, w.sbUndo, w.sbRedo}) {
        emit b->clicked();
        ExpectUntouched(w, b->objectName().toLatin1().constData());
    }

    // Nor does any key that formats.
    control->SetSel(0, 5);
    const int size = w.GEditor->SelAttributes()->Size();
    for (const QKeyCombination key : {Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Plus,
                                      Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Plus,
                                      Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Minus,
                                      Qt::AltModifier | Qt::KeypadModifier | Qt::Key_Plus, QKeyCombination(Qt::Key_F5),
                                      QKeyCombination(Qt::Key_F6), Qt::ControlModifier | Qt::AltModifier | Qt::Key_Up})
        QTest::keyClick(control, key.key(), key.keyboardModifiers());
    EXPECT_EQ(w.GEditor->SelAttributes()->Size(), size);
    EXPECT_FALSE(w.GEditor->SelAttributes()->Style().Contains(TFontStyle::fsItalic));
    EXPECT_DOUBLE_EQ(w.GEditor->SelAttributes()->Offset(), 0);
    ExpectUntouched(w, "format keys");
}

TEST_F(ViewTest, ThePasteButtonFollowsTheClipboard)
{
    QGuiApplication::clipboard()->clear();
    TfmView& w = Start();
    QCoreApplication::processEvents();
    EXPECT_FALSE(w.sbPaste->isEnabled());
    // Text arriving from elsewhere, with no change of the selection here.
    QGuiApplication::clipboard()->setText(QStringLiteral("из другой программы"));
    EXPECT_TRUE(WaitUntil([&] { return w.sbPaste->isEnabled(); }, 2000));
    QGuiApplication::clipboard()->clear();
    EXPECT_TRUE(WaitUntil([&] { return !w.sbPaste->isEnabled(); }, 2000));
}

} // namespace
