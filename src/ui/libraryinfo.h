// SPDX-License-Identifier: GPL-3.0-or-later
// The rich-text engine actually loaded: the toolkit's GUI library, found from one of
// its own functions, with its file's size and time stamp.
#pragma once

#include <QDateTime>
#include <QString>

struct LibraryInfo {
    bool Loaded = false;
    QString ProductName;
    QString FileVersion;
    QString Path;        // as the process loaded it
    qint64 Size = 0;     // bytes of the file the path leads to
    QDateTime Modified;
};

LibraryInfo RichTextLibrary();

// The library's file name as the hint and the not-loaded message name it.
QString RichTextLibraryName();

// The about box's line: product name, one space, " (", version, "), ", path,
// ", Size: ", size, " bytes, Date: ", short date, ", Time: ", long time; the
// not-loaded message when there is no library.
QString LibraryLine(const LibraryInfo& library);
