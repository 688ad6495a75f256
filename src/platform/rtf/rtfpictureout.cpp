// SPDX-License-Identifier: GPL-3.0-or-later
// Writing pictures as \pict groups (PNG or JPEG bytes as they are held, other
// pictures encoded as PNG), embedded objects as \object groups and kept objects
// as the RTF they were read from.
#include "rtfpictureout.h"

#include "embeddedobject.h"
#include "rtfhex.h"
#include "textproperties.h"

#include <QBuffer>
#include <QImageReader>

#include <cmath>

namespace platform {

namespace {

constexpr double TwipsPerPixel = 15.0;

bool IsJpeg(const QByteArray& b) { return b.startsWith("\xff\xd8"); }

QSize PixelSize(const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer).size();
}

QByteArray ImageBytes(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// Text of an RTF destination: ASCII as it is, the rest as \uN with "?" for
// readers that know no Unicode.
QByteArray DestinationText(const QString& text)
{
    QByteArray out;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u >= 0x20 && u < 0x80) {
            out += char(u);
        } else {
            out += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
    return out;
}

} // namespace

QByteArray PictureRtf(const QByteArray& picture, const QSizeF& shown)
{
    const QByteArray bytes = RtfPictureBytes(picture);
    if (bytes.isEmpty())
        return {};
    const QSize pixels = PixelSize(bytes);
    const double width = shown.width() > 0 ? shown.width() : pixels.width();
    const double height = shown.height() > 0 ? shown.height() : pixels.height();
    QByteArray out = IsJpeg(bytes) ? "{\\pict\\jpegblip" : "{\\pict\\pngblip";
    out += "\\picw" + QByteArray::number(pixels.width());
    out += "\\pich" + QByteArray::number(pixels.height());
    out += "\\picwgoal" + QByteArray::number(std::lround(width * TwipsPerPixel));
    out += "\\pichgoal" + QByteArray::number(std::lround(height * TwipsPerPixel));
    out += "\r\n";
    AppendHexLines(out, bytes);
    out += '}';
    return out;
}

QByteArray ObjectGroupRtf(const EmbeddedObject& object)
{
    // A link writes back the picture it was read with, even when its source has
    // gone meanwhile: saving must not lose what other readers show for it.
    QByteArray result;
    if (object.link && !object.asIcon && !object.data.isEmpty())
        result = PictureRtf(object.data, object.shownSize);
    QSize shown;
    if (result.isEmpty()) {
        const QImage shownImage = ObjectShownImage(object);
        shown = shownImage.size();
        result = PictureRtf(ImageBytes(shownImage), object.asIcon ? QSizeF() : object.shownSize);
    } else {
        shown = object.shownSize.isEmpty() ? PixelSize(object.data) : object.shownSize.toSize();
    }
    const QByteArray& data = object.link ? object.source : object.data;
    QByteArray out;
    out.reserve(data.size() * 2 + data.size() / 64 + result.size() + 512);
    out += object.link ? "{\\object\\objlink" : "{\\object\\objemb";
    out += "\\objw" + QByteArray::number(std::lround(shown.width() * TwipsPerPixel));
    out += "\\objh" + QByteArray::number(std::lround(shown.height() * TwipsPerPixel));
    out += "{\\*\\objclass Package}";
    out += "{\\*\\objname " + DestinationText(object.name) + '}';
    out += "{\\*\\objmime " + DestinationText(ObjectMimeType(object)) + '}';
    if (object.asIcon)
        out += "{\\*\\objicon}";
    out += "{\\*\\objdata\r\n";
    AppendHexLines(out, data);
    out += "}{\\result ";
    out += result;
    out += "}}";
    return out;
}

QByteArray ObjectRtf(const QTextDocument& document, const QTextCharFormat& format)
{
    if (format.hasProperty(PropEmbeddedObject))
        return format.property(PropEmbeddedObject).toByteArray();
    const std::optional<EmbeddedObject> object = ObjectFromFormat(document, format);
    if (!object)
        return {};
    if (!object->link && ShowsPicture(*object))
        return PictureRtf(object->data, object->shownSize);
    return ObjectGroupRtf(*object);
}

} // namespace platform
