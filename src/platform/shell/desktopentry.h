// SPDX-License-Identifier: GPL-3.0-or-later
// Quillet's desktop entry, made from the one template the installed entry is
// also made from (resources/quillet.desktop.in).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {

// The entry's file name, which is also its desktop file id.
inline constexpr const char* DesktopFileId = "quillet.desktop";

// The template with its Exec line (a command line as the Exec key takes it,
// escaped here for the key file) and its MIME types filled in.
QByteArray DesktopEntry(const QString& exec, const QStringList& mimeTypes);

} // namespace platform
