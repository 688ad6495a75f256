// SPDX-License-Identifier: GPL-3.0-or-later
// Help and the about box through the real window: the help file has a place for
// every help context, Introduction and F1 open it where they should (the window,
// a highlighted menu item, a menu, the about box), and the about box shows the
// build's version.
#include "testsupport.h"

#include "about.h"
#include "helpviewer.h"
#include "richedit.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>

namespace {

// The text at the top of the help window's visible part.
QString TopLine(THelpViewer* viewer)
{
    return viewer->Browser()->cursorForPosition(QPoint(4, 4)).block().text();
}

void PressF1(QWidget* target)
{
    QTest::keyClick(target, Qt::Key_F1);
    QCoreApplication::processEvents();
}

TEST_F(ViewTest, IntroductionAndF1InTheTextOpenTheHelpAtItsPlace)
{
    TfmView& w = Start();
    w.Item(QStringLiteral("N35"))->trigger();
    THelpViewer* viewer = w.HelpViewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->Context(), 10);
    // Every help context has its place in the file.
    const QString html = viewer->Browser()->document()->toHtml();
    for (int context : {10, 25, 60, 70, 80, 90, 100, 110, 120, 130})
        EXPECT_TRUE(html.contains(QStringLiteral("name=\"context%1\"").arg(context))) << context;
    viewer->hide();

    w.activateWindow();
    w.GEditor->Window()->setFocus();
    PressF1(w.GEditor->Window());
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->Context(), 10);
    // The help window is made once and kept.
    EXPECT_EQ(w.HelpViewer(), viewer);

    // The context's place is shown at the top.
    w.ShowHelp(HelpContext::Printing);
    ASSERT_TRUE(WaitUntil([&] { return TopLine(viewer).startsWith(QStringLiteral("Page setup")); }))
        << TopLine(viewer).toStdString();
    w.ShowHelp(HelpContext::Bookmarks);
    ASSERT_TRUE(WaitUntil([&] { return TopLine(viewer) == QStringLiteral("Bookmarks"); }))
        << TopLine(viewer).toStdString();
}

TEST_F(ViewTest, F1InAMenuOpensTheHelpOfTheHighlightedItem)
{
    TfmView& w = Start();
    struct Case {
        const char* menu;
        const char* item;  // none: no item highlighted
        int context;
    };
    const Case cases[] = {
        {"N8", "N11", 60},  {"N8", "N5", 130},  {"N14", nullptr, 80}, {"N20", nullptr, 100},
        {"N26", "N33", 70}, {"N33", "mKoi", 70}, {"N45", nullptr, 110}, {"N26", "N52", 120},
    };
    for (const Case& c : cases) {
        QMenu* menu = w.Menu(QString::fromLatin1(c.menu));
        menu->popup(QPoint(20, 20));
        ASSERT_TRUE(WaitUntil([menu] { return menu->isVisible(); }));
        if (c.item) {
            // A disabled item cannot be highlighted, so the cases use enabled ones.
            menu->setActiveAction(w.Item(QString::fromLatin1(c.item)));
            ASSERT_EQ(menu->activeAction(), w.Item(QString::fromLatin1(c.item))) << c.item;
        }
        PressF1(menu);
        EXPECT_FALSE(menu->isVisible()) << c.menu;
        ASSERT_NE(w.HelpViewer(), nullptr);
        EXPECT_EQ(w.HelpViewer()->Context(), c.context) << c.menu << " " << (c.item ? c.item : "");
    }
}

TEST_F(ViewTest, TheAboutBoxShowsTheBuildsVersionAndAnswersF1WithItsContext)
{
    TfmView& w = Start();
    bool checked = false;
    QTimer::singleShot(0, &w, [&] {
        TfmAboutForm* about = w.AboutForm();
        ASSERT_NE(about, nullptr);
        EXPECT_TRUE(about->isVisible());
        EXPECT_EQ(about->Version->text(), QStringLiteral(QUILLET_VERSION));
        // Centred over the main window.
        EXPECT_LE((about->frameGeometry().center() - w.frameGeometry().center()).manhattanLength(), 2);
        about->OKButton->setFocus();
        PressF1(about->OKButton);
        ASSERT_NE(w.HelpViewer(), nullptr);
        EXPECT_EQ(w.HelpViewer()->Context(), 25);
        // The help belongs to the modal box while it is open, or the box would block it.
        EXPECT_EQ(w.HelpViewer()->parentWidget(), about);
        w.HelpViewer()->close();
        about->OKButton->click();
        checked = true;
    });
    w.Item(QStringLiteral("N36"))->trigger();
    EXPECT_TRUE(checked);
    TfmAboutForm* about = w.AboutForm();
    EXPECT_FALSE(about->isVisible());
    // Made once, kept hidden.
    QTimer::singleShot(0, &w, [about] { about->reject(); });
    w.Item(QStringLiteral("N36"))->trigger();
    EXPECT_EQ(w.AboutForm(), about);
}

} // namespace

