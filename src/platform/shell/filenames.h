// SPDX-License-Identifier: GPL-3.0-or-later
// File names as the file system's bytes. Linux allows any byte but '/' and NUL in
// a name, and old archives carry Windows-1251 and KOI8-R names that are not UTF-8;
// Qt's own file-name conversion turns those bytes into U+FFFD and so names a
// different file. These helpers carry every name through a QString exactly.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace platform {

// Valid UTF-8 decodes as usual; every byte that is not part of valid UTF-8
// becomes the lone low surrogate U+DC00 + byte, which no decoded text can hold,
// so FileNameBytes(FileNameFromBytes(b)) == b for every byte string b.
QString FileNameFromBytes(QByteArrayView bytes);
QByteArray FileNameBytes(QStringView name);

// For captions, menus and messages: each carried byte shown as U+FFFD, and
// control characters escaped as EscapedControls does.
QString DisplayFileName(QStringView name);

// A name may hold a newline, a tab or any other control character; shown raw it
// breaks a title or a menu item in two or hides part of itself. Each is shown
// as an escape instead: \n, \r, \t, \xHH, or \uHHHH for line and paragraph
// separators.
QString EscapedControls(QStringView text);

// The current folder, exactly.
QString CurrentFolder();

// Whether the named thing exists (following links) and is not a folder.
bool IsExistingFile(QStringView name);

// A name a toolkit file dialog hands back has lost the bytes it could not decode
// (each shown as U+FFFD). Answers the exact name of the one entry the dialog
// showed that way, the name itself when it holds no U+FFFD, and nothing when no
// entry or several entries fit: such a name must not be used, or another file
// would be read or written.
std::optional<QString> ExactDialogFileName(const QString& name);

} // namespace platform
