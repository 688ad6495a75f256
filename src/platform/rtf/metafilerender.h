// SPDX-License-Identifier: GPL-3.0-or-later
// Metafiles drawn into images: enhanced metafiles through libemf2svg, Windows
// metafiles through libwmf, both as SVG drawn by Qt SVG.
#pragma once

#include "rtfpicture.h"

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>

namespace platform {

// The largest image a metafile is drawn into, a side; a bigger picture is drawn
// at this size and scaled.
inline constexpr int MaxMetafilePixels = 4096;

// The metafile drawn into a transparent image of the given size, crop's shares
// (left, top, right, bottom as x, y, width, height) cut off its edges. A null image
// when the data is no sound metafile or the library cannot draw it. Safe to call
// from any thread.
QImage RenderMetafile(PictureKind kind, const QByteArray& data, QSize pixels, const QRectF& crop = {});

// The SVG a metafile becomes; empty when it cannot be converted. The libraries
// are C code that may abort or run away on data that passed the record checks:
// the isolated form runs them in a child process, bounded in time and memory
// (a fork costs about a millisecond), and is what drawing uses.
QByteArray MetafileSvg(PictureKind kind, const QByteArray& data);
QByteArray IsolatedMetafileSvg(PictureKind kind, const QByteArray& data);

} // namespace platform
