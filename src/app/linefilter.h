// SPDX-License-Identifier: GPL-3.0-or-later
// The export line-end filter: rewrites a file without one line-end character,
// giving Macintosh (CR) or Unix (LF) line ends.
#pragma once

#include <QString>

#include <cstdint>

// How the file's characters are laid out: one byte each, or UTF-16 units.
enum class FilterUnit { Byte, Utf16Little, Utf16Big };

// Drops every character equal to drop (13 or 10). UTF-16 files are filtered by
// whole units, so neither half of another character is ever taken for a line
// end and no stray zero byte stays behind. The new file is complete on disk
// before it replaces the old one, which otherwise stays as it was. Answers success.
bool FilterLineEnds(const QString& fileName, char16_t drop, FilterUnit unit);
