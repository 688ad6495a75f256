// SPDX-License-Identifier: GPL-3.0-or-later
// The stream path itself: progress, selection streaming, the retry in the other
// kind, saving that never harms the old file, and files the editor must refuse.
#include "qlconsts.h"
#include "editorerrors.h"
#include "qxeditor.h"
#include "richedit.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace QlConsts;

TEST(StreamPath, ProgressCountsFromTheStreamsStartPosition)
{
    TBytes bytes(100, 'x');
    const TBytes body = Latin1(std::string(50000, 'a'));
    bytes.insert(bytes.end(), body.begin(), body.end());
    TMemoryStream stream(bytes);
    stream.SetPosition(100);

    TTestEditor editor;
    std::vector<std::pair<std::int64_t, std::int64_t>> reports;
    editor.OnStream = [&](TqxEditor*, std::int64_t size, std::int64_t position) { reports.emplace_back(size, position); };
    editor.Lines()->LoadFromStream(stream);

    ASSERT_FALSE(reports.empty());
    EXPECT_GT(reports.front().second, 100);
    EXPECT_EQ(reports.back().second, std::int64_t(bytes.size()));
    for (const auto& [size, position] : reports)
        EXPECT_EQ(size, std::int64_t(bytes.size()));
    EXPECT_EQ(editor.Lines()->Get(0).size(), 50000);
}

TEST(StreamPath, SelectionModeReplacesAndWritesOnlyTheSelection)
{
    TTestEditor editor;
    editor.SetText(QStringLiteral("один два три"));
    editor.Window()->ExSetSel({5, 8});
    editor.SetSelection(true);
    editor.SetEncoding(Koi);

    TMemoryStream out;
    editor.Lines()->SaveToStream(out);
    EXPECT_EQ(out.Bytes(), (TBytes{0xC4, 0xD7, 0xC1}));   // "два" in KOI8-R

    TMemoryStream in(TBytes{0xD0, 0xD1, 0xD4, 0xD8});      // "пять" in KOI8-R
    editor.Lines()->LoadFromStream(in);
    EXPECT_EQ(editor.Lines()->Get(0), QStringLiteral("один пять три"));
}

TEST(StreamPath, RtfThatIsNotRtfIsReadAsPlainBytes)
{
    TTestEditor editor;
    editor.SetAutoEncoding(false);
    editor.SetEncoding(Rtf);
    editor.Lines()->LoadFromFile(Sample(QStringLiteral("not_rtf_cp1251.rtf")));
    EXPECT_TRUE(editor.Lines()->Get(0).startsWith(QStringLiteral("{не RTF} Съешь же ещё")));
}

TEST(StreamPath, StreamFailureIsReportedInTheProgramsWords)
{
    // A stream that fails on writing: the control stops and the editor reports it.
    class TBrokenStream : public TMemoryStream {
    public:
        std::size_t Write(const std::uint8_t*, std::size_t) override { throw std::runtime_error("disk gone"); }
    } broken;
    TTestEditor editor;
    editor.SetText(QStringLiteral("текст"));
    EXPECT_EQ(MessageOf<EOutOfResources>([&] { editor.Lines()->SaveToStream(broken); }), TextSavingToMemory);
}

TEST(SaveToFile, KeepsPermissionsAndFollowsSymbolicLinks)
{
    TTestDir dir;
    const QString target = dir.Write(QStringLiteral("target.txt"), Latin1("old"));
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    const QString link = dir.Path(QStringLiteral("link.txt"));
    ASSERT_TRUE(QFile::link(target, link));

    TTestEditor editor;
    editor.SetText(QStringLiteral("new"));
    editor.Lines()->SaveToFile(link);

    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadBytes(target), Latin1("new"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(QDir(dir.Path(QString())).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
}

TEST(SaveToFile, ASaveThatCannotOpenOrFailsHalfWayLeavesTheOldFileAndNoTemporaryFile)
{
    TTestDir dir;
    const QString readOnly = dir.Write(QStringLiteral("readonly.txt"), Latin1("keep me"));
    ASSERT_EQ(::chmod(QFile::encodeName(readOnly).constData(), 0444), 0);
    const QString folder = dir.Path(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString target = dir.Write(QStringLiteral("target.txt"), Latin1("old contents"));

    TTestEditor editor;
    editor.SetText(QString(20000, QLatin1Char('z')));
    for (const QString& refused : {readOnly, folder, dir.Path(QStringLiteral("no/such/folder.txt"))})
        EXPECT_EQ(MessageOf<EFCreateError>([&] { editor.Lines()->SaveToFile(refused); }), CannotOpenForWriting);
    EXPECT_EQ(ReadBytes(readOnly), Latin1("keep me"));

    // A file size limit makes the write fail half way, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string message = MessageOf<EWriteError>([&] { editor.Lines()->SaveToFile(target); });
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(message, FileWritingError);
    EXPECT_EQ(ReadBytes(target), Latin1("old contents"));
    EXPECT_EQ(QDir(dir.Path(QString())).entryList(QDir::Files | QDir::Hidden | QDir::System),
              (QStringList{"readonly.txt", "target.txt"}));
}

TEST(BadInput, FilesTheEditorCannotLoadAreRefusedClearlyAndTheTextStays)
{
    TTestDir dir;
    const QString folder = dir.Path(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString fifo = dir.Path(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString unreadable = dir.Write(QStringLiteral("unreadable.txt"), Latin1("secret"));
    ::chmod(QFile::encodeName(unreadable).constData(), 0);
    const QString huge = dir.Write(QStringLiteral("huge.txt"), {});
    ASSERT_TRUE(QFile::resize(huge, qint64(1) << 30));   // sparse: costs no disk
    const QString small = dir.Write(QStringLiteral("small.txt"), Latin1(std::string(100, 'a')));

    TTestEditor editor;
    editor.SetText(QStringLiteral("kept"));
    const std::pair<QString, const char*> cases[] = {
        {dir.Path(QStringLiteral("missing.txt")), "missing.txt"},
        {folder, "not a regular file"},
        {fifo, "not a regular file"},
        {::geteuid() != 0 ? unreadable : dir.Path(QStringLiteral("unreadable")), "unreadable"},   // root reads anything
        {huge, "too large"},
    };
    for (const auto& [name, says] : cases) {
        EXPECT_NE(MessageOf<EFOpenError>([&] { editor.Lines()->LoadFromFile(name); }).find(says), std::string::npos)
            << name.toStdString();
    }
    editor.SetMaxLength(50);   // what the control holds includes its maximum length
    EXPECT_NE(MessageOf<EFOpenError>([&] { editor.Lines()->LoadFromFile(small); }).find("too large"), std::string::npos);
    EXPECT_EQ(editor.Lines()->Get(0), QStringLiteral("kept"));
}

TEST(BadInput, OddEmptyAndBinaryFilesLoadWithoutHarm)
{
    TTestEditor editor;
    TTestDir dir;
    editor.Lines()->LoadFromFile(dir.Write(QStringLiteral("empty.txt"), {}));
    EXPECT_TRUE(editor.IsEmpty());

    editor.Lines()->LoadFromFile(Sample(QStringLiteral("binary_all_bytes.bin")));
    EXPECT_FALSE(editor.IsEmpty());

    editor.Lines()->LoadFromFile(Sample(QStringLiteral("letters_utf16le_odd_length.txt")));
    EXPECT_EQ(editor.Encoding(), Uni);
    EXPECT_EQ(editor.Lines()->Get(2), SampleLines()[2]);
}

TEST(BadInput, AFileWhoseSizeReadsAsZeroIsReadToItsEnd)
{
    // The kernel's files report no size but hold text.
    TTestEditor editor;
    editor.Lines()->LoadFromFile(QStringLiteral("/proc/self/status"));
    EXPECT_TRUE(editor.Lines()->Get(0).startsWith(QStringLiteral("Name:"))) << editor.Lines()->Get(0).toStdString();
    EXPECT_GT(editor.Lines()->Count(), 5);
    // A read error there is an error, not an empty text.
    editor.SetText(QStringLiteral("kept"));
    EXPECT_NE(MessageOf<EReadError>([&] { editor.Lines()->LoadFromFile(QStringLiteral("/proc/self/mem")); }),
              "(nothing raised)");
    EXPECT_EQ(editor.Lines()->Get(0), QStringLiteral("kept"));
}


// A stream that breaks after its first block, as a disk does with a bad sector.
class TFailingStream : public TMemoryStream {
public:
    explicit TFailingStream(TBytes bytes) : TMemoryStream(std::move(bytes)) {}
    std::size_t Read(std::uint8_t* buffer, std::size_t count) override
    {
        if (Position() > 0)
            throw EReadError("Input/output error");
        return TMemoryStream::Read(buffer, std::min<std::size_t>(count, 1000));
    }
};

struct FailedStreamIn { const char* name; TEnc encoding; bool selection; std::string bytes; };

void PrintTo(const FailedStreamIn& c, std::ostream* out) { *out << c.name; }

class FailedStreamInTest : public ::testing::TestWithParam<FailedStreamIn> {};

TEST_P(FailedStreamInTest, LeavesTheTextTheSelectionTheUndoAndTheModifiedFlag)
{
    const FailedStreamIn c = GetParam();
    TTestEditor editor;
    editor.SetText(QStringLiteral("первая строка\nвторая"));
    editor.Window()->SetSel(3, 5);
    editor.Window()->ReplaceSel(QStringLiteral("ВВ"), true);
    editor.Window()->SetSel(2, 9);
    ASSERT_TRUE(editor.Modified());
    ASSERT_TRUE(editor.CanUndo());
    const QString text = editor.Text();

    editor.SetEncoding(c.encoding);
    editor.SetSelection(c.selection);
    TFailingStream stream(Latin1(c.bytes));
    EXPECT_EQ(MessageOf<EReadError>([&] { editor.Lines()->LoadFromStream(stream); }), "Input/output error");
    EXPECT_EQ(editor.Text(), text);
    EXPECT_EQ(std::tuple(editor.SelStart(), editor.SelLength(), editor.Modified(), editor.CanUndo(), editor.Encoding()),
              std::tuple(2, 7, true, true, c.encoding));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, FailedStreamInTest,
    ::testing::Values(FailedStreamIn{"Text", Win, false, std::string(5000, 'a')},
                      FailedStreamIn{"TextIntoSelection", Win, true, std::string(5000, 'a')},
                      FailedStreamIn{"Unicode", Uni, false, std::string(5000, 'a')},
                      FailedStreamIn{"Rtf", Rtf, false, "{\\rtf1\\ansi " + std::string(5000, 'a') + "}"},
                      FailedStreamIn{"RtfIntoSelection", Rtf, true, "{\\rtf1\\ansi " + std::string(5000, 'a') + "}"}),
    [](const ::testing::TestParamInfo<FailedStreamIn>& info) { return std::string(info.param.name); });

TEST(FailedLoad, AFileThatFailsChangesNeitherTheTextNorTheEncodingState)
{
    TTestDir dir;
    TTestEditor editor;
    editor.Lines()->LoadFromFile(Sample(QStringLiteral("letters_cp866_crlf.txt")));
    ASSERT_EQ(editor.Encoding(), Dos);
    const QString text = editor.Text();

    // Detected as big-endian UTF-16, then changed while read.
    TBytes utf16 = {0xFE, 0xFF};
    for (int i = 0; i < 200000; ++i)
        utf16.insert(utf16.end(), {0x04, 0x3F});
    const QString growing = dir.Write(QStringLiteral("growing.txt"), utf16);
    bool appended = false;
    editor.OnStream = [&](TqxEditor*, std::int64_t, std::int64_t) {
        if (!appended) {
            QFile file(growing);
            ASSERT_TRUE(file.open(QIODevice::Append));
            file.write("xx");
            appended = true;
        }
    };
    EXPECT_EQ(MessageOf<EReadError>([&] { editor.Lines()->LoadFromFile(growing); }),
              QString::fromUtf8(FileChangedWhileRead).arg(growing).toStdString());
    EXPECT_TRUE(appended);
    EXPECT_EQ(editor.Text(), text);
    EXPECT_EQ(editor.Encoding(), Dos);
    EXPECT_EQ(editor.UniType(), Little);
}

} // namespace
