// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 through the stream path: detected and shown exactly, saved back byte for
// byte over several cycles, sequences cut by every kind of block, bytes that are
// not UTF-8 shown and counted, progress measured in the file's own bytes.
#include "conversion.h"
#include "detect.h"
#include "editorerrors.h"
#include "qxeditor.h"
#include "richedit.h"
#include "testsupport.h"

#include <QString>

#include <gtest/gtest.h>

namespace {

TBytes Utf8Of(const QString& text)
{
    const QByteArray b = text.toUtf8();
    return TBytes(b.begin(), b.end());
}

// The control's text with paragraph ends as CR LF, the way a file holds it.
QString FileText(TqxEditor& editor)
{
    QString text = editor.Lines()->ToStringList().join(QStringLiteral("\r\n"));
    if (editor.Window()->GetLineCount() > editor.Lines()->Count())
        text += QStringLiteral("\r\n");   // the empty paragraph after a last line end
    return text;
}

// Dense characters of one, two, three and four bytes, with a line end now and
// then: every block boundary of the way in and out falls inside some sequence.
QString DenseText(int periods)
{
    QString text;
    for (int i = 0; i < periods; ++i) {
        text += QStringLiteral("Я😀a中");
        if (i % 97 == 96)
            text += QStringLiteral("\r\n");
    }
    return text;
}

TEST(Utf8Stream, FilesAreDetectedShownAndSavedBackByteForByte)
{
    TTestDir dir;
    const QString texts[] = {
        QStringLiteral("Привет, мир!"),
        QStringLiteral("\uFEFF"),   // a mark and nothing else
        QStringLiteral("\uFEFFМороз и солнце; день чудесный!\r\nЕщё ты дремлешь, друг прелестный\r\n"),
        QStringLiteral("Строка\r\n\r\nпосле пустой 😀 中\r\n\r\n"),
        DenseText(60000),
        // A letter cut in two by the end of the detection sample.
        QStringLiteral("a") + QString(qsizetype(DetectSampleSize / 2 - 1), QChar(0x0436)) + QStringLiteral("жук\r\n"),
    };
    for (const QString& text : texts) {
        const TBytes bytes = Utf8Of(text);
        QString name = dir.Write(QStringLiteral("in.txt"), bytes);
        for (int cycle = 0; cycle < 3; ++cycle) {
            TTestEditor editor;
            editor.SetAutoEncoding(true);
            editor.Lines()->LoadFromFile(name);
            ASSERT_EQ(editor.Encoding(), Utf8) << cycle;
            EXPECT_EQ(editor.LoadedInvalidUtf8, 0u);
            ASSERT_EQ(FileText(editor), text) << cycle;
            name = dir.Path(QStringLiteral("out%1.txt").arg(cycle));
            editor.Lines()->SaveToFile(name);
            ASSERT_EQ(ReadBytes(name), bytes) << "cycle " << cycle << ", " << text.left(20).toStdString();
        }
    }
}

TEST(Utf8Stream, TheSmallestBlocksCutEverySequenceAndLoseNothing)
{
    const QString text = QStringLiteral("\uFEFFЁлка 😀 中\r\n𝔘 — «ё»");
    const TBytes utf8 = Utf8Of(text);
    const TBytes utf16(reinterpret_cast<const std::uint8_t*>(text.utf16()),
                       reinterpret_cast<const std::uint8_t*>(text.utf16() + text.size()));
    for (std::size_t count : {8u, 9u, 10u, 13u}) {
        TConversion in(Utf8, daNone, Little);
        TMemoryStream file(utf8);
        TBytes read;
        std::uint8_t block[16];
        while (const std::size_t n = in.ConvertRead(file, block, count)) {
            ASSERT_LE(n, count);
            read.insert(read.end(), block, block + n);
        }
        EXPECT_EQ(read, utf16) << count;

        TConversion out(Utf8, daNone, Little);
        TMemoryStream written;
        for (std::size_t at = 0; at < utf16.size(); at += count) {
            TBytes piece(utf16.begin() + std::ptrdiff_t(at),
                         utf16.begin() + std::ptrdiff_t(std::min(at + count, utf16.size())));
            EXPECT_EQ(out.ConvertWrite(written, piece.data(), piece.size()), piece.size());
        }
        out.FinishWrite(written);
        EXPECT_EQ(written.Bytes(), utf8) << count;
    }
}

TEST(Utf8Stream, BytesThatAreNotUtf8AreShownAsReplacementsAndCounted)
{
    TTestDir dir;
    // Valid throughout the detection sample, broken after it and cut at the end.
    const QString head = QString(qsizetype(DetectSampleSize / 2), QChar(0x0436));   // ж, two bytes each
    TBytes bytes = Utf8Of(head + QStringLiteral("\r\nдо"));
    bytes.push_back(0xFF);
    const TBytes tail = Utf8Of(QStringLiteral("после"));
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    bytes.insert(bytes.end(), {0xE2, 0x82});
    const QString name = dir.Write(QStringLiteral("broken.txt"), bytes);

    TTestEditor editor;
    editor.SetAutoEncoding(true);
    editor.Lines()->LoadFromFile(name);
    EXPECT_EQ(editor.Encoding(), Utf8);
    EXPECT_EQ(editor.LoadedInvalidUtf8, 2u);
    EXPECT_EQ(editor.Lines()->Get(1), QStringLiteral("до\uFFFDпосле\uFFFD"));

    // Text read in any other encoding has nothing of the kind to report.
    editor.SetAutoEncoding(false);
    editor.SetEncoding(Win);
    editor.Lines()->LoadFromFile(name);
    EXPECT_EQ(editor.LoadedInvalidUtf8, 0u);
}

TEST(Utf8Stream, ProgressCountsTheFilesBytesNotTheControls)
{
    // ASCII doubles on its way to the control; progress must still end at the size.
    TTestDir dir;
    const TBytes bytes = Utf8Of(QStringLiteral("я") + QString(700000, QLatin1Char('a')));
    const QString name = dir.Write(QStringLiteral("ascii.txt"), bytes);
    TTestEditor editor;
    editor.SetAutoEncoding(true);
    std::int64_t last = 0;
    bool beyond = false;
    editor.OnStream = [&](TqxEditor*, std::int64_t size, std::int64_t position) {
        beyond = beyond || position > size || position < last;
        last = position;
    };
    editor.Lines()->LoadFromFile(name);
    EXPECT_EQ(editor.Encoding(), Utf8);
    EXPECT_FALSE(beyond);
    EXPECT_EQ(last, std::int64_t(bytes.size()));
}

TEST(Utf8Stream, WhatFitsIsCountedInCharactersNotBytes)
{
    // 30 letters are 60 bytes: a control of 40 characters takes them, one of 20 does not,
    // and then says how many characters there are and keeps what it showed.
    TTestDir dir;
    const QString name = dir.Write(QStringLiteral("letters.txt"), Utf8Of(QString(30, QChar(0x0416))));
    TTestEditor editor;
    editor.SetAutoEncoding(true);
    editor.SetMaxLength(40);
    editor.Lines()->LoadFromFile(name);
    EXPECT_EQ(editor.Encoding(), Utf8);
    EXPECT_EQ(editor.Lines()->Get(0), QString(30, QChar(0x0416)));

    editor.SetMaxLength(20);
    EXPECT_NE(MessageOf<EFOpenError>([&] { editor.Lines()->LoadFromFile(name); }).find("too large to load (30 characters"),
              std::string::npos);
    EXPECT_EQ(editor.Lines()->Get(0), QString(30, QChar(0x0416)));
}

} // namespace
