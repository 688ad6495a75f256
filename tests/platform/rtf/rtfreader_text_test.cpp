// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF reader on text: code pages, Unicode escapes, special characters and
// what a stream that is not RTF does.
#include "rtfreader.h"
#include "testsupport_rtf.h"

#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using rtftest::ReadDocument;
using rtftest::Text;

namespace {

struct TextCase {
    const char* name;
    QByteArray rtf;
    QString text;
};

TEST(RtfReaderText, DecodesCodePagesEscapesAndSpecialCharacters)
{
    const QString privet = QStringLiteral(u"Привет");
    const TextCase cases[] = {
        {"plain ascii", "{\\rtf1\\ansi Hello}", "Hello"},
        {"raw 1251 bytes with no code page named", "{\\rtf1\\ansi\\deff0 " + rtftest::Cp1251(privet) + "}", privet},
        {"hex in ansicpg1251", "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}", privet},
        {"font charset 204 beats ansicpg1252",
         "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}\\f0 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}",
         privet},
        {"font charset 0 is Windows-1252",
         "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset0 Arial;}}\\f0 \\'e9t\\'e9}", QStringLiteral(u"été")},
        {"charset 238 is Windows-1250",
         "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset238 Arial;}}\\f0 \\'9f}", QStringLiteral(u"ź")},
        {"charset 161 is Windows-1253", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset161 Arial;}}\\f0 \\'e1}",
         QStringLiteral(u"α")},
        {"double-byte Shift-JIS", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 MS Mincho;}}\\f0 \\'93\\'fa\\'96\\'7b}",
         QStringLiteral(u"日本")},
        {"cpg beats charset", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0\\cpg1251 Arial;}}\\f0 \\'e0}",
         QStringLiteral(u"а")},
        {"code page switches with the font",
         "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset204 A;}{\\f1\\fcharset0 B;}}\\f0\\'e0\\f1\\'e0}",
         QStringLiteral(u"аà")},
        {"unicode with uc1 fallback", "{\\rtf1\\ansi\\uc1\\u1055?\\u1088?}", QStringLiteral(u"Пр")},
        {"unicode with uc2 hex fallback", "{\\rtf1\\ansi\\uc2\\u1055\\'cf\\'cf!}", QStringLiteral(u"П!")},
        {"uc0 skips nothing", "{\\rtf1\\ansi\\uc0\\u1055 x}", QStringLiteral(u"Пx")},
        {"negative u", "{\\rtf1\\ansi\\u-3913?}", QString(QChar(0xF0B7))},
        {"surrogate pair", "{\\rtf1\\ansi\\u-10179?\\u-8704?}", QStringLiteral(u"\U0001F600")},
        {"uc is group local", "{\\rtf1\\ansi{\\uc2\\u1055??}\\u1088?x}", QStringLiteral(u"Прx")},
        {"group end stops skipping", "{\\rtf1\\ansi{\\uc3\\u1055?}x}", QStringLiteral(u"Пx")},
        {"escaped braces and backslash", "{\\rtf1 a\\{b\\}c\\\\d}", "a{b}c\\d"},
        {"special symbols", "{\\rtf1 a\\~b\\-c\\_d\\tab e}", QStringLiteral(u"a\u00A0b\u00ADc\u2011d\te")},
        {"typographic words", "{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet}",
         QStringLiteral(u"—–‘’“”•")},
        {"line break", "{\\rtf1 a\\line b}", QStringLiteral(u"a\u2028b")},
        {"paragraphs, final mark absorbed", "{\\rtf1 a\\par b\\par}", "a\nb"},
        {"line ends in the data mean nothing", "{\\rtf1 a\r\nb\nc}", "abc"},
        {"backslash before a line end is a paragraph", "{\\rtf1 a\\\nb}", "a\nb"},
        {"unknown words and starred groups skipped", "{\\rtf1 a\\foo12 b{\\*\\unknown x}c}", "abc"},
        {"info, stylesheet and pntext skipped",
         "{\\rtf1{\\info{\\title T}}{\\stylesheet{\\s0 Normal;}}{\\pntext 1.\\tab}x}", "x"},
        {"text after the document group is ignored", "{\\rtf1 a}junk", "a"},
        {"font names and aliases are not text",
         "{\\rtf1{\\fonttbl{\\f0\\fnil\\fcharset204{\\*\\fname Courier New;}Courier New CYR;}}\\f0 x}", "x"},
        {"fields show their result",
         "{\\rtf1 {\\field{\\*\\fldinst{ PAGE }}{\\fldrslt 7}} ok}", "7 ok"},
        {"binary data skipped", "{\\rtf1 a\\bin3 }}}b}", "ab"},
    };
    for (const TextCase& c : cases) {
        auto document = ReadDocument(c.rtf);
        EXPECT_EQ(Text(*document), c.text) << c.name;
    }
}

TEST(RtfReaderText, RefusesDataThatIsNotRtfAndOtherwiseReplacesOnlyTheSelection)
{
    rtftest::EnsureApplication();
    for (const QByteArray& data : {QByteArray("Hello"), QByteArray(" {\\rtf1 x}"), QByteArray("{\\rt"), QByteArray()}) {
        QTextDocument document;
        document.setPlainText(QStringLiteral("keep"));
        QTextCursor cursor(&document);
        cursor.setPosition(2);
        EXPECT_FALSE(platform::ReadRtf(data, cursor)) << data.constData();
        EXPECT_EQ(document.toPlainText(), QStringLiteral("keep"));
    }

    // RTF read over a selection replaces only the selection.
    QTextDocument document;
    document.setPlainText(QStringLiteral(u"один два три"));
    QTextCursor cursor(&document);
    cursor.setPosition(5);
    cursor.setPosition(8, QTextCursor::KeepAnchor);
    ASSERT_TRUE(platform::ReadRtf("{\\rtf1\\ansi\\ansicpg1251 \\b \\'d7\\'c5\\'d2\\'db\\'d0\\'c5}", cursor));
    EXPECT_EQ(document.toPlainText(), QStringLiteral(u"один ЧЕТЫРЕ три"));
}

} // namespace
