// SPDX-License-Identifier: GPL-3.0-or-later
// Tables inside table cells, as Word writes forms and court decisions: read as
// real nested tables, and written back as nested tables.
#include "rtfreader.h"
#include "rtfwriter.h"
#include "testsupport_rtf.h"

#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace platform;

namespace {

using rtftest::Shape;
using rtftest::TablesIn;

TEST(RtfNestedTables, WordsFormIsReadAsTablesInsideTheOuterCellsAndSavedStaysNested)
{
    const QByteArray original = rtftest::DataFile(QStringLiteral("word_nested_tables.rtf"));
    auto document = rtftest::ReadDocument(original);
    // Each cell's paragraphs and tables in order; a table leaves a paragraph of
    // its own before it at a cell's start and after it at a cell's end.
    EXPECT_EQ(Shape(*document),
              QStringLiteral(u"РЕШЕНИЕ/[Стороны:/[Истец|Иванов Иван Иванович; Ответчик|ООО «Ромашка»]/Подписи сторон "
                             u"прилагаются.|/[/[Сумма|1 000 руб.]/Иск|удовлетворить]/]/Судья"));
    // Nothing of the fallback for readers without nested tables is shown.
    EXPECT_FALSE(document->toPlainText().contains(u'\t'));
    const std::vector<QTextTable*> outer = TablesIn(document->rootFrame());
    ASSERT_EQ(outer.size(), 1u);
    const std::vector<QTextTable*> inner = TablesIn(outer[0]);
    ASSERT_EQ(inner.size(), 2u);
    EXPECT_EQ(rtftest::ColumnTwips(inner[0]), (QList<int>{1500, 3000}));

    const QByteArray written = rtftest::ExpectSameEveryCycle(original, Shape);
    EXPECT_TRUE(written.contains("\\itap3")) << written.constData();
    EXPECT_TRUE(written.contains("\\nestcell")) << written.constData();
    QByteArray unframed = written;
    unframed.replace("\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10", "");
    EXPECT_TRUE(unframed.contains("{\\*\\nesttableprops\\trowd\\trgaph108\\trleft0\\cellx1500\\cellx4500\\nestrow}"
                                  "{\\nonesttables\\par}"))
        << written.constData();
}

TEST(RtfNestedTables, OddShapesKeepEveryWord)
{
    struct Case {
        const char* rtf;
        const char16_t* shape;
    };
    const Case cases[] = {
        // A nested table opening the outer cell, the outer row defined before and after.
        {"{\\rtf1\\trowd\\cellx3000\\cellx6000\\pard\\intbl\\itap2 One\\par\\pard\\intbl\\itap2 Three\\nestcell"
         "{\\nonesttables\\par}\\pard\\intbl\\itap2 Two\\nestcell{\\nonesttables\\par}\\pard\\intbl\\itap2 "
         "{\\*\\nesttableprops\\trowd\\cellx1300\\cellx2600\\nestrow}{\\nonesttables\\par}\\pard\\intbl\\itap2 "
         "\\nestcell{\\nonesttables\\par}Four\\nestcell{\\nonesttables\\par}\\pard\\intbl\\itap2 "
         "{\\*\\nesttableprops\\trowd\\cellx1300\\cellx2600\\nestrow}{\\nonesttables\\par}\\trowd\\cellx3000\\cellx6000"
         "\\pard\\intbl \\cell Beside\\cell\\pard\\intbl {\\trowd\\cellx3000\\cellx6000\\row}}",
         u"/[/[One/Three|Two; |Four]/|Beside]/"},
        // Nested cells whose row never ends, and an outer row that never ends.
        {"{\\rtf1\\pard\\intbl outer\\par\\itap2 a\\nestcell b\\nestcell\\itap1 tail", u"/[outer/[a|b]/tail]/"},
        // Nesting deeper than tables go joins the deepest level.
        {"{\\rtf1\\pard\\intbl\\itap40 deep\\nestcell{\\*\\nesttableprops\\trowd\\cellx500\\nestrow}\\pard\\intbl x\\cell"
         "\\trowd\\cellx1000\\row}",
         u"/[/[/[/[/[/[/[/[/[/[/[/[/[/[/[/[deep]/]/]/]/]/]/]/]/]/]/]/]/]/]/]/x]/"},
        // A nested row's cells written inside the group of its properties.
        {"{\\rtf1\\trowd\\cellx3000\\cellx6000\\pard\\intbl\\itap2{\\*\\nesttableprops\\trowd\\cellx1300\\cellx2600"
         "\\pard\\intbl\\itap2 a\\nestcell b\\nestcell\\nestrow}{\\nonesttables\\par}\\pard\\intbl outer\\cell side\\cell"
         "\\row}",
         u"/[/[a|b]/outer|side]/"},
        // Cells inside a destination this reader does not know.
        {"{\\rtf1\\pard\\intbl{\\*\\madeup one\\cell two\\cell}\\trowd\\cellx1000\\cellx2000\\row\\pard after\\par}",
         u"/[one|two]/after"},
    };
    for (const Case& c : cases) {
        auto document = rtftest::ReadDocument(c.rtf);
        const QString shape = Shape(*document);
        EXPECT_EQ(shape, QString::fromUtf16(c.shape)) << c.rtf;
        auto again = rtftest::ReadDocument(WriteRtf(*document));
        EXPECT_EQ(Shape(*again), shape) << c.rtf;
    }
}

// LibreOffice writes nested tables its own way (three levels here, a cell more
// than the row defines); every word is still there once, and in a table.
TEST(RtfNestedTables, LibreOfficesNestedTablesKeepEveryWordOnce)
{
    auto document = rtftest::ReadDocument(rtftest::DataFile(QStringLiteral("libreoffice_nested_tables.rtf")));
    const QString text = document->toPlainText();
    for (const QString& word : {QStringLiteral(u"Перед таблицей"), QStringLiteral(u"Истец"), QStringLiteral(u"Иванов"),
                                QStringLiteral(u"Иван"), QStringLiteral(u"Петров"), QStringLiteral(u"Пётр"),
                                QStringLiteral(u"после вложенной"), QStringLiteral(u"Ответчик"), QStringLiteral(u"вторая строка"),
                                QStringLiteral(u"глубже"), QStringLiteral(u"третий уровень"), QStringLiteral(u"После таблицы")})
        EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("\\b%1\\b").arg(word),
                                                QRegularExpression::UseUnicodePropertiesOption)),
                  1)
            << word.toStdString();
    const QString shape = Shape(*document);
    EXPECT_TRUE(shape.contains(QStringLiteral(u"[Истец:/[Иванов|Иван; Петров|Пётр]/после вложенной|Ответчик|"))) << shape.toStdString();
    // Its \cell before a nested \nestrow belongs to the nested row, as LibreOffice reads it.
    EXPECT_TRUE(shape.contains(QStringLiteral(u"вторая строка/[глубже/[третий уровень]/|]/||]"))) << shape.toStdString();
    EXPECT_EQ(Shape(*rtftest::ReadDocument(WriteRtf(*document))), shape);
}

} // namespace
