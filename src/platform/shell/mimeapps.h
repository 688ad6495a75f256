// SPDX-License-Identifier: GPL-3.0-or-later
// Entries of a mimeapps.list (the desktop's default and added applications per
// MIME type), read and changed line by line so that everything else in the
// user's file stays as it was.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {

inline constexpr const char* DefaultApplications = "Default Applications";
inline constexpr const char* AddedAssociations = "Added Associations";

// The desktop file ids listed for the type in the group, in order.
QStringList MimeAppsEntry(const QByteArray& text, const QString& group, const QString& type);

// The text with the type's list in the group replaced. An empty list removes the
// line; a missing group is added at the end.
QByteArray SetMimeAppsEntry(const QByteArray& text, const QString& group, const QString& type,
                            const QStringList& ids);

// True when the text holds no entry and no comment: only group headers and blank
// lines, which every reader takes as no file at all.
bool IsEmptyMimeApps(const QByteArray& text);

} // namespace platform
