// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's cache builders, run on the user's own folders after the files
// they read have changed.
#pragma once

#include <QString>

namespace platform {

// Runs update-mime-database on <data>/mime or update-desktop-database on
// <data>/applications. Answers false when the tool is not installed (the desktop
// then reads the files without the cache, or later); raises DesktopError when it
// fails.
bool UpdateMimeDatabase(const QString& mimeFolder);
bool UpdateDesktopDatabase(const QString& applicationsFolder);

} // namespace platform
