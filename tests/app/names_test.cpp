// SPDX-License-Identifier: GPL-3.0-or-later
// File names that are not UTF-8 (Windows-1251 names from an old archive) in the
// window: the command line, saving, the recent list and the file dialogs reach
// exactly the named file, or refuse.
#include "testsupport.h"
#include "testsupport_dialogs.h"

#include "filenames.h"
#include "qlconsts.h"
#include "recentfiles.h"

#include <QFile>

#include <filesystem>
#include <fstream>
#include <set>

namespace {

using platform::FileNameBytes;
using platform::FileNameFromBytes;

class NamesTest : public ViewTest {
protected:
    // A file under its exact bytes; answers the name as the program carries it.
    QString Make(const QByteArray& name, const QByteArray& bytes)
    {
        const QByteArray path = QFile::encodeName(dir.path()) + '/' + name;
        std::ofstream(path.toStdString(), std::ios::binary).write(bytes.constData(), bytes.size());
        return FileNameFromBytes(path);
    }
    static QByteArray Read(const QString& name)
    {
        std::ifstream f(FileNameBytes(name).toStdString(), std::ios::binary);
        return QByteArray::fromStdString(std::string(std::istreambuf_iterator<char>(f), {}));
    }
    // What a toolkit dialog shows for the file and hands back.
    QString AsDialogShowsIt(const QString& name) const { return QFile::decodeName(FileNameBytes(name)); }
    std::set<std::string> Entries() const
    {
        std::set<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir.path().toStdString()))
            if (e.is_regular_file() && e.path().filename() != "registry.db" &&
                e.path().filename().string().rfind("registry.db", 0) != 0)
                names.insert(e.path().filename().string());
        return names;
    }
};

// "письмо" and "письмп" in Windows-1251: one letter apart.
const QByteArray Letter = "\xEF\xE8\xF1\xFC\xEC\xEE.txt";
const QByteArray Neighbour = "\xEF\xE8\xF1\xFC\xEC\xEF.txt";

TEST_F(NamesTest, TheCommandLineSaveAndRecentListUseTheExactName)
{
    const QString letter = Make(Letter, "one\r\n");
    const QString neighbour = Make(Neighbour, "two\r\n");
    TfmView& w = Start({letter});
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join(QStringLiteral("; ")).toStdString();
    EXPECT_EQ(w.GEditor->Lines()->Get(0), QStringLiteral("one"));
    EXPECT_EQ(w.CurFileName, letter);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("File ") + platform::DisplayFileName(letter));

    w.GEditor->SetText(QStringLiteral("changed"));
    w.GEditor->SetModified(true);
    w.N19Click();
    EXPECT_EQ(Read(letter), QByteArray("changed"));
    EXPECT_EQ(Read(neighbour), QByteArray("two\r\n"));

    // Left for the neighbour: both are in the list, each under its own bytes.
    w.UpdateHist();
    w.LoadNewFile(neighbour, Win, false, 0, 0);
    w.UpdateHist();
    const THistory history = ReadHistory();
    EXPECT_EQ(history[0].FileName, neighbour);
    EXPECT_EQ(history[1].FileName, letter);
    w.FileClick(2);
    EXPECT_EQ(w.CurFileName, letter);
    EXPECT_EQ(w.GEditor->Lines()->Get(0), QStringLiteral("changed"));
    EXPECT_EQ(Entries(), (std::set<std::string>{Letter.toStdString(), Neighbour.toStdString()}));
}

TEST_F(NamesTest, ADialogsLossyNameReachesTheOneFileItShowedOrIsRefused)
{
    const QString unique = Make("b\xE0.txt", "old b\r\n");
    const QString twinA = Make("a\xE0.txt", "old a\r\n");
    const QString twinB = Make("a\xE1.txt", "old a'\r\n");
    TfmView& w = Start();

    w.GEditor->SetText(QStringLiteral("new"));
    w.GEditor->SetModified(true);
    prompter.AnswerFile(Chosen(AsDialogShowsIt(unique), 2)).AnswerMessage(MsgButton::Yes);
    w.N12Click();
    EXPECT_EQ(Read(unique), QByteArray("new"));
    EXPECT_EQ(w.CurFileName, unique);

    // "a?.txt" is two files in the dialog: which one is not known, so neither.
    w.GEditor->SetModified(true);
    prompter.AnswerFile(Chosen(AsDialogShowsIt(twinA), 2));
    EXPECT_FALSE(w.SaveTxt(false, 0));
    ASSERT_FALSE(Messages().isEmpty());
    EXPECT_TRUE(Messages().last().startsWith(Tr(QlConsts::FileNameNotExact))) << Messages().last().toStdString();
    EXPECT_EQ(Read(twinA), QByteArray("old a\r\n"));
    EXPECT_EQ(Read(twinB), QByteArray("old a'\r\n"));
    EXPECT_TRUE(w.GEditor->Modified());
    EXPECT_EQ(Entries(), (std::set<std::string>{"a\xE0.txt", "a\xE1.txt", "b\xE0.txt"}));

    // Open takes the one file it showed, too.
    w.GEditor->SetModified(false);
    prompter.AnswerFile(Chosen(AsDialogShowsIt(twinA), 1));
    w.sbOpenClick();
    EXPECT_EQ(w.CurFileName, unique);   // refused: the window keeps its file
    prompter.AnswerFile(Chosen(AsDialogShowsIt(unique), 1));
    w.NewText();
    w.sbOpenClick();
    EXPECT_EQ(w.CurFileName, unique);
    EXPECT_EQ(w.GEditor->Lines()->Get(0), QStringLiteral("new"));
}

TEST_F(NamesTest, ControlCharactersInANameAreShownEscapedAndTheNameKeptExact)
{
    const QString odd = Make("two\nlines\t\x1B.txt", "text\r\n");
    TfmView& w = Start({odd});
    EXPECT_EQ(w.CurFileName, odd);
    const QString shown = dir.path() + QStringLiteral("/two\\nlines\\t\\x1B.txt");
    EXPECT_EQ(w.windowTitle(), QStringLiteral("File ") + shown);
    EXPECT_TRUE(w.TaskBarText().startsWith(shown)) << w.TaskBarText().toStdString();

    QMenu* windows = w.Menu(QStringLiteral("meWnd"));
    emit windows->aboutToShow();
    ASSERT_EQ(windows->actions().size(), 4);
    EXPECT_EQ(windows->actions().last()->text(), QStringLiteral("File two\\nlines\\t\\x1B.txt"));

    w.UpdateHist();
    EXPECT_EQ(w.Item(QStringLiteral("File1"))->text(), shown);
    EXPECT_EQ(ReadHistory()[0].FileName, odd);
}

} // namespace
