// SPDX-License-Identifier: GPL-3.0-or-later
// Conversion between the control's format records (CHARFORMAT2, PARAFORMAT2) and
// the formats of a QTextDocument, following the rules of textproperties.h.
#pragma once

#include "richeditconsts.h"

#include <QTextCharFormat>
#include <QTextBlockFormat>

class QTextList;

namespace platform {

// Every character property the control reports.
constexpr std::uint32_t CharMaskAll = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_PROTECTED | CFM_LINK
    | CFM_SMALLCAPS | CFM_ALLCAPS | CFM_HIDDEN | CFM_SUBSCRIPT | CFM_UNDERLINETYPE | CFM_WEIGHT | CFM_LCID
    | CFM_BACKCOLOR | CFM_CHARSET | CFM_OFFSET | CFM_FACE | CFM_COLOR | CFM_SIZE;

// Every paragraph property the control reports.
constexpr std::uint32_t ParaMaskAll = PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_ALIGNMENT | PFM_TABSTOPS
    | PFM_NUMBERING | PFM_SPACEBEFORE | PFM_SPACEAFTER | PFM_LINESPACING | PFM_NUMBERINGSTYLE | PFM_NUMBERINGTAB
    | PFM_NUMBERINGSTART | PFM_TABLE;

// The record of a complete (defaults merged) character format, every mask bit set.
CHARFORMAT2 CharFormatToRecord(const QTextCharFormat& format);
// The properties the record's mask names, as a format to merge into text.
QTextCharFormat RecordToCharFormat(const CHARFORMAT2& record);
// The mask bits of the properties in which two records differ.
std::uint32_t CharRecordDifferences(const CHARFORMAT2& a, const CHARFORMAT2& b);

// The record of a paragraph; list is the list the paragraph belongs to, if any.
PARAFORMAT2 BlockFormatToRecord(const QTextBlockFormat& format, const QTextList* list, bool inTable);
// The paragraph format after the record's masked properties are applied to current.
QTextBlockFormat RecordToBlockFormat(const PARAFORMAT2& record, const QTextBlockFormat& current);
std::uint32_t ParaRecordDifferences(const PARAFORMAT2& a, const PARAFORMAT2& b);

// The list style that draws a numbering kind (PFN_*) and style (PFNS_*).
QTextListFormat ListFormatFor(int numbering, int numberingStyle);

} // namespace platform
