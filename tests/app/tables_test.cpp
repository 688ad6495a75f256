// SPDX-License-Identifier: GPL-3.0-or-later
// DOS pseudo-graphic tables rebuilt as real tables when a CP866 file is loaded in
// the tables mode, the RTF they are built from, and the warning before a
// conversion would lose them.
#include "testsupport.h"

#include "richedit.h"

#include "dostablertf.h"

#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace {

QString DataFile(const char* name)
{
    return QStringLiteral(QUILLET_TEST_DATA "/app/") + QString::fromLatin1(name);
}

std::vector<QTextTable*> Tables(TfmView& w)
{
    std::vector<QTextTable*> found;
    for (QTextFrame* frame : w.GEditor->Window()->document()->rootFrame()->childFrames())
        if (auto* table = qobject_cast<QTextTable*>(frame))
            found.push_back(table);
    return found;
}

QString CellText(QTextTable* table, int row, int column)
{
    const QTextTableCell cell = table->cellAt(row, column);
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return cursor.selectedText().trimmed();
}

QByteArray SavedRtf(TfmView& w)
{
    TMemoryStream out;
    const TEnc kept = w.GEditor->Encoding();
    w.GEditor->SetEncoding(Rtf);
    w.GEditor->Lines()->SaveToStream(out);
    w.GEditor->SetEncoding(kept);
    return QByteArray(reinterpret_cast<const char*>(out.Bytes().data()), qsizetype(out.Bytes().size()));
}

TfmView& LoadInTablesMode(TfmView& w, const QString& file)
{
    w.GEditor->SetDosAdd(daTBL);
    w.GEditor->SetAutoEncoding(false);
    w.LoadNewFile(file, Dos, true, 0, 0);
    return w;
}

TEST_F(ViewTest, TwoDosTablesBecomeTwoRealTablesWithTheirColumnBoundaries)
{
    TfmView& w = LoadInTablesMode(Start(), DataFile("tables_two_cp866.txt"));
    ASSERT_EQ(w.DefFont.Size, 10);
    const std::vector<QTextTable*> tables = Tables(w);
    ASSERT_EQ(tables.size(), 2u);

    EXPECT_EQ(tables[0]->rows(), 3);
    EXPECT_EQ(tables[0]->columns(), 2);
    EXPECT_EQ(CellText(tables[0], 0, 0), QStringLiteral("Имя"));
    EXPECT_EQ(CellText(tables[0], 0, 1), QStringLiteral("Должность"));
    EXPECT_EQ(CellText(tables[0], 2, 0), QStringLiteral("Козлов"));
    EXPECT_EQ(tables[1]->rows(), 2);
    EXPECT_EQ(CellText(tables[1], 1, 1), QStringLiteral("20"));

    // A separator at character 10 of a 10-point font: 1160 twips; at 22: 2600.
    // Each cell's frame is written before its boundary; only the boundaries count here.
    QByteArray rtf = SavedRtf(w);
    rtf.replace("\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10", "");
    EXPECT_TRUE(rtf.contains("\\trleft-50\\cellx1160\\cellx2600")) << rtf.left(600).toStdString();
    EXPECT_TRUE(rtf.contains("\\cellx1880\\cellx2600"));

    // The text around the tables stays, and nothing is left to undo.
    const QString text = w.GEditor->Text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Отчёт о работе отдела")));
    EXPECT_TRUE(text.contains(QStringLiteral("Итого два человека.")));
    EXPECT_TRUE(text.endsWith(QStringLiteral(u"Конец.\r"))) << text.right(20).toStdString();
    EXPECT_FALSE(text.contains(QChar(u'─')));
    EXPECT_TRUE(w.HasTables);
    EXPECT_FALSE(w.GEditor->CanUndo());
    EXPECT_FALSE(w.GEditor->Modified());
    EXPECT_EQ(w.CurEncoding, Dos);
    EXPECT_EQ(w.GEditor->Encoding(), Dos);
    EXPECT_FALSE(w.GEditor->Selection());
    EXPECT_EQ(w.GEditor->SelStart(), 0);
    EXPECT_TRUE(prompter.Asked().empty());
}

TEST_F(ViewTest, OtherModesAndTablesThatWouldDropTextKeepThePseudoGraphics)
{
    {
        TfmView& w = Start();
        w.GEditor->SetDosAdd(daOEM);
        w.GEditor->SetAutoEncoding(false);
        w.LoadNewFile(DataFile("tables_two_cp866.txt"), Dos, true, 0, 0);
        EXPECT_TRUE(Tables(w).empty());
        EXPECT_FALSE(w.HasTables);
        Discard();
    }
    // A word after the frame's right edge has no cell to go to.
    const QString file = MakeFile(QStringLiteral("note.txt"),
                                  QByteArray::fromHex("c4c4c4c4c4c40d0ab361b3626220ad0d0a"));  // ──────, │a│bb н
    TfmView& w = LoadInTablesMode(Start(), file);
    EXPECT_TRUE(Tables(w).empty());
    EXPECT_FALSE(w.HasTables);
    EXPECT_TRUE(w.GEditor->Text().contains(QStringLiteral("bb н")));
}

TEST_F(ViewTest, AfterEditingTablesAConversionWarnsAndChangesNothing)
{
    TfmView& w = LoadInTablesMode(Start(), DataFile("tables_two_cp866.txt"));
    ASSERT_TRUE(w.HasTables);
    w.GEditor->SetSelStart(0);
    w.GEditor->SetSelText(QStringLiteral("Новый "));
    ASSERT_TRUE(w.GEditor->Modified());
    const QString text = w.GEditor->Text();

    w.sbWin->click();

    ASSERT_EQ(Messages().size(), 1);
    EXPECT_EQ(Messages().first(), QStringLiteral("Tables structure will be lost by code conversion.\r\n"
                                                 "It is recommended to save the text in RTF format before."));
    EXPECT_EQ(w.GEditor->Text(), text);
    EXPECT_EQ(Tables(w).size(), 2u);
    EXPECT_EQ(w.CurEncoding, Dos);
    EXPECT_TRUE(w.sbDos->isChecked());
    EXPECT_TRUE(w.GEditor->Modified());
    EXPECT_TRUE(w.TextReady);
}

TEST(DosTableRtf, SkipsTheFirstCellAndKeepsCellTextLiteral)
{
    table t;
    t.Rows = {line{cell{1, ""}, cell{10, " a{b}\\c"}, cell{22, "\xCF\xF0\t"}}};
    EXPECT_EQ(DosTableRtf(t, TableCharWidth(10)),
              QByteArray("{\\rtf1\\ansi\\deff0\\trowd\\trgaph50\\trleft-50\\cellx1160\\cellx2600\\pard\\intbl"
                         "\\f1  a\\{b\\}\\\\c\\f0\\cell\\f1 \xCF\xF0\\tab \\f0\\cell\\row\r}"));
}

TEST(DosTableRtf, BoundariesFollowTheFontSizeAndCannotOverflow)
{
    EXPECT_EQ(TableCharWidth(12), 10);
    EXPECT_EQ(TableCellBoundary(5, 10), 720);
    EXPECT_EQ(TableCellBoundary(0, 8), -20);
    // A separator far out cannot overflow what a reader keeps.
    EXPECT_LT(TableCellBoundary(std::int64_t(1) << 40, 8), std::int64_t(1) << 31);
}

} // namespace
