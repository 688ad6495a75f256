// SPDX-License-Identifier: GPL-3.0-or-later
// The recovery journal of real windows: killed while typing, the text comes back
// exactly in its encoding; a session's end keeps it; a save, a No or the setting removes it.
#include "testsupport_copies.h"
#include "testsupport_dialogs.h"

#include "journalsnapshot.h"
#include "qxeditor.h"
#include "recoveryjournal.h"
#include "savereg.h"
#include "streams.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QMimeData>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "richedit.h"

#include <algorithm>
#include <csignal>

namespace {

class JournalTest : public WindowsTest {
protected:
    // Closes the window answering No to the save question.
    void CloseWithNo(TfmView& w)
    {
        prompter.AnswerMessage(MsgButton::No);
        w.close();
        view.reset();
    }
};

std::vector<std::uint8_t> SavedBytes(TqxEditor& editor)
{
    TMemoryStream out;
    editor.Lines()->SaveToStream(out);
    return out.Bytes();
}

// Many numbered lines of Russian text in Windows-1251.
QByteArray ManyLines1251(int count)
{
    QByteArray text;
    for (int n = 0; n < count; ++n)
        text += "\xD1\xF2\xF0\xEE\xEA\xE0 " + QByteArray::number(n) + " \xEF\xF0\xEE \xE5\xE6\xE0.\r\n";
    return text;
}

// The journal of the window, rebuilt in another editor, must be the window's
// text exactly: as RTF and as the bytes of its encoding.
void ExpectRecoversExactly(TfmView& w, const char* when)
{
    w.FlushJournal();
    const TJournalState journal = ReadJournal(w.JournalPath());
    TqxEditor recovered;
    recovered.SetFont(w.GEditor->Font());
    ShowJournalText(recovered, journal);
    EXPECT_EQ(StreamedRtf(*recovered.Window()), StreamedRtf(*w.GEditor->Window())) << when;
    EXPECT_EQ(recovered.Encoding(), w.GEditor->Encoding()) << when;
    EXPECT_EQ(SavedBytes(recovered), SavedBytes(*w.GEditor)) << when;
}

TEST_F(JournalTest, AKilledWindowsTextComesBackExactlyAndASessionEndKeepsIt)
{
    const QByteArray original = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, \xD0\xBC\xD0\xB8\xD1\x80\r\n"
                                "\xD0\xB2\xD1\x82\xD0\xBE\xD1\x80\xD0\xB0\xD1\x8F \xD1\x81\xD1\x82\xD1\x80\xD0\xBE\xD0\xBA\xD0\xB0\r\n";
    const QString file = MakeFile(QStringLiteral("note.txt"), original);
    const QString typed = QStringLiteral("Ёжик ");

    ChildCopy& copy = Child({file});
    ASSERT_TRUE(copy.Started());
    ASSERT_TRUE(copy.Command(QStringLiteral("type ") + typed));
    ASSERT_TRUE(WaitUntil([] { return Journals().size() == 1; }, 5000)) << "no journal within the time";
    // The journal is the running copy's: not offered, not taken.
    EXPECT_FALSE(TJournalClaim::Take(Journals()[0].path));
    // Further typing goes in as edits after the whole text.
    const QString more = QStringLiteral("и ёж ");
    QTest::qWait(1200);
    ASSERT_TRUE(copy.Command(QStringLiteral("type ") + more));
    QTest::qWait(300);
    ASSERT_TRUE(copy.Command(QStringLiteral("type ") + more));
    QTest::qWait(1500);
    ::kill(pid_t(copy.Handle()), SIGKILL);
    ASSERT_TRUE(copy.WaitForExit());

    const ConvRun list = Conv({QStringLiteral("recover")});
    ASSERT_EQ(list.status, 0) << list.err.toStdString();
    const QList<QByteArray> fields = list.out.trimmed().split('\t');
    ASSERT_EQ(fields.size(), 3) << list.out.toStdString();
    EXPECT_EQ(QString::fromUtf8(fields[1]), file);
    const QString id = QString::fromUtf8(fields[0]);

    const QByteArray expected = (typed + more + more).toUtf8() + original;
    const QString text = Path(QStringLiteral("back.txt"));
    const ConvRun writeText = Conv({QStringLiteral("recover"), id, text});
    ASSERT_EQ(writeText.status, 0) << writeText.err.toStdString();
    EXPECT_EQ(ReadFile(text), expected) << "recovered in the encoding it was shown in";
    const QString rtf = Path(QStringLiteral("back.rtf"));
    ASSERT_EQ(Conv({QStringLiteral("recover"), id, rtf}).status, 0);
    EXPECT_TRUE(ReadFile(rtf).startsWith("{\\rtf"));
    const ConvRun shown = Conv({QStringLiteral("text"), rtf});
    EXPECT_EQ(shown.out, QByteArray(expected).replace("\r\n", "\n"));
    EXPECT_EQ(Conv({QStringLiteral("recover"), QStringLiteral("../nothing"), text}).status, 1);
    QFile::remove(Journals()[0].path);

    // Ended by the session straight after typing: nothing waits for the delay.
    ChildCopy& second = Child({file});
    ASSERT_TRUE(second.Started());
    ASSERT_TRUE(second.Command(QStringLiteral("type ") + typed));
    ASSERT_TRUE(second.WaitForLog(QStringLiteral("command\ttype ") + typed));
    QTest::qWait(1200);
    ASSERT_TRUE(second.Command(QStringLiteral("type ") + more + more));
    ASSERT_TRUE(second.WaitForLog(QStringLiteral("command\ttype ") + more + more));
    ::kill(pid_t(second.Handle()), SIGTERM);
    ASSERT_TRUE(second.WaitForExit());
    ASSERT_EQ(Journals().size(), 1u);
    EXPECT_EQ(Conv({QStringLiteral("recover"), Journals()[0].id, text}).status, 0);
    EXPECT_EQ(ReadFile(text), expected);
}

TEST_F(JournalTest, ABoldWordAndAFormattedPasteAreJournalledAsRangesAndComeBackExactly)
{
    const QByteArray original = ManyLines1251(4000);
    const QString file = MakeFile(QStringLiteral("large.txt"), original);
    TfmView& w = Start({file});
    platform::RichEdit& control = *w.GEditor->Window();
    QTest::keyClicks(&control, QStringLiteral("typed "));
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(w.JournalPath()); }, 5000));

    // A word in the middle made bold with F5, then formatted text pasted after it.
    const int middle = control.Document()->characterCount() / 2;
    const int word = control.Document()->findBlock(middle).position();
    control.SetSel(word, word + 6);
    QTest::keyClick(&control, Qt::Key_F5);
    ASSERT_GT(control.Document()->findBlock(middle).begin().fragment().charFormat().fontWeight(), QFont::Normal)
        << "F5 made nothing bold";
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("text/rtf"), "{\\rtf1\\ansi {\\i \\u1082?\\u1091?\\u1088?} "
                                               "{\\b\\ul bold}\\par next {\\strike line}}");
    QApplication::clipboard()->setMimeData(mime);
    control.SetSel(word + 7, word + 7);
    control.paste();
    QTest::keyClicks(&control, QStringLiteral("and more"));
    // And a paragraph further on centred.
    QTextCursor paragraph(control.Document()->findBlock(middle + 400));
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    paragraph.mergeBlockFormat(centred);
    // The text's last characters, whose paragraph has no mark of its own, bold too.
    const int end = control.Document()->characterCount() - 1;
    control.SetSel(end - 8, end);
    QTest::keyClick(&control, Qt::Key_F5);
    w.FlushJournal();

    // The large text is not copied whole for a change of a few words.
    const TJournalState journal = ReadJournal(w.JournalPath());
    EXPECT_TRUE(journal.fromFile) << "a whole copy was taken for a change of formats";
    EXPECT_TRUE(std::any_of(journal.edits.begin(), journal.edits.end(), [](const TJournalEdit& e) { return e.rich; }));
    EXPECT_LT(QFileInfo(w.JournalPath()).size(), original.size() + 4000);

    ExpectRecoversExactly(w, "after formats and a paste");

    // An edit that does not fit its text fails the recovery and leaves the text shown.
    TqxEditor recovered;
    recovered.SetFont(w.GEditor->Font());
    ShowJournalText(recovered, journal);
    TJournalState bad = journal;
    TJournalEdit outside;
    outside.position = int(journal.characters) * 2;
    bad.edits.insert(bad.edits.begin(), outside);
    EXPECT_THROW(ShowJournalText(recovered, bad), std::runtime_error);
    EXPECT_EQ(SavedBytes(recovered), SavedBytes(*w.GEditor));

    // Read again in another code page, the text is kept as the bytes it was read
    // from, not as its RTF, and comes back the same.
    w.mKoiClick();
    w.FlushJournal();
    EXPECT_TRUE(ReadJournal(w.JournalPath()).fromFile);
    ExpectRecoversExactly(w, "after a reinterpretation");
    prompter.AnswerMessage(MsgButton::No);
}

// A change of the whole text keeps it as its characters and format runs: a
// byte-order mark, paragraphs of two formats, words in three and an empty last
// paragraph come back as they were, and runs that do not fit the text fail.
TEST_F(JournalTest, AWholeCopyKeptAsCharactersAndFormatRunsComesBackExactly)
{
    QString lines;
    for (int n = 0; n < 60; ++n)
        lines += QStringLiteral("Строка %1 про ежа.\r\n").arg(n);
    QByteArray utf16("\xFF\xFE");
    utf16.append(reinterpret_cast<const char*>(lines.utf16()), lines.size() * 2);
    TfmView& w = Start({MakeFile(QStringLiteral("wide.txt"), utf16)});
    platform::RichEdit& control = *w.GEditor->Window();
    QTextDocument& doc = *control.Document();
    ASSERT_EQ(doc.characterAt(0), QChar(QChar::ByteOrderMark));
    control.SetSel(30, 36);
    QTest::keyClick(&control, Qt::Key_F5);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    QTextCursor(doc.findBlockByNumber(5)).mergeBlockFormat(centred);
    QTextCursor all(&doc);
    all.select(QTextCursor::Document);
    QTextCharFormat larger;
    larger.setFontPointSize(15);
    all.mergeCharFormat(larger);
    w.FlushJournal();
    TJournalState journal = ReadJournal(w.JournalPath());
    ASSERT_TRUE(journal.plainRuns) << "the whole text was not kept as characters and runs";
    EXPECT_GE(journal.charFormats, 2u);
    EXPECT_GE(journal.blockFormats, 2u);
    ExpectRecoversExactly(w, "after a change of the whole text");
    w.GEditor->SetSelText(QStringLiteral("ёж"));
    ExpectRecoversExactly(w, "after typing on top of it");

    TqxEditor recovered;
    recovered.SetFont(w.GEditor->Font());
    ShowJournalText(recovered, journal);
    const std::vector<std::uint8_t> before = SavedBytes(recovered);
    TJournalState unknown = journal;
    unknown.charRuns.back() = unknown.charFormats;
    EXPECT_THROW(ShowJournalText(recovered, unknown), std::runtime_error);
    TJournalState longer = journal;
    longer.charRuns[longer.charRuns.size() - 2] += 1;
    EXPECT_THROW(ShowJournalText(recovered, longer), std::runtime_error);
    EXPECT_EQ(SavedBytes(recovered), before) << "a refused journal changed the text";
    prompter.AnswerMessage(MsgButton::No);
}

TEST_F(JournalTest, AfterASaveOrAReinterpretationTheJournalStandsOnBytesNotOnAWholeCopy)
{
    const QByteArray original = ManyLines1251(3000);
    const QString file = MakeFile(QStringLiteral("saved.txt"), original);
    TfmView& w = Start({file});
    platform::RichEdit& control = *w.GEditor->Window();
    const auto typeAndRead = [&](const QString& text) {
        w.GEditor->SetSelText(text);
        w.FlushJournal();
        return ReadJournal(w.JournalPath());
    };

    // A character Windows-1251 lacks is saved as "?": that file is not the text.
    w.GEditor->SetSelText(QStringLiteral("ĉ "));
    w.sbSaveClick();
    ASSERT_FALSE(w.GEditor->Modified());
    EXPECT_FALSE(typeAndRead(QStringLiteral("x")).fromFile) << "a lossy save served as the base";
    ExpectRecoversExactly(w, "after a save that lost a character");

    // Saved whole, the file is the base and the change after it an edit.
    control.SetSel(0, 3);
    QTest::keyClick(&control, Qt::Key_Delete);
    w.sbSaveClick();
    ASSERT_EQ(ReadFile(file), original);
    const TJournalState afterSave = typeAndRead(QStringLiteral("после "));
    EXPECT_TRUE(afterSave.fromFile) << "the first change after a save took a whole copy";
    EXPECT_EQ(afterSave.fileBytes, original);
    ExpectRecoversExactly(w, "after a save");

    // Read anew as KOI8-R, the modified text's bytes are the base.
    w.sbKoiClick();
    ASSERT_EQ(w.CurEncoding, Koi);
    const TJournalState reread = typeAndRead(QStringLiteral("koi "));
    EXPECT_TRUE(reread.fromFile) << "a reinterpretation took a whole copy";
    EXPECT_EQ(reread.encoding, Koi);
    ExpectRecoversExactly(w, "after a reinterpretation");

    // Formats are not in a plain file: after one, a save is not the base.
    control.SetSel(10, 14);
    QTest::keyClick(&control, Qt::Key_F5);
    w.sbSaveClick();
    EXPECT_FALSE(typeAndRead(QStringLiteral("y")).fromFile) << "a save that dropped a bold word served as the base";
    ExpectRecoversExactly(w, "after a save that lost formats");

    // Saved as RTF, the file keeps the formats and is the base again.
    prompter.AnswerFile(Chosen(Path(QStringLiteral("saved.rtf")), 7));
    w.N12Click();
    ASSERT_EQ(w.CurEncoding, Rtf);
    EXPECT_TRUE(typeAndRead(QStringLiteral("z")).fromFile) << "the first change after an RTF save took a whole copy";
    ExpectRecoversExactly(w, "after an RTF save");
    prompter.AnswerMessage(MsgButton::No);
}

TEST_F(JournalTest, AChangeInATextWithTablesTakesTheTablesItTouchesNotTheWholeText)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fcharset204 Arial;}}";
    const auto paragraphs = [&](int count) {
        for (int n = 0; n < count; ++n)
            rtf += "\\pard \\'d1\\'f2\\'f0\\'ee\\'ea\\'e0 " + QByteArray::number(n) + " \\'ef\\'f0\\'ee\\par\r\n";
    };
    const auto table = [&] {
        for (int row = 0; row < 2; ++row)
            rtf += "\\trowd\\cellx2000\\cellx4000\\pard\\intbl one\\cell two words\\cell\\row\r\n";
    };
    paragraphs(300);
    table();
    paragraphs(300);
    table();
    paragraphs(300);
    rtf += "}";
    const QString file = MakeFile(QStringLiteral("tables.rtf"), rtf);
    TfmView& w = Start({file});
    platform::RichEdit& control = *w.GEditor->Window();
    QTextDocument& doc = *control.Document();
    ASSERT_EQ(doc.rootFrame()->childFrames().size(), 2);
    const int cell = doc.rootFrame()->childFrames()[0]->firstPosition() + 4;

    // A word in a cell, a word outside the tables and a whole table made bold;
    // a word typed into a cell.
    control.SetSel(cell, cell + 3);
    QTest::keyClick(&control, Qt::Key_F5);
    control.SetSel(20, 26);
    QTest::keyClick(&control, Qt::Key_F5);
    const QTextFrame* second = doc.rootFrame()->childFrames()[1];
    control.SetSel(second->firstPosition() - 3, second->lastPosition() + 3);
    QTest::keyClick(&control, Qt::Key_F5);
    control.SetSel(cell, cell);
    w.GEditor->SetSelText(QStringLiteral("новое "));
    // Deletions: a word outside the tables, a word in a cell, and a selection
    // from the text into the first table's cells.
    control.SetSel(40, 40);
    QTest::keyClick(&control, Qt::Key_Backspace);
    control.SetSel(cell + 2, cell + 5);
    QTest::keyClick(&control, Qt::Key_Delete);
    const int first = doc.rootFrame()->childFrames()[0]->firstPosition();
    control.SetSel(first - 10, first + 5);
    QTest::keyClick(&control, Qt::Key_Delete);
    w.FlushJournal();
    const TJournalState journal = ReadJournal(w.JournalPath());
    EXPECT_TRUE(journal.fromFile) << "a change in a text with tables took a whole copy";
    EXPECT_GE(std::count_if(journal.edits.begin(), journal.edits.end(), [](const TJournalEdit& e) { return e.rich; }), 5);
    ExpectRecoversExactly(w, "after changes in and around tables");
    prompter.AnswerMessage(MsgButton::No);
}

TEST_F(JournalTest, TheSettingTurnsTheJournalOffAndItsIntervalIsReadAtStart)
{
    const QString file = MakeFile(QStringLiteral("plain.txt"), "text\r\n");
    TfmView& w = Start({file});
    QTest::keyClicks(w.GEditor->Window(), QStringLiteral("more "));
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(w.JournalPath()); }, 5000));
    const QString kept = w.JournalPath();

    w.SetupOk();
    TfmSetup& d = *w.SetupForm;
    d.FormShow();
    EXPECT_TRUE(d.chJournal->isChecked()) << "on by default";
    d.chJournal->setChecked(false);
    d.spJournal->setValue(3);
    prompter.AnswerMessage(MsgButton::Ok);
    d.BitBtn1->click();
    EXPECT_FALSE(QFile::exists(kept)) << "turned off, the window's journal goes";
    QTest::keyClicks(w.GEditor->Window(), QStringLiteral("and more "));
    QTest::qWait(1500);
    EXPECT_TRUE(Journals().empty());

    CloseWithNo(w);
    TfmView& again = Start({file});
    EXPECT_FALSE(again.JournalOn);
    EXPECT_EQ(again.JournalDelayMs, 3000);
    QTest::keyClicks(again.GEditor->Window(), QStringLiteral("x"));

    // On again: what was typed meanwhile is written at once.
    again.SetJournal(true, 200);
    EXPECT_TRUE(WaitUntil([&] { return QFile::exists(again.JournalPath()); }, 5000));
    CloseWithNo(again);
    EXPECT_TRUE(Journals().empty());
}

TEST_F(JournalTest, OrphansAreListedRecoveredInTheirEncodingDiscardedOrLeftForLater)
{
    // UTF-16, big-endian: Save must write the same order back.
    const QByteArray original = QByteArray("\xFE\xFF\x04\x22\x04\x35\x04\x3A\x04\x41\x04\x42\x00\x0D\x00\x0A", 16);
    const QString file = MakeFile(QStringLiteral("big.txt"), original);
    // A window whose text is left behind, as by a crash.
    const auto leaveOrphan = [&](const QStringList& arguments, const QString& typed, const QString& more = {}) {
        TfmView& w = Start(arguments);
        QTest::keyClick(w.GEditor->Window(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(w.GEditor->Window(), typed);
        // What is typed after the journal was written shows in the preview too.
        w.FlushJournal();
        QTest::keyClicks(w.GEditor->Window(), more);
        w.KeepJournalForLater();
        Discard();
    };
    const auto offers = [&] {
        const std::vector<PromptRecord>& asked = prompter.Asked();
        return std::count_if(asked.begin(), asked.end(),
                             [](const PromptRecord& r) { return r.kind == PromptKind::RecoveryList; });
    };
    const auto listed = [&] { return prompter.LastRecoveryList(); };

    leaveOrphan({file}, QStringLiteral("!"), QStringLiteral("+"));
    ASSERT_EQ(Journals().size(), 1u);
    // Taken by another copy, it is not offered here.
    {
        std::optional<TJournalClaim> other = TJournalClaim::Take(Journals()[0].path);
        ASSERT_TRUE(other);
        Start();
        QTest::qWait(200);
        EXPECT_EQ(offers(), 0);
        Discard();
    }
    // Later leaves them all; the list names each text with its time, size and first lines.
    leaveOrphan({}, QStringLiteral("untitled text"));
    ASSERT_EQ(Journals().size(), 2u);
    prompter.Clear();   // that window was offered the first text, and left it
    prompter.AnswerRecoveryList({});
    Start();
    ASSERT_TRUE(WaitUntil([&] { return offers() == 1; }, 3000));
    ASSERT_EQ(listed().size(), 2u);
    const bool fileFirst = listed()[0].name.contains(QStringLiteral("big.txt"));
    const RecoveryListEntry named = listed()[fileFirst ? 0 : 1];
    const RecoveryListEntry untitled = listed()[fileFirst ? 1 : 0];
    EXPECT_TRUE(named.preview.contains(QStringLiteral("Текст\n!+"))) << named.preview.toStdString();
    EXPECT_FALSE(named.name.contains(QStringLiteral("changed")));
    EXPECT_TRUE(named.size.endsWith(QStringLiteral(" characters")) && named.size != untitled.size)
        << named.size.toStdString();
    EXPECT_EQ(untitled.name, QStringLiteral("untitled"));
    EXPECT_TRUE(untitled.preview.contains(QStringLiteral("untitled text")));
    EXPECT_FALSE(named.time.isEmpty());
    EXPECT_EQ(Journals().size(), 2u);
    Discard();
    // Discard and Recover act on the selected text: the untitled one goes, then
    // the file's text is shown modified under its name and encoding.
    prompter.AnswerRecoveryList({{fileFirst ? 1 : 0}, 0});
    TfmView& w = Start();
    ASSERT_TRUE(WaitUntil([&] { return offers() == 2 && w.GEditor->Modified(); }, 3000)) << Messages().join(u'|').toStdString();
    EXPECT_EQ(w.CurFileName, file);
    EXPECT_EQ(w.CurEncoding, Uni);
    ASSERT_EQ(Journals().size(), 1u) << "the old journals give way to the window's own";
    EXPECT_EQ(Journals()[0].path, w.JournalPath());
    w.sbSaveClick();
    const QByteArray saved = ReadFile(file);
    EXPECT_EQ(saved, original + QByteArray("\x00!\x00+", 4));
    Discard();
    EXPECT_TRUE(Journals().empty());

    // A file changed meanwhile is recovered as a new text.
    leaveOrphan({file}, QStringLiteral("?"));
    MakeFile(QStringLiteral("big.txt"), original + original);
    prompter.AnswerRecoveryList({{}, 0}).AnswerMessage(MsgButton::Yes);
    TfmView& renamed = Start();
    ASSERT_TRUE(WaitUntil([&] { return renamed.GEditor->Modified(); }, 3000));
    EXPECT_TRUE(listed()[0].name.endsWith(QStringLiteral("big.txt (changed on disk)"))) << listed()[0].name.toStdString();
    EXPECT_TRUE(renamed.CurFileName.isEmpty());
    EXPECT_TRUE(Messages().last().contains(QStringLiteral("changed on disk")));
    EXPECT_TRUE(prompter.Problems().isEmpty()) << prompter.Problems().join(u'|').toStdString();
    Discard();

    // A damaged journal is named once and left as it is.
    const QString damaged = QDir(RecoveryFolder()).filePath(QStringLiteral("1-damaged.qlj"));
    QFile bad(damaged);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(JournalMagic() + QByteArray(100, 'z'));
    bad.close();
    const qsizetype before = Messages().size();
    prompter.AnswerMessage(MsgButton::Ok);
    Start();
    ASSERT_TRUE(WaitUntil([&] { return Messages().size() == before + 1; }, 3000));
    EXPECT_TRUE(Messages().last().contains(QStringLiteral("left as it is")));
    EXPECT_EQ(ReadFile(damaged).size(), 108);
}

TEST_F(JournalTest, ARecoveredTextGoesOnFromItsJournalAndComesBackAgainExactly)
{
    const QByteArray original = ManyLines1251(300);
    const QString file = MakeFile(QStringLiteral("again.txt"), original);
    TfmView& crashed = Start({file});
    crashed.GEditor->SetSelText(QStringLiteral("Начало "));
    crashed.FlushJournal();
    QTest::keyClick(crashed.GEditor->Window(), Qt::Key_End, Qt::ControlModifier);
    crashed.GEditor->SetSelText(QStringLiteral("конец"));
    crashed.KeepJournalForLater();
    Discard();
    ASSERT_EQ(Journals().size(), 1u);
    const TJournalState left = ReadJournal(Journals()[0].path);
    ASSERT_TRUE(left.fromFile && !left.edits.empty());
    const auto recover = [&]() -> TfmView& {
        prompter.AnswerRecoveryList({{}, 0});
        TfmView& w = Start();
        EXPECT_TRUE(WaitUntil([&] { return w.GEditor->Modified(); }, 5000));
        return w;
    };

    // The recovered text's journal is the old one's bytes and edits, not a copy of the text.
    TfmView& first = recover();
    ASSERT_EQ(Journals().size(), 1u);
    const TJournalState adopted = ReadJournal(first.JournalPath());
    EXPECT_TRUE(adopted.fromFile);
    EXPECT_EQ(adopted.edits.size(), left.edits.size());
    QTest::keyClick(first.GEditor->Window(), Qt::Key_Home, Qt::ControlModifier);
    first.GEditor->SetSelText(QStringLiteral("ещё "));
    first.FlushJournal();
    const QByteArray rtf = StreamedRtf(*first.GEditor->Window());
    const std::vector<std::uint8_t> bytes = SavedBytes(*first.GEditor);
    first.KeepJournalForLater();
    Discard();
    TfmView& second = recover();
    EXPECT_EQ(StreamedRtf(*second.GEditor->Window()), rtf);
    EXPECT_EQ(SavedBytes(*second.GEditor), bytes);
    EXPECT_TRUE(second.GEditor->Window()->Document()->toPlainText().startsWith(QStringLiteral("ещё Начало ")));
    Discard();
    for (const TJournalEntry& entry : Journals())
        QFile::remove(entry.path);

    // Edits that did not go into the text shown are no journal of it: the text is taken whole.
    TJournalState misfit = left;
    misfit.characters += 1;
    QByteArray journal = JournalMagic() + EncodeJournalRecord(misfit);
    for (const TJournalEdit& edit : misfit.edits)
        journal += EncodeJournalEdit(edit);
    QFile out(QDir(RecoveryFolder()).filePath(QStringLiteral("1-misfit.qlj")));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    out.write(journal);
    out.close();
    TfmView& whole = recover();
    EXPECT_EQ(SavedBytes(*whole.GEditor), std::vector<std::uint8_t>(original.begin(), original.end()));
    whole.GEditor->SetSelText(QStringLiteral("ж"));
    ExpectRecoversExactly(whole, "typed after edits that did not fit");
}

} // namespace
