// SPDX-License-Identifier: GPL-3.0-or-later
// Hidden text (\v) through reading and writing: kept on text, in cells, links,
// styles, pictures and objects, and written back hidden, with what follows it not.
#include "rtfreader.h"
#include "rtfwriter.h"
#include "testsupport_rtf.h"
#include "textproperties.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace platform;

namespace {

QByteArray PngHex()
{
    rtftest::EnsureApplication();
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toHex();
}

// Every character of the document with whether it is hidden: "a-b+" is a shown a
// and a hidden b; paragraph ends are '/'.
QString HiddenMap(const QTextDocument& document)
{
    QString out;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            out += u'/';
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const bool hidden = fragment.charFormat().boolProperty(PropHidden);
            for (QChar c : fragment.text()) {
                out += c == QChar::ObjectReplacementCharacter ? u'#' : c;
                out += hidden ? u'+' : u'-';
            }
        }
    }
    return out;
}

TEST(RtfHiddenText, IsKeptWhereverItStandsAndWrittenBackTheSame)
{
    const QByteArray rtf = "{\\rtf1\\ansi{\\stylesheet{\\s1\\v Secret;}}"
                           "a{\\v b}c\\v d\\v0 e\\par"
                           "{\\s1 f\\par}\\pard "
                           "{\\field{\\*\\fldinst{HYPERLINK \"http://x.ru\"}}{\\fldrslt{\\v g}}}h\\par"
                           "{\\v{\\pict\\pngblip\\picw2\\pich2 " + PngHex() + "}}"
                           "{\\v{\\object\\objemb{\\*\\objdata 0102}}}i\\par"
                           "\\trowd\\cellx1000\\pard\\intbl{\\v j}k\\cell\\row\\pard\\par}";
    const QString expected = QStringLiteral("a-b+c-d+e-/f+/g+h-/#+#+i-/j+k-/");
    auto document = rtftest::ReadDocument(rtf);
    EXPECT_EQ(HiddenMap(*document), expected);

    const QByteArray written = rtftest::ExpectSameEveryCycle(rtf, HiddenMap);
    EXPECT_TRUE(written.contains("\\v b\\plain")) << written.constData();
}

} // namespace
