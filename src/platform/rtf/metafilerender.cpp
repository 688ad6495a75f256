// SPDX-License-Identifier: GPL-3.0-or-later
// Conversion of metafiles to SVG through their libraries, and the SVG drawn at
// the size asked.
#include "metafilerender.h"

#include "metafilecheck.h"
#include "codepages.h"

#include <QMutex>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

#include <emf2svg.h>
extern "C" {
#include <libwmf/api.h>
#include <libwmf/svg.h>
}

#include <cstdlib>

namespace platform {

namespace {

// Neither library promises to be reentrant.
QMutex& LibraryLock()
{
    static QMutex lock;
    return lock;
}

QByteArray EmfSvg(const QByteArray& data)
{
    if (!CheckEmf(data))
        return {};
    generatorOptions options{};
    options.nameSpace = const_cast<char*>("");
    options.svgDelimiter = true;
    char* out = nullptr;
    size_t length = 0;
    QByteArray copy = data;   // the library takes a writable buffer
    const QMutexLocker locker(&LibraryLock());
    const int ok = emf2svg(copy.data(), size_t(copy.size()), &out, &length, &options);
    QByteArray svg = ok && out ? QByteArray(out, qsizetype(length)) : QByteArray();
    std::free(out);
    return svg;
}

// The library writes text in the bytes of its font's code page; the text of our
// documents' pictures is Cyrillic, Windows-1251 (the rest of the SVG is ASCII).
// It also places images twice, by their position and by a transform that holds
// the position again: the transform goes.
QByteArray MendWmfSvg(const QByteArray& svg)
{
    QString text(svg.size(), Qt::Uninitialized);
    DecodeCp1251(reinterpret_cast<const std::uint8_t*>(svg.constData()), std::size_t(svg.size()),
                 reinterpret_cast<char16_t*>(text.data()));
    static const QRegularExpression imageTransform(QStringLiteral("(<image[^>]*?)\\s*transform=\"[^\"]*\""));
    text.replace(imageTransform, QStringLiteral("\\1"));
    return text.toUtf8();
}

QByteArray WmfSvg(const QByteArray& data)
{
    MetafileFrame frame;
    if (!CheckWmf(data, &frame))
        return {};
    const QMutexLocker locker(&LibraryLock());
    wmfAPI* api = nullptr;
    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api)
            wmf_api_destroy(api);
        return {};
    }
    QByteArray copy = data;
    QByteArray svg;
    wmfD_Rect box{};
    if (wmf_mem_open(api, reinterpret_cast<unsigned char*>(copy.data()), long(copy.size())) == wmf_E_None
        && wmf_scan(api, 0, &box) == wmf_E_None) {
        // The whole area the picture was made for, not only where it drew.
        if (!frame.area.isEmpty()) {
            // A placeable picture's box is in its own units an inch; the library
            // counts it in points.
            const double scale = frame.placeable ? 72.0 / frame.unitsPerInch : 1.0;
            box.TL.x = float(frame.area.left() * scale);
            box.TL.y = float(frame.area.top() * scale);
            box.BR.x = float(frame.area.right() * scale);
            box.BR.y = float(frame.area.bottom() * scale);
        }
        wmf_svg_t* device = WMF_SVG_GetData(api);
        device->out = wmf_stream_create(api, nullptr);
        device->Description = const_cast<char*>("");
        device->bbox = box;
        device->width = unsigned(qBound(1.0, double(box.BR.x - box.TL.x), double(MaxMetafilePixels)));
        device->height = unsigned(qBound(1.0, double(box.BR.y - box.TL.y), double(MaxMetafilePixels)));
        device->flags |= WMF_SVG_INLINE_IMAGES;
        const bool played = wmf_play(api, 0, &box) == wmf_E_None;
        char* out = nullptr;
        unsigned long length = 0;
        if (device->out)
            wmf_stream_destroy(api, device->out, &out, &length);
        // The buffer belongs to the library's allocator: freed with the API.
        if (played && out)
            svg = MendWmfSvg(QByteArray(out, qsizetype(length)));
    }
    wmf_api_destroy(api);
    return svg;
}

} // namespace

QByteArray MetafileSvg(PictureKind kind, const QByteArray& data)
{
    if (kind == PictureKind::Emf)
        return EmfSvg(data);
    if (kind == PictureKind::Wmf)
        return WmfSvg(data);
    return {};
}

QImage RenderMetafile(PictureKind kind, const QByteArray& data, QSize pixels, const QRectF& crop)
{
    if (pixels.isEmpty())
        return {};
    pixels = pixels.boundedTo(QSize(MaxMetafilePixels, MaxMetafilePixels));
    const QByteArray svg = MetafileSvg(kind, data);
    if (svg.isEmpty())
        return {};
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    // The whole picture is drawn so that the kept part fills the image.
    const double keptW = 1.0 - crop.x() - crop.width();
    const double keptH = 1.0 - crop.y() - crop.height();
    if (keptW <= 0 || keptH <= 0)
        return {};
    const double fullW = pixels.width() / keptW, fullH = pixels.height() / keptH;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(-crop.x() * fullW, -crop.y() * fullH, fullW, fullH));
    return image;
}

} // namespace platform
