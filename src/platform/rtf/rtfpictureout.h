// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures, embedded objects and kept objects written back as RTF.
#pragma once

#include <QByteArray>
#include <QSizeF>
#include <QTextCharFormat>

class QTextDocument;

namespace platform {

struct EmbeddedObject;

// The RTF of one object-replacement character: a kept object's own RTF, a {\pict}
// for a picture, an {\object} for any other embedded object; empty for anything else.
QByteArray ObjectRtf(const QTextDocument& document, const QTextCharFormat& format);

// A {\pict} group of PNG or JPEG bytes shown at the given size in pixels (the
// picture's own size when empty). Other picture formats are converted to PNG.
QByteArray PictureRtf(const QByteArray& bytes, const QSizeF& shown);

// An {\object} group: \objemb with the file's bytes or \objlink with the source's
// path as \objdata, and a \result picture for readers that know no objects.
QByteArray ObjectGroupRtf(const EmbeddedObject& object);

} // namespace platform
