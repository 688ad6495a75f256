// SPDX-License-Identifier: GPL-3.0-or-later
// quillet-conv's editor path: "text" shows what the editor would show, and convert
// reaches UTF-16 and RTF through the editor's own loading and saving.
#include "runtool.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

const std::string EditorSamples = QUILLET_TEST_DATA "/editor/";

TBytes ReadAll(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(f), {});
}

TEST(QuilletConvText, ShowsDosFramesAsTheEditorDoes)
{
    const TToolRun uni = RunTool({"text", EditorSamples + "frames_cp866_crlf.txt"});
    ASSERT_EQ(uni.status, 0) << uni.err;
    EXPECT_EQ(uni.out.substr(0, uni.out.find('\n', uni.out.find('\n') + 1) + 1),
              "Отчёт о работе за месяц\n╔══════════╦═══════╗\n");

    const TToolRun none = RunTool({"text", "--dos-mode", "none", EditorSamples + "frames_cp866_crlf.txt"});
    ASSERT_EQ(none.status, 0) << none.err;
    EXPECT_NE(none.out.find("\nЙННН"), std::string::npos);
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

TEST(QuilletConvText, RefusesWhatTheEditorRefuses)
{
    const TToolRun folder = RunTool({"text", EditorSamples});
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.err.find("not a regular file"), std::string::npos) << folder.err;
    EXPECT_EQ(RunTool({"text"}).status, 2);
    EXPECT_EQ(RunTool({"text", "--encoding", "cp1252", EditorSamples + "letters_cp1251_crlf.txt"}).status, 2);
}

TEST(QuilletConvViaEditor, Utf16BigEndianAndBack)
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
}

TEST(QuilletConvViaEditor, RtfGoesThroughTheEditorByDefault)
{
    TTempDir dir;
    const std::string rtf = dir.Path("out.rtf");
    TToolRun r = RunTool({"convert", "--from", "auto", "--to", "rtf", EditorSamples + "letters_koi8r_crlf.txt", rtf});
    ASSERT_EQ(r.status, 0) << r.err;
    const TBytes written = ReadAll(rtf);
    ASSERT_GE(written.size(), 5u);
    EXPECT_EQ(std::string(written.begin(), written.begin() + 5), "{\\rtf");
}

} // namespace
