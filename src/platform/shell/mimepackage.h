// SPDX-License-Identifier: GPL-3.0-or-later
// The MIME types the desktop gives a file-name extension, and the declaration of
// a type of our own for an extension no type claims, so that the desktop can
// open such files with us at all.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {

// The types we declare ourselves begin with this.
inline constexpr const char* OwnTypePrefix = "text/x-quillet-";

// An extension that can stand in a glob pattern and a file name: not empty, no
// folder separator, no glob or control character, no blank.
bool IsMirrorableExtension(const QString& extension);

// The types whose glob patterns match the extension, without the ones we declared.
QStringList KnownTypes(const QString& extension);

// The name of our own type for the extension: OwnTypePrefix and the extension in
// lower case, any character a type name cannot hold written as _ and its code.
QString DeclaredTypeName(const QString& extension);

// The shared-mime-info package declaring our types for these extensions, each a
// kind of plain text matched by its glob in any letter case.
QByteArray MimePackage(const QStringList& extensions);

} // namespace platform
