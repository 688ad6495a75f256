// SPDX-License-Identifier: GPL-3.0-or-later
// Embedded objects as the document holds them: a file embedded whole or linked by
// its path, shown as its picture or as an icon with its name. Each object is one
// object-replacement character whose image format shows it; the object itself
// lives in user properties of that format, so that copies of the character
// (undo, clipboard, fragments) carry it whole.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <QTextCharFormat>

#include <optional>

class QTextDocument;

namespace platform {

struct EmbeddedObject {
    bool link = false;
    // Embedded: the file's bytes. Linked: the picture last seen of the source, kept
    // so that a link whose source went away is written back as it was read.
    QByteArray data;
    QString name;           // the file's name without its folder, shown under the icon
    QByteArray source;      // linked: the source's full path, as the file system's bytes
    QString mimeType;       // empty: guessed from the name and the data
    bool asIcon = false;
    QSizeF shownSize;       // pixels at 96 dpi; empty: the picture's own size

    bool operator==(const EmbeddedObject&) const = default;
};

// The object a character format holds; nothing for a format that holds none (text,
// or an opaque object kept as the RTF it was read from). A bare image (a picture
// read from RTF or pasted) is an embedded object of its bytes.
std::optional<EmbeddedObject> ObjectFromFormat(const QTextDocument& document, const QTextCharFormat& format);

// The format of the character that shows the object; its picture or icon is added
// to the document's resources.
QTextCharFormat FormatForObject(QTextDocument& document, const EmbeddedObject& object);

// Puts back the shown pictures of the objects in [from, to) that the document does
// not hold yet (characters copied in from another document bring their formats,
// not the other document's resources).
void RestoreObjectPictures(QTextDocument& document, int from, int to);

// The object's MIME type: its own, else guessed from its name and data.
QString ObjectMimeType(const EmbeddedObject& object);
// The full type name users see ("PNG image", "PDF document").
QString ObjectTypeName(const EmbeddedObject& object);
// Whether the object shows its content: a picture not asked to show as an icon,
// and for a link one whose source is still there.
bool ShowsPicture(const EmbeddedObject& object);
// The picture's bytes as a picture format RTF knows: PNG and JPEG as they are,
// other pictures (BMP, GIF ...) as PNG. Empty when the data is no picture.
QByteArray RtfPictureBytes(const QByteArray& data);
// What the object looks like as an icon: the type's icon with the name under it.
QImage ObjectIconImage(const EmbeddedObject& object);
// What the object shows: its picture or its icon.
QImage ObjectShownImage(const EmbeddedObject& object);

// Marks on a format that holds an embedded object.
bool HoldsObject(const QTextCharFormat& format);

} // namespace platform
