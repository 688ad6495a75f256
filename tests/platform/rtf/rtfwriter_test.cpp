// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF writer: what its output says about code pages, kept objects
// and a byte order mark.
#include "richeditconsts.h"
#include "rtfreader.h"
#include "rtfwriter.h"
#include "testsupport_rtf.h"
#include "textproperties.h"

#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace platform;

namespace {

TEST(RtfWriter, HeaderNamesWindows1251AndCyrillicFonts)
{
    rtftest::EnsureApplication();
    QTextDocument document;
    QTextCursor c(&document);
    QTextCharFormat f;
    f.setFontFamilies({QStringLiteral("Arial")});
    c.insertText(QStringLiteral(u"Привет, мир € 日本"), f);
    const QByteArray rtf = WriteRtf(document);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1251\\deff0")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\fcharset204 Arial;")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\'88")) << "the euro sign is in Windows-1251";
    EXPECT_TRUE(rtf.contains("\\u26085?\\u26412?")) << rtf.constData();
    for (char byte : rtf)
        ASSERT_LT(static_cast<unsigned char>(byte), 0x80) << "RTF output is 7-bit";
}

TEST(RtfWriter, ObjectsAndOtherPicturesAreKeptAsTheyWere)
{
    const QByteArray object = "{\\object\\objemb{\\*\\objclass Paint.Picture}\\objw100\\objh50{\\*\\objdata 0102abcdef}"
                              "{\\result{\\pict\\wmetafile8\\picw10\\pich10 0100090000}}}";
    const QByteArray metafile = "{\\pict\\wmetafile8\\picw10\\pich10\\picwgoal150\\pichgoal150 0100090000037800}";
    auto document = rtftest::ReadDocument("{\\rtf1\\ansi a" + object + "b" + metafile + "c}");
    EXPECT_EQ(rtftest::Text(*document), QStringLiteral(u"a\uFFFCb\uFFFCc"));
    const QByteArray rtf = WriteRtf(*document);
    EXPECT_TRUE(rtf.contains(object)) << rtf.constData();
    EXPECT_TRUE(rtf.contains(metafile)) << rtf.constData();
}

TEST(RtfWriter, AByteOrderMarkOpeningTheTextIsNotWritten)
{
    rtftest::EnsureApplication();
    QTextDocument document;
    QTextCursor c(&document);
    c.insertText(QStringLiteral(u"\uFEFFДа"));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral(u" и\uFEFFнет"), bold);
    const QByteArray rtf = WriteRtf(document);
    // Further on, U+FEFF is a zero-width no-break space of the text.
    EXPECT_EQ(rtf.count("\\u-257?"), 1) << rtf.constData();
    EXPECT_EQ(rtftest::Text(*rtftest::ReadDocument(rtf)), QStringLiteral(u"Да и\uFEFFнет"));
    EXPECT_EQ(rtftest::Text(*rtftest::ReadDocument(WriteRtf(document, 0, 1))), QString());
    EXPECT_EQ(rtftest::Text(*rtftest::ReadDocument(WriteRtf(document, 0, 2))), QStringLiteral(u"Д"));
}

} // namespace
