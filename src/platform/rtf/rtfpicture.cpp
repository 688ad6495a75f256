// SPDX-License-Identifier: GPL-3.0-or-later
// Picture and kept-object formats for the RTF reader.
#include "rtfpicture.h"

#include "textproperties.h"

#include <QCryptographicHash>
#include <QRectF>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

namespace platform {

namespace {

// Shown sizes are kept in pixels at 96 dpi, as the control's other lengths.
constexpr double TwipsPerPixel = 15.0;
// An object that gave no size shows as a placeholder wide enough for its name.
constexpr double PlaceholderWidth = 144;
constexpr double PlaceholderHeight = 48;

QString Digest(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
}

void SetShownSize(QTextImageFormat& format, int widthTwips, int heightTwips)
{
    if (widthTwips > 0)
        format.setWidth(widthTwips / TwipsPerPixel);
    if (heightTwips > 0)
        format.setHeight(heightTwips / TwipsPerPixel);
}

} // namespace

QTextCharFormat ImageFormatFor(QTextDocument& document, const RtfPicture& picture)
{
    QTextImageFormat format;
    if (picture.kind == RtfPictureKind::Wmf || picture.kind == RtfPictureKind::Emf) {
        // Not a resource: Qt's image handler would decode it (and fail) on its own.
        const bool wmf = picture.kind == RtfPictureKind::Wmf;
        format.setName(QStringLiteral("%1:%2.%3")
                           .arg(QLatin1String(RtfImageScheme), Digest(picture.data),
                                wmf ? QStringLiteral("wmf") : QStringLiteral("emf")));
        format.setProperty(PropPictureKind, int(wmf ? PictureKind::Wmf : PictureKind::Emf));
        format.setProperty(PropPictureData, picture.data);
        if (!picture.crop.isNull())
            format.setProperty(PropPictureCrop, QRectF(picture.crop.left(), picture.crop.top(),
                                                       picture.crop.right(), picture.crop.bottom()));
        SetShownSize(format, picture.widthTwips, picture.heightTwips);
        return format;
    }
    const QString name = QStringLiteral("%1:%2.%3")
                             .arg(QLatin1String(RtfImageScheme), Digest(picture.data),
                                  picture.kind == RtfPictureKind::Png ? QStringLiteral("png")
                                                                      : QStringLiteral("jpg"));
    const QUrl url(name);
    if (!document.resource(QTextDocument::ImageResource, url).isValid())
        document.addResource(QTextDocument::ImageResource, url, picture.data);
    format.setName(name);
    SetShownSize(format, picture.widthTwips, picture.heightTwips);
    return format;
}

QTextCharFormat KeptObjectFormat(const QByteArray& rtf)
{
    QTextCharFormat format;
    format.setObjectType(QTextFormat::NoObject);
    format.setProperty(PropEmbeddedObject, rtf);
    return format;
}

QTextCharFormat ObjectPlaceholderFormat(const QByteArray& rtf, const QString& className, int widthTwips,
                                        int heightTwips)
{
    QTextImageFormat format;
    format.setName(QStringLiteral("rtfobject:%1").arg(Digest(rtf)));
    format.setProperty(PropEmbeddedObject, rtf);
    format.setProperty(PropPictureKind, int(PictureKind::Object));
    format.setProperty(PropPictureLabel, className);
    if (widthTwips > 0 && heightTwips > 0) {
        SetShownSize(format, widthTwips, heightTwips);
    } else {
        format.setWidth(PlaceholderWidth);
        format.setHeight(PlaceholderHeight);
    }
    return format;
}

PictureKind PictureKindOf(const QTextFormat& format)
{
    const int kind = format.intProperty(PropPictureKind);
    return kind >= int(PictureKind::Wmf) && kind <= int(PictureKind::Object) ? PictureKind(kind) : PictureKind::None;
}

} // namespace platform
