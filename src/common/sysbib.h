// SPDX-License-Identifier: GPL-3.0-or-later
// sysbib: the small file and path helpers several parts of the program share, the
// placement rule of message boxes, and short forms of the common questions.
#pragma once

#include "prompter.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

// File names are carried as platform/shell's filenames.h describes: every helper
// here reaches exactly the named file, whatever bytes its name holds.

// True for an existing file that is not a folder.
bool FileExists(const QString& name);
// True for anything existing under the name, links followed (a folder, a FIFO...).
bool PathExists(const QString& name);
// The permission bits of an existing regular file (links followed), or nothing.
std::optional<unsigned> RegularFileMode(const QString& name);
bool SetFileMode(const QString& name, unsigned mode);
// The folder of a path without a trailing separator ("" for a bare name).
QString ExtractFileDir(const QString& name);
QString ExtractFileName(const QString& name);
// The extension with its dot (".txt"), or "" when there is none. A leading dot
// makes a hidden file, not an extension: ".profile" has none.
QString ExtractFileExt(const QString& name);
QString ChangeFileExt(const QString& name, const QString& ext);
// An absolute, cleaned path, taken against the current folder when relative.
QString ExpandFileName(const QString& name);
// The running executable and its folder.
QString ExeFileName();
QString ExeDir();
// The folder for temporary files.
QString TempDir();

// Where a box of the given size goes: centred over the owner, each half-difference
// rounded to the nearest integer with ties to even, then kept inside the screen
// (at most screen extent - box extent - 1 from its start, and not before it).
QPoint CenteredBoxPos(const QRect& owner, const QSize& box, const QRect& screen);

// The standard boxes with their standard captions, through the installed prompter.
MsgButton ErrorBox(const QString& text, MsgButtons buttons = MsgButton::Ok);
MsgButton InformationBox(const QString& text, MsgButtons buttons = MsgButton::Ok);
MsgButton ConfirmationBox(const QString& text, MsgButtons buttons = MsgButton::Yes | MsgButton::No);
