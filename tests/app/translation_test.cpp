// SPDX-License-Identifier: GPL-3.0-or-later
// The Russian interface is complete: with quillet.ru installed as at a start in
// Russian, no English word is left in the menus, the toolbar, the status bar, the
// about box, the help and preview windows. A text added without its translation
// fails here once the window shows it.
#include "testsupport.h"

#include "about.h"
#include "helpviewer.h"
#include "languagefiles.h"
#include "languageoverride.h"
#include "printer.h"
#include "qlconsts.h"
#include "qxpreview.h"
#include "shell.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>

namespace {

// Names and keys that stay as they are in a Russian interface.
const QStringList KeptWords = {
    QStringLiteral("Quillet"), QStringLiteral("DOS"), QStringLiteral("WIN"),   QStringLiteral("KOI"),
    QStringLiteral("MAC"),     QStringLiteral("ISO"), QStringLiteral("UNI"),   QStringLiteral("RTF"),
    QStringLiteral("Macintosh"), QStringLiteral("Unix"), QStringLiteral("Unicode"), QStringLiteral("Windows"),
    QStringLiteral("MS"),      QStringLiteral("CR"),  QStringLiteral("LF"),    QStringLiteral("PDF"),
    QStringLiteral("Ctrl"),    QStringLiteral("Alt"), QStringLiteral("Shift"), QStringLiteral("Esc"),
    QStringLiteral("Plus"),    QStringLiteral("Minus"), QStringLiteral("Qt"),  QStringLiteral("GUI"),
    QStringLiteral("libQt6Gui"), QStringLiteral("so"), QStringLiteral("UTF"),
    // The licence keeps its short name.
    QStringLiteral("GNU"), QStringLiteral("GPL"),
};

// The English words of a text, apart from the kept ones and function keys.
QStringList EnglishWords(const QString& text)
{
    static const QRegularExpression word(QStringLiteral("[A-Za-z][A-Za-z0-9]+"));
    static const QRegularExpression functionKey(QStringLiteral("^F[0-9]+$"));
    // File patterns ("*.txt") are no words.
    static const QRegularExpression pattern(QStringLiteral("\\*\\.[A-Za-z0-9*]+"));
    QStringList found;
    for (auto it = word.globalMatch(QString(text).remove(pattern)); it.hasNext();) {
        const QString w = it.next().captured();
        if (!KeptWords.contains(w) && !functionKey.match(w).hasMatch())
            found << w;
    }
    return found;
}

class RussianTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        WriteLanguageOverride(platform::SelfExecutable(), QStringLiteral("RU"));
        ASSERT_EQ(InstallInterfaceLanguage(platform::SelfExecutable()), QStringLiteral("RU"));
    }
    void TearDown() override
    {
        ViewTest::TearDown();
        RemoveInterfaceLanguage();
    }

    // Records each text of a widget tree that still holds English.
    void Check(const QString& where, const QString& text)
    {
        ++checked;
        const QStringList english = EnglishWords(text);
        if (!english.isEmpty())
            left << where + QStringLiteral(": \"") + text + QStringLiteral("\"");
    }
    void CheckMenu(const QString& where, QMenu* menu)
    {
        Check(where, menu->title());
        for (QAction* item : menu->actions()) {
            if (item->isSeparator())
                continue;
            const QString name = where + QStringLiteral(" > ") + item->objectName();
            if (item->menu())
                CheckMenu(name, item->menu());
            else if (!item->text().isEmpty())
                Check(name, item->text());
            if (!item->toolTip().isEmpty() && item->toolTip() != item->text())
                Check(name, item->toolTip());
        }
    }
    void CheckWidgets(const QString& where, QWidget* root)
    {
        Check(where, root->windowTitle());
        for (QWidget* widget : root->findChildren<QWidget*>()) {
            const QString name = where + QStringLiteral(" > ") + widget->objectName();
            if (!widget->toolTip().isEmpty())
                Check(name, widget->toolTip());
            if (auto* button = qobject_cast<QAbstractButton*>(widget); button && !button->text().isEmpty())
                Check(name, button->text());
            if (auto* label = qobject_cast<QLabel*>(widget); label && !label->text().isEmpty())
                Check(name, label->text());
        }
    }

    int checked = 0;
    QStringList left;
};

TEST_F(RussianTest, NoEnglishIsLeftInTheWindowItsMenusItsDialogsAndItsMessages)
{
    // A start that has something to say.
    TfmView& w = Start({Path(QStringLiteral("nowhere.txt"))});
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages().first().startsWith(QString::fromUtf8("Не удаётся найти файл:"))) << Messages().first().toStdString();
    EXPECT_EQ(prompter.Asked().front().caption, QString::fromUtf8("Ошибка"));
    for (const char* text : {QlConsts::TextChangedSaveIt, QlConsts::ScreenAlreadySaved, QlConsts::LanguageAtNextStart,
                             QlConsts::TablesWillBeLost, QlConsts::OpenFilter, QlConsts::SaveFilter})
        Check(QStringLiteral("message"), Tr(text));

    for (QAction* top : w.MainMenu1->actions())
        CheckMenu(QStringLiteral("menu"), top->menu());
    w.FillLangMenu();
    CheckMenu(QStringLiteral("language"), w.Menu(QStringLiteral("meLang")));
    CheckMenu(QStringLiteral("context menu"), w.PopupMenu1);
    CheckWidgets(QStringLiteral("toolbar"), w.paTop);
    CheckWidgets(QStringLiteral("margins"), w.paMid);
    for (int panel = 0; panel < 4; ++panel)
        Check(QStringLiteral("status panel %1").arg(panel), w.StatusText(panel));
    Check(QStringLiteral("caption"), w.windowTitle());

    TfmAboutForm about(&w);
    CheckWidgets(QStringLiteral("about box"), &about);
    // The longer Russian licence notice still fits its panel whole.
    const QRect notice = about.Copyright->geometry();
    EXPECT_LE(notice.bottom(), about.Panel1->contentsRect().bottom());
    EXPECT_GE(notice.height(), about.Copyright->heightForWidth(notice.width()));
    w.ShowHelp(HelpContext::Window);
    Check(QStringLiteral("help window"), w.HelpViewer()->windowTitle());
    TPreviewForm preview(platform::SystemPrinter());
    CheckWidgets(QStringLiteral("print preview"), &preview);

    EXPECT_GT(checked, 150);
    EXPECT_TRUE(left.isEmpty()) << left.join(QStringLiteral("\n")).toStdString();
    // The toolkit's own buttons and dialogs speak Russian too.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("Отмена"));
}

} // namespace
