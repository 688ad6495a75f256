// SPDX-License-Identifier: GPL-3.0-or-later
// Conversion of metafiles to SVG through their libraries, and the SVG drawn at
// the size asked.
#include "metafilerender.h"

#include "metafilecheck.h"
#include "codepages.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

#include <emf2svg.h>
extern "C" {
#include <libwmf/api.h>
#include <libwmf/svg.h>
}

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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
            svg = QByteArray(out, qsizetype(length));
    }
    wmf_api_destroy(api);
    return svg;
}

// The library's SVG, not yet mended; called with the lock held or alone in a child.
QByteArray LibrarySvg(PictureKind kind, const QByteArray& data)
{
    if (kind == PictureKind::Emf)
        return EmfSvg(data);
    if (kind == PictureKind::Wmf)
        return WmfSvg(data);
    return {};
}

QByteArray Mended(PictureKind kind, const QByteArray& svg)
{
    return kind == PictureKind::Wmf && !svg.isEmpty() ? MendWmfSvg(svg) : svg;
}

// A child process may take this long and this much memory for one picture.
constexpr int ChildMilliseconds = 5000;
constexpr rlim_t ChildBytes = rlim_t(1) << 30;

void CloseQuietly(int fd)
{
    while (::close(fd) != 0 && errno == EINTR) {
    }
}

} // namespace

QByteArray MetafileSvg(PictureKind kind, const QByteArray& data)
{
    const QMutexLocker locker(&LibraryLock());
    return Mended(kind, LibrarySvg(kind, data));
}

QByteArray IsolatedMetafileSvg(PictureKind kind, const QByteArray& data)
{
    // The records were checked here already; a child is only worth its fork for
    // what passed.
    if (kind == PictureKind::Emf ? !CheckEmf(data) : !CheckWmf(data))
        return {};
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid < 0) {
        CloseQuietly(fds[0]);
        CloseQuietly(fds[1]);
        return {};
    }
    if (pid == 0) {
        // The child: the library alone, bounded in memory and time; whatever it
        // does ends here.
        CloseQuietly(fds[0]);
        const rlimit memory{ChildBytes, ChildBytes};
        ::setrlimit(RLIMIT_AS, &memory);
        ::alarm(ChildMilliseconds / 1000 + 1);
        const QByteArray svg = LibrarySvg(kind, data);
        const char* at = svg.constData();
        qsizetype left = svg.size();
        while (left > 0) {
            const ssize_t n = ::write(fds[1], at, size_t(left));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                ::_exit(1);
            at += n;
            left -= n;
        }
        ::_exit(svg.isEmpty() ? 1 : 0);
    }
    CloseQuietly(fds[1]);
    QByteArray svg;
    QElapsedTimer clock;
    clock.start();
    bool finished = false;
    while (!finished) {
        const qint64 left = ChildMilliseconds - clock.elapsed();
        if (left <= 0)
            break;
        pollfd in{fds[0], POLLIN, 0};
        const int ready = ::poll(&in, 1, int(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        char buffer[65536];
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            finished = n == 0;
        else
            svg.append(buffer, n);
    }
    CloseQuietly(fds[0]);
    if (!finished)
        ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!finished || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    return Mended(kind, svg);
}

QImage RenderMetafile(PictureKind kind, const QByteArray& data, QSize pixels, const QRectF& crop)
{
    if (pixels.isEmpty())
        return {};
    pixels = pixels.boundedTo(QSize(MaxMetafilePixels, MaxMetafilePixels));
    const QByteArray svg = IsolatedMetafileSvg(kind, data);
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
