// SPDX-License-Identifier: GPL-3.0-or-later
// Starting further copies of our own executable and handing links to the desktop:
// the stand-ins for the shell's "open" of a program and of a URL.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

namespace platform {

// Starts the running executable again, detached, with the arguments as an
// argument vector (never through a shell, so no name is ever read as shell
// text). Answers whether the process was started; pid receives its id.
bool StartSelf(const QStringList& arguments, qint64* pid = nullptr);

// The executable StartSelf starts: the running one, unless another was named
// (a host that embeds the main window, such as a test, names the real program).
QString SelfExecutable();
void SetSelfExecutable(const QString& program);

// Starts the given executable detached with an argument vector.
bool StartDetached(const QString& program, const QStringList& arguments, qint64* pid = nullptr);

// A bare name (no '/') is looked for in the current folder, then in each folder
// of PATH; the first existing regular file wins. A name with a folder part, or
// one found nowhere, is made absolute against the current folder.
QString FindFileOnPath(const QString& name);

// The folders FindFileOnPath looks through, in order, for the given PATH text.
QStringList SearchFolders(const QString& currentFolder, const QString& pathVariable);

// Whether a link may be handed to the desktop: http, https, ftp and mailto, and
// file URLs of existing local files that no desktop would run.
bool IsAllowedUrl(const QUrl& url);
bool IsAllowedUrl(const QString& url);

// Opens an allowed link with the desktop's handler; refuses anything else.
bool OpenUrl(const QString& url);

} // namespace platform
