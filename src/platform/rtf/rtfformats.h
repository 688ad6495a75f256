// SPDX-License-Identifier: GPL-3.0-or-later
// The tables an RTF document declares (fonts, colours, Word lists, hyperlinks)
// and the translation of reader states into the document's Qt formats.
#pragma once

#include "rtfstate.h"

#include <QColor>
#include <QString>
#include <QTextFormat>

#include <map>
#include <optional>
#include <vector>

class QTextListFormat;

namespace platform {

struct RtfFont {
    QString name;
    int charset = -1;           // -1: none declared
    int codePage = 0;           // from \cpg or the charset; 0: the document's
    int pitchAndFamily = 0;
};

struct RtfListLevel {
    int nfc = 0;                // Word's \levelnfc
    int start = 1;
    QString text;               // \leveltext, placeholders as units below 10
};

struct RtfNumbering {
    int numbering = 0;
    int style = 0;
    int start = 0;          // 0: none given, which counts from 1
    int listOverride = 0;   // the Word list (\ls) it belongs to, 0 for \pn numbering
    int level = 0;          // its level in that list (\ilvl)
};

class RtfFormatTables {
public:
    std::map<int, RtfFont> fonts;
    std::vector<std::optional<QColor>> colors;     // nullopt: the automatic colour
    std::vector<QString> links;                    // hyperlink targets, by field number - 1
    std::map<int, std::vector<RtfListLevel>> lists;   // \listid -> levels
    std::map<int, int> listOverrides;              // \ls -> \listid
    int ansiCodePage = 0;                          // 0: none declared
    // The styles the destination document draws text in when a run says nothing
    // (the window's font). RTF's plain text is none of them, so a run without
    // them says so in its format, or it would show them and be saved without.
    bool baseBold = false;
    bool baseItalic = false;
    bool baseUnderline = false;
    bool baseStrike = false;

    QTextCharFormat CharFormat(const RtfCharState& state) const;
    QTextBlockFormat BlockFormat(const RtfParaState& state) const;
    // The numbering a paragraph shows, from its \pn properties or its Word list.
    RtfNumbering Numbering(const RtfParaState& state) const;
    // The code page of text in the given font.
    int CodePageOf(int font) const;
};

// Strips the old Windows 3.1 Cyrillic suffix ("Courier New CYR" -> "Courier New").
QString NormalizeFontName(const QString& name);

// The Qt list format drawing a numbering from this first number (indent 0: the
// paragraph indents already hold it).
QTextListFormat ListFormatFor(const RtfNumbering& numbering, int start);

} // namespace platform
