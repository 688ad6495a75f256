// SPDX-License-Identifier: GPL-3.0-or-later
// An extension as the user types it into the Add box of the file-types page.
#pragma once

#include <QString>

// Upper case by the Windows-1251 rule (Latin and Russian letters; others as
// they are), with surrounding blanks and a leading "*." or "." dropped, since
// "*.md" and ".md" mean the extension MD.
QString NormalizeExtension(const QString& text);

// Whether the extension can be a registry key name and a desktop glob pattern:
// no folder separator, backslash, glob or control character, and no blank.
bool IsValidExtension(const QString& extension);
