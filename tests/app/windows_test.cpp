// SPDX-License-Identifier: GPL-3.0-or-later
// Several windows as real processes: the Window menu, Close window, Exit (each
// copy asking its own question), copies that die, and copies doing the same at
// once.
#include "testsupport_copies.h"

#include "instanceclient.h"
#include "instancefolder.h"
#include "qlconsts.h"
#include "richedit.h"

#include <QFile>
#include <QTest>

#include <csignal>

namespace {

const QString SaveQuestion = QStringLiteral("question\tThe text was changed. Do you want save it?");

// Types into the window as the user would, so that its text counts as changed.
void TypeInto(TfmView& w, const QString& text)
{
    QTest::keyClicks(w.GEditor->Window(), text);
    ASSERT_TRUE(w.GEditor->Modified());
}

TEST_F(WindowsTest, TheWindowMenuListsTheCopiesInHandleOrderWithThisOneChecked)
{
    const QString a = MakeFile(QStringLiteral("a.txt"), "a\r\n");
    const QString bc = MakeFile(QStringLiteral("b & c.txt"), "bc\r\n");
    const QString own = MakeFile(QStringLiteral("own.txt"), "own\r\n");
    ChildCopy& first = Child({a});
    ChildCopy& second = Child({bc});
    TfmView& w = Start({own});
    const qint64 self = platform::OwnHandle();
    ASSERT_TRUE(WaitForCaption(first.Handle(), QStringLiteral("File ") + a));
    ASSERT_TRUE(WaitForCaption(second.Handle(), QStringLiteral("File ") + bc));

    QMenu* menu = w.Menu(QStringLiteral("meWnd"));
    for (int round = 0; round < 2; ++round) {  // opened twice: listed anew, not added to
        emit menu->aboutToShow();
        const QList<QAction*> items = menu->actions();
        ASSERT_EQ(items.size(), 6);
        QMap<qint64, QString> expected{{self, QStringLiteral("File own.txt")},
                                       {first.Handle(), QStringLiteral("File a.txt")},
                                       {second.Handle(), QStringLiteral("File b && c.txt")}};
        qsizetype i = 3;
        for (auto it = expected.cbegin(); it != expected.cend(); ++it, ++i) {
            EXPECT_EQ(items[i]->text(), it.value());
            EXPECT_EQ(items[i]->isChecked(), it.key() == self) << it.value().toStdString();
        }
    }
    EXPECT_EQ(w.InstanceHandles.size(), 3);

    // Choosing a copy brings it forward; choosing this one asks no one else.
    QAction* other = menu->findChild<QAction*>(QStringLiteral("Instance%1").arg(second.Handle()));
    ASSERT_TRUE(other);
    other->trigger();
    EXPECT_TRUE(second.WaitForLog(QStringLiteral("front")));
    menu->findChild<QAction*>(QStringLiteral("Instance%1").arg(self))->trigger();
    QTest::qWait(100);
    EXPECT_FALSE(first.Log().contains(QStringLiteral("front")));
}

TEST_F(WindowsTest, ExitClosesEveryCopyEachAskingAndOneWhoseQuestionIsCancelledStays)
{
    ChildCopy& saying = Child({}, {QStringLiteral("No")});
    ChildCopy& cancelling = Child({}, {QStringLiteral("Cancel")});
    for (ChildCopy* copy : {&saying, &cancelling}) {
        ASSERT_TRUE(copy->Command(QStringLiteral("type changed text")));
        ASSERT_TRUE(copy->WaitForLog(QStringLiteral("command\ttype changed text")));
    }
    TfmView& w = Start();
    TypeInto(w, QStringLiteral("here too"));
    prompter.AnswerMessage(MsgButton::No);
    ASSERT_TRUE(WaitForCopies({platform::OwnHandle(), saying.Handle(), cancelling.Handle()}));

    w.Item(QStringLiteral("N30"))->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(Messages(), QStringList{Tr(QlConsts::TextChangedSaveIt)});

    EXPECT_TRUE(saying.WaitForExit());
    EXPECT_TRUE(cancelling.WaitForLog(SaveQuestion));
    for (ChildCopy* copy : {&saying, &cancelling}) {
        EXPECT_EQ(copy->Log().filter(QStringLiteral("question")), QStringList{SaveQuestion});
        EXPECT_TRUE(copy->Log().contains(QStringLiteral("front")));
    }
    EXPECT_TRUE(WaitForCopies({cancelling.Handle()}));
    QTest::qWait(200);
    EXPECT_TRUE(cancelling.Running());
}

TEST_F(WindowsTest, CloseWindowBringsTheOtherCopyForward)
{
    ChildCopy& other = Child();
    TfmView& w = Start();
    ASSERT_TRUE(WaitForCopies({platform::OwnHandle(), other.Handle()}));
    w.Item(QStringLiteral("meClsW"))->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(other.WaitForLog(QStringLiteral("front")));
    EXPECT_TRUE(WaitForCopies({other.Handle()}));
    EXPECT_TRUE(other.Running());

    // Cancelled at the question, Close window closes nothing and calls no one.
    ChildCopy& third = Child();
    TfmView& again = Start();
    TypeInto(again, QStringLiteral("keep me"));
    prompter.AnswerMessage(MsgButton::Cancel);
    again.Item(QStringLiteral("meClsW"))->trigger();
    EXPECT_TRUE(again.isVisible());
    EXPECT_TRUE(again.GEditor->Modified());
    QTest::qWait(100);
    EXPECT_FALSE(third.Log().contains(QStringLiteral("front")));
}

TEST_F(WindowsTest, ExitInEitherCopyOfAStartWithTwoFilesLeavesNoCopyRunning)
{
    const QString a = MakeFile(QStringLiteral("a.txt"), "a\r\n");
    const QString b = MakeFile(QStringLiteral("b.txt"), "b\r\n");
    for (int exiting = 0; exiting < 2; ++exiting) {
        ChildCopy& started = Child({a, b});
        qint64 second = 0;
        ASSERT_TRUE(WaitUntil([&] {
            for (const platform::TInstance& copy : platform::ListInstances())
                if (copy.caption == QStringLiteral("File ") + b)
                    second = copy.handle;
            return second != 0;
        }));
        ASSERT_TRUE(started.WaitForLog(QStringLiteral("started"), 10000, second));
        const qint64 target = exiting == 0 ? started.Handle() : second;
        ASSERT_TRUE(platform::SendCommand(target, QStringLiteral("menu N30")));
        EXPECT_TRUE(started.WaitForExit()) << "exit in copy " << exiting;
        EXPECT_TRUE(WaitUntil([second] { return ProcessGone(second); })) << "exit in copy " << exiting;
        EXPECT_TRUE(WaitForCopies({}));
    }

    // Two copies exiting at once both end.
    ChildCopy& one = Child();
    ChildCopy& two = Child();
    ASSERT_TRUE(one.Command(QStringLiteral("menu N30")));
    ASSERT_TRUE(two.Command(QStringLiteral("menu N30")));
    EXPECT_TRUE(one.WaitForExit());
    EXPECT_TRUE(two.WaitForExit());
    EXPECT_TRUE(WaitForCopies({}));
}

TEST_F(WindowsTest, ACopyKilledOutrightBreaksNeitherTheListingNorExit)
{
    ChildCopy& killed = Child();
    ChildCopy& living = Child({}, {});
    TfmView& w = Start();
    const qint64 self = platform::OwnHandle();
    ASSERT_TRUE(WaitForCopies({self, killed.Handle(), living.Handle()}));
    ::kill(pid_t(killed.Handle()), SIGKILL);
    ASSERT_TRUE(killed.WaitForExit());

    w.EnumInstanceWindows();
    QList<qint64> expected{self, living.Handle()};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(w.InstanceHandles, expected);
    const QString folder = platform::InstanceFolder(false).value_or(QString());
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/%1").arg(killed.Handle())));

    w.N30Click();
    EXPECT_TRUE(living.WaitForExit());
    EXPECT_TRUE(WaitForCopies({}));
}

} // namespace
