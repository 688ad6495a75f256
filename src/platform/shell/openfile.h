// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a local file with the program the desktop uses for its type, the
// stand-in for running an object's Open verb.
#pragma once

#include <QString>

namespace platform {

enum class OpenFileResult { Opened, NoHandler, Refused, Failed };

// Whether the desktop names a program for files of the MIME type. When it
// cannot tell (no xdg-mime), the answer is true and opening finds out.
bool HasDesktopHandler(const QString& mimeType);

// Opens the file with the desktop's handler for its type. A file the desktop
// would run as a program is refused: an object from a document never runs.
OpenFileResult OpenLocalFile(const QString& path, const QString& mimeType);

} // namespace platform
