// SPDX-License-Identifier: GPL-3.0-or-later
// quillet-conv from the outside: what detect prints, what convert writes (checked
// against iconv), how it refuses, and that a failed run leaves OUT as it was.
#include "runtool.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

const std::string Text = "Съешь же ещё этих мягких французских булок, да выпей чаю.\r\n"
                         "Широкая электрификация южных губерний даст мощный толчок подъёму сельского хозяйства.\r\n"
                         "В чащах юга жил бы цитрус? Да, но фальшивый экземпляр!\r\n";

std::size_t FilesIn(const std::string& dir)
{
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir))
        ++n;
    return n;
}

TEST(QuilletConv, DetectReportsEveryReadableFileRefusesAFifoAndLeavesMacOutWhenAsked)
{
    TTempDir dir;
    const std::string koi = dir.Write("koi.txt", Iconv(Text, "KOI8-R"));
    const std::string be = dir.Write("be.txt", Iconv(Text, "UTF-16BE"));
    const std::string frames = dir.Write("frames.txt", Iconv("╔══╗\r\n╚══╝\r\n", "CP866"));
    const TToolRun r = RunTool({"detect", koi, dir.Path("missing.txt"), be, dir.Path(""), frames});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, koi + "\tKoi\tgraphics\tlittle\n" + be + "\tUni\tno-graphics\tbig\n" + frames +
                         "\tDos\tgraphics\tlittle\n");
    EXPECT_NE(r.err.find("cannot read \"" + dir.Path("missing.txt") + "\""), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("is a folder"), std::string::npos) << r.err;

    // A FIFO is refused at once instead of waiting for a writer.
    const std::string fifo = dir.Path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const TToolRun f = RunTool({"detect", fifo});
    EXPECT_EQ(f.status, 1);
    EXPECT_NE(f.err.find("not a regular file"), std::string::npos) << f.err;

    // Macintosh Cyrillic is named unless --except-mac leaves it out.
    const std::string mac = dir.Write(
        "mac.txt", Iconv("Мороз и солнце; день чудесный! Ещё ты дремлешь, друг прелестный. Пора, красавица, проснись", "MAC-CYRILLIC"));
    EXPECT_EQ(RunTool({"detect", mac}).out.substr(mac.size() + 1, 3), "Mac");
    EXPECT_EQ(RunTool({"detect", "--except-mac", mac}).out.substr(mac.size() + 1, 3), "Win");
}

struct TConvCase { const char *from, *fromIconv, *to, *toIconv; std::vector<std::string> extra; };

TEST(QuilletConv, ConvertAgreesWithIconvOnTextAndReadsUndetectedTextAsWindows)
{
    const TConvCase cases[] = {
        {"dos", "CP866", "koi", "KOI8-R", {}},         {"koi", "KOI8-R", "win", "CP1251", {}},
        {"auto", "ISO-8859-5", "mac", "MAC-CYRILLIC", {}}, {"win", "CP1251", "uni", "UTF-16LE", {}},
        {"koi", "KOI8-R", "uni", "UTF-16BE", {"--byte-order", "big"}},
        {"uni", "UTF-16BE", "dos", "CP866", {"--byte-order=big"}},
        {"auto", "UTF-16BE", "uni", "UTF-16LE", {}},
        {"auto", "UTF-16LE", "iso", "ISO-8859-5", {}},
        {"auto", "UTF-8", "koi", "KOI8-R", {}},          {"win", "CP1251", "utf-8", "UTF-8", {}},
        {"utf8", "UTF-8", "uni", "UTF-16BE", {"--byte-order", "big"}},
    };
    TTempDir dir;
    for (const TConvCase& c : cases) {
        const std::string in = dir.Write("in", Iconv(Text, c.fromIconv));
        std::vector<std::string> args = {"convert", "--from", c.from, "--to", c.to};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        args.push_back(in);
        args.push_back(dir.Path("out"));
        const TToolRun r = RunTool(args);
        EXPECT_EQ(r.status, 0) << c.fromIconv << " to " << c.toIconv << ": " << r.err;
        EXPECT_EQ(ReadAll(dir.Path("out")), Iconv(Text, c.toIconv)) << c.fromIconv << " to " << c.toIconv;
    }
    // Text nothing is detected in is read as Windows text, and the run says so.
    const std::string ascii = dir.Write("ascii", FromString("plain ASCII\r\n"));
    const TToolRun r = RunTool({"convert", "--from", "auto", "--to", "dos", ascii, dir.Path("out")});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("read as Win"), std::string::npos) << r.err;
    EXPECT_EQ(ReadAll(dir.Path("out")), FromString("plain ASCII\r\n"));
}

TEST(QuilletConv, ByteOrderMarkStaysInUtf16AndLeavesSingleByteTargets)
{
    TTempDir dir;
    const std::string in = dir.Write("in", Iconv("\uFEFF" + Text, "UTF-16LE"));
    ASSERT_EQ(RunTool({"convert", "--from", "auto", "--to", "uni", "--byte-order", "big", in, dir.Path("be")}).status, 0);
    EXPECT_EQ(ReadAll(dir.Path("be")), Iconv("\uFEFF" + Text, "UTF-16BE"));
    ASSERT_EQ(RunTool({"convert", "--from", "uni", "--to", "win", in, dir.Path("win")}).status, 0);
    EXPECT_EQ(ReadAll(dir.Path("win")), Iconv(Text, "CP1251"));
}

TEST(QuilletConv, DosFramesThroughUtf16InUniMode)
{
    TTempDir dir;
    const std::string frame = "╔═╗ Да\r\n║ │\r\n";
    const std::string in = dir.Write("in", Iconv(frame, "CP866"));
    ASSERT_EQ(RunTool({"convert", "--from", "dos", "--to", "uni", in, dir.Path("u")}).status, 0);
    EXPECT_EQ(ReadAll(dir.Path("u")), Iconv(frame, "UTF-16LE"));
    ASSERT_EQ(RunTool({"convert", "--from", "uni", "--to", "dos", dir.Path("u"), dir.Path("d")}).status, 0);
    EXPECT_EQ(ReadAll(dir.Path("d")), Iconv(frame, "CP866"));
    // Letters-only mode keeps the bytes, so the frames come out as Windows-1251 signs.
    ASSERT_EQ(RunTool({"convert", "--from", "dos", "--to", "win", "--dos-mode", "none", in, dir.Path("w")}).status, 0);
    const TBytes w = ReadAll(dir.Path("w"));
    EXPECT_EQ(w[0], 0xC9);
    // The OEM mode folds them into ASCII.
    ASSERT_EQ(RunTool({"convert", "--from", "dos", "--to", "win", "--dos-mode", "oem", in, dir.Path("o")}).status, 0);
    EXPECT_LT(ReadAll(dir.Path("o"))[0], 0x80);
}

TEST(QuilletConv, Utf8IsNamedAndItsFaultsCountedOnEveryPath)
{
    TTempDir dir;
    const std::string utf8 = dir.Write("utf8.txt", FromString(Text));
    EXPECT_EQ(RunTool({"detect", utf8}).out, utf8 + "\tUtf8\tno-graphics\tlittle\n");

    // Valid in the sample, broken at the end: the bytes path and the editor's
    // path both convert and both say how much was not UTF-8.
    TBytes broken = FromString(Text);
    broken.push_back(0xD0);
    const std::string in = dir.Write("broken.txt", broken);
    for (const std::vector<std::string>& extra :
         {std::vector<std::string>{}, std::vector<std::string>{"--via-editor"}}) {
        std::vector<std::string> args = {"convert", "--from", "auto", "--to", "utf8"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.insert(args.end(), {in, dir.Path("out")});
        const TToolRun r = RunTool(args);
        EXPECT_EQ(r.status, 0) << r.err;
        TBytes expected = FromString(Text + "\xEF\xBF\xBD");
        EXPECT_EQ(ReadAll(dir.Path("out")), expected) << extra.size();
        EXPECT_NE(r.err.find("1 byte sequences of \"" + in + "\" are not UTF-8"), std::string::npos) << r.err;
    }
    const TToolRun text = RunTool({"text", "--encoding", "UTF-8", in});
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.err.find("are not UTF-8"), std::string::npos) << text.err;
}

TEST(QuilletConv, InPlaceAndPermissionsKept)
{
    TTempDir dir;
    const std::string path = dir.Write("same", Iconv(Text, "CP866"));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const TToolRun r = RunTool({"convert", "--from", "dos", "--to", "koi", path, path});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadAll(path), Iconv(Text, "KOI8-R"));
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(FilesIn(dir.Path("")), 1u);
}

TEST(QuilletConv, FailedRunsLeaveOutAlone)
{
    TTempDir dir;
    const TBytes old = FromString("old contents\n");
    const std::string out = dir.Write("out", old);
    const std::string in = dir.Write("in", Iconv(Text, "CP1251"));
    const std::string rtf = dir.Write("doc.rtf", FromString("{\\rtf1 text}"));
    struct { std::vector<std::string> args; int status; const char* says; } cases[] = {
        {{"convert", "--from", "win", "--to", "koi", dir.Path("missing"), out}, 1, "cannot read"},
        {{"convert", "--from", "auto", "--to", "koi", rtf, dir.Path("no/such/folder")}, 1, "Can not open file for writing"},
        {{"convert", "--via-editor", "--from", "win", "--to", "rtf", dir.Path("missing"), out}, 1, "cannot read"},
        {{"convert", "--from", "win", "--to", "cp1252", in, out}, 2, "unknown target encoding"},
        {{"convert", "--from", "win", "--to", "koi", "--dos-mode", "x", in, out}, 2, "DOS mode"},
        {{"convert", "--from", "win", "--to", "koi", in}, 2, "input and the output"},
        {{"convert", "--to", "koi", in, out}, 2, "--from"},
        {{"convert", "--from", "win", "--to", "koi", "--byte-order"}, 2, "needs a value"},
        {{"convert", "--from", "win", "--to", "koi", in, dir.Path("")}, 1, "Can not open file for writing"},
    };
    for (const auto& c : cases) {
        const TToolRun r = RunTool(c.args);
        EXPECT_EQ(r.status, c.status) << c.says << ": " << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(ReadAll(out), old) << c.says;
    }
    EXPECT_EQ(FilesIn(dir.Path("")), 3u);
}

TEST(QuilletConv, TablesAsJson)
{
    TTempDir dir;
    const std::string in = dir.Write("t", Iconv("intro\r\n┌──────────┐\r\n│ Да │ \"q\" │\r\n└──────────┘\r\n", "CP866"));
    const TToolRun r = RunTool({"tables", in});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"tables\": [\n"
                     "  {\"start\": 6, \"end\": 45, \"rows\": [\n"
                     "    [{\"sep\": 1, \"text\": \"\"}, {\"sep\": 6, \"text\": \" Да\"}, "
                     "{\"sep\": 12, \"text\": \" \\\"q\\\"\"}]\n"
                     "  ]}\n"
                     "]}\n");
    const TToolRun none = RunTool({"tables", dir.Write("plain", FromString("no tables\n"))});
    EXPECT_EQ(none.out, "{\"tables\": []}\n");
    EXPECT_EQ(RunTool({"tables", dir.Path("missing")}).status, 1);
}

} // namespace
