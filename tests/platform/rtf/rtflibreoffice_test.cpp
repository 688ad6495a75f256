// SPDX-License-Identifier: GPL-3.0-or-later
// LibreOffice reads what the writer makes as it reads the original: for documents
// made by Word, WordPad, LibreOffice, AbiWord and pandoc, read by our reader and
// written again, LibreOffice finds the same lists with the same numbers, the same
// tables, rows, cells and header rows, and the same words. One LibreOffice run
// converts every file, as each start of it costs many seconds.
#include "testsupport_libreoffice.h"
#include "embeddedobject.h"
#include "listnumbers.h"
#include "rtfreader.h"
#include "rtfwriter.h"
#include "testsupport_rtf.h"
#include "textproperties.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace platform;
using rtftest::LibreOfficeLayout;
using rtftest::ParseLibreOfficeHtml;

namespace {

// Documents of other programs, each opened and saved again by us.
const char* const Corpus[] = {
    "interop/word97_lists.rtf",          "interop/wordpad_pn_lists.rtf",       "interop/word_tables_header.rtf",
    "interop/libreoffice_lists.rtf",     "interop/libreoffice_tables.rtf",     "interop/libreoffice_word_lists.rtf",
    "interop/libreoffice_tables_header.rtf", "interop/abiword_lists.rtf",     "interop/abiword_tables.rtf",
    "interop/pandoc_protocol.rtf",       "word_numbered_list_ls.rtf",          "wordpad_ansicpg1251_bullets.rtf",
    "word_table_two_rows.rtf",           "word_nested_tables.rtf",             "libreoffice_nested_tables.rtf",
};

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A document as the editor makes one: lists of every kind, one starting at 3,
// a nested level, two tables one after the other, the first with a header row.
void BuildEditorDocument(QTextDocument& d)
{
    QTextCursor c(&d);
    c.insertText(QStringLiteral(u"Список дел"));
    const auto list = [&](QTextListFormat::Style style, int start, int indent, const QStringList& items) {
        QTextListFormat f;
        f.setStyle(style);
        f.setIndent(indent);
        f.setNumberSuffix(QStringLiteral("."));
        if (start != 1)
            f.setProperty(PropListStart, start);
        for (int i = 0; i < items.size(); ++i) {
            c.insertBlock();
            if (i == 0)
                c.createList(f);
            else
                c.currentList()->add(c.block());
            c.insertText(items[i]);
        }
    };
    list(QTextListFormat::ListDecimal, 3, 1, {QStringLiteral(u"третий пункт"), QStringLiteral(u"четвёртый пункт")});
    list(QTextListFormat::ListLowerAlpha, 1, 2, {QStringLiteral(u"подпункт а"), QStringLiteral(u"подпункт б")});
    c.insertBlock(QTextBlockFormat());
    c.insertText(QStringLiteral(u"Разделы"));
    list(QTextListFormat::ListUpperRoman, 1, 1, {QStringLiteral(u"Введение"), QStringLiteral(u"Итоги")});
    list(QTextListFormat::ListDisc, 1, 1, {QStringLiteral(u"хлеб"), QStringLiteral(u"молоко")});
    c.insertBlock(QTextBlockFormat());
    c.insertText(QStringLiteral(u"Таблицы"));
    c.insertBlock(QTextBlockFormat());
    for (int t = 0; t < 2; ++t) {
        QTextTableFormat f;
        f.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, 100), QTextLength(QTextLength::FixedLength, 150)});
        f.setHeaderRowCount(t == 0 ? 1 : 0);
        QTextTable* table = c.insertTable(2, 2, f);
        for (int r = 0; r < 2; ++r)
            for (int k = 0; k < 2; ++k)
                table->cellAt(r, k).firstCursorPosition().insertText(QStringLiteral(u"т%1 с%2 к%3").arg(t + 1).arg(r + 1).arg(k + 1));
        c.setPosition(table->lastPosition() + 1);
    }
    c.insertText(QStringLiteral(u"Конец"));
}

// The items LibreOffice must find in the editor's document, numbered as the
// editor numbers them (HTML shows no brackets or dots around the numbers).
QString ExpectedItems(const QTextDocument& d)
{
    QStringList items;
    for (QTextBlock b = d.begin(); b.isValid(); b = b.next())
        if (b.textList())
            items << ListNumberText(b).remove(QRegularExpression(QStringLiteral("[().]"))) + u' ' + b.text();
    return items.join(u'\n');
}

// A PNG and a JPEG picture and a file embedded as an icon, as the editor holds them.
void BuildPictureDocument(QTextDocument& d)
{
    const auto encoded = [](QColor color, QSize size, const char* format) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, format);
        return bytes;
    };
    QTextCursor c(&d);
    c.insertText(QStringLiteral(u"Рисунок "));
    EmbeddedObject png;
    png.data = encoded(Qt::red, QSize(60, 40), "PNG");
    c.insertText(QString(QChar::ObjectReplacementCharacter), FormatForObject(d, png));
    c.insertText(QStringLiteral(u" и фото "), QTextCharFormat());
    EmbeddedObject jpeg;
    jpeg.data = encoded(Qt::blue, QSize(32, 24), "JPEG");
    c.insertText(QString(QChar::ObjectReplacementCharacter), FormatForObject(d, jpeg));
    c.insertBlock();
    c.insertText(QStringLiteral(u"Файл "));
    EmbeddedObject file;
    file.data = "plain words";
    file.name = QStringLiteral("notes.txt");
    file.asIcon = true;
    c.insertText(QString(QChar::ObjectReplacementCharacter), FormatForObject(d, file));
}

// Words shown bold over a bold default font, plain ones among them, and
// superscripts and subscripts inside a paragraph: LibreOffice must show what the
// editor shows, every word of it.
void BuildRunsDocument(QTextDocument& d)
{
    QFont bold = d.defaultFont();
    bold.setBold(true);
    d.setDefaultFont(bold);
    QTextCursor c(&d);
    QTextCharFormat plain;
    plain.setFontWeight(QFont::Normal);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    c.insertText(QStringLiteral(u"один "));
    c.insertText(QStringLiteral(u"два "), plain);
    c.insertText(QStringLiteral(u"три"), italic);
    c.insertBlock(QTextBlockFormat(), QTextCharFormat());
    QTextCharFormat super = plain;
    super.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    QTextCharFormat sub = plain;
    sub.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    c.insertText(QStringLiteral("H"), plain);
    c.insertText(QStringLiteral("2"), super);
    c.insertText(QStringLiteral("O water and x"), plain);
    c.insertText(QStringLiteral("i"), sub);
    c.insertText(QStringLiteral(" index."), plain);
    c.insertBlock();
    c.insertText(QStringLiteral(u"Следующий абзац."), plain);
}

QStringList ImageTags(const QString& html)
{
    QStringList tags;
    const QRegularExpression img(QStringLiteral("<img[^>]*>"), QRegularExpression::CaseInsensitiveOption);
    for (auto it = img.globalMatch(html); it.hasNext();)
        tags << it.next().captured(0);
    return tags;
}

TEST(RtfLibreOffice, ReadsOurCopiesAsTheOriginalsOurListsAsNumberedAndOurRunsAsShown)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) {
        // The test command installs LibreOffice; only a developer's machine may lack it.
        ASSERT_TRUE(qEnvironmentVariableIsEmpty("CI")) << "soffice is missing where the tests must run it";
        GTEST_SKIP() << "soffice is not installed: the LibreOffice check was skipped";
    }
    rtftest::EnsureApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // For a look at what LibreOffice made of each file.
    dir.setAutoRemove(qEnvironmentVariableIsEmpty("QUILLET_KEEP_TEST_FILES"));
    QStringList inputs;
    for (const char* name : Corpus) {
        const QByteArray original = rtftest::DataFile(QString::fromLatin1(name));
        ASSERT_FALSE(original.isEmpty()) << name;
        const QString base = QFileInfo(QString::fromLatin1(name)).completeBaseName();
        inputs << dir.filePath(QStringLiteral("original_") + base + QStringLiteral(".rtf"));
        ASSERT_TRUE(WriteFile(inputs.back(), original));
        // Saved twice over, as a user who opens and saves the file again.
        const QByteArray ours = WriteRtf(*rtftest::ReadDocument(WriteRtf(*rtftest::ReadDocument(original))));
        inputs << dir.filePath(QStringLiteral("ours_") + base + QStringLiteral(".rtf"));
        ASSERT_TRUE(WriteFile(inputs.back(), ours));
    }
    const qsizetype pairs = inputs.size();
    QTextDocument editor;
    BuildEditorDocument(editor);
    inputs << dir.filePath(QStringLiteral("editor.rtf"));
    ASSERT_TRUE(WriteFile(inputs.back(), WriteRtf(editor)));
    QTextDocument pictures;
    BuildPictureDocument(pictures);
    inputs << dir.filePath(QStringLiteral("pictures.rtf"));
    ASSERT_TRUE(WriteFile(inputs.back(), WriteRtf(pictures)));
    QTextDocument runs;
    BuildRunsDocument(runs);
    const QByteArray runsRtf = WriteRtf(runs);
    inputs << dir.filePath(QStringLiteral("runs.rtf"));
    ASSERT_TRUE(WriteFile(inputs.back(), runsRtf));

    ASSERT_TRUE(rtftest::ConvertToHtml(soffice, dir.path(), inputs)) << "LibreOffice did not finish";
    const auto html = [&](const QString& rtfPath) { return rtftest::HtmlOf(dir.path(), rtfPath); };

    QStringList figures;
    for (int i = 0; i + 1 < pairs; i += 2) {
        const QString name = QFileInfo(inputs[i]).completeBaseName().mid(9);
        SCOPED_TRACE(name.toStdString());
        const QString originalHtml = html(inputs[i]);
        ASSERT_FALSE(originalHtml.isEmpty());
        const LibreOfficeLayout original = ParseLibreOfficeHtml(originalHtml);
        const LibreOfficeLayout ours = ParseLibreOfficeHtml(html(inputs[i + 1]));
        figures << name + QStringLiteral(": ") + original.Counts() + QStringLiteral(" | ours ") + ours.Counts();
        EXPECT_EQ(ours.Counts(), original.Counts());
        EXPECT_EQ(ours.structure.join(u'\n'), original.structure.join(u'\n'));
        EXPECT_EQ(ours.words, original.words);
    }
    std::cout << figures.join(u'\n').toStdString() << std::endl;

    const LibreOfficeLayout fromEditor = ParseLibreOfficeHtml(html(inputs[pairs]));
    EXPECT_EQ(fromEditor.items.join(u'\n'), ExpectedItems(editor));
    // LibreOffice 7.4 reads no \trhdr (not even its own); the reader's tests hold
    // header rows, so they are not counted here.
    // The lettered list is the second level under the numbered one.
    EXPECT_EQ(fromEditor.structure.join(u' '),
              QStringLiteral(u"ol 1 li 3 li 4 /ol ol a ol a li a li b /ol /ol ol I li I li II /ol ul li • li • /ul "
                             u"table row cell cell row cell cell /table table row cell cell row cell cell /table"));
    QString words = rtftest::Text(editor);
    words.remove(QChar(0xFDD0)).remove(QChar(0xFDD1));
    EXPECT_EQ(fromEditor.words, words.simplified());

    // The pictures are there, each with its size; the embedded file shows its icon.
    const QString picturesHtml = html(inputs[pairs + 1]);
    const QStringList images = ImageTags(picturesHtml);
    EXPECT_EQ(images.size(), 3) << picturesHtml.toStdString();
    EXPECT_TRUE(images.filter(QRegularExpression(QStringLiteral("width=\\D?60\\D.*height=\\D?40\\D"))).size() >= 1)
        << images.join(u'\n').toStdString();
    EXPECT_TRUE(ParseLibreOfficeHtml(picturesHtml).words.contains(QStringLiteral(u"Рисунок"))) << picturesHtml.toStdString();

    // Each run as the editor shows it: bold where shown bold, and no word lost
    // after a superscript or a subscript.
    const QString runsHtml = html(inputs.back());
    ASSERT_FALSE(runsHtml.isEmpty());
    QStringList boldWords;
    static const QRegularExpression b(QStringLiteral("<b>([^<]*)</b>"));
    for (auto it = b.globalMatch(runsHtml); it.hasNext();)
        boldWords << it.next().captured(1).simplified();
    EXPECT_EQ(boldWords.join(u' '), QStringLiteral(u"один три")) << runsRtf.constData();
    const QString runWords = ParseLibreOfficeHtml(runsHtml).words;
    EXPECT_TRUE(runWords.contains(QStringLiteral("O water and x"))) << runWords.toStdString() << "\n" << runsRtf.constData();
    EXPECT_TRUE(runWords.contains(QStringLiteral(" index. "))) << runWords.toStdString();
    EXPECT_TRUE(runsHtml.contains(QStringLiteral("<sup>"))) << runsHtml.toStdString();
    EXPECT_TRUE(runsHtml.contains(QStringLiteral("<sub>"))) << runsHtml.toStdString();
}

} // namespace
