// SPDX-License-Identifier: GPL-3.0-or-later
// Recording, storing and playing preview pages (QPicture).
#include "pagemetafile.h"

#include <QFile>
#include <QPainter>

namespace platform {

PageMetafile::PageMetafile() = default;

PageMetafile::~PageMetafile()
{
    Discard();
}

void PageMetafile::Begin(QSize pagePixels)
{
    Discard();
    picture = QPicture();
    picture.setBoundingRect(QRect(QPoint(0, 0), pagePixels));
    canvas = std::make_unique<QPainter>(&picture);
}

void PageMetafile::Discard()
{
    if (canvas) {
        canvas->end();
        canvas.reset();
    }
}

void PageMetafile::Save(const QString& fileName)
{
    Discard();
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw EInOutError(fileName, file.errorString());
    if (!picture.save(&file) || !file.flush()) {
        const QString reason = file.errorString();
        file.close();
        file.remove();
        throw EInOutError(fileName, reason);
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        QFile::remove(fileName);
        throw EInOutError(fileName, reason);
    }
}

bool LoadPage(const QString& fileName, QPicture& page)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return page.load(&file);
}

void PlayPage(QPainter& painter, const QPicture& page, QSize pagePixels, const QRectF& target)
{
    if (pagePixels.isEmpty())
        return;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / pagePixels.width(), target.height() / pagePixels.height());
    painter.setClipRect(QRect(QPoint(0, 0), pagePixels), Qt::IntersectClip);
    // A picture plays back scaled from its own resolution to the device's; the
    // page was recorded in printer pixels, so that scaling is undone here.
    const QPaintDevice* device = painter.device();
    if (device && device->logicalDpiX() > 0 && device->logicalDpiY() > 0)
        painter.scale(qreal(page.logicalDpiX()) / device->logicalDpiX(),
                      qreal(page.logicalDpiY()) / device->logicalDpiY());
    painter.drawPicture(0, 0, page);
    painter.restore();
}

} // namespace platform
