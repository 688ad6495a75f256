// SPDX-License-Identifier: GPL-3.0-or-later
// Recovery journals on disk: what a power cut leaves is an earlier whole state,
// hostile files are refused and left alone, and a journal is never taken twice.
#include "journalwriter.h"
#include "recoveryjournal.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <atomic>
#include <random>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TJournalState State(int n, qsizetype size)
{
    TJournalState s;
    s.fileName = "/tmp/\xEF\xF0\xE8\xEC\xE5\xF0.txt";   // a Windows-1251 name, kept as bytes
    s.encoding = 5;
    s.uniType = 1;
    s.timeMs = 1000 + n;
    s.characters = size;
    s.rtf = QByteArray("{\\rtf1 ") + QByteArray(size, char('a' + n % 26)) + '}';
    return s;
}

QByteArray Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

std::string RefusalOf(const QString& path)
{
    return MessageOf<std::exception>([&] { ReadJournal(path); });
}

TEST(RecoveryJournal, APowerCutAtAnyByteLeavesAnEarlierWholeState)
{
    TTestDir dir;
    qputenv("XDG_STATE_HOME", dir.Path(QStringLiteral("state")).toLocal8Bit());
    const QString folder = RecoveryFolder();
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    QString path;
    std::vector<TJournalState> written;
    QByteArray lastCopy;
    {
        TJournalWriter writer(folder);
        for (int n = 0; n < 12; ++n) {
            // Sizes that make the writer start its file afresh now and then.
            written.push_back(State(n, n % 4 == 3 ? 300000 : 40 + n));
            writer.Write(EncodeJournalRecord(written.back()));
            writer.Flush();
            path = writer.Path();
            ASSERT_FALSE(path.isEmpty());
            const TJournalState read = ReadJournal(path);
            EXPECT_TRUE(read.rtf == written.back().rtf && read.fileName == written.back().fileName
                        && read.timeMs == written.back().timeMs) << n;
        }
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        // A running writer's journal is its own.
        EXPECT_FALSE(TJournalClaim::Take(path));
        lastCopy = Bytes(path);
        EXPECT_LT(lastCopy.size(), 4 * 300000 + 2 * (1 << 20)) << "the journal is never started afresh";
    }

    // Every length a cut could leave: the newest whole record, or refused when
    // not even the first is whole; never a mix, never a crash.
    const QString cut = dir.Path(QStringLiteral("cut.qlj"));
    int refused = 0;
    for (qsizetype length = 0; length <= lastCopy.size(); length += length < 64 ? 1 : 997) {
        Put(cut, lastCopy.left(length));
        try {
            const TJournalState read = ReadJournal(cut);
            const bool known = std::any_of(written.begin(), written.end(),
                                           [&](const TJournalState& s) { return s.rtf == read.rtf && s.timeMs == read.timeMs; });
            EXPECT_TRUE(known) << "length " << length;
        } catch (const std::runtime_error&) {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
    EXPECT_EQ(ReadJournal(path).timeMs, written.back().timeMs);

    // Edits after a whole state come back in order; a torn last one is left out.
    {
        TJournalWriter writer(folder);
        writer.Write(EncodeJournalRecord(written.front()));
        // position, removed, text, rich, added, rtf, selection, time
        const TJournalEdit typed{3, 0, QStringLiteral("ёж"), false, 0, {}, 0, 0, 0};
        const TJournalEdit erased{1, 2, {}, false, 0, {}, 0, 0, 70};
        const TJournalEdit bolded{1, 4, {}, true, 4, "{\\rtf1 {\\b word}}", 0, 0, 77};
        writer.Append(EncodeJournalEdit(typed) + EncodeJournalEdit(erased) + EncodeJournalEdit(bolded));
        writer.Flush();
        const TJournalState read = ReadJournal(writer.Path());
        ASSERT_EQ(read.edits.size(), 3u);
        EXPECT_EQ(read.edits[0].text, typed.text);
        EXPECT_TRUE(read.edits[1].removed == 2 && !read.edits[1].rich);
        EXPECT_TRUE(read.edits[2].rich && read.edits[2].rtf == bolded.rtf && read.edits[2].added == 4);
        EXPECT_EQ(read.timeMs, 77);
        Put(cut, Bytes(writer.Path()).chopped(1));
        EXPECT_EQ(ReadJournal(cut).edits.size(), 2u);
        writer.Remove();
    }

    // Recovered, the journal is taken by one copy only, then gone.
    std::optional<TJournalClaim> first = TJournalClaim::Take(path);
    ASSERT_TRUE(first);
    EXPECT_FALSE(TJournalClaim::Take(path));
    first->Remove();
    EXPECT_FALSE(QFile::exists(path));
    qunsetenv("XDG_STATE_HOME");
}

// The text a journal read back stands for: its whole state with its edits applied.
QString Rebuilt(const TJournalState& state)
{
    QString text = QString::fromUtf8(state.fileBytes);
    for (const TJournalEdit& e : state.edits)
        text.replace(e.position, e.removed, e.text);
    return text;
}

TEST(RecoveryJournal, CopiesTakenWhileTheWriterWritesAndCutAnywhereHoldAnEarlierText)
{
    TTestDir dir;
    qputenv("XDG_STATE_HOME", dir.Path(QStringLiteral("state")).toLocal8Bit());
    const QString folder = RecoveryFolder();
    std::mt19937 random(20271);
    std::vector<QString> texts;   // by step; a record's time is its step
    std::atomic<int> durable{-1};
    std::atomic<bool> writing{true};
    struct Copy { int durable; QByteArray bytes; };
    std::vector<Copy> copies;
    // What a power cut leaves: the folder as it is at some moment during writing.
    std::thread copier([&] {
        std::mt19937 when(7);
        while (writing) {
            const int before = durable;
            for (const TJournalEntry& entry : ListJournals(folder))
                copies.push_back({before, Bytes(entry.path)});
            std::this_thread::sleep_for(std::chrono::microseconds(when() % 3000));
        }
    });
    {
        TJournalWriter writer(folder);
        QString text = QStringLiteral("Начало текста.");
        for (int step = 0; step < 250; ++step) {
            if (step % 50 == 0) {
                // Now and then a whole text, large enough to take a while to write.
                text += QString(int(random() % 60000), QChar(u'я'));
                TJournalState state;
                state.fromFile = true;
                state.fileBytes = text.toUtf8();
                state.characters = text.size();
                state.timeMs = step;
                writer.Write(EncodeJournalRecord(state));
            } else {
                TJournalEdit edit{int(random() % (text.size() + 1)), 0, QStringLiteral("ёж%1").arg(step), false, 0, {}, 0, 0, 0};
                edit.removed = int(random() % std::min<qsizetype>(8, text.size() - edit.position + 1));
                edit.timeMs = step;
                text.replace(edit.position, edit.removed, edit.text);
                writer.Append(EncodeJournalEdit(edit));
            }
            texts.push_back(text);
            if (random() % 10 == 0) {
                writer.Flush();
                durable = step;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 2000));
        }
        writer.Flush();
        durable = int(texts.size()) - 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        writing = false;
        copier.join();
        writer.Remove();
    }
    ASSERT_GT(copies.size(), 50u);
    const QString cut = dir.Path(QStringLiteral("cut.qlj"));
    int read = 0;
    for (const Copy& copy : copies) {
        // The copy as taken, then cut at a random length.
        for (const qsizetype length : {copy.bytes.size(), qsizetype(random() % (copy.bytes.size() + 1))}) {
            Put(cut, copy.bytes.left(length));
            try {
                const TJournalState state = ReadJournal(cut);
                ASSERT_TRUE(state.timeMs >= 0 && state.timeMs < qint64(texts.size()));
                EXPECT_EQ(Rebuilt(state), texts[size_t(state.timeMs)]) << "a mix of states at step " << state.timeMs;
                if (length == copy.bytes.size()) {
                    EXPECT_GE(state.timeMs, copy.durable) << "a flushed step is missing";
                }
                ++read;
            } catch (const std::runtime_error&) {
                EXPECT_TRUE(length < copy.bytes.size() || copy.durable < 0) << "a whole copy refused";
            }
        }
    }
    EXPECT_GT(read, int(copies.size()));
    qunsetenv("XDG_STATE_HOME");
}

// A file base is read and checked on the writer's thread: a file written since
// the window looked, or one the saved text would not read back from, is no base,
// and the edits after it never land on the text the journal still holds.
TEST(RecoveryJournal, AFileBaseThatNoLongerFitsIsRefusedWithTheEditsAfterIt)
{
    TTestDir dir;
    qputenv("XDG_STATE_HOME", dir.Path(QStringLiteral("state")).toLocal8Bit());
    const QString file = dir.Path(QStringLiteral("base.txt"));
    Put(file, "first");
    TJournalWriter writer(RecoveryFolder());
    TJournalState earlier;
    earlier.fromFile = true;
    earlier.fileBytes = "earlier";
    earlier.characters = 7;
    writer.Write(earlier);
    writer.Flush();
    const TDiskIdentity looked = DiskIdentityOf(file);
    Put(file, "second text");
    TJournalState onFile;
    onFile.fromFile = true;
    onFile.characters = 11;
    const QByteArray typed = EncodeJournalEdit({0, 0, QStringLiteral("x"), false, 0, {}, 0, 0, 0});
    const auto writeOnFile = [&](const TFileBase& base) {
        writer.Write(onFile, base);
        writer.Append(typed);
        writer.Flush();
        writer.Append(typed);
        writer.Flush();
        return writer.BaseRefused();
    };
    EXPECT_TRUE(writeOnFile({file, looked, std::nullopt}));
    EXPECT_FALSE(writer.BaseRefused()) << "a refusal told twice";
    EXPECT_EQ(ReadJournal(writer.Path()).fileBytes, "earlier");
    EXPECT_TRUE(ReadJournal(writer.Path()).edits.empty()) << "edits of the refused base landed on the earlier text";
    EXPECT_TRUE(writeOnFile({file, DiskIdentityOf(file), QStringLiteral("ĉ text")}));
    EXPECT_EQ(ReadJournal(writer.Path()).fileBytes, "earlier");
    EXPECT_FALSE(writeOnFile({file, DiskIdentityOf(file), QStringLiteral("second text")}));
    const TJournalState kept = ReadJournal(writer.Path());
    EXPECT_EQ(kept.fileBytes, "second text");
    EXPECT_EQ(kept.edits.size(), 2u);
    writer.Remove();
    qunsetenv("XDG_STATE_HOME");
}

TEST(RecoveryJournal, HostileJournalsAreRefusedWithAReasonAndLeftInPlace)
{
    TTestDir dir;
    const QByteArray good = JournalMagic() + EncodeJournalRecord(State(1, 100));
    QByteArray hugeLength = JournalMagic() + QByteArray("\xff\xff\xff\x7f\0\0\0\0", 8) + QByteArray(64, 'x');
    QByteArray badCrc = good;
    badCrc[12] = char(badCrc[12] ^ 1);
    struct Case { const char* name; QByteArray bytes; const char* reason; };
    const std::vector<Case> cases = {
        {"empty", {}, "not a recovery journal"},
        {"garbage", QByteArray(5000, '\x9c'), "not a recovery journal"},
        {"magic only", JournalMagic(), "no whole text"},
        {"huge length", hugeLength, "no whole text"},
        {"bad crc", badCrc, "no whole text"},
        {"torn first record", good.left(good.size() - 3), "no whole text"},
    };
    for (const Case& c : cases) {
        const QString path = dir.Path(QString::fromLatin1(c.name) + QStringLiteral(".qlj"));
        Put(path, c.bytes);
        EXPECT_NE(RefusalOf(path).find(c.reason), std::string::npos) << c.name << ": " << RefusalOf(path);
        EXPECT_EQ(Bytes(path), c.bytes) << c.name;
    }

    const QString real = dir.Path(QStringLiteral("real.qlj"));
    Put(real, good);
    EXPECT_EQ(ReadJournal(real).rtf, State(1, 100).rtf);
    const QString link = dir.Path(QStringLiteral("link.qlj"));
    ASSERT_EQ(::symlink(QFile::encodeName(real).constData(), QFile::encodeName(link).constData()), 0);
    EXPECT_NE(RefusalOf(link).find("link"), std::string::npos) << RefusalOf(link);
    EXPECT_FALSE(TJournalClaim::Take(link));

    if (::getuid() == 0) {
        const QString foreign = dir.Path(QStringLiteral("foreign.qlj"));
        Put(foreign, good);
        ASSERT_EQ(::chown(QFile::encodeName(foreign).constData(), 65534, 65534), 0);
        EXPECT_NE(RefusalOf(foreign).find("another user"), std::string::npos) << RefusalOf(foreign);
        EXPECT_EQ(Bytes(foreign), good);
    }

    // A state folder that is a link elsewhere is not used at all.
    QDir().mkpath(dir.Path(QStringLiteral("elsewhere")));
    QDir().mkpath(dir.Path(QStringLiteral("state/quillet")));
    ASSERT_EQ(::symlink(QFile::encodeName(dir.Path(QStringLiteral("elsewhere"))).constData(),
                        QFile::encodeName(dir.Path(QStringLiteral("state/quillet/recovery"))).constData()),
              0);
    qputenv("XDG_STATE_HOME", dir.Path(QStringLiteral("state")).toLocal8Bit());
    EXPECT_THROW(RecoveryFolder(), std::runtime_error);
    qunsetenv("XDG_STATE_HOME");
}

} // namespace
