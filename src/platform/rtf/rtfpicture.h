// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures and objects met in RTF: PNG and JPEG pictures become document images,
// anything else is kept as its RTF text so that writing the document loses nothing.
#pragma once

#include <QByteArray>
#include <QTextCharFormat>

class QTextDocument;

namespace platform {

enum class RtfPictureKind { Png, Jpeg, Other };

struct RtfPicture {
    RtfPictureKind kind = RtfPictureKind::Other;
    QByteArray data;            // the picture's bytes
    int widthTwips = 0;         // shown size, after scaling; 0 when not given
    int heightTwips = 0;
};

// The format of the character showing a picture: an image whose bytes are
// added to the document's resources under a name derived from the bytes.
QTextCharFormat ImageFormatFor(QTextDocument& document, const RtfPicture& picture);

// The format of a character standing for RTF kept as it was read.
QTextCharFormat KeptObjectFormat(const QByteArray& rtf);

// The image resource name prefix this reader uses.
inline constexpr char RtfImageScheme[] = "rtfimage";

} // namespace platform
