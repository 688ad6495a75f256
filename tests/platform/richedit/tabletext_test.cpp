// SPDX-License-Identifier: GPL-3.0-or-later
// Tables as the text API hands them out: cells separated by TAB, rows ending in
// a paragraph end, never Qt's own marks; and SelText written back over a table
// keeps the table.
#include "richedit.h"
#include "testsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace platform;
using namespace platform::test;

namespace {

bool HasMarks(const QString& text)
{
    return text.contains(QChar(0xFDD0)) || text.contains(QChar(0xFDD1));
}

// "x" (unless the table leads), then a 2 x 2 table a b / c d with "b" in bold,
// then "y".
QTextTable* MakeTable(RichEdit& edit, bool leading = true)
{
    edit.SetText(leading ? u"x"_qs : QString());
    QTextCursor cursor(edit.Document());
    cursor.movePosition(QTextCursor::End);
    QTextTable* table = cursor.insertTable(2, 2);
    for (int cell = 0; cell < 4; ++cell) {
        QTextCharFormat format;
        if (cell == 1)
            format.setFontWeight(QFont::Bold);
        table->cellAt(cell / 2, cell % 2).firstCursorPosition().insertText(QString(QChar(u'a' + cell)), format);
    }
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(u"y"_qs);
    return table;
}

TEST(TableText, TextRangesSelectionLinesStreamsAndClipboardShowCellsAndRows)
{
    RichEdit edit;
    MakeTable(edit);
    const QString whole = edit.GetTextRange(0, -1);
    EXPECT_EQ(whole, u"x\ra\tb\rc\td\ry"_qs);
    // One character for each position, and every range exactly the characters
    // between its ends: a cursor selection ending inside the table grew to the
    // whole table, and streaming out in chunks then wrote table text twice.
    ASSERT_EQ(whole.size(), edit.GetTextLength());
    for (int from = 0; from <= whole.size(); ++from)
        for (int to = from; to <= whole.size(); ++to)
            ASSERT_EQ(edit.GetTextRange(from, to), whole.mid(from, to - from)) << from << ".." << to;

    edit.SetSel(0, -1);
    EXPECT_EQ(edit.GetSelText(), whole);
    edit.Copy();
    const QString copied = QApplication::clipboard()->mimeData()->text();
    EXPECT_FALSE(HasMarks(copied)) << copied.toStdString();
    EXPECT_EQ(copied, u"x\na\tb\nc\td\ny"_qs);

    for (int line = 0; line < edit.GetLineCount(); ++line)
        EXPECT_FALSE(HasMarks(edit.GetLine(line))) << line;

    // Streamed out, with the table after text or opening the text.
    EXPECT_EQ(StreamOut(edit, SF_TEXT), QByteArray("x\r\na\tb\r\nc\td\r\ny"));
    RichEdit leading;
    MakeTable(leading, false);
    EXPECT_EQ(StreamOut(leading, SF_TEXT), QByteArray("a\tb\r\nc\td\r\ny"));
    EXPECT_EQ(StreamOut(leading, SF_TEXT | SF_UNICODE), Utf16(u"a\tb\r\nc\td\r\ny"_qs));
}

TEST(TableText, NestedTableReadsWithoutMarks)
{
    RichEdit edit;
    QTextTable* outer = MakeTable(edit);
    QTextCursor inner = outer->cellAt(1, 1).lastCursorPosition();
    QTextTable* nested = inner.insertTable(1, 2);
    nested->cellAt(0, 0).firstCursorPosition().insertText(u"p"_qs);
    nested->cellAt(0, 1).firstCursorPosition().insertText(u"q"_qs);
    const QString whole = edit.GetTextRange(0, -1);
    EXPECT_FALSE(HasMarks(whole)) << whole.toStdString();
    EXPECT_TRUE(whole.contains(u"p\tq"_qs)) << whole.toStdString();
    EXPECT_EQ(whole.size(), edit.GetTextLength());
}

TEST(TableText, SelTextWrittenBackKeepsTheTableAndTheFormatsAndUndoesAtOnce)
{
    RichEdit edit;
    QTextTable* table = MakeTable(edit);
    const QString before = edit.GetTextRange(0, -1);
    edit.SetSel(0, -1);
    edit.ReplaceSel(edit.GetSelText().toUpper(), true);

    EXPECT_EQ(edit.GetTextRange(0, -1), u"X\rA\tB\rC\tD\rY"_qs);
    ASSERT_EQ(edit.Document()->rootFrame()->childFrames().size(), 1);
    EXPECT_EQ(table->rows(), 2);
    EXPECT_EQ(table->columns(), 2);
    EXPECT_EQ(table->cellAt(0, 1).firstCursorPosition().block().text(), u"B"_qs);
    QTextCursor bold(table->cellAt(0, 1).firstCursorPosition());
    bold.movePosition(QTextCursor::NextCharacter);
    EXPECT_EQ(bold.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(edit.ExGetSel(), (CHARRANGE{edit.GetTextLength(), edit.GetTextLength()}));

    // Cells may change length; the shape stays.
    edit.SetSel(0, -1);
    edit.ReplaceSel(u"x\r\nalpha\t\rc\tdelta\ry"_qs, true);
    EXPECT_EQ(edit.GetTextRange(0, -1), u"x\ralpha\t\rc\tdelta\ry"_qs);
    EXPECT_EQ(table->rows(), 2);

    edit.Undo();
    edit.Undo();
    EXPECT_EQ(edit.GetTextRange(0, -1), before);
}

TEST(TableText, SelectionStreamedOutAndInAgainKeepsTheTable)
{
    // What an encoding button does to a selection: out as bytes, in again. A
    // selection that opens with the table streams out without its first mark.
    for (const int from : {0, 1}) {
        RichEdit edit;
        QTextTable* table = MakeTable(edit);
        edit.SetSel(from, -1);
        const QByteArray bytes = StreamOut(edit, SF_TEXT | SFF_SELECTION);
        EXPECT_EQ(bytes.startsWith("a\t"), from == 1);
        StreamIn(edit, SF_TEXT | SFF_SELECTION, bytes.toUpper());
        EXPECT_EQ(edit.Document()->rootFrame()->childFrames().size(), 1) << from;
        EXPECT_EQ(table->rows(), 2);
        EXPECT_EQ(table->columns(), 2);
        EXPECT_EQ(edit.GetTextRange(1, -1), u"\rA\tB\rC\tD\rY"_qs) << from;
    }
}

} // namespace
