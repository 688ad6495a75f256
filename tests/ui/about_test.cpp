// SPDX-License-Identifier: GPL-3.0-or-later
// The about box on its own: the build's version, the licence, the library line
// of the GUI library this process really loaded, and the line shown only while
// the pointer rests on the small image.
#include "about.h"
#include "libraryinfo.h"
#include "testapp.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>

namespace {

void MoveOver(QWidget* widget)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

TEST(AboutBox, ShowsTheBuildsVersionAndTheLoadedLibraryOrSaysItIsNotLoaded)
{
    TestApp();
    TfmAboutForm about;
    EXPECT_EQ(about.Version->text(), QStringLiteral(QUILLET_VERSION));
    EXPECT_EQ(about.Label3->text(), QStringLiteral(" (") + ProgramDate() + QStringLiteral(")"));
    EXPECT_TRUE(about.imIco->toolTip().contains(QStringLiteral("libQt6Gui")));
    // The licence is named, and the notice is shown whole inside its panel.
    EXPECT_TRUE(about.Copyright->text().contains(QStringLiteral("GNU General Public License, version 3 or later")))
        << about.Copyright->text().toStdString();
    const QRect notice = about.Copyright->geometry();
    EXPECT_LE(notice.bottom(), about.Panel1->contentsRect().bottom());
    EXPECT_GE(notice.height(), about.Copyright->heightForWidth(notice.width()));
    EXPECT_FALSE(notice.intersects(about.imIco->geometry()));

    const LibraryInfo library = RichTextLibrary();
    ASSERT_TRUE(library.Loaded);
    EXPECT_EQ(QFileInfo(library.Path).size(), library.Size);
    EXPECT_EQ(library.FileVersion, QString::fromLatin1(qVersion()));
    const QString line = about.Memo1->toPlainText();
    EXPECT_EQ(line, LibraryLine(library));
    // Product name, one space, " (", version, "), ", path, size, date and time.
    const QRegularExpression form(QStringLiteral("^Qt GUI  \\(6\\.[0-9]+\\.[0-9]+\\), (/.*libQt6Gui\\.so[^,]*), "
                                                 "Size: ([0-9]+) bytes, Date: .+, Time: .+$"));
    const QRegularExpressionMatch match = form.match(line);
    ASSERT_TRUE(match.hasMatch()) << line.toStdString();
    EXPECT_EQ(match.captured(2).toLongLong(), library.Size);
    EXPECT_EQ(LibraryLine(LibraryInfo{}), QStringLiteral("Library libQt6Gui.so.6 is not loaded"));
}

TEST(AboutBox, TheLibraryLineShowsWhileThePointerRestsOnTheSmallImage)
{
    TestApp();
    TfmAboutForm about;
    about.show();
    EXPECT_FALSE(about.DLLInfoShown());
    EXPECT_TRUE(about.OKButton->isVisible());
    MoveOver(about.imIco);
    EXPECT_TRUE(about.DLLInfoShown());
    EXPECT_TRUE(about.Panel2->isVisible());
    EXPECT_FALSE(about.OKButton->isVisible());
    MoveOver(about.Memo1->viewport());
    EXPECT_FALSE(about.DLLInfoShown());
    EXPECT_TRUE(about.OKButton->isVisible());
    MoveOver(about.imIco);
    MoveOver(about.Panel1);
    EXPECT_FALSE(about.Panel2->isVisible());
    MoveOver(about.imIco);
    MoveOver(&about);
    EXPECT_FALSE(about.DLLInfoShown());
}

} // namespace
