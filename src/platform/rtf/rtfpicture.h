// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures and objects met in RTF: PNG and JPEG pictures become document images,
// metafiles and objects without a picture are drawn by the picture handler, and
// anything else is kept as its RTF text so that writing the document loses nothing.
#pragma once

#include <QByteArray>
#include <QMarginsF>
#include <QTextCharFormat>

class QTextDocument;

namespace platform {

enum class RtfPictureKind { Png, Jpeg, Wmf, Emf, Other };

// What the picture handler draws for a character: a metafile, or a framed
// placeholder naming an object that brought no picture.
enum class PictureKind { None = 0, Wmf = 1, Emf = 2, Object = 3 };

struct RtfPicture {
    RtfPictureKind kind = RtfPictureKind::Other;
    QByteArray data;            // the picture's bytes
    int widthTwips = 0;         // shown size, after scaling and cropping; 0 when not given
    int heightTwips = 0;
    QMarginsF crop;             // share of the whole picture cut off at each edge
};

// The format of the character showing a picture: an image whose bytes are
// added to the document's resources under a name derived from the bytes; a
// metafile carries its bytes for the picture handler instead.
QTextCharFormat ImageFormatFor(QTextDocument& document, const RtfPicture& picture);

// The format of a character standing for RTF kept as it was read.
QTextCharFormat KeptObjectFormat(const QByteArray& rtf);

// An object kept as its RTF that brought no picture: shown as a framed
// placeholder with its class name, at its own size when it gave one.
QTextCharFormat ObjectPlaceholderFormat(const QByteArray& rtf, const QString& className, int widthTwips,
                                        int heightTwips);

// What the picture handler draws for this format.
PictureKind PictureKindOf(const QTextFormat& format);

// The image resource name prefix this reader uses.
inline constexpr char RtfImageScheme[] = "rtfimage";

} // namespace platform
