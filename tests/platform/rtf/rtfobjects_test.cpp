// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures and objects through RTF: what the writer makes of embedded and linked
// files comes back from the reader exactly (bytes, names, the as-icon choice,
// link sources), also after several cycles; others' objects stay as they came.
#include "embeddedobject.h"
#include "rtfreader.h"
#include "rtfwriter.h"
#include "testsupport_rtf.h"
#include "textproperties.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QFile>
#include <QUrl>

#include <gtest/gtest.h>

using namespace platform;

namespace {

QByteArray Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage Colored(int w, int h, QColor color)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// Every byte value, then some, so that hex coding of each one is checked.
QByteArray AllBytes(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 256) & 0xff);
    return bytes;
}

std::unique_ptr<QTextDocument> DocumentWith(const std::vector<EmbeddedObject>& objects)
{
    auto document = std::make_unique<QTextDocument>();
    QTextCursor cursor(document.get());
    cursor.insertText(QStringLiteral(u"Начало "));
    for (const EmbeddedObject& object : objects) {
        cursor.insertText(QString(QChar::ObjectReplacementCharacter), FormatForObject(*document, object));
        cursor.insertText(QStringLiteral(" "), QTextCharFormat());
    }
    cursor.insertText(QStringLiteral(u"конец"));
    return document;
}

std::vector<EmbeddedObject> ObjectsOf(const QTextDocument& document)
{
    std::vector<EmbeddedObject> objects;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().text().contains(QChar::ObjectReplacementCharacter))
                if (auto object = ObjectFromFormat(document, it.fragment().charFormat()))
                    objects.push_back(*object);
    return objects;
}

class RtfObjects : public ::testing::Test {
protected:
    void SetUp() override { rtftest::EnsureApplication(); }
};

TEST_F(RtfObjects, EmbeddedFilesComeBackByteForByteWithTheirNamesAndViewAfterThreeCycles)
{
    EmbeddedObject report;
    report.data = AllBytes(70000);
    report.name = QStringLiteral(u"отчёт {итог}.bin");
    report.mimeType = QStringLiteral("application/octet-stream");
    report.asIcon = true;
    EmbeddedObject pictureAsIcon;
    pictureAsIcon.data = Encoded(Colored(30, 20, Qt::red), "PNG");
    pictureAsIcon.name = QStringLiteral("red.png");
    pictureAsIcon.asIcon = true;
    EmbeddedObject empty;
    empty.name = QStringLiteral("Text.txt");
    empty.mimeType = QStringLiteral("text/plain");
    empty.asIcon = true;

    auto document = DocumentWith({report, pictureAsIcon, empty});
    QByteArray rtf = WriteRtf(*document);
    EXPECT_TRUE(rtf.contains("\\objemb"));
    EXPECT_TRUE(rtf.contains("{\\*\\objdata"));
    EXPECT_TRUE(rtf.contains("{\\result {\\pict\\pngblip")) << "other readers see the icon";
    for (int cycle = 1; cycle <= 3; ++cycle) {
        SCOPED_TRACE(cycle);
        auto back = rtftest::ReadDocument(rtf);
        const std::vector<EmbeddedObject> objects = ObjectsOf(*back);
        ASSERT_EQ(objects.size(), 3u);
        EXPECT_TRUE(objects[0].data == report.data);
        EXPECT_EQ(objects[0].name, report.name);
        EXPECT_TRUE(objects[0].asIcon);
        EXPECT_FALSE(objects[0].link);
        EXPECT_TRUE(objects[1].data == pictureAsIcon.data) << "a picture shown as an icon keeps its own bytes";
        EXPECT_TRUE(objects[1].asIcon);
        EXPECT_TRUE(objects[2].data.isEmpty());
        EXPECT_EQ(objects[2].mimeType, QStringLiteral("text/plain"));
        EXPECT_EQ(rtftest::Text(*back).remove(QChar::ObjectReplacementCharacter), QStringLiteral(u"Начало    конец"));
        const QByteArray again = WriteRtf(*back);
        EXPECT_EQ(again, rtf);
        rtf = again;
    }
}

TEST_F(RtfObjects, PicturesArePictGroupsAndBmpOrGifBecomePng)
{
    EmbeddedObject png;
    png.data = Encoded(Colored(40, 30, Qt::blue), "PNG");
    EmbeddedObject jpeg;
    jpeg.data = Encoded(Colored(16, 16, Qt::green), "JPEG");
    EmbeddedObject bmp;
    bmp.data = Encoded(Colored(10, 12, Qt::yellow), "BMP");
    bmp.shownSize = QSizeF(20, 24);
    auto document = DocumentWith({png, jpeg, bmp});
    // A picture the document holds as an image, not as bytes, shown scaled.
    QImage image = Colored(7, 5, QColor(10, 200, 30));
    image.setPixelColor(3, 2, Qt::red);
    document->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("mem:one")), image);
    QTextImageFormat shown;
    shown.setName(QStringLiteral("mem:one"));
    shown.setWidth(70);
    shown.setHeight(50);
    QTextCursor(document.get()).insertImage(shown);
    const QByteArray rtf = WriteRtf(*document);
    EXPECT_EQ(rtf.count("{\\pict\\pngblip"), 3);
    EXPECT_EQ(rtf.count("{\\pict\\jpegblip"), 1);
    EXPECT_FALSE(rtf.contains("\\object"));
    EXPECT_TRUE(rtf.contains("\\picwgoal300\\pichgoal360")) << "the shown size of a scaled picture";

    auto back = rtftest::ReadDocument(rtf);
    const std::vector<EmbeddedObject> objects = ObjectsOf(*back);
    ASSERT_EQ(objects.size(), 4u);
    EXPECT_EQ(QImage::fromData(objects[0].data).convertToFormat(QImage::Format_RGB32), image);
    EXPECT_EQ(objects[0].shownSize, QSizeF(70, 50));
    EXPECT_TRUE(objects[1].data == png.data);
    EXPECT_TRUE(objects[2].data == jpeg.data);
    EXPECT_TRUE(objects[3].data.startsWith("\x89PNG"));
    EXPECT_EQ(QImage::fromData(objects[3].data).size(), QSize(10, 12));
    EXPECT_EQ(objects[3].shownSize, QSizeF(20, 24));
    EXPECT_TRUE(ShowsPicture(objects[1]) && ShowsPicture(objects[3]));
    EXPECT_EQ(WriteRtf(*back), rtf) << "written again, the picture bytes are the very same";
}

TEST_F(RtfObjects, LinksKeepTheirSourceBytesAndAMissingSourceIsWrittenBackUnchanged)
{
    QTemporaryDir dir;
    // A source whose name is not UTF-8 (KOI8-R bytes) must still name the same file.
    const QByteArray source = QFile::encodeName(dir.path()) + "/\xf0\xc9\xd3\xd8\xcd\xcf.png";
    const QByteArray picture = Encoded(Colored(24, 18, Qt::magenta), "PNG");
    {
        FILE* f = std::fopen(source.constData(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(picture.constData(), 1, size_t(picture.size()), f);
        std::fclose(f);
    }
    EmbeddedObject link;
    link.link = true;
    link.source = source;
    link.data = picture;
    link.name = QStringLiteral(u"Письмо.png");
    EmbeddedObject iconLink = link;
    iconLink.asIcon = true;
    iconLink.data.clear();
    auto document = DocumentWith({link, iconLink});
    const QByteArray rtf = WriteRtf(*document);
    EXPECT_EQ(rtf.count("\\objlink"), 2);

    auto back = rtftest::ReadDocument(rtf);
    std::vector<EmbeddedObject> objects = ObjectsOf(*back);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_TRUE(objects[0].link && objects[1].link);
    EXPECT_EQ(objects[0].source, source);
    EXPECT_EQ(objects[1].source, source);
    EXPECT_TRUE(ShowsPicture(objects[0]));
    EXPECT_FALSE(ShowsPicture(objects[1]));
    EXPECT_TRUE(objects[1].asIcon);

    // The source goes away: the link shows its icon, and saving keeps what it had.
    ASSERT_EQ(std::remove(source.constData()), 0);
    auto orphan = rtftest::ReadDocument(rtf);
    objects = ObjectsOf(*orphan);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_FALSE(ShowsPicture(objects[0]));
    EXPECT_TRUE(objects[0].data == picture);
    const QTextImageFormat shown = rtftest::CharFormatOf(*orphan, QString(QChar::ObjectReplacementCharacter)).toImageFormat();
    EXPECT_TRUE(shown.name().startsWith(QLatin1String("objicon:"))) << shown.name().toStdString();
    EXPECT_EQ(WriteRtf(*orphan), WriteRtf(*rtftest::ReadDocument(WriteRtf(*orphan))));
    EXPECT_TRUE(WriteRtf(*orphan).contains(QByteArray(picture.toHex().left(120)))) << "the picture it was read with";
}

TEST_F(RtfObjects, OtherProgramsObjectsAreKeptAsTheyCameAndShownByTheirResult)
{
    const QByteArray picture = Encoded(Colored(8, 8, Qt::black), "PNG");
    const QByteArray object = "{\\object\\objemb\\objw120\\objh120{\\*\\objclass Excel.Sheet.8}{\\*\\objdata 0105000002000000}"
                              "{\\result{\\*\\shppict{\\pict\\pngblip\\picw8\\pich8 " + picture.toHex() + "}}"
                              "{\\nonshppict{\\pict\\wmetafile8 0102}}}}";
    const QByteArray rtf = "{\\rtf1\\ansi A" + object + "B\\par}";
    auto document = rtftest::ReadDocument(rtf);
    EXPECT_EQ(rtftest::Text(*document), QStringLiteral("A\uFFFCB"));
    const QTextCharFormat format = rtftest::CharFormatOf(*document, QString(QChar::ObjectReplacementCharacter));
    EXPECT_TRUE(format.isImageFormat()) << "shown by its result picture";
    EXPECT_FALSE(ObjectFromFormat(*document, format).has_value()) << "not an object of ours to open";
    EXPECT_TRUE(WriteRtf(*document).contains(object));
}

TEST_F(RtfObjects, BrokenObjectsNeitherCrashNorInventData)
{
    const QByteArray cases[] = {
        "{\\rtf1 A{\\object\\objemb{\\*\\objmime text/plain}{\\*\\objdata 41424",        // cut off
        "{\\rtf1 A{\\object\\objemb{\\*\\objmime text/plain}{\\*\\objdata 414}}B}",      // odd digit count
        "{\\rtf1 A{\\object\\objemb\\objlink{\\*\\objmime a/b}{\\*\\objdata 41}}B}",      // both kinds
        "{\\rtf1 A{\\object{\\result{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}}B}",
        "{\\rtf1 A{\\object\\objemb{\\*\\objmime a/b}{\\*\\objname \\u-1?\\u1055?x}{\\*\\objdata}}B}",
    };
    for (const QByteArray& rtf : cases) {
        SCOPED_TRACE(rtf.constData());
        auto document = rtftest::ReadDocument(rtf);
        const std::vector<EmbeddedObject> objects = ObjectsOf(*document);
        for (const EmbeddedObject& object : objects)
            EXPECT_LE(object.data.size(), 1);
    }
    // Our own writing cut off anywhere reads as far as it goes.
    EmbeddedObject file;
    file.data = AllBytes(300);
    file.name = QStringLiteral(u"файл.bin");
    file.asIcon = true;
    EmbeddedObject link;
    link.link = true;
    link.source = "/nowhere/\xff.png";
    link.data = Encoded(Colored(3, 3, Qt::red), "PNG");
    const QByteArray whole = WriteRtf(*DocumentWith({file, link}));
    for (qsizetype cut = 0; cut < whole.size(); cut += 5) {
        auto partial = rtftest::ReadDocument(whole.left(cut));
        for (const EmbeddedObject& object : ObjectsOf(*partial))
            EXPECT_TRUE(object.data == file.data || object.data == link.data || object.data.isEmpty()) << cut;
    }

    auto odd = rtftest::ReadDocument(cases[1]);
    const std::vector<EmbeddedObject> objects = ObjectsOf(*odd);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0].data, QByteArray("A")) << "the lone last digit is dropped";
}

} // namespace
