// SPDX-License-Identifier: GPL-3.0-or-later
// Checks Windows and enhanced metafiles before a drawing library sees them: every
// record inside the data, sizes and counts sane, an end record; and reads the
// area the picture was drawn for.
#pragma once

#include <QByteArray>
#include <QRectF>

namespace platform {

struct MetafileFrame {
    QRectF area;        // the picture's area in its own logical units
    bool placeable = false;
    int unitsPerInch = 0;   // a placeable picture's units
};

// Whether a Windows metafile (with or without its placeable header) can be
// handed to a drawing library; fills frame from the placeable header or the
// first window origin and extent records.
bool CheckWmf(const QByteArray& data, MetafileFrame* frame = nullptr);
// The same for an enhanced metafile; frame is its bounds in device units.
bool CheckEmf(const QByteArray& data, MetafileFrame* frame = nullptr);

} // namespace platform
