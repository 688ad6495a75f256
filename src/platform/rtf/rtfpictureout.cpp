// Writing images as \pict groups (PNG or JPEG bytes as they are held, other
// images encoded as PNG) and kept objects as the RTF they were read from.
#include "rtfpictureout.h"

#include "textproperties.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <cmath>

namespace platform {

namespace {

constexpr double TwipsPerPixel = 15.0;
constexpr int HexLine = 128;

bool IsPng(const QByteArray& b) { return b.startsWith("\x89PNG"); }
bool IsJpeg(const QByteArray& b) { return b.startsWith("\xff\xd8"); }

} // namespace

QByteArray ObjectRtf(const QTextDocument& document, const QTextCharFormat& format)
{
    if (format.hasProperty(PropEmbeddedObject))
        return format.property(PropEmbeddedObject).toByteArray();
    if (!format.isImageFormat())
        return {};
    const QTextImageFormat image = format.toImageFormat();
    const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(image.name()));
    QByteArray bytes;
    QSize pixels;
    if (resource.typeId() == QMetaType::QByteArray) {
        bytes = resource.toByteArray();
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer);
        pixels = reader.size();
    }
    if (!IsPng(bytes) && !IsJpeg(bytes)) {
        QImage picture;
        if (resource.typeId() == QMetaType::QImage)
            picture = resource.value<QImage>();
        else if (resource.typeId() == QMetaType::QPixmap)
            picture = resource.value<QPixmap>().toImage();
        else if (!bytes.isEmpty())
            picture.loadFromData(bytes);
        if (picture.isNull())
            return {};
        bytes.clear();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        pixels = picture.size();
    }
    const double width = image.width() > 0 ? image.width() : pixels.width();
    const double height = image.height() > 0 ? image.height() : pixels.height();
    QByteArray out = IsJpeg(bytes) ? "{\\pict\\jpegblip" : "{\\pict\\pngblip";
    out += "\\picw" + QByteArray::number(pixels.width());
    out += "\\pich" + QByteArray::number(pixels.height());
    out += "\\picwgoal" + QByteArray::number(std::lround(width * TwipsPerPixel));
    out += "\\pichgoal" + QByteArray::number(std::lround(height * TwipsPerPixel));
    out += "\r\n";
    const QByteArray hex = bytes.toHex();
    for (qsizetype i = 0; i < hex.size(); i += HexLine) {
        out += hex.mid(i, HexLine);
        out += "\r\n";
    }
    out += '}';
    return out;
}

} // namespace platform
