// SPDX-License-Identifier: GPL-3.0-or-later
// Embedded objects in a QTextDocument: reading them from a character format,
// making the format that shows them, and drawing their icons.
#include "embeddedobject.h"

#include "textproperties.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QMimeDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <sys/stat.h>

namespace platform {

namespace {

constexpr int ObjectKindEmbedded = 1;
constexpr int ObjectKindLinked = 2;
constexpr int IconSide = 48;
constexpr int IconMaxWidth = 160;
constexpr char IconScheme[] = "objicon";

bool IsPng(const QByteArray& b) { return b.startsWith("\x89PNG"); }
bool IsJpeg(const QByteArray& b) { return b.startsWith("\xff\xd8"); }

QImage DecodePicture(const QByteArray& data)
{
    QImage picture;
    if (!data.isEmpty())
        picture.loadFromData(data);
    return picture;
}

bool IsPicture(const QByteArray& data)
{
    if (data.isEmpty())
        return false;
    QByteArray copy = data;   // shared, not copied
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return reader.canRead();
}

bool SourceExists(const QByteArray& path)
{
    struct stat st {};
    return !path.isEmpty() && ::stat(path.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

QString HashName(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
}

QString PictureResourceName(const QByteArray& data)
{
    const char* ext = IsPng(data) ? "png" : IsJpeg(data) ? "jpg" : "img";
    return QStringLiteral("rtfimage:%1.%2").arg(HashName(data), QLatin1String(ext));
}

QString IconResourceName(const EmbeddedObject& object)
{
    const QByteArray key = object.name.toUtf8() + '\0' + ObjectMimeType(object).toUtf8() + '\0'
                           + (object.link ? "link" : "embedded");
    return QStringLiteral("%1:%2.png").arg(QLatin1String(IconScheme), HashName(key));
}

// The name under the icon, shortened in the middle so that the icon stays small.
QString ShortName(const QString& name, const QFontMetrics& metrics)
{
    return metrics.elidedText(name, Qt::ElideMiddle, IconMaxWidth - 8);
}

QPixmap TypeIcon(const QString& mime)
{
    const QMimeType type = QMimeDatabase().mimeTypeForName(mime);
    for (const QString& name : {type.iconName(), type.genericIconName(), QStringLiteral("text-x-generic"),
                                QStringLiteral("application-octet-stream")}) {
        if (name.isEmpty())
            continue;
        const QIcon icon = QIcon::fromTheme(name);
        if (!icon.isNull())
            return icon.pixmap(IconSide, IconSide);
    }
    return {};
}

// A sheet of paper with a folded corner, for desktops without an icon theme.
void DrawPlainSheet(QPainter& painter, const QRect& box)
{
    const int fold = box.width() / 4;
    QPainterPath sheet;
    sheet.moveTo(box.left(), box.top());
    sheet.lineTo(box.right() - fold, box.top());
    sheet.lineTo(box.right(), box.top() + fold);
    sheet.lineTo(box.right(), box.bottom());
    sheet.lineTo(box.left(), box.bottom());
    sheet.closeSubpath();
    painter.setPen(QPen(QColor(90, 90, 90), 1));
    painter.setBrush(QColor(250, 250, 250));
    painter.drawPath(sheet);
    painter.drawLine(box.right() - fold, box.top(), box.right() - fold, box.top() + fold);
    painter.drawLine(box.right() - fold, box.top() + fold, box.right(), box.top() + fold);
    painter.setPen(QPen(QColor(150, 150, 150), 1));
    for (int y = box.top() + fold + 6; y < box.bottom() - 4; y += 5)
        painter.drawLine(box.left() + 6, y, box.right() - 6, y);
}

// The curved arrow of a link in the icon's lower left corner.
void DrawLinkArrow(QPainter& painter, const QRect& icon)
{
    const QRect box(icon.left(), icon.bottom() - 15, 16, 16);
    painter.setPen(QPen(QColor(60, 60, 60), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setPen(QPen(QColor(20, 60, 160), 2));
    painter.drawLine(box.left() + 4, box.bottom() - 4, box.right() - 5, box.top() + 5);
    painter.drawLine(box.right() - 5, box.top() + 5, box.right() - 10, box.top() + 5);
    painter.drawLine(box.right() - 5, box.top() + 5, box.right() - 5, box.top() + 10);
}

} // namespace

bool HoldsObject(const QTextCharFormat& format)
{
    return format.hasProperty(PropObjectKind);
}

QString ObjectMimeType(const EmbeddedObject& object)
{
    if (!object.mimeType.isEmpty())
        return object.mimeType;
    const QMimeDatabase database;
    if (!object.name.isEmpty()) {
        const QMimeType byName = database.mimeTypeForFile(object.name, QMimeDatabase::MatchExtension);
        if (!byName.isDefault())
            return byName.name();
    }
    return database.mimeTypeForData(object.data).name();
}

QString ObjectTypeName(const EmbeddedObject& object)
{
    const QMimeType type = QMimeDatabase().mimeTypeForName(ObjectMimeType(object));
    const QString comment = type.comment();
    return comment.isEmpty() ? type.name() : comment;
}

bool ShowsPicture(const EmbeddedObject& object)
{
    if (object.asIcon || !IsPicture(object.data))
        return false;
    return !object.link || SourceExists(object.source);
}

QByteArray RtfPictureBytes(const QByteArray& data)
{
    if (IsPng(data) || IsJpeg(data))
        return data;
    const QImage picture = DecodePicture(data);
    if (picture.isNull())
        return {};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return png;
}

QImage ObjectIconImage(const EmbeddedObject& object)
{
    const bool canDraw = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    QFont font;
    font.setPointSize(9);
    const QFontMetrics metrics(font);
    const QString label = canDraw ? ShortName(object.name, metrics) : QString();
    const int textWidth = label.isEmpty() ? 0 : metrics.horizontalAdvance(label);
    const int width = std::max(IconSide + 16, std::min(IconMaxWidth, textWidth + 8));
    const int height = IconSide + 8 + (label.isEmpty() ? 0 : metrics.height() + 4);
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    if (!canDraw)
        return image;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect iconBox((width - IconSide) / 2, 4, IconSide, IconSide);
    const QPixmap icon = TypeIcon(ObjectMimeType(object));
    if (!icon.isNull())
        painter.drawPixmap(iconBox, icon);
    else
        DrawPlainSheet(painter, iconBox.adjusted(6, 0, -6, 0));
    if (object.link)
        DrawLinkArrow(painter, iconBox);
    if (!label.isEmpty()) {
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRect(0, IconSide + 8, width, metrics.height() + 2), Qt::AlignHCenter | Qt::AlignTop, label);
    }
    return image;
}

QImage ObjectShownImage(const EmbeddedObject& object)
{
    return ShowsPicture(object) ? DecodePicture(object.data) : ObjectIconImage(object);
}

std::optional<EmbeddedObject> ObjectFromFormat(const QTextDocument& document, const QTextCharFormat& format)
{
    if (format.hasProperty(PropEmbeddedObject) || !format.isImageFormat())
        return std::nullopt;
    EmbeddedObject object;
    if (format.hasProperty(PropObjectKind)) {
        object.link = format.intProperty(PropObjectKind) == ObjectKindLinked;
        object.data = format.property(PropObjectData).toByteArray();
        object.name = format.stringProperty(PropObjectName);
        object.source = format.property(PropObjectSource).toByteArray();
        object.mimeType = format.stringProperty(PropObjectMime);
        object.asIcon = format.boolProperty(PropObjectAsIcon);
    } else {
        // A bare picture: its bytes are the image the document shows.
        const QVariant resource =
            document.resource(QTextDocument::ImageResource, QUrl(format.toImageFormat().name()));
        if (resource.typeId() == QMetaType::QByteArray) {
            object.data = resource.toByteArray();
        } else {
            QImage picture;
            if (resource.typeId() == QMetaType::QImage)
                picture = resource.value<QImage>();
            else if (resource.typeId() == QMetaType::QPixmap)
                picture = resource.value<QPixmap>().toImage();
            if (picture.isNull())
                return std::nullopt;
            QBuffer buffer(&object.data);
            buffer.open(QIODevice::WriteOnly);
            picture.save(&buffer, "PNG");
        }
        object.mimeType = ObjectMimeType(object);
    }
    const QTextImageFormat image = format.toImageFormat();
    if (!object.asIcon && !image.name().startsWith(QLatin1String(IconScheme))) {
        if (image.width() > 0 && image.height() > 0)
            object.shownSize = QSizeF(image.width(), image.height());
    }
    return object;
}

QTextCharFormat FormatForObject(QTextDocument& document, const EmbeddedObject& object)
{
    QTextImageFormat format;
    if (ShowsPicture(object)) {
        const QString name = PictureResourceName(object.data);
        const QUrl url(name);
        if (!document.resource(QTextDocument::ImageResource, url).isValid())
            document.addResource(QTextDocument::ImageResource, url, object.data);
        format.setName(name);
        if (!object.shownSize.isEmpty()) {
            format.setWidth(object.shownSize.width());
            format.setHeight(object.shownSize.height());
        }
    } else {
        const QString name = IconResourceName(object);
        const QUrl url(name);
        QVariant icon = document.resource(QTextDocument::ImageResource, url);
        if (!icon.isValid()) {
            icon = ObjectIconImage(object);
            document.addResource(QTextDocument::ImageResource, url, icon);
        }
        const QImage image = icon.value<QImage>();
        format.setName(name);
        format.setWidth(image.width());
        format.setHeight(image.height());
    }
    format.setProperty(PropObjectKind, object.link ? ObjectKindLinked : ObjectKindEmbedded);
    format.setProperty(PropObjectData, object.data);
    format.setProperty(PropObjectName, object.name);
    format.setProperty(PropObjectSource, object.source);
    format.setProperty(PropObjectMime, ObjectMimeType(object));
    format.setProperty(PropObjectAsIcon, object.asIcon);
    return format;
}

void RestoreObjectPictures(QTextDocument& document, int from, int to)
{
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() < to; block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (!HoldsObject(format) || fragment.position() + fragment.length() <= from)
                continue;
            const QUrl url(format.toImageFormat().name());
            if (document.resource(QTextDocument::ImageResource, url).isValid())
                continue;
            if (const std::optional<EmbeddedObject> object = ObjectFromFormat(document, format))
                FormatForObject(document, *object);   // adds the resource under the same name
        }
    }
}

} // namespace platform
