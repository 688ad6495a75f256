// SPDX-License-Identifier: GPL-3.0-or-later
// Files changed on disk behind the window: replaced, deleted or written by
// another copy, noticed within a second and never overwritten unasked.
#include "testsupport_copies.h"

#include "journalsnapshot.h"
#include "recoveryjournal.h"

#include <QFile>
#include <QTest>

#include "richedit.h"

#include <cstdio>

namespace {

class DiskChangesTest : public WindowsTest {
protected:
    // Waits for the next question after the ones seen.
    bool NextQuestion(qsizetype seen, int timeoutMs = 3000)
    {
        return WaitUntil([&] { return Messages().size() > seen; }, timeoutMs);
    }
};

TEST_F(DiskChangesTest, AReplacedOrDeletedFileIsNoticedAndNeverOverwrittenUnasked)
{
    const QString file = MakeFile(QStringLiteral("a.txt"), "one\r\n");
    TfmView& w = Start({file});
    QTest::keyClicks(w.GEditor->Window(), QStringLiteral("x"));

    // Replaced by mv; Reload keeps the text shown for recovery.
    const QString other = MakeFile(QStringLiteral("b.txt"), "two\r\n");
    ASSERT_EQ(std::rename(QFile::encodeName(other).constData(), QFile::encodeName(file).constData()), 0);
    prompter.AnswerMessage(MsgButton::Yes);
    ASSERT_TRUE(NextQuestion(Messages().size(), 1000)) << "not noticed within a second";
    EXPECT_TRUE(Messages().last().contains(QStringLiteral("changed on disk")));
    EXPECT_EQ(w.GEditor->Lines()->Get(0), QStringLiteral("two"));
    EXPECT_FALSE(w.GEditor->Modified());
    const std::vector<TJournalEntry> kept = Journals();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_TRUE(JournalPreview(ReadJournal(kept[0].path)).startsWith(QStringLiteral("xone")));

    // Written by another program: Keep mine, and Save then asks before writing over it.
    QTest::keyClicks(w.GEditor->Window(), QStringLiteral("y"));
    MakeFile(QStringLiteral("a.txt"), "theirs\r\n");
    prompter.AnswerMessage(MsgButton::No);
    ASSERT_TRUE(NextQuestion(Messages().size()));
    EXPECT_EQ(w.GEditor->Lines()->Get(0), QStringLiteral("ytwo"));
    prompter.AnswerMessage(MsgButton::No);
    w.sbSaveClick();
    EXPECT_TRUE(Messages().last().contains(QStringLiteral("Save over it")));
    EXPECT_EQ(ReadFile(file), "theirs\r\n");
    EXPECT_TRUE(w.GEditor->Modified());
    prompter.AnswerMessage(MsgButton::Yes);
    w.sbSaveClick();
    EXPECT_EQ(ReadFile(file), "ytwo\r\n");

    // Deleted: said once; Save recreates it only when told to.
    prompter.AnswerMessage(MsgButton::Ok);
    QFile::remove(file);
    const qsizetype before = Messages().size();
    ASSERT_TRUE(NextQuestion(before, 1000)) << "not noticed within a second";
    EXPECT_TRUE(Messages().last().contains(QStringLiteral("deleted")));
    QTest::qWait(700);
    EXPECT_EQ(Messages().size(), before + 1) << "the same change is told once";
    QTest::keyClicks(w.GEditor->Window(), QStringLiteral("z"));
    prompter.AnswerMessage(MsgButton::No);
    w.sbSaveClick();
    EXPECT_TRUE(Messages().last().contains(QStringLiteral("no longer exists")));
    EXPECT_FALSE(QFile::exists(file));
    prompter.AnswerMessage(MsgButton::Yes);
    w.sbSaveClick();
    EXPECT_EQ(ReadFile(file), "yztwo\r\n");
    Discard();
}

TEST_F(DiskChangesTest, TheSecondOfTwoCopiesAsksBeforeSavingOverTheFirstsSave)
{
    const QString file = MakeFile(QStringLiteral("shared.txt"), "base\r\n");
    ChildCopy& first = Child({file});
    // The second keeps its own text when told of the first's save, then is asked
    // before its save and says No.
    ChildCopy& second = Child({file}, {QStringLiteral("No"), QStringLiteral("No")});
    ASSERT_TRUE(first.Started() && second.Started());
    ASSERT_TRUE(WaitForCaption(first.Handle(), QStringLiteral("File ") + file));
    ASSERT_TRUE(WaitForCaption(second.Handle(), QStringLiteral("File ") + file));
    ASSERT_TRUE(first.Command(QStringLiteral("type 1")));
    ASSERT_TRUE(second.Command(QStringLiteral("type 2")));
    ASSERT_TRUE(first.Command(QStringLiteral("menu N19")));
    ASSERT_TRUE(WaitUntil([&] { return ReadFile(file) == "1base\r\n"; }, 5000));
    const auto asked = [&](const char* words) {
        const QStringList log = second.Log();
        return std::any_of(log.begin(), log.end(), [&](const QString& line) {
            return line.startsWith(QStringLiteral("question")) && line.contains(QLatin1String(words));
        });
    };
    EXPECT_TRUE(WaitUntil([&] { return asked("changed on disk by another program"); }, 3000));
    ASSERT_TRUE(second.Command(QStringLiteral("menu N19")));
    EXPECT_TRUE(WaitUntil([&] { return asked("Save over it"); }, 5000));
    QTest::qWait(300);
    EXPECT_EQ(ReadFile(file), "1base\r\n");
}

} // namespace
