// Pictures and kept objects written back as RTF.
#pragma once

#include <QByteArray>
#include <QTextCharFormat>

class QTextDocument;

namespace platform {

// The RTF of one object-replacement character: a kept object's own RTF, or a
// {\pict} with the image's PNG or JPEG bytes; empty for anything else.
QByteArray ObjectRtf(const QTextDocument& document, const QTextCharFormat& format);

} // namespace platform
