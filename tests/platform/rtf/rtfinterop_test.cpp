// SPDX-License-Identifier: GPL-3.0-or-later
// What other programs need from our RTF, checked with our own reader: lists in a
// Word list table (levels, kinds, start numbers, numbering that goes on across
// other paragraphs), tables that end where the source ended them, header rows,
// and the shapes some writers leave (restated styles, empty cells, late rows).
#include "listnumbers.h"
#include "rtfreader.h"
#include "rtfwriter.h"
#include "rtfwriterformats.h"
#include "testsupport_rtf.h"
#include "textproperties.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// Every paragraph of the text (tables left out) as "number text", and each
// list's level.
QStringList Items(const QTextDocument& d)
{
    QStringList out;
    for (QTextBlock b = d.begin(); b.isValid(); b = b.next()) {
        if (b.text().isEmpty())
            continue;
        QString level;
        if (const QTextList* list = b.textList())
            level = QStringLiteral("L%1 ").arg(list->format().intProperty(PropListLevel));
        out << level + ListNumberText(b) + u' ' + b.text();
    }
    return out;
}

// The tables of the text's own frame: rows, columns and header rows of each.
QStringList Tables(const QTextDocument& d)
{
    QStringList out;
    for (const QTextTable* table : rtftest::TablesIn(d.rootFrame()))
        out << QStringLiteral("%1x%2 h%3").arg(table->rows()).arg(table->columns()).arg(table->format().headerRowCount());
    return out;
}

QByteArray Cycle(const QByteArray& original, const std::function<QStringList(const QTextDocument&)>& view)
{
    return rtftest::ExpectSameEveryCycle(original, [&](const QTextDocument& d) { return view(d).join(u'\n'); });
}

TEST(RtfInterop, WordListsKeepLevelsKindsAndNumbersInTheListTable)
{
    const QByteArray original = rtftest::DataFile(QStringLiteral("interop/word97_lists.rtf"));
    const QByteArray written = Cycle(original, Items);
    auto document = rtftest::ReadDocument(original);
    const QStringList items = Items(*document);
    // Nested levels, counting on after a paragraph between, a list from 3,
    // roman and lettered numbers, bullets at two levels.
    for (const QString& expected : {QStringLiteral(u"L0 2. Доклад председателя"), QStringLiteral(u"L1 b) планы на будущий год"),
                                    QStringLiteral(u"L2 ii. штатное расписание"), QStringLiteral(u"L0 3. Прения"),
                                    QStringLiteral(u"L0 4. Голосование"), QStringLiteral(u"L0 3. Сроки поставки"),
                                    QStringLiteral(u"L0 III. Заключение"), QStringLiteral(u"L1 • заверенную копию"),
                                    QStringLiteral(u"L0 (C) третий вариант")})
        EXPECT_TRUE(items.contains(expected)) << expected.toStdString() << "\n" << items.join(u'\n').toStdString();
    // Word's two forms: the list table with \ls and \ilvl, and \pn with \pntext.
    EXPECT_TRUE(written.contains("{\\*\\listtable")) << written.constData();
    EXPECT_TRUE(written.contains("{\\*\\listoverridetable")) << written.constData();
    EXPECT_TRUE(written.contains("\\ls1\\ilvl1 ")) << written.constData();
    EXPECT_TRUE(written.contains("\\levelnfc4")) << "lettered level";
    EXPECT_TRUE(written.contains("\\levelnfc2")) << "roman level";
    EXPECT_TRUE(written.contains("\\levelstartat3")) << "the list from 3";
    EXPECT_TRUE(written.contains("{\\leveltext\\'03(\\'00);}")) << "(B) keeps both brackets";
    EXPECT_TRUE(written.contains("{\\pntext 4.\\tab}")) << written.constData();
    // The items that go on after "После перерыва" are in the same list, not a new one.
    const QRegularExpression goingOn(QStringLiteral("\\\\ls(\\d+)\\\\ilvl0 \\{\\\\pntext 4\\."));
    const QRegularExpression first(QStringLiteral("\\\\ls(\\d+)\\\\ilvl0 \\{\\\\pntext 1\\."));
    EXPECT_EQ(goingOn.match(QString::fromLatin1(written)).captured(1), first.match(QString::fromLatin1(written)).captured(1));
}

TEST(RtfInterop, ListsTheEditorMadeGetTheirShownNumbers)
{
    rtftest::EnsureApplication();
    QTextDocument document;
    QTextCursor c(&document);
    QTextListFormat decimal;
    decimal.setStyle(QTextListFormat::ListDecimal);
    decimal.setIndent(1);
    c.insertText(QStringLiteral("one"));
    QTextList* list = c.createList(decimal);
    c.insertBlock();
    c.insertText(QStringLiteral("two"));
    c.insertBlock(QTextBlockFormat());
    c.insertText(QStringLiteral("between"));
    // A second list of the same kind counts from 1 again for the editor, so it
    // must not go on counting from 3 in the written list.
    c.insertBlock();
    c.insertText(QStringLiteral("again"));
    c.createList(decimal);
    ASSERT_EQ(list->count(), 2);
    const QByteArray written = Cycle(WriteRtf(document), Items);
    EXPECT_EQ(Items(*rtftest::ReadDocument(written)),
              (QStringList{QStringLiteral("L0 1. one"), QStringLiteral("L0 2. two"), QStringLiteral(" between"),
                           QStringLiteral("L0 1. again")}));
    EXPECT_TRUE(written.contains("\\ls2\\ilvl0 ")) << written.constData();
}

TEST(RtfInterop, ParagraphsNumberedByBothFormsFollowTheListTable)
{
    // \pn says "from 1", the list says the item goes on from the one before.
    const QByteArray rtf =
        "{\\rtf1\\ansi{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}"
        "{\\levelnumbers\\'01;}}\\listid7}}{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}}"
        "{\\pntext 1.\\tab}\\pard{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta .}}\\ls1\\ilvl0 a\\par"
        "\\pard between\\par"
        "{\\pntext 2.\\tab}\\pard{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta .}}\\ls1\\ilvl0 b\\par}";
    EXPECT_EQ(Items(*rtftest::ReadDocument(rtf)),
              (QStringList{QStringLiteral("L0 1. a"), QStringLiteral(" between"), QStringLiteral("L0 2. b")}));
}

TEST(RtfInterop, StylesNamedAgainInEachRunKeepTheParagraphsList)
{
    // AbiWord names the paragraph's style again in every run of its text.
    const QByteArray original = rtftest::DataFile(QStringLiteral("interop/abiword_lists.rtf"));
    const QStringList items = Items(*rtftest::ReadDocument(original));
    EXPECT_TRUE(items.contains(QStringLiteral(u"L0 2. Доклад председателя"))) << items.join(u'\n').toStdString();
    EXPECT_TRUE(items.contains(QStringLiteral(u"L1 • обезжиренное"))) << items.join(u'\n').toStdString();
    Cycle(original, Items);
}

TEST(RtfInterop, TablesEndWhereTheSourceEndedThemAndKeepHeaderRows)
{
    const QByteArray original = rtftest::DataFile(QStringLiteral("interop/word_tables_header.rtf"));
    const auto view = [](const QTextDocument& d) { return Tables(d) + QStringList{rtftest::Text(d)}; };
    const QByteArray written = Cycle(original, view);
    // The header row; two tables of the same shape with a paragraph between; one
    // table whose rows change shape, kept in two parts but written as one.
    EXPECT_EQ(Tables(*rtftest::ReadDocument(original)),
              (QStringList{QStringLiteral("4x3 h1"), QStringLiteral("2x3 h0"), QStringLiteral("2x2 h0"), QStringLiteral("2x2 h0")}));
    EXPECT_EQ(written.count("\\trhdr"), 1) << written.constData();
    EXPECT_TRUE(written.contains("\\row\r\n\\pard \\par\r\n\\trowd")) << "the paragraph between the first two";
    QByteArray header;
    AppendRtfText(header, QStringLiteral(u"Заголовок"));
    const int split = int(written.indexOf(header));
    ASSERT_GT(split, 0);
    const int rowEnd = int(written.lastIndexOf("\\row", split));
    EXPECT_EQ(written.mid(rowEnd, 8), QByteArray("\\row\r\n\\t")) << "no paragraph inside the last table";
}

TEST(RtfInterop, UnusualRowsKeepEveryCellAndWord)
{
    // Boundaries repeated at the same place (cells of no width) and more cells
    // than boundaries; a nested row whose outer \cell came before its \nestrow.
    const QByteArray zeroWidth = "{\\rtf1\\ansi\\trowd\\cellx1000\\cellx2000\\cellx2000\\cellx2000\\pard\\intbl a\\cell b\\cell "
                                 "c\\cell\\row\\pard end\\par}";
    auto table = rtftest::ReadDocument(zeroWidth);
    EXPECT_EQ(Tables(*table), QStringList{QStringLiteral("1x3 h0")});
    EXPECT_EQ(rtftest::Text(*rtftest::ReadDocument(WriteRtf(*table))).remove(QChar(0xFDD0)).remove(QChar(0xFDD1)),
              QStringLiteral("\na\nb\nc\nend"));

    const QByteArray lateRow = "{\\rtf1\\ansi\\trowd\\cellx3000\\cellx6000\\pard\\intbl outer\\par"
                               "\\pard\\intbl\\itap2 x\\nestcell y\\nestcell\\cell"
                               "{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000\\nestrow}{\\nonesttables\\par}"
                               "\\pard\\intbl\\cell\\pard\\intbl second\\cell\\row\\pard end\\par}";
    auto nested = rtftest::ReadDocument(lateRow);
    EXPECT_EQ(rtftest::Shape(*nested), QStringLiteral("/[outer/[x|y]/|second]/end")) << "the nested table in the first cell";
    const QTextTable* inner = rtftest::TablesIn(rtftest::TablesIn(nested->rootFrame()).at(0)).at(0);
    EXPECT_EQ(rtftest::ColumnTwips(inner).value(0), 1000);
}

} // namespace
