// SPDX-License-Identifier: GPL-3.0-or-later
// A logout while the window asks a question: the real box is open, no one is
// there to answer. The window ends without an answer and without saving, and
// still writes its recent list. (Its own executable: ending the event loops
// leaves the application ending.)
#include "testsupport.h"

#include "endsignals.h"
#include "recentfiles.h"
#include "sysbib.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <csignal>

namespace {

TEST_F(ViewTest, ASignalWhileAQuestionIsOpenEndsWithNoAnswerAndWritesTheRecentList)
{
    InstallEndSignals();
    const QString file = MakeFile(QStringLiteral("letter.txt"), QByteArray("text\r\n"));
    TfmView& w = Start({file});
    TEndSignalWatcher watcher([&w](int) { w.EndWithoutQuestions(); });
    w.GEditor->SetText(QStringLiteral("changed"));
    w.GEditor->SetModified(true);

    InstallPrompter(nullptr);   // the real message boxes
    QTimer::singleShot(300, [] { ::raise(SIGTERM); });
    // Should the signal go unheard, the box is closed later so the test ends.
    QTimer::singleShot(15000, [] {
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(w.QuestSave());
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_EQ(watcher.Received(), SIGTERM);
    EXPECT_EQ(ReadHistory()[0].FileName, file);
    EXPECT_EQ(ReadFile(file), QByteArray("text\r\n"));
    // Any later question is answered as a box closed without a button.
    EXPECT_EQ(ConfirmationBox(QStringLiteral("Still there?")), MsgButton::None);
}

} // namespace
