// SPDX-License-Identifier: GPL-3.0-or-later
// Streaming text in and out: every byte's round trip, paragraph ends, UTF-16,
// selections, failing callbacks and bad input.
#include "richedit.h"
#include "testsupport.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace platform;
using namespace platform::test;

namespace {

QByteArray AllBytesExceptLineEnds()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n')
            bytes.append(char(b));
    return bytes;
}

TEST(Stream, EveryUnitSurvivesUtf16IncludingBomAndLoneSurrogates)
{
    RichEdit edit;
    QString text(QChar(0xFEFF));
    for (int u = 0; u < 0x500; ++u)
        if (u != '\r' && u != '\n')
            text += QChar(u);
    text += QChar(0xD800);                       // lone high surrogate
    text += u"x";
    text += QChar(0xDC00);                       // lone low surrogate
    text += QString::fromUcs4(U"\U0001F600");    // a pair
    EXPECT_EQ(StreamIn(edit, SF_TEXT | SF_UNICODE, Utf16(text)), text.size());
    EXPECT_EQ(edit.GetTextRange(0, 1), QString(QChar(0xFEFF)));
    EXPECT_EQ(StreamOut(edit, SF_TEXT | SF_UNICODE), Utf16(text));
}

// CR LF, lone CR and lone LF each become CR LF; every other byte stays.
QByteArray NormalizedLineEnds(const QByteArray& in)
{
    QByteArray out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '\r' && i + 1 < in.size() && in[i + 1] == '\n')
            ++i;
        if (in[i] == '\r' || in[i] == '\n')
            out.append("\r\n");
        else
            out.append(in[i]);
    }
    return out;
}

TEST(Stream, BytesInAnyBlocksComeBackWithOnlyLineEndsNormalised)
{
    // Every shape of line end and every other byte, in blocks of one, two and all:
    // each line end is one paragraph and goes out as CR LF.
    for (const QByteArray& in : {QByteArray("a\r\nb"), QByteArray("a\rb"), QByteArray("a\nb"), QByteArray("a\r\n"),
                                 QByteArray("\r\r\n\n"), QByteArray("\n\r"), QByteArray(), AllBytesExceptLineEnds()}) {
        const QByteArray out = NormalizedLineEnds(in);
        for (int block : {1, 2, 1 << 20}) {
            RichEdit edit;
            ByteSource source;
            source.data = in;
            source.blockLimit = block;
            StreamIn(edit, SF_TEXT, source);
            if (!in.contains('\r') && !in.contains('\n')) {
                EXPECT_EQ(edit.GetTextLength(), in.size());
            }
            EXPECT_EQ(edit.Document()->blockCount(), out.count("\r\n") + 1) << in.toHex().constData();
            EXPECT_EQ(StreamOut(edit, SF_TEXT), out) << in.toHex().constData() << " block " << block;
            if (in.size() < 10) {
                EXPECT_EQ(StreamOut(edit, SF_TEXT | SF_UNICODE), Utf16(QString::fromLatin1(out))) << block;
            }
        }
    }

    // Random bytes in random blocks, read as Windows-1251 and as UTF-16.
    std::uint32_t seed = 2024;
    auto next = [&seed] { return (seed = seed * 1664525u + 1013904223u) >> 8; };
    for (int round = 0; round < 40; ++round) {
        QByteArray bytes;
        const int size = int(next() % 3000);
        for (int i = 0; i < size; ++i) {
            const std::uint32_t r = next() % 10;
            bytes.append(r == 0 ? '\r' : r == 1 ? '\n' : char(next() & 0xFF));
        }
        RichEdit edit;
        ByteSource source;
        source.data = bytes;
        source.blockLimit = 1 + int(next() % 700);
        StreamIn(edit, SF_TEXT, source);
        ASSERT_EQ(StreamOut(edit, SF_TEXT), NormalizedLineEnds(bytes)) << "round " << round;

        // The same bytes read as UTF-16: every unit but CR and LF survives.
        RichEdit wide;
        ByteSource wideSource;
        wideSource.data = bytes.left(bytes.size() & ~1);
        wideSource.blockLimit = source.blockLimit;
        StreamIn(wide, SF_TEXT | SF_UNICODE, wideSource);
        QString units;
        for (qsizetype i = 0; i + 1 < wideSource.data.size(); i += 2)
            units += QChar(char16_t(std::uint8_t(wideSource.data[i]) | (std::uint8_t(wideSource.data[i + 1]) << 8)));
        // U+2029 is a paragraph end too; the document's table marks arrive as U+FFFD.
        units.replace(u"\r\n"_qs, u"\n"_qs).replace(u'\r', u'\n').replace(QChar::ParagraphSeparator, u'\n');
        units.replace(u"\n"_qs, u"\r\n"_qs).replace(QChar(0xFDD0), QChar::ReplacementCharacter);
        units.replace(QChar(0xFDD1), QChar::ReplacementCharacter);
        const QByteArray got = StreamOut(wide, SF_TEXT | SF_UNICODE);
        const QByteArray want = Utf16(units);
        qsizetype at = 0;
        while (at < std::min(got.size(), want.size()) && got[at] == want[at])
            ++at;
        ASSERT_EQ(got, want) << "round " << round << " at " << at << " got " << got.mid(at & ~1, 8).toHex().constData()
                             << " want " << want.mid(at & ~1, 8).toHex().constData();
    }
}

TEST(Stream, CharactersWithoutAByteGoOutAsOneQuestionMarkEach)
{
    RichEdit edit;
    edit.SetText(u"a\u4E2D"_qs + QString::fromUcs4(U"\U0001F600") + u"b\u2028c"_qs);
    EXPECT_EQ(StreamOut(edit, SF_TEXT), QByteArray("a??b\r\nc"));
}

TEST(Stream, OddUtf16ByteAtTheEndIsKeptVisibleAndUnitsSplitBetweenBlocksAreJoined)
{
    RichEdit edit;
    QByteArray bytes = Utf16(u"ab"_qs);
    bytes.append('c');
    StreamIn(edit, SF_TEXT | SF_UNICODE, bytes);
    EXPECT_EQ(edit.GetTextRange(0, -1), u"ab\uFFFD"_qs);

    // A unit split between blocks is joined.
    ByteSource source;
    source.data = Utf16(u"Ёж\r\nы"_qs);
    source.blockLimit = 3;
    StreamIn(edit, SF_TEXT | SF_UNICODE, source);
    EXPECT_EQ(edit.GetTextRange(0, -1), u"Ёж\rы"_qs);
}

TEST(Stream, ControlChoosesLargeBlocks)
{
    RichEdit edit;
    ByteSource source;
    source.data = QByteArray("0123456789abcdefghijklmnopqrstuvwxyz\r\n").repeated(8000);
    StreamIn(edit, SF_TEXT, source);
    EXPECT_GE(source.largestRequest, 64 * 1024);
    ByteSink sink;
    StreamOut(edit, SF_TEXT, sink);
    EXPECT_LE(sink.calls, 3);
    EXPECT_EQ(sink.data, source.data);
}

TEST(Stream, FailingReadChangesNothingAndReportsTheError)
{
    // A text half read is not the text: the control keeps what it showed.
    RichEdit edit;
    edit.SetText(u"old"_qs);
    for (unsigned format : {SF_TEXT, SF_TEXT | SFF_SELECTION, SF_RTF, SF_RTF | SFF_SELECTION}) {
        edit.SetSel(1, 2);
        ByteSource source;
        source.data = (format & SF_RTF) ? "{\\rtf1 first\\par " : "first\r";
        source.data.append(QByteArray("\nsecond}"));
        source.blockLimit = int(source.data.indexOf('\n'));   // the first line | fails
        source.failAt = 1;
        std::uint32_t error = 0;
        StreamIn(edit, format, source, &error);
        EXPECT_EQ(error, source.failCode) << format;
        EXPECT_EQ(edit.GetTextRange(0, -1), u"old"_qs) << format;
        EXPECT_EQ(edit.ExGetSel().cpMin, 1);
        EXPECT_EQ(edit.ExGetSel().cpMax, 2);
    }
}

TEST(Stream, FailingWriteStopsAndReportsTheErrorAndAPartialTakeGetsTheRest)
{
    RichEdit edit;
    StreamIn(edit, SF_TEXT, QByteArray("line of text\r\n").repeated(50000));
    ByteSink sink;
    sink.failAt = 1;
    std::uint32_t error = 0;
    StreamOut(edit, SF_TEXT, sink, &error);
    EXPECT_EQ(error, sink.failCode);
    EXPECT_EQ(sink.calls, 2);

    // A sink taking part of a block gets the rest.
    StreamIn(edit, SF_TEXT, QByteArray("abcdefgh"));
    ByteSink partial;
    partial.takeAtMost = 3;
    StreamOut(edit, SF_TEXT, partial);
    EXPECT_EQ(partial.data, QByteArray("abcdefgh"));
}

TEST(Stream, RtfFormatRefusesDataThatIsNotRtf)
{
    RichEdit edit;
    edit.SetText(u"keep"_qs);
    std::uint32_t error = 0;
    EXPECT_EQ(StreamIn(edit, SF_RTF, QByteArray("plain words"), &error), 0);
    EXPECT_NE(error, 0u);
    EXPECT_EQ(edit.GetTextRange(0, -1), u"keep"_qs);

    edit.SetSel(1, 2);
    EXPECT_EQ(StreamIn(edit, SF_RTF | SFF_SELECTION, QByteArray("plain"), &error), 0);
    EXPECT_NE(error, 0u);
    EXPECT_EQ(edit.GetTextRange(0, -1), u"keep"_qs);

    StreamIn(edit, SF_RTF, QByteArray("{\\rtf1\\ansi }"), &error);
    EXPECT_EQ(error, 0u);
    EXPECT_FALSE(StreamOut(edit, SF_RTF).isEmpty());
}

TEST(Stream, SelectionInReplacesOnlyTheSelectionUndoablyAndOutWritesOnlyIt)
{
    RichEdit edit;
    edit.SetText(u"one two three"_qs);
    edit.SetSel(4, 7);
    StreamIn(edit, SF_TEXT | SFF_SELECTION, Cp1251(u"два\r\nдва"_qs));
    EXPECT_EQ(edit.GetTextRange(0, -1), u"one два\rдва three"_qs);
    EXPECT_TRUE(edit.CanUndo());
    edit.Undo();
    EXPECT_EQ(edit.GetTextRange(0, -1), u"one two three"_qs);

    // Out, only the selection is written.
    edit.SetText(u"ab\r\ncd"_qs);
    edit.SetSel(1, 4);
    EXPECT_EQ(StreamOut(edit, SF_TEXT | SFF_SELECTION), QByteArray("b\r\nc"));
    edit.SetSel(2, 2);
    EXPECT_EQ(StreamOut(edit, SF_TEXT | SFF_SELECTION), QByteArray());
    edit.SetSel(0, -1);
    EXPECT_EQ(StreamOut(edit, SF_TEXT | SFF_SELECTION), QByteArray("ab\r\ncd"));
    // Streaming into an empty selection inserts at the caret.
    edit.SetSel(2, 2);
    StreamIn(edit, SF_TEXT | SFF_SELECTION, QByteArray("X"));
    EXPECT_EQ(StreamOut(edit, SF_TEXT), QByteArray("abX\r\ncd"));
}

TEST(Stream, WholeTextInEmptiesUndoAndClearsModified)
{
    RichEdit edit;
    edit.ReplaceSel(u"typed"_qs, true);
    ASSERT_TRUE(edit.CanUndo());
    StreamIn(edit, SF_TEXT, QByteArray("loaded"));
    EXPECT_FALSE(edit.CanUndo());
    EXPECT_FALSE(edit.GetModify());
    EXPECT_EQ(edit.ExGetSel().cpMin, 0);
}

} // namespace

TEST(Stream, StreamingOutDoesNotLayTheTextOut)
{
    // A cursor-based read of the far end made Qt lay out everything before it:
    // minutes for a large text shown in the window.
    RichEdit edit;
    edit.resize(400, 300);
    edit.show();
    QByteArray text;
    for (int i = 0; i < 20000; ++i)
        text += "строка текста для проверки\r\n";
    const QByteArray bytes = Cp1251(QString::fromUtf8(text));
    StreamIn(edit, SF_TEXT, bytes);
    EXPECT_EQ(StreamOut(edit, SF_TEXT), bytes);
    const QTextBlock last = edit.Document()->lastBlock().previous();
    ASSERT_TRUE(last.isValid());
    EXPECT_EQ(last.layout()->lineCount(), 0);
}
