// SPDX-License-Identifier: GPL-3.0-or-later
// quillet-conv's editor path: "text" shows what the editor would show, convert
// reaches UTF-16 and RTF through the editor's own loading and saving, and objects
// drawn as icons neither end the process badly nor vanish unannounced.
#include "runtool.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

namespace {

const std::string EditorSamples = QUILLET_TEST_DATA "/editor/";

TEST(QuilletConvText, ShowsDosFramesAsTheEditorDoesAndRefusesWhatItRefuses)
{
    const TToolRun uni = RunTool({"text", EditorSamples + "frames_cp866_crlf.txt"});
    ASSERT_EQ(uni.status, 0) << uni.err;
    EXPECT_EQ(uni.out.substr(0, uni.out.find('\n', uni.out.find('\n') + 1) + 1),
              "Отчёт о работе за месяц\n╔══════════╦═══════╗\n");

    const TToolRun none = RunTool({"text", "--dos-mode", "none", EditorSamples + "frames_cp866_crlf.txt"});
    ASSERT_EQ(none.status, 0) << none.err;
    EXPECT_NE(none.out.find("\nЙННН"), std::string::npos);

    const TToolRun folder = RunTool({"text", EditorSamples});
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.err.find("not a regular file"), std::string::npos) << folder.err;
    EXPECT_EQ(RunTool({"text"}).status, 2);
    EXPECT_EQ(RunTool({"text", "--encoding", "cp1252", EditorSamples + "letters_cp1251_crlf.txt"}).status, 2);
}

TEST(QuilletConvText, EveryEncodingShowsTheSameText)
{
    // Windows text can score as Macintosh Cyrillic; --except-mac is the editor's default.
    const TToolRun reference = RunTool({"text", "--except-mac", EditorSamples + "letters_cp1251_crlf.txt"});
    ASSERT_EQ(reference.status, 0) << reference.err;
    EXPECT_NE(reference.out.find("\nАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ абвгдеёжзийклмнопрстуфхцчшщъыьэюя\n"),
              std::string::npos);
    for (const char* file : {"letters_cp866_crlf.txt", "letters_koi8r_crlf.txt", "letters_iso8859-5_crlf.txt",
                             "letters_utf16le_crlf.txt", "letters_utf16be_crlf.txt"})
        EXPECT_EQ(RunTool({"text", "--except-mac", EditorSamples + file}).out, reference.out) << file;
    EXPECT_EQ(RunTool({"text", EditorSamples + "letters_maccyrillic_crlf.txt"}).out, reference.out);
    EXPECT_EQ(RunTool({"text", "--encoding", "koi", EditorSamples + "letters_koi8r_crlf.txt"}).out, reference.out);
}

TEST(QuilletConvViaEditor, Utf16BigEndianAndBackAndRtfByDefault)
{
    TTempDir dir;
    const std::string be = dir.Path("be.txt");
    TToolRun r = RunTool({"convert", "--via-editor", "--from", "auto", "--to", "uni", "--byte-order", "big",
                          EditorSamples + "letters_cp866_crlf.txt", be});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadAll(be), ReadAll(EditorSamples + "letters_utf16be_crlf.txt"));

    const std::string koi = dir.Path("koi.txt");
    r = RunTool({"convert", "--via-editor", "--from", "uni", "--from-byte-order", "big", "--to", "koi", be, koi});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadAll(koi), ReadAll(EditorSamples + "letters_koi8r_crlf.txt"));

    // RTF is made by the editor without being asked to.
    const std::string rtf = dir.Path("out.rtf");
    r = RunTool({"convert", "--from", "auto", "--to", "rtf", EditorSamples + "letters_koi8r_crlf.txt", rtf});
    ASSERT_EQ(r.status, 0) << r.err;
    const TBytes written = ReadAll(rtf);
    ASSERT_GE(written.size(), 5u);
    EXPECT_EQ(std::string(written.begin(), written.begin() + 5), "{\\rtf");
}

TEST(QuilletConvViaEditor, ObjectsDrawnAsIconsEndTheRunCleanlyAndPlainTextSaysTheyAreLost)
{
    TTempDir dir;
    std::string lines;
    for (int i = 0; i < 300; ++i)
        lines += "Line " + std::to_string(i) + " of a text longer than one output buffer\\par\n";
    // An embedded file shown as an icon, another program's object known by its
    // type, and a link whose source is gone.
    const std::string gone = dir.Path("gone.png");
    std::string goneHex;
    for (const unsigned char c : gone)
        goneHex += "0123456789abcdef"[c >> 4], goneHex += "0123456789abcdef"[c & 15];
    const std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1251 A{\\object\\objemb{\\*\\objclass Package}{\\*\\objname report.bin}"
        "{\\*\\objmime application/octet-stream}{\\*\\objicon}{\\*\\objdata 414243}}B"
        "{\\object\\objemb{\\*\\objmime text/plain}{\\*\\objdata 41424344}}C"
        "{\\object\\objlink{\\*\\objname gone.png}{\\*\\objmime image/png}{\\*\\objdata " + goneHex + "}}D\\par\n" +
        lines + "}";
    const std::string in = dir.Write("objects.rtf", FromString(rtf));
    const std::string expected = "A\uFFFCB\uFFFCC\uFFFCD\n";

    const TToolRun text = RunTool({"text", in});
    EXPECT_EQ(std::pair(text.signal, text.status), std::pair(0, 0)) << text.err;
    ASSERT_GT(text.out.size(), 10000u);
    EXPECT_EQ(text.out.substr(0, expected.size()), expected);
    EXPECT_NE(text.out.find("Line 299 of a text longer than one output buffer"), std::string::npos);

    // Saved as RTF the objects stay, and nothing is said; as plain text each one
    // becomes a mark, and the run says so.
    const TToolRun kept = RunTool({"convert", "--from", "rtf", "--to", "rtf", in, dir.Path("out.rtf")});
    EXPECT_EQ(std::tuple(kept.signal, kept.status, kept.err), std::tuple(0, 0, std::string())) << kept.err;
    EXPECT_EQ(ReadAll(dir.Path("out.rtf")).size() > rtf.size() / 2, true);
    for (const auto& [to, mark] : {std::pair{"win", "?"}, std::pair{"utf8", "\uFFFC"}}) {
        const std::string out = dir.Path(std::string("out.") + to);
        const TToolRun lost = RunTool({"convert", "--from", "rtf", "--to", to, in, out});
        EXPECT_EQ(std::pair(lost.signal, lost.status), std::pair(0, 0)) << to << lost.err;
        EXPECT_NE(lost.err.find("3 objects and pictures of \"" + in + "\" have no place in"), std::string::npos)
            << lost.err;
        const TBytes written = ReadAll(out);
        const std::string head = std::string("A") + mark + "B" + mark + "C" + mark + "D\r\n";
        EXPECT_EQ(std::string(written.begin(), written.begin() + std::ptrdiff_t(head.size())), head) << to;
    }
}

} // namespace
