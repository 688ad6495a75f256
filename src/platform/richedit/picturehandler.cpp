// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures drawn in the document: metafiles rendered off the paint path for the
// screen and at the device's resolution for print, placeholders otherwise.
#include "picturehandler.h"

#include "metafilerender.h"
#include "rtfpicture.h"
#include "textproperties.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QPainter>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QWidget>

#include <cmath>

#include <malloc.h>

namespace platform {

namespace {

// Rendered metafiles kept for the screen: what covers two screens, so that
// scrolling back and forth does not render again, and memory stays near what
// the same pictures as pixmaps take.
int CacheKilobytes()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() * screen->devicePixelRatio() : QSize(1920, 1080);
    return std::max(4 * 1024, 2 * size.width() * size.height() * 4 / 1024);
}
// A picture that gave no size is shown an inch square.
constexpr double DefaultSide = 96;
constexpr double PixelsPerCm = 96 / 2.54;

// Qt's picture handler comes with its own document layout only: a layout kept
// for the life of the application lends it.
QObject* QtImageHandler()
{
    static QPointer<QTextDocument> lender;
    if (!lender) {
        lender = new QTextDocument(QCoreApplication::instance());
        lender->setObjectName(QStringLiteral("imageHandlerLender"));
    }
    return dynamic_cast<QObject*>(lender->documentLayout()->handlerForObject(QTextFormat::ImageObject));
}

QString KindName(PictureKind kind, const QTextFormat& format)
{
    switch (kind) {
    case PictureKind::Wmf: return QStringLiteral("WMF");
    case PictureKind::Emf: return QStringLiteral("EMF");
    default: break;
    }
    const QString label = format.stringProperty(PropPictureLabel);
    return label.isEmpty() ? QStringLiteral("?") : label;
}

void DrawPlaceholder(QPainter* painter, const QRectF& rect, const QString& title, const QString& detail)
{
    painter->save();
    painter->setClipRect(rect);
    painter->fillRect(rect, QColor(0xF2, 0xF2, 0xF2));
    QPen frame(QColor(0x70, 0x70, 0x70));
    frame.setWidthF(std::max(1.0, rect.height() / 100));
    painter->setPen(frame);
    painter->setBrush(Qt::NoBrush);
    const double inset = frame.widthF() / 2;
    painter->drawRect(rect.adjusted(inset, inset, -inset, -inset));
    QFont font = painter->font();
    font.setPixelSize(std::max(1, int(std::min(rect.height() / 4, rect.width() / 8))));
    painter->setFont(font);
    painter->setPen(QColor(0x40, 0x40, 0x40));
    painter->drawText(rect, Qt::AlignCenter | Qt::TextWordWrap,
                      detail.isEmpty() ? title : title + QLatin1Char('\n') + detail);
    painter->restore();
}

QSizeF ShownSize(const QTextFormat& format)
{
    const QTextImageFormat image = format.toImageFormat();
    return {image.width() > 0 ? image.width() : DefaultSide, image.height() > 0 ? image.height() : DefaultSide};
}

} // namespace

PictureHandler& PictureHandler::Instance()
{
    static PictureHandler* handler = new PictureHandler(QCoreApplication::instance());
    return *handler;
}

PictureHandler::PictureHandler(QObject* parent) : QObject(parent), images(QtImageHandler())
{
    cache.setMaxCost(CacheKilobytes());
    // One worker: the libraries are called one at a time anyway, and the other
    // core stays with the window.
    pool.setMaxThreadCount(1);
}

QSizeF PictureHandler::intrinsicSize(QTextDocument* doc, int posInDocument, const QTextFormat& format)
{
    auto* qt = qobject_cast<QTextObjectInterface*>(images);
    if (PictureKindOf(format) == PictureKind::None)
        return qt ? qt->intrinsicSize(doc, posInDocument, format) : QSizeF();
    // Sized as Qt sizes an image of the same width and height, so that the
    // page's resolution scales both alike.
    QTextImageFormat sized;
    const QSizeF shown = ShownSize(format);
    sized.setWidth(shown.width());
    sized.setHeight(shown.height());
    return qt ? qt->intrinsicSize(doc, posInDocument, sized) : shown;
}

QImage* PictureHandler::Cached(const QString& key)
{
    return cache.object(key);
}

void PictureHandler::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc, int posInDocument,
                                const QTextFormat& format)
{
    const PictureKind kind = PictureKindOf(format);
    if (kind == PictureKind::None) {
        if (auto* qt = qobject_cast<QTextObjectInterface*>(images))
            qt->drawObject(painter, rect, doc, posInDocument, format);
        return;
    }
    const QSizeF shown = ShownSize(format);
    const QString detail = QStringLiteral("%1 × %2 cm")
                               .arg(shown.width() / PixelsPerCm, 0, 'f', 1)
                               .arg(shown.height() / PixelsPerCm, 0, 'f', 1);
    if (kind == PictureKind::Object) {
        DrawPlaceholder(painter, rect, KindName(kind, format), QString());
        return;
    }
    auto* widget = dynamic_cast<QWidget*>(painter->device());
    const double ratio = painter->device()->devicePixelRatioF();
    const QSize pixels = widget ? (rect.size() * ratio).toSize() : painter->transform().mapRect(rect).size().toSize();
    if (pixels.isEmpty())
        return;
    const QString key = QStringLiteral("%1@%2x%3").arg(format.toImageFormat().name()).arg(pixels.width()).arg(pixels.height());
    const QByteArray data = format.property(PropPictureData).toByteArray();
    const QRectF crop = format.property(PropPictureCrop).toRectF();
    QImage image;
    if (const QImage* cached = Cached(key)) {
        image = *cached;
    } else if (widget) {
        // The screen never waits for a library: the picture is rendered on the
        // worker and the window repainted when it is there.
        waiting[key].append(widget);
        if (!pending.contains(key)) {
            pending.insert(key);
            pool.start([this, key, kind, data, pixels, crop] {
                const QImage rendered = RenderMetafile(kind, data, pixels, crop);
                // The libraries leave the heap in small pieces between the images;
                // without this the pages they freed stay with the process.
                malloc_trim(0);
                QMetaObject::invokeMethod(this, [this, key, rendered] { Rendered(key, rendered); },
                                          Qt::QueuedConnection);
            });
        }
        painter->save();
        painter->setPen(QColor(0xC0, 0xC0, 0xC0));
        painter->drawRect(rect.adjusted(0, 0, -1, -1));
        painter->restore();
        return;
    } else {
        // Print and preview pages are made once: drawn now at their resolution.
        image = RenderMetafile(kind, data, pixels, crop);
    }
    if (image.isNull()) {
        DrawPlaceholder(painter, rect, KindName(kind, format), detail);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(rect, image);
    painter->restore();
}

void PictureHandler::Rendered(const QString& key, const QImage& image)
{
    pending.remove(key);
    // A picture bigger than the cache would be rendered again at every paint.
    const qsizetype cost = std::max<qsizetype>(1, image.sizeInBytes() / 1024);
    if (cost > cache.maxCost())
        cache.setMaxCost(int(cost));
    cache.insert(key, new QImage(image), cost);
    const QList<QPointer<QWidget>> widgets = waiting.take(key);
    for (const QPointer<QWidget>& widget : widgets)
        if (widget)
            widget->update();
}

void PictureHandler::WaitForRendering()
{
    while (!pending.isEmpty()) {
        pool.waitForDone();
        QCoreApplication::sendPostedEvents(this);
    }
    QCoreApplication::processEvents();
}

void InstallPictureHandler(QAbstractTextDocumentLayout& layout)
{
    layout.registerHandler(QTextFormat::ImageObject, &PictureHandler::Instance());
}

} // namespace platform
