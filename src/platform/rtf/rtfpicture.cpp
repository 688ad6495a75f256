// SPDX-License-Identifier: GPL-3.0-or-later
// Picture and kept-object formats for the RTF reader.
#include "rtfpicture.h"

#include "textproperties.h"

#include <QCryptographicHash>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

namespace platform {

QTextCharFormat ImageFormatFor(QTextDocument& document, const RtfPicture& picture)
{
    const QByteArray digest = QCryptographicHash::hash(picture.data, QCryptographicHash::Sha1).toHex();
    const QString name = QStringLiteral("%1:%2.%3")
                             .arg(QLatin1String(RtfImageScheme), QString::fromLatin1(digest),
                                  picture.kind == RtfPictureKind::Png ? QStringLiteral("png")
                                                                      : QStringLiteral("jpg"));
    const QUrl url(name);
    if (!document.resource(QTextDocument::ImageResource, url).isValid())
        document.addResource(QTextDocument::ImageResource, url, picture.data);
    QTextImageFormat format;
    format.setName(name);
    // Shown sizes are kept in pixels at 96 dpi, as the control's other lengths.
    if (picture.widthTwips > 0)
        format.setWidth(picture.widthTwips / 15.0);
    if (picture.heightTwips > 0)
        format.setHeight(picture.heightTwips / 15.0);
    return format;
}

QTextCharFormat KeptObjectFormat(const QByteArray& rtf)
{
    QTextCharFormat format;
    format.setObjectType(QTextFormat::NoObject);
    format.setProperty(PropEmbeddedObject, rtf);
    return format;
}

} // namespace platform
