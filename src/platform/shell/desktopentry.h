// SPDX-License-Identifier: GPL-3.0-or-later
// Quillet's desktop entry, made from the one template the installed entry is
// also made from (resources/quillet.desktop.in).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {

// The installed entry's file name, which is also its desktop file id.
inline constexpr const char* DesktopFileId = "quillet.desktop";
// The entry the settings write for a copy that no installed entry starts, such
// as a build run from its own folder. It has a name of its own: an entry of the
// user's under the installed one's name would hide it, with every type it opens.
inline constexpr const char* PrivateDesktopFileId = "quillet-private.desktop";

// The template with its Exec line (a command line as the Exec key takes it,
// escaped here for the key file) and its MIME types filled in.
QByteArray DesktopEntry(const QString& exec, const QStringList& mimeTypes);

// Whether the entry the desktop knows as DesktopFileId (the first found in the
// user's data folder, then in XDG_DATA_DIRS, not counting one the settings of an
// earlier version wrote) starts this very program.
bool InstalledEntryStarts(const QString& program);

} // namespace platform
