// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF reader on tables: the rows the DOS table builder and the F2 row write,
// Word's rows, and rows of different shapes (nested tables have a file of their own).
#include "rtfreader.h"
#include "rtftableinsert.h"
#include "testsupport_rtf.h"
#include "textproperties.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace platform;
using rtftest::ReadDocument;

namespace {

std::vector<QTextTable*> Tables(const QTextDocument& document)
{
    return rtftest::TablesIn(document.rootFrame());
}

QString CellText(QTextTable* table, int row, int column)
{
    const QTextTableCell cell = table->cellAt(row, column);
    QTextCursor c = cell.firstCursorPosition();
    c.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return c.selectedText().replace(QChar::ParagraphSeparator, u'\n');
}

using rtftest::ColumnTwips;

TEST(RtfReaderTables, RowsAsTheDosTableBuilderWritesThem)
{
    // Raw Windows-1251 text, an undefined \f1, a carriage return after each row.
    const QByteArray rtf = "{\\rtf1\\ansi\\deff0"
                           "\\trowd\\trgaph50\\trleft-50\\cellx1160\\cellx2900\\pard\\intbl\\f1 "
                           + rtftest::Cp1251(QStringLiteral(u"Имя")) + "\\f0\\cell\\f1 "
                           + rtftest::Cp1251(QStringLiteral(u"Город")) + "\\f0\\cell\\row\r"
                           "\\trowd\\trgaph50\\trleft-50\\cellx1160\\cellx2900\\pard\\intbl\\f1 "
                           + rtftest::Cp1251(QStringLiteral(u"Пётр")) + "\\f0\\cell\\f1 "
                           + rtftest::Cp1251(QStringLiteral(u"Тула")) + "\\f0\\cell\\row\r}";
    auto document = ReadDocument(rtf);
    EXPECT_EQ(rtftest::Shape(*document), QStringLiteral(u"/[Имя|Город; Пётр|Тула]/"));
    QTextTable* t = Tables(*document).at(0);
    EXPECT_EQ(ColumnTwips(t), (QList<int>{1210, 1740}));
    EXPECT_EQ(t->format().property(PropTableLeftTwips).toInt(), -50);
    EXPECT_EQ(t->format().property(PropTableGapTwips).toInt(), 50);
}

TEST(RtfReaderTables, TheF2RowIsAnEmptyRowWithTheClickedBoundaries)
{
    rtftest::EnsureApplication();
    QTextDocument document;
    document.setPlainText(QStringLiteral(u"до\nпосле"));
    QTextCursor cursor(&document);
    cursor.setPosition(3);
    ASSERT_TRUE(ReadRtf("{\\rtf1\\ansi\\deff0\\trowd\\trgaph50\\trleft-50\\cellx1000\\cellx2500\\cellx4000\\pard\\intbl\\row}",
                        cursor));
    const auto tables = Tables(document);
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0]->rows(), 1);
    EXPECT_EQ(tables[0]->columns(), 3);
    EXPECT_EQ(rtftest::Text(document), QStringLiteral(u"до\n\n\n\nпосле"));
    EXPECT_EQ(tables[0]->cellAt(0, 0).firstPosition(), 3);
}

TEST(RtfReaderTables, RowsOfDifferentShapesMakeSeparateTablesAndTextFollows)
{
    auto document = ReadDocument("{\\rtf1 before\\par"
                                 "\\trowd\\cellx1000\\pard\\intbl a\\cell\\row"
                                 "\\trowd\\cellx1000\\pard\\intbl b\\cell\\row"
                                 "\\trowd\\cellx1000\\cellx2000\\pard\\intbl c\\par c2\\cell d\\cell\\row"
                                 "\\pard after\\par}");
    EXPECT_EQ(rtftest::Shape(*document), QStringLiteral("before/[a; b]//[c/c2|d]/after"));
}

TEST(RtfReaderTables, EmptyParagraphsAroundTablesAreKept)
{
    const char* const sources[] = {
        "{\\rtf1 a\\par\\pard\\par\\trowd\\cellx1000\\pard\\intbl x\\cell\\row\\pard\\par b}",
        "{\\rtf1 a\\par\\trowd\\cellx1000\\pard\\intbl x\\cell\\row\\pard b}",
        "{\\rtf1\\trowd\\cellx1000\\pard\\intbl x\\cell\\row\\trowd\\cellx1000\\cellx2000\\pard\\intbl y\\cell z\\cell\\row}",
    };
    // Qt keeps an empty paragraph between two adjacent tables.
    const char16_t* const texts[] = {u"a\n\nx\n\nb", u"a\nx\nb", u"\nx\n\ny\nz\n"};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(rtftest::Text(*ReadDocument(sources[i])), QString::fromUtf16(texts[i])) << sources[i];
}

TEST(RtfReaderTables, ManyRowsOfOneShapeMakeOneTableHeldInBlocksWithEveryCellInPlace)
{
    constexpr int Rows = 3000;
    QByteArray rtf = "{\\rtf1\\ansi\\deff0 ";
    for (int r = 0; r < Rows; ++r) {
        const QByteArray n = QByteArray::number(r);
        rtf += "\\trowd\\trgaph50\\trleft-50\\cellx1160\\cellx2600\\cellx4040\\pard\\intbl a" + n + "\\cell b" + n
               + "\\par b" + n + "\\cell c" + n + "\\cell\\row\r";
    }
    rtf += "\\pard after\\par}";
    auto document = ReadDocument(rtf);
    const auto tables = Tables(*document);
    // One table, in adjacent blocks: every block after the first continues it.
    ASSERT_EQ(tables.size(), size_t((Rows + platform::RowsPerTableBlock - 1) / platform::RowsPerTableBlock));
    int r = 0;
    for (size_t t = 0; t < tables.size(); ++t) {
        EXPECT_EQ(tables[t]->format().boolProperty(platform::PropTableContinued), t > 0);
        if (t > 0) {
            EXPECT_EQ(tables[t]->firstPosition() - 1, tables[t - 1]->lastPosition() + 1) << "blocks are adjacent";
        }
        for (int row = 0; row < tables[t]->rows(); ++row, ++r) {
            const QString n = QString::number(r);
            ASSERT_EQ(CellText(tables[t], row, 0), u'a' + n);
            ASSERT_EQ(CellText(tables[t], row, 1), u'b' + n + u'\n' + u'b' + n);
            ASSERT_EQ(CellText(tables[t], row, 2), u'c' + n);
        }
    }
    EXPECT_EQ(r, Rows);
    EXPECT_TRUE(rtftest::Text(*document).endsWith(QStringLiteral("\nafter")));
}

TEST(RtfReaderTables, HugeRowsStayWithinTheControlsLimits)
{
    QByteArray rtf = "{\\rtf1\\trowd";
    for (int i = 1; i <= 10000; ++i)
        rtf += "\\cellx" + QByteArray::number(i * 100);
    rtf += "\\cellx99999999999\\pard\\intbl ";
    for (int i = 0; i < 10000; ++i)
        rtf += "c\\cell ";
    rtf += "\\row}";
    auto document = ReadDocument(rtf);
    const auto tables = Tables(*document);
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0]->columns(), 63);
    // Cells past the last column join it, so no text is lost.
    EXPECT_EQ(rtftest::Text(*document).count(u'c'), 10000);

    // Two hundred such rows stay bounded too.
    QByteArray rows = "{\\rtf1";
    for (int r = 0; r < 200; ++r) {
        rows += "\\trowd";
        for (int i = 1; i <= 10000; ++i)
            rows += "\\cellx" + QByteArray::number(i * 10);
        rows += "\\pard\\intbl x\\cell\\row";
    }
    EXPECT_EQ(rtftest::Text(*ReadDocument(rows + "}")).count(u'x'), 200);
}

TEST(RtfReaderTables, ARowCutOffByTheEndOfDataIsStillShown)
{
    EXPECT_EQ(rtftest::Shape(*ReadDocument("{\\rtf1\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\cell b")),
              QStringLiteral("/[a|b]/"));
}

} // namespace
