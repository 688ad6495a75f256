// SPDX-License-Identifier: GPL-3.0-or-later
// Find and replace through the real window: directions, whole words, case by the
// Windows-1251 rule, Replace All's count and its one undo step, F3/F4 in the
// editor, the strings kept in the Search key, bookmarks and Esc, and where the
// focus goes after nothing is found.
#include "testsupport.h"
#include "testsupport_store.h"

#include "finddialog.h"
#include "registry.h"
#include "registrylayout.h"
#include "richedit.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace {

std::string StoredSearch(const char* name)
{
    platform::TRegistry reg;
    if (!reg.OpenKeyReadOnly(RegistryKeys::Search) || !reg.ValueExists(name))
        return "<absent>";
    return reg.ReadString(name);
}

// Answers as scripted; and as a desktop does when a message box goes, it hands
// the activation to the main window.
class DesktopPrompter : public ScriptedPrompter {
public:
    QWidget* mainWindow = nullptr;
    MsgButton Message(MsgKind kind, const QString& caption, const QString& text, MsgButtons buttons) override
    {
        const MsgButton answer = ScriptedPrompter::Message(kind, caption, text, buttons);
        if (mainWindow) {
            mainWindow->activateWindow();
            WaitUntil([this] { return QApplication::activeWindow() == mainWindow; }, 2000);
        }
        return answer;
    }
};

class SearchTest : public ViewTest {
protected:
    TfmView& StartWith(const QString& text)
    {
        TfmView& w = Start();
        w.GEditor->SetText(text);
        w.GEditor->SetModified(false);
        return w;
    }
    platform::CHARRANGE Sel() { return view->GEditor->Window()->ExGetSel(); }
    void Select(int from, int to) { view->GEditor->Window()->SetSel(from, to); }
    void Key(Qt::Key key, Qt::KeyboardModifiers state = Qt::NoModifier)
    {
        QTest::keyClick(view->GEditor->Window(), key, state);
    }
    TFindDialog& Replace(const QString& find, const QString& by, bool matchCase)
    {
        view->sbReplClick();
        view->ReplaceDialog1->SetFindText(find);
        view->ReplaceDialog1->SetReplaceText(by);
        view->ReplaceDialog1->SetMatchCase(matchCase);
        return *view->ReplaceDialog1;
    }
};

TEST_F(SearchTest, FindsDownAndUpFromTheSelectionAndSaysWhenNothingIsLeft)
{
    //                                 0    5    10   15   20
    TfmView& w = StartWith(QStringLiteral("кот, кот и кот"));
    w.sbFindClick();
    ASSERT_TRUE(w.FindDialog1 && w.FindDialog1->isVisible());
    w.FindDialog1->SetFindText(QStringLiteral("КОТ"));
    Select(6, 6);
    w.FindNew();
    EXPECT_EQ(Sel().cpMin, 11);
    EXPECT_EQ(Sel().cpMax, 14);
    w.FindNew();
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("Substring is not found: \"КОТ\"")});
    EXPECT_EQ(Sel().cpMin, 11);   // unchanged

    // Up from the middle: the last match before the selection.
    w.FindDialog1->SetDown(false);
    Select(9, 10);
    w.FindNew();
    EXPECT_EQ(Sel().cpMin, 5);
    w.FindNew();
    EXPECT_EQ(Sel().cpMin, 0);
    // Case matched: none in capitals.
    w.FindDialog1->SetMatchCase(true);
    w.FindNew();
    EXPECT_EQ(Messages().size(), 2);

    // A whole word skips longer words; Replace All does not.
    w.GEditor->SetText(QStringLiteral("домик дом домовой"));
    w.FindDialog1->SetFindText(QStringLiteral("дом"));
    w.FindDialog1->SetDown(true);
    w.FindDialog1->SetWholeWord(true);
    Select(0, 0);
    w.FindNew();
    EXPECT_EQ(Sel().cpMin, 6);
    TFindDialog& replace = Replace(QStringLiteral("дом"), QStringLiteral("сад"), true);
    EXPECT_FALSE(w.FindDialog1);   // one dialog at a time
    replace.SetWholeWord(true);
    w.ReplaceDialog1Replace(true);
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("садик сад садовой"));
    EXPECT_EQ(Messages().last(), QStringLiteral("3 replacements:  дом ---> сад"));
    EXPECT_FALSE(replace.isVisible());
    EXPECT_TRUE(w.TextReady);
    EXPECT_TRUE(w.sbUndo->isEnabled());
}

TEST_F(SearchTest, ReplaceAllByATextHoldingTheFindTextEndsAndUndoesAsOneStep)
{
    TfmView& w = StartWith(QStringLiteral("a b A c a"));
    // F3 with no dialog opens Find; Esc while one shows keeps the window; Ctrl+R
    // puts Replace in its place.
    Key(Qt::Key_F3);
    ASSERT_TRUE(w.FindDialog1);
    EXPECT_TRUE(w.FindDialog1->isVisible());
    Key(Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
    Key(Qt::Key_R, Qt::ControlModifier);
    ASSERT_TRUE(w.ReplaceDialog1);
    EXPECT_FALSE(w.FindDialog1);
    EXPECT_TRUE(w.ReplaceDialog1->isVisible());

    Replace(QStringLiteral("a"), QStringLiteral("aa"), false);
    w.ReplaceDialog1Replace(true);
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("aa b aa c aa"));
    EXPECT_EQ(Messages().last(), QStringLiteral("3 replacements:  a ---> aa"));
    w.mBackClick();
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("a b A c a"));
    EXPECT_FALSE(w.GEditor->CanUndo());

    // Nothing found, nothing changed, and said so.
    Replace(QStringLiteral("zz"), QStringLiteral("y"), false);
    w.ReplaceDialog1Replace(true);
    EXPECT_EQ(Messages().last(), QStringLiteral("0 replacements:  zz ---> y"));
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("a b A c a"));
}

TEST_F(SearchTest, F4ComparesByTheWindowsRuleWhenCaseIsIgnored)
{
    TfmView& w = StartWith(QStringLiteral("МАМА ЁЖ мама"));
    Replace(QStringLiteral("мама"), QStringLiteral("папа"), false);
    Select(0, 4);
    Key(Qt::Key_F4);   // the dialog exists: it closes and the selection is replaced
    EXPECT_FALSE(w.ReplaceDialog1->isVisible());
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("папа ЁЖ мама"));
    // Ё has no small form under that rule: "ёж" is not "ЁЖ".
    w.ReplaceDialog1->SetFindText(QStringLiteral("ёж"));
    Select(5, 7);
    Key(Qt::Key_F4);
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("папа ЁЖ мама"));
    // Case matched: "мама" is not "МАМА"; F3 finds, F4 replaces.
    w.ReplaceDialog1->SetFindText(QStringLiteral("мама"));
    w.ReplaceDialog1->SetMatchCase(true);
    Select(0, 0);
    Key(Qt::Key_F3);
    EXPECT_EQ(Sel().cpMin, 8);
    Key(Qt::Key_F4);
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("папа ЁЖ папа"));
    EXPECT_TRUE(prompter.Asked().empty());
}

TEST_F(SearchTest, TheSearchKeyKeepsTheLastRealStrings)
{
    Store(RegistryKeys::Search, {{SearchValue::FindStr, "кот"}});
    TfmView& w = StartWith(QStringLiteral("text"));
    w.sbFindClick();
    EXPECT_EQ(w.FindDialog1->FindText(), QStringLiteral("кот"));
    w.FindDialog1->SetFindText(QString());
    w.FindDialog1->CloseDialog();
    EXPECT_EQ(StoredSearch(SearchValue::FindStr), "кот");

    w.sbFindClick();
    w.FindDialog1->SetFindText(QStringLiteral("пёс"));
    QTest::keyClick(w.FindDialog1, Qt::Key_Escape);
    EXPECT_FALSE(w.FindDialog1->isVisible());
    EXPECT_EQ(StoredSearch(SearchValue::FindStr), "пёс");

    Replace(QStringLiteral("из"), QStringLiteral("в"), true);
    w.ReplaceDialog1->CloseDialog();
    EXPECT_EQ(StoredSearch(SearchValue::FindReplStr), "из");
    EXPECT_EQ(StoredSearch(SearchValue::ReplStr), "в");
    // A fresh dialog of the other kind reads them back.
    w.sbFindClick();
    w.sbReplClick();
    EXPECT_EQ(w.ReplaceDialog1->ReplaceText(), QStringLiteral("в"));
}

TEST_F(SearchTest, TheSearchMenuRulesBookmarksAndWhatOpeningTheMenuOrTheirKeysDo)
{
    TfmView& w = StartWith(QStringLiteral("один два один"));
    w.N20Click();
    EXPECT_FALSE(w.Item(QStringLiteral("N22"))->isEnabled());
    EXPECT_FALSE(w.Item(QStringLiteral("N32"))->isEnabled());
    EXPECT_FALSE(w.Item(QStringLiteral("N25"))->isEnabled());

    // Opening the menu while Find shows leaves the Replace dialog in its place,
    // and F3 then searches with its text.
    w.sbFindClick();
    w.FindDialog1->SetFindText(QStringLiteral("два"));
    Replace(QStringLiteral("один"), QStringLiteral("три"), true);
    w.ReplaceDialog1->CloseDialog();
    w.sbFindClick();
    w.N20Click();
    EXPECT_FALSE(w.FindDialog1);
    ASSERT_TRUE(w.ReplaceDialog1);
    EXPECT_TRUE(w.Item(QStringLiteral("N22"))->isEnabled());
    EXPECT_TRUE(w.Item(QStringLiteral("N32"))->isEnabled());
    Select(1, 1);
    Key(Qt::Key_F3);
    EXPECT_EQ(Sel().cpMin, 9);

    // Bookmarks.
    Select(5, 8);
    QTest::keyClick(w.GEditor->Window(), Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(w.Bookmark, 5);
    w.N20Click();
    EXPECT_TRUE(w.Item(QStringLiteral("N25"))->isEnabled());
    Select(0, 2);
    QTest::keyClick(w.GEditor->Window(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(Sel().cpMin, 5);
    EXPECT_EQ(Sel().cpMax, 5);

    // The bookmark keys keep the Find dialog that F3 searches with.
    w.sbFindClick();
    ASSERT_TRUE(w.FindDialog1);
    w.FindDialog1->SetFindText(QStringLiteral("два"));
    Select(0, 0);
    QTest::keyClick(w.GEditor->Window(), Qt::Key_L, Qt::ControlModifier);
    QTest::keyClick(w.GEditor->Window(), Qt::Key_G, Qt::ControlModifier);
    ASSERT_TRUE(w.FindDialog1);
    EXPECT_FALSE(w.ReplaceDialog1);
    EXPECT_EQ(w.FindDialog1->FindText(), QStringLiteral("два"));
    Key(Qt::Key_F3);
    EXPECT_EQ(Sel().cpMin, 5);
    EXPECT_TRUE(prompter.Asked().empty());

    // A read-only text is never replaced.
    w.GEditor->SetReadOnly(true);
    Replace(QStringLiteral("два"), QStringLiteral("x"), true);
    w.ReplaceDialog1Replace(true);
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("один два один"));
    EXPECT_EQ(Messages().last(), QStringLiteral("0 replacements:  два ---> x"));
}

TEST_F(SearchTest, AfterNothingIsFoundTheFocusIsBackInTheFindDialog)
{
    TfmView& w = StartWith(QStringLiteral("один два"));
    DesktopPrompter desktop;
    desktop.mainWindow = &w;
    const ScopedPrompter scope(desktop);
    w.sbFindClick();
    ASSERT_TRUE(WaitUntil([&] { return QApplication::activeWindow() == w.FindDialog1; }));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("net"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);   // Find Next
    ASSERT_EQ(desktop.Asked().size(), 1u);
    EXPECT_EQ(desktop.Asked()[0].text, QStringLiteral("Substring is not found: \"net\""));
    ASSERT_TRUE(WaitUntil([&] { return QApplication::activeWindow() == w.FindDialog1; }, 2000));
    // What is typed next goes on in the dialog, not into the text.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("x"));
    EXPECT_EQ(w.FindDialog1->FindText(), QStringLiteral("netx"));
    EXPECT_EQ(w.GEditor->Text(), QStringLiteral("один два"));
}

} // namespace
