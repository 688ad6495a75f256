// SPDX-License-Identifier: GPL-3.0-or-later
// Preview pages as metafiles: a page is recorded in printer pixels, kept in a
// file while the preview lives, and played back at any scale.
#pragma once

#include "printererrors.h"

#include <QPicture>
#include <QRectF>
#include <QSize>
#include <QString>

#include <memory>

class QPainter;

namespace platform {

class PageMetafile {
public:
    PageMetafile();
    ~PageMetafile();
    PageMetafile(const PageMetafile&) = delete;
    PageMetafile& operator=(const PageMetafile&) = delete;

    // Starts a page of the given size in printer pixels; the canvas draws in
    // those pixels, with its origin at the paper's top-left corner.
    void Begin(QSize pagePixels);
    QPainter* Canvas() const { return canvas.get(); }
    bool Recording() const { return canvas != nullptr; }
    // Ends the recording and writes the page into a new file; EInOutError when
    // the file cannot be made or written (nothing of it is left then).
    void Save(const QString& fileName);
    // Ends the recording without keeping it.
    void Discard();

private:
    QPicture picture;
    std::unique_ptr<QPainter> canvas;
};

// Reads a page file; false when it cannot be read.
bool LoadPage(const QString& fileName, QPicture& page);

// Draws a recorded page of the given size into target, in the painter's
// coordinates, stretched to fill it.
void PlayPage(QPainter& painter, const QPicture& page, QSize pagePixels, const QRectF& target);

} // namespace platform
