// SPDX-License-Identifier: GPL-3.0-or-later
// Hand-written Russian RTF in the styles of the programs that make it: Word with
// \ansicpg1252 and Cyrillic fonts, WordPad, LibreOffice, Word tables and lists.
#include "richeditconsts.h"
#include "testsupport_rtf.h"
#include "textproperties.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <gtest/gtest.h>

using namespace platform;
using rtftest::BlockFormatOf;
using rtftest::CharFormatOf;
using rtftest::DataFile;
using rtftest::ReadDocument;
using rtftest::Text;

namespace {

std::unique_ptr<QTextDocument> Sample(const char* name)
{
    const QByteArray data = DataFile(QString::fromLatin1(name));
    EXPECT_FALSE(data.isEmpty()) << name;
    return ReadDocument(data);
}

TEST(RtfReaderSamples, Word2003WithAnsiCodePage1252AndCyrillicFonts)
{
    auto d = Sample("word2003_ansicpg1252_fcharset204.rtf");
    EXPECT_EQ(Text(*d), QStringLiteral(u"Заголовок\nТекст с курсивом и красным. Arial с подчеркиванием, café."));
    // Each format word is read by the format table's cases; here, that they land
    // on the right words of a real document.
    const QTextCharFormat title = CharFormatOf(*d, QStringLiteral(u"Заголовок"));
    EXPECT_EQ(title.fontWeight(), QFont::Bold);
    EXPECT_EQ(title.fontFamilies().toStringList(), QStringList{"Times New Roman"});
    EXPECT_EQ(CharFormatOf(*d, QStringLiteral(u"красным")).foreground().color(), QColor(255, 0, 0));
    const QTextCharFormat arial = CharFormatOf(*d, QStringLiteral(u"подчеркиванием"));
    EXPECT_EQ(arial.fontFamilies().toStringList(), QStringList{"Arial"});
    EXPECT_EQ(arial.property(PropUnderlineType).toInt(), CFU_UNDERLINE);
    const QTextBlockFormat body = BlockFormatOf(*d, QStringLiteral(u"Текст"));
    EXPECT_EQ(body.alignment(), Qt::AlignJustify);
    EXPECT_EQ(body.property(PropStartIndentTwips).toInt(), 709);
    EXPECT_EQ(body.property(PropSpaceAfterTwips).toInt(), 120);
}

TEST(RtfReaderSamples, WordPadWithBulletsAndOldCyrillicFontNames)
{
    auto d = Sample("wordpad_ansicpg1251_bullets.rtf");
    EXPECT_EQ(Text(*d), QStringLiteral(u"Привет, мир!\nпервый\nвторой\nкод"));
    EXPECT_EQ(CharFormatOf(*d, QStringLiteral(u"мир")).fontWeight(), QFont::Bold);
    EXPECT_NE(CharFormatOf(*d, QStringLiteral(u"!")).fontWeight(), QFont::Bold);
    EXPECT_EQ(CharFormatOf(*d, QStringLiteral(u"Привет")).fontFamilies().toStringList(), QStringList{"Arial"});
    for (const char16_t* item : {u"первый", u"второй"}) {
        const QTextBlockFormat f = BlockFormatOf(*d, QString::fromUtf16(item));
        EXPECT_EQ(f.property(PropNumbering).toInt(), PFN_BULLET);
        EXPECT_EQ(f.property(PropStartIndentTwips).toInt(), 0);
        EXPECT_EQ(f.property(PropOffsetTwipsPara).toInt(), 720);
    }
    EXPECT_FALSE(BlockFormatOf(*d, QStringLiteral(u"код")).hasProperty(PropNumbering));
    EXPECT_EQ(CharFormatOf(*d, QStringLiteral(u"код")).fontFamilies().toStringList(), QStringList{"Courier New"});
}

TEST(RtfReaderSamples, LibreOfficeUnicodeWithQuestionMarkFallbacks)
{
    auto d = Sample("libreoffice_unicode_uc1.rtf");
    EXPECT_EQ(Text(*d), QStringLiteral(u"Привет, мир! № 5 — «к»\nЖирный"));
    EXPECT_EQ(CharFormatOf(*d, QStringLiteral(u"Жирный")).fontWeight(), QFont::Bold);
}

TEST(RtfReaderSamples, WordTableWithRowPropertiesAtTheEndOfEachRow)
{
    auto d = Sample("word_table_two_rows.rtf");
    EXPECT_EQ(rtftest::Shape(*d), QStringLiteral(u"/[Город|Население; Москва|13 000 000]/Конец"));
    EXPECT_EQ(CharFormatOf(*d, QStringLiteral(u"Город")).fontWeight(), QFont::Bold);
    EXPECT_EQ(rtftest::ColumnTwips(rtftest::TablesIn(d->rootFrame()).at(0)), (QList<int>{2108, 3000}));
}

TEST(RtfReaderSamples, WordListsBecomeTheNearestNumbering)
{
    auto d = Sample("word_numbered_list_ls.rtf");
    EXPECT_EQ(Text(*d), QStringLiteral(u"Список:\nодин\nвложенный\nдва\nмаркер"));
    const QTextBlockFormat one = BlockFormatOf(*d, QStringLiteral(u"один"));
    EXPECT_EQ(one.property(PropNumbering).toInt(), PFN_ARABIC);
    EXPECT_EQ(one.property(PropNumberingStyle).toInt(), PFNS_PERIOD);
    EXPECT_EQ(one.property(PropNumberingStart).toInt(), 1);
    const QTextBlockFormat nested = BlockFormatOf(*d, QStringLiteral(u"вложенный"));
    EXPECT_EQ(nested.property(PropNumbering).toInt(), PFN_LCLETTER);
    EXPECT_EQ(nested.property(PropNumberingStyle).toInt(), PFNS_PAREN);
    EXPECT_EQ(BlockFormatOf(*d, QStringLiteral(u"маркер")).property(PropNumbering).toInt(), PFN_BULLET);
}

TEST(RtfReaderSamples, HyperlinkAndWordPictureWithItsFallback)
{
    auto d = Sample("hyperlink_and_picture.rtf");
    EXPECT_EQ(Text(*d), QStringLiteral(u"Сайт: пример \n\uFFFC"));
    const QTextCharFormat link = CharFormatOf(*d, QStringLiteral(u"пример"));
    EXPECT_TRUE(link.isAnchor());
    EXPECT_EQ(link.anchorHref(), QStringLiteral("http://example.ru/"));
    EXPECT_EQ(link.foreground().color(), QColor(0, 0, 255));
    EXPECT_FALSE(CharFormatOf(*d, QStringLiteral(u" \u2029")).isAnchor());
    const QTextCharFormat picture = CharFormatOf(*d, QString(QChar::ObjectReplacementCharacter));
    ASSERT_TRUE(picture.isImageFormat());
    EXPECT_EQ(picture.toImageFormat().width(), 20);
    QImage image;
    image.loadFromData(d->resource(QTextDocument::ImageResource, QUrl(picture.toImageFormat().name())).toByteArray());
    EXPECT_EQ(image.size(), QSize(2, 1));
}

} // namespace
