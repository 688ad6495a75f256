// SPDX-License-Identifier: GPL-3.0-or-later
// Saved screens and full screen through the real window: Alt+digit stores a look,
// a stored slot asks before it is replaced, a slot missing a value is not offered,
// applying a screen reformats every character without marking the text changed,
// and full screen hides the bars while every shortcut keeps working.
#include "testsupport.h"
#include "testsupport_store.h"

#include "registry.h"
#include "registrylayout.h"
#include "richedit.h"

#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>

namespace {

void Key(TfmView& w, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(w.GEditor->Window(), key, modifiers);
}

std::int32_t StoredInteger(const std::string& name)
{
    platform::TRegistry reg;
    EXPECT_TRUE(reg.OpenKey(RegistryKeys::Screens, false));
    return reg.ReadInteger(name);
}

std::string StoredString(const std::string& name)
{
    platform::TRegistry reg;
    EXPECT_TRUE(reg.OpenKey(RegistryKeys::Screens, false));
    return reg.ReadString(name);
}

void SetFont(TfmView& w, const QString& name, int size, TFontStyles style, TColor color)
{
    TFont font = w.GEditor->Font();
    font.Name = name;
    font.Size = size;
    font.Style = style;
    font.Color = color;
    w.GEditor->SetFont(font);
}

TEST_F(ViewTest, AltDigitStoresTheLookAndAsksOnlyBeforeReplacingIt)
{
    TfmView& w = Start();
    SetFont(w, QStringLiteral("Liberation Serif"), 14, {TFontStyle::fsItalic, TFontStyle::fsStrikeOut}, 0x0000FF);
    w.GEditor->SetColor(0x00FFFF);
    Key(w, Qt::Key_3, Qt::AltModifier);
    EXPECT_TRUE(prompter.Asked().empty());
    EXPECT_EQ(StoredString(ScreensValue::Font(3)), "Liberation Serif");
    EXPECT_EQ(StoredString(ScreensValue::FStyle(3)), "010"); // strikeout is not kept
    EXPECT_EQ(StoredInteger(ScreensValue::FColor(3)), 0x0000FF);
    EXPECT_EQ(StoredInteger(ScreensValue::Size(3)), 14);
    EXPECT_EQ(StoredInteger(ScreensValue::Color(3)), 0x00FFFF);
    EXPECT_EQ(StoredInteger(ScreensValue::Window(3)), 0); // the window starts maximized

    // Answered No: nothing is written.
    SetFont(w, QStringLiteral("Liberation Mono"), 9, {}, 0);
    prompter.AnswerMessage(MsgButton::No);
    Key(w, Qt::Key_3, Qt::AltModifier);
    ASSERT_EQ(Messages(), QStringList{QStringLiteral("Here is already the saved screen. Do you want replace it?")});
    EXPECT_EQ(prompter.Asked().front().msgKind, MsgKind::Confirmation);
    EXPECT_EQ(StoredString(ScreensValue::Font(3)), "Liberation Serif");

    prompter.AnswerMessage(MsgButton::Yes);
    Key(w, Qt::Key_3, Qt::AltModifier);
    EXPECT_EQ(StoredString(ScreensValue::Font(3)), "Liberation Mono");
    EXPECT_EQ(StoredInteger(ScreensValue::Size(3)), 9);

    // Alt with 6 or 7 stores nothing and types nothing.
    const QString before = w.GEditor->Text();
    Key(w, Qt::Key_6, Qt::AltModifier);
    Key(w, Qt::Key_7, Qt::AltModifier);
    EXPECT_EQ(w.GEditor->Text(), before);
    platform::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(RegistryKeys::Screens, false));
    EXPECT_FALSE(reg.ValueExists(ScreensValue::Font(6)));
    EXPECT_EQ(prompter.Asked().size(), 2u);

    // Only complete slots are offered, in both menus.
    Key(w, Qt::Key_2, Qt::AltModifier);
    reg.DeleteValue(ScreensValue::Size(3));
    emit w.Menu(QStringLiteral("N26"))->aboutToShow();
    emit w.PopupMenu1->aboutToShow();
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(w.Item(QStringLiteral("mmSaved%1").arg(n))->isEnabled(), n == 2) << n;
        EXPECT_EQ(w.Item(QStringLiteral("pmSaved%1").arg(n))->isEnabled(), n == 2) << n;
    }
}

TEST_F(ViewTest, TheScreenByDefaultReformatsEveryCharacterWithoutMarkingTheText)
{
    const QString file = MakeFile(QStringLiteral("look.rtf"),
                                  QByteArray("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Liberation Serif;}{\\f1 Liberation Sans;}}"
                                             "{\\colortbl;\\red255\\green0\\blue0;}"
                                             "\\f0\\fs40\\cf1\\b big red\\b0\\par\\f1\\fs16\\i small\\par}"));
    TfmView& w = Start({file});
    w.setWindowState(Qt::WindowNoState);
    w.GEditor->SetColor(0x00FFFF);
    w.GEditor->SetSelStart(2);
    w.GEditor->SetSelLength(3);
    ASSERT_FALSE(w.GEditor->Modified());

    w.Item(QStringLiteral("meDefault"))->trigger();

    platform::RichEdit* control = w.GEditor->Window();
    const std::int32_t length = control->GetTextLength();
    for (std::int32_t p = 0; p < length; ++p) {
        control->SetSel(p, p + 1);
        TTextAttributes* a = w.GEditor->SelAttributes();
        ASSERT_EQ(a->Name(), QStringLiteral("Courier New")) << p;
        ASSERT_EQ(a->Size(), 10) << p;
        ASSERT_EQ(a->Color(), clBlack) << p;
        ASSERT_TRUE(a->Style().Empty()) << p;
    }
    EXPECT_EQ(w.GEditor->Color(), clWindow);
    EXPECT_EQ(w.GEditor->Font().Name, QStringLiteral("Courier New"));
    EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(w.GEditor->Modified());
    EXPECT_FALSE(w.sbSave->isEnabled());
    EXPECT_TRUE(w.TextReady);
}

TEST_F(ViewTest, AScreenRestoresTheWindowStateItWasStoredIn)
{
    TfmView& w = Start();
    SetFont(w, QStringLiteral("Liberation Sans"), 12, {TFontStyle::fsBold}, 0x008000);
    Key(w, Qt::Key_1, Qt::AltModifier); // stored maximized
    w.setWindowState(Qt::WindowNoState);
    SetFont(w, QStringLiteral("Liberation Mono"), 11, {TFontStyle::fsUnderline}, 0x800000);
    Key(w, Qt::Key_2, Qt::AltModifier); // stored normal
    EXPECT_EQ(StoredInteger(ScreensValue::Window(2)), 1);
    w.GEditor->SetText(QStringLiteral("Съешь же ещё этих мягких французских булок"));
    w.GEditor->SetModified(true);

    emit w.PopupMenu1->aboutToShow();
    w.Item(QStringLiteral("pmSaved1"))->trigger();
    EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(w.GEditor->Font().Name, QStringLiteral("Liberation Sans"));
    w.GEditor->SetSelStart(4);
    EXPECT_TRUE(w.GEditor->SelAttributes()->Style().Contains(TFontStyle::fsBold));
    EXPECT_TRUE(w.GEditor->Modified()); // a changed text stays changed

    w.Item(QStringLiteral("mmSaved2"))->trigger();
    EXPECT_FALSE(w.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
    EXPECT_EQ(w.GEditor->SelAttributes()->Name(), QStringLiteral("Liberation Mono"));
    EXPECT_EQ(w.GEditor->SelAttributes()->Color(), 0x800000);
    EXPECT_TRUE(w.GEditor->SelAttributes()->Style().Contains(TFontStyle::fsUnderline));
}

TEST_F(ViewTest, FullScreenHidesTheBarsKeepsEveryShortcutAndTogglingTwiceEndsNormal)
{
    Store(RegistryKeys::Options, {{OptionsValue::Window, -1}});
    TfmView& w = Start();
    ASSERT_TRUE(w.FullScreen);
    EXPECT_TRUE(w.windowState() & Qt::WindowFullScreen);
    for (const QWidget* bar : std::initializer_list<const QWidget*>{w.MainMenu1, w.paTop, w.stb})
        EXPECT_EQ(bar->isHidden(), true) << bar->objectName().toStdString();

    // Menu shortcuts still reach their commands: Ctrl+B wraps lines, Ctrl+L sets a bookmark.
    const bool wrapped = w.GEditor->WordWrap();
    Key(w, Qt::Key_B, Qt::ControlModifier);
    EXPECT_NE(w.GEditor->WordWrap(), wrapped);
    // Esc only leaves full screen; the window stays open.
    Key(w, Qt::Key_Escape);
    EXPECT_FALSE(w.FullScreen);
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));

    Key(w, Qt::Key_U, Qt::ControlModifier);
    Key(w, Qt::Key_U, Qt::ControlModifier);
    EXPECT_FALSE(w.FullScreen);
    EXPECT_FALSE(w.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
    for (const QWidget* bar : std::initializer_list<const QWidget*>{w.MainMenu1, w.paTop, w.stb})
        EXPECT_EQ(bar->isHidden(), false) << bar->objectName().toStdString();
    // Out of full screen the menu bar alone carries the shortcuts again.
    EXPECT_FALSE(w.actions().contains(w.Item(QStringLiteral("ESC1"))));
    EXPECT_TRUE(prompter.Asked().empty());
}

} // namespace
