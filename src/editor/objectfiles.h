// SPDX-License-Identifier: GPL-3.0-or-later
// Files as embedded objects: reading one whole to embed it, checking one to link
// it, and the blank objects Insert Object can create.
#pragma once

#include "embeddedobject.h"

#include <QString>

// The whole file; raises EFOpenError with the program's message when the file is
// missing or cannot be read.
QByteArray ReadObjectFile(const QString& path);

platform::EmbeddedObject EmbedFile(const QString& path, bool asIcon);
// A link keeps the source's path and, when the source is a picture, its bytes as
// what the link shows. Raises EFOpenError like ReadObjectFile.
platform::EmbeddedObject LinkFile(const QString& path, bool asIcon);
// Reads a link's source again; false (the object unchanged) when it cannot.
bool RefreshLink(platform::EmbeddedObject& object);

enum class TNewObjectKind { Picture, Text };
// An empty white picture or a blank text file, to be opened for editing at once.
platform::EmbeddedObject NewObject(TNewObjectKind kind);

// Whether the bytes are a picture the document can show.
bool IsPictureData(const QByteArray& data);
