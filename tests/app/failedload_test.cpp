// SPDX-License-Identifier: GPL-3.0-or-later
// Loads that fail through the real window: whatever the reason, the window keeps
// its text, name, caption, encoding and modified flag, so that nothing typed
// afterwards can be saved over the file the text came from by mistake.
#include "testsupport.h"
#include "testsupport_dialogs.h"

#include "richedit.h"

#include <QFile>

#include <functional>

#include <sys/stat.h>

namespace {

const QByteArray FirstBytes = RussianLine1251();
const QString FirstLine = QStringLiteral("Съешь же ещё этих мягких французских булок, да выпей чаю.");

// What a failed load must leave exactly as it was.
struct WindowState {
    QString text;
    QString name;
    QString caption;
    std::uint8_t encoding = 0;
    bool modified = false;
    int checkedButton = -1;

    static WindowState Of(TfmView& w)
    {
        return {w.GEditor->Text(), w.CurFileName, w.windowTitle(), w.CurEncoding, w.GEditor->Modified(),
                w.encodingGroup->checkedId()};
    }
    bool operator==(const WindowState&) const = default;
};

void PrintTo(const WindowState& s, std::ostream* out)
{
    *out << "{text \"" << s.text.toStdString() << "\", name \"" << s.name.toStdString() << "\", caption \""
         << s.caption.toStdString() << "\", encoding " << int(s.encoding) << ", modified " << s.modified
         << ", button " << s.checkedButton << "}";
}

class FailedLoadTest : public ViewTest {
protected:
    // A window showing a Windows-1251 file.
    TfmView& StartWithFile()
    {
        first = MakeFile(QStringLiteral("first.txt"), FirstBytes);
        TfmView& w = Start({first});
        EXPECT_EQ(w.GEditor->Lines()->Get(0), FirstLine);
        EXPECT_EQ(w.CurEncoding, Win);
        EXPECT_EQ(w.CurFileName, first);
        return w;
    }

    // Types at the end of the text as a user would.
    static void Type(TfmView& w, const QString& text)
    {
        platform::RichEdit* control = w.GEditor->Window();
        control->SetSel(control->GetTextLength(), control->GetTextLength());
        control->ReplaceSel(text, true);
    }

    // Opens a file larger than one block of the stream that grows while it is
    // read, so that the change falls between reads; before it grows, the hook
    // may do more to the window.
    void OpenGrowing(TfmView& w, const std::function<void()>& meanwhile = {})
    {
        const QString growing = MakeFile(QStringLiteral("growing.txt"), QByteArray(600 * 1024, 'b'));
        const TqxEditorStreamEvent progress = w.GEditor->OnStream;
        bool appended = false;
        w.GEditor->OnStream = [&](TqxEditor* sender, std::int64_t size, std::int64_t position) {
            if (!appended) {
                if (meanwhile)
                    meanwhile();
                QFile file(growing);
                ASSERT_TRUE(file.open(QIODevice::Append));
                file.write("more");
                appended = true;
            }
            progress(sender, size, position);
        };
        prompter.AnswerFile(Chosen(growing));
        w.sbOpenClick();
        w.GEditor->OnStream = progress;
        ASSERT_TRUE(appended);
    }

    QString first;
};

// A named pipe in place of a file: a path that cannot be read as one.
bool MakePipe(const QString& path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

TEST_F(FailedLoadTest, ADeviceAFileTooLargeOrAFileChangingWhileReadLeaveTheWindowAsItWas)
{
    TfmView& w = StartWithFile();
    const WindowState before = WindowState::Of(w);
    ASSERT_EQ(before.caption, QStringLiteral("File ") + first);

    prompter.AnswerFile(Chosen(QStringLiteral("/dev/null")));
    w.sbOpenClick();
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages().last().contains(QStringLiteral("/dev/null"))) << Messages().last().toStdString();
    EXPECT_EQ(WindowState::Of(w), before);
    EXPECT_TRUE(w.TextReady);

    const std::int32_t limit = w.GEditor->MaxLength();
    w.GEditor->SetMaxLength(64);
    prompter.AnswerFile(Chosen(MakeFile(QStringLiteral("big.txt"), QByteArray(1000, 'a'))));
    w.sbOpenClick();
    ASSERT_EQ(Messages().size(), 2);
    EXPECT_TRUE(Messages().last().contains(QStringLiteral("too large"))) << Messages().last().toStdString();
    EXPECT_EQ(WindowState::Of(w), before);
    w.GEditor->SetMaxLength(limit);

    OpenGrowing(w);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(Messages().size(), 3);
    EXPECT_TRUE(Messages().last().contains(QStringLiteral("changed"))) << Messages().last().toStdString();
    EXPECT_EQ(WindowState::Of(w), before);
    EXPECT_EQ(w.StatusText(1), QStringLiteral(" 1"));

    // Typing and saving now writes the file's own text with the addition, never
    // an emptied window over it.
    Type(w, QStringLiteral("!"));
    w.N19Click();
    EXPECT_EQ(ReadFile(first), FirstBytes + "!");
}

TEST_F(FailedLoadTest, AModifiedTextStaysModifiedWhenTheFileChosenInsteadFails)
{
    TfmView& w = StartWithFile();
    Type(w, QStringLiteral("ещё"));
    ASSERT_TRUE(w.GEditor->Modified());
    const WindowState before = WindowState::Of(w);

    // "No" to the save question, then a file that is not one.
    QDir(dir.path()).mkdir(QStringLiteral("fifo-dir"));
    const QString fifo = Path(QStringLiteral("fifo-dir/pipe"));
    ASSERT_TRUE(MakePipe(fifo));
    prompter.AnswerMessage(MsgButton::No).AnswerFile(Chosen(fifo));
    w.sbOpenClick();
    EXPECT_EQ(WindowState::Of(w), before);
    // So the close still asks.
    prompter.AnswerMessage(MsgButton::Cancel);
    EXPECT_FALSE(w.close());
}

TEST_F(FailedLoadTest, ATextThatIsGoneAfterAFailureLeavesTheWindowUnnamed)
{
    TfmView& w = StartWithFile();
    // Something takes the shown text away while the new file fails to load.
    OpenGrowing(w, [&] { w.GEditor->Window()->SetText(QString()); });
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(w.CurFileName.isEmpty());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Text input"));
    // Save must ask where to: the file keeps its text.
    Type(w, QStringLiteral("new"));
    prompter.AnswerFile(std::nullopt);
    w.sbSaveClick();
    ASSERT_FALSE(prompter.Asked().empty());
    EXPECT_EQ(prompter.Asked().back().kind, PromptKind::SaveFile);
    EXPECT_EQ(ReadFile(first), FirstBytes);
}

TEST_F(FailedLoadTest, AnEncodingButtonsRereadFromDiskThatFailsKeepsTheText)
{
    // A Unicode file: its re-read used to clear the text before reading.
    QByteArray utf16("\xff\xfe");
    for (QChar c : QStringLiteral("Привет"))
        utf16.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    const QString file = MakeFile(QStringLiteral("uni.txt"), utf16);
    TfmView& w = Start({file});
    ASSERT_EQ(w.CurEncoding, Uni);
    const WindowState before = WindowState::Of(w);

    // The file became something that cannot be read.
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(MakePipe(file));
    w.sbWin->click();
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_EQ(WindowState::Of(w), before);

    // Gone altogether: the same.
    ASSERT_TRUE(QFile::remove(file));
    w.sbKoi->click();
    ASSERT_EQ(Messages().size(), 2);
    EXPECT_EQ(WindowState::Of(w), before);
    EXPECT_TRUE(w.sbUni->isChecked());
}

TEST_F(FailedLoadTest, ARecentEntryThatFailsKeepsTheWindowAndItsText)
{
    TfmView& w = StartWithFile();
    const QString other = MakeFile(QStringLiteral("other.txt"), QByteArray("other\r\n"));
    prompter.AnswerFile(Chosen(other));
    w.sbOpenClick();   // leaving the first file puts it in the recent list
    ASSERT_EQ(w.CurFileName, other);
    const WindowState before = WindowState::Of(w);
    // The recent list names the first file, which is now a pipe.
    ASSERT_TRUE(QFile::remove(first));
    ASSERT_TRUE(MakePipe(first));
    w.UpdateHist();
    int entry = 0;
    for (int n = 1; n <= HistorySize; ++n)
        if (w.History[n - 1].FileName == first)
            entry = n;
    ASSERT_GT(entry, 0);
    w.FileClick(entry);
    EXPECT_EQ(WindowState::Of(w), before);
}

} // namespace
