// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile and broken RTF: the reader must neither crash, hang nor grow without
// bound, and must keep what can be read.
#include "rtfreader.h"
#include "testsupport_rtf.h"

#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using rtftest::ReadDocument;
using rtftest::Text;

namespace {

struct BrokenCase {
    const char* name;
    QByteArray rtf;
    QString text;   // what must survive
};

QByteArray Repeat(const QByteArray& piece, int n)
{
    QByteArray out;
    out.reserve(piece.size() * n);
    for (int i = 0; i < n; ++i)
        out += piece;
    return out;
}

TEST(RtfReaderRobustness, BrokenDataKeepsWhatCanBeRead)
{
    const BrokenCase cases[] = {
        {"cut off in the middle", "{\\rtf1\\ansi \\b bold\\b0  and pla", "bold and pla"},
        {"unbalanced closing braces", "{\\rtf1 a}}}}b", "a"},
        {"unbalanced opening braces", "{\\rtf1 a{{{b", "ab"},
        {"million nested groups", "{\\rtf1 a" + Repeat("{", 1000000) + "b" + Repeat("}", 1000000) + "c}", "abc"},
        {"million nested groups never closed", "{\\rtf1 a" + Repeat("{\\b ", 1000000) + "b", "ab"},
        {"huge bin count", "{\\rtf1 a\\bin2147483647 xyz", "a"},
        {"bin with a negative count", "{\\rtf1 a\\bin-5 b}", "ab"},
        {"hex cut off at the end", "{\\rtf1 a\\'e", "a"},
        {"hex with one digit", "{\\rtf1 a\\'e b}", "a b"},
        {"hex with no digits", "{\\rtf1 a\\'zz}", "azz"},
        {"backslash at the end", "{\\rtf1 a\\", "a"},
        {"absurd unicode values", "{\\rtf1 \\u99999999999?\\u-99999999?\\u65535?x}", QStringLiteral(u"\uFFFD\uFFFD\uFFFFx")},
        {"absurd uc", "{\\rtf1\\uc2147483647\\u1055 abcdefghijklmnopqrstuvwxyz}", QStringLiteral(u"Пqrstuvwxyz")},
        {"enormous numbers", "{\\rtf1\\fs999999999999999999999\\li-99999999999999\\cf99999999 x}", "x"},
        {"control word 10000 letters", "{\\rtf1 a\\" + Repeat("x", 10000) + "5 b}", "ab"},
        {"number 10000 digits", "{\\rtf1 a\\fs" + Repeat("9", 10000) + " b}", "ab"},
        {"font table never closed", "{\\rtf1{\\fonttbl{\\f0 Arial;}", ""},
        {"colour table with junk", "{\\rtf1{\\colortbl;\\red999\\green-5;junk;;}\\cf1 x\\cf77 y}", "xy"},
        {"picture cut off", "{\\rtf1 a{\\pict\\pngblip 89504e47", "a"},
        {"picture with garbage", "{\\rtf1 a{\\pict\\pngblip zz9q}b}", QStringLiteral(u"a\uFFFCb")},
        {"object cut off", "{\\rtf1 a{\\object\\objemb{\\*\\objdata 0102", "a"},
        {"field without result", "{\\rtf1 a{\\field{\\*\\fldinst HYPERLINK x}}b}", "ab"},
        {"cell and row outside tables make a row", "{\\rtf1 a\\cell b\\row c}", "a\nb\nc"},
        {"nul bytes", QByteArray("{\\rtf1 a\0b}", 11), QStringLiteral(u"a\u0000b")},
    };
    for (const BrokenCase& c : cases) {
        auto document = ReadDocument(c.rtf);
        EXPECT_TRUE(Text(*document).contains(c.text)) << c.name << ": " << Text(*document).left(80).toStdString();
    }
}

} // namespace
