// SPDX-License-Identifier: GPL-3.0-or-later
// The entries that put Quillet into the context menus of the common Linux file
// managers: on every file ("Load with Quillet", the files as arguments) and on
// folders ("Quillet", the program alone). Each file carries the marker
// X-Quillet-Mirror, by which the mirror knows its own files from the user's.
#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace platform {

inline constexpr const char* MirrorMarker = "X-Quillet-Mirror";

enum class ShellMenu { Files, Folders };

struct MenuFile {
    QString path;
    QByteArray contents;
    bool executable = false;
};

// One file each for Nautilus and Caja (scripts), Dolphin (a KIO service menu),
// Nemo (an action) and the file-manager actions that Caja and PCManFM read, under
// the user's XDG folders. The program path must satisfy IsQuotablePath.
std::vector<MenuFile> FileManagerMenus(ShellMenu menu, const QString& program, const QString& caption);

// The folders whose files are listed in the file managers' script menus by name,
// which follows the caption; the mirror looks there for scripts of ours to remove.
QStringList ScriptFolders();

// Thunar keeps its custom actions with the user's own in one file: this one's
// action element, and its unique id.
QByteArray ThunarAction(ShellMenu menu, const QString& program, const QString& caption);
QString ThunarActionId(ShellMenu menu);

} // namespace platform
