// SPDX-License-Identifier: GPL-3.0-or-later
// Files dropped on the window: the first existing one opens here after the save
// question, every later one in a new copy; missing names and folders are
// skipped; a cancelled question tries the next name; drops off the editor and
// drags of text are not taken as files.
#include "testsupport_copies.h"

#include "qlconsts.h"
#include "richedit.h"

#include <QDir>
#include <QStatusBar>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <csignal>

namespace {

void Drop(QWidget* target, const QStringList& names)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& name : names)
        urls << QUrl::fromLocalFile(name);
    data.setUrls(urls);
    // As a drag does: it enters, moves, and drops where it was last taken.
    const QPoint point = target->rect().center();
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDragMoveEvent move(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(point), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    // The dropped files are taken once the drop has completed.
    QTest::qWait(50);
}

TEST_F(ViewTest, DroppingFilesOpensTheFirstExistingOneHereAndTheNextInANewCopy)
{
    const QString a = MakeFile(QStringLiteral("a.txt"), "first\r\n");
    const QString b = MakeFile(QStringLiteral("b.txt"), "second\r\n");
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    TfmView& w = Start();
    QTest::keyClicks(w.GEditor->Window(), QStringLiteral("unsaved"));
    prompter.AnswerMessage(MsgButton::No);

    Drop(w.GEditor->Window()->viewport(), {Path(QStringLiteral("missing.txt")), Path(QStringLiteral("folder")), a, b});
    EXPECT_EQ(w.CurFileName, a);
    EXPECT_EQ(w.GEditor->Lines()->Get(0), QStringLiteral("first"));
    EXPECT_EQ(Messages(), QStringList{Tr(QlConsts::TextChangedSaveIt)});
    ASSERT_EQ(w.StartedCopies.size(), 1);
    const qint64 pid = w.StartedCopies.first();
    EXPECT_TRUE(WaitUntil([pid, b] { return CommandLineOf(pid).value(1) == b; }));
    ::kill(pid_t(pid), SIGTERM);
    EXPECT_TRUE(WaitUntil([pid] { return ProcessGone(pid); }));
}

TEST_F(ViewTest, ACancelledQuestionTriesTheNextNameAndDropsOffTheEditorAreIgnored)
{
    const QString a = MakeFile(QStringLiteral("a.txt"), "first\r\n");
    const QString b = MakeFile(QStringLiteral("b.txt"), "second\r\n");
    const QString c = MakeFile(QStringLiteral("c.txt"), "third\r\n");
    TfmView& w = Start();
    QTest::keyClicks(w.GEditor->Window(), QStringLiteral("unsaved"));

    // Cancelled for every name: nothing opens anywhere.
    prompter.AnswerMessage(MsgButton::Cancel).AnswerMessage(MsgButton::Cancel);
    Drop(w.GEditor->Window()->viewport(), {a, b});
    EXPECT_EQ(Messages().size(), 2);
    EXPECT_TRUE(w.CurFileName.isEmpty());
    EXPECT_TRUE(w.GEditor->Modified());
    EXPECT_TRUE(w.StartedCopies.isEmpty());

    // Cancelled for the first: the second opens here, and only the third goes
    // to a new copy.
    prompter.Clear();
    prompter.AnswerMessage(MsgButton::Cancel).AnswerMessage(MsgButton::No);
    Drop(w.GEditor->Window()->viewport(), {a, b, c});
    EXPECT_EQ(Messages().size(), 2);
    EXPECT_EQ(w.CurFileName, b);
    ASSERT_EQ(w.StartedCopies.size(), 1);
    const qint64 pid = w.StartedCopies.first();
    EXPECT_TRUE(WaitUntil([pid, c] { return CommandLineOf(pid).value(1) == c; }));
    ::kill(pid_t(pid), SIGTERM);

    // On the toolbar, the status bar, the window itself: not taken.
    prompter.Clear();
    for (QWidget* elsewhere : {static_cast<QWidget*>(&w), w.paTop, static_cast<QWidget*>(w.stb)})
        Drop(elsewhere, {a});
    EXPECT_EQ(w.CurFileName, b);
    EXPECT_TRUE(prompter.Asked().empty());
    EXPECT_EQ(w.StartedCopies.size(), 1);
    EXPECT_TRUE(WaitUntil([pid] { return ProcessGone(pid); }));

    // Text dragged onto the editor is still text.
    QMimeData data;
    data.setText(QStringLiteral("dragged words"));
    QWidget* viewport = w.GEditor->Window()->viewport();
    QDragEnterEvent enter(viewport->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter);
    QDropEvent drop(QPointF(viewport->rect().center()), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &drop);
    QTest::qWait(50);
    EXPECT_TRUE(w.GEditor->Text().contains(QStringLiteral("dragged words")));
    EXPECT_EQ(w.CurFileName, b);
    EXPECT_EQ(w.StartedCopies.size(), 1);
}

} // namespace
