// SPDX-License-Identifier: GPL-3.0-or-later
// What the RTF document builder gathers before it puts it into the document:
// paragraphs as runs of text, and table rows whose cells hold paragraphs and
// tables nested in them.
#pragma once

#include "rtfformats.h"
#include "rtfstate.h"

#include <QString>
#include <QTextCharFormat>

#include <memory>
#include <vector>

namespace platform {

struct RtfRun {
    QString text;
    QTextCharFormat format;
};

struct RtfParagraph {
    std::vector<RtfRun> runs;
    QTextBlockFormat format;
    RtfNumbering numbering;
};

struct RtfRow;

// One thing in a cell: a paragraph, or (when rows is not empty) a nested table.
struct RtfCellItem {
    RtfParagraph paragraph;
    std::vector<RtfRow> rows;
};
using RtfCell = std::vector<RtfCellItem>;

struct RtfRow {
    RtfRowState props;
    std::vector<RtfCell> cells;
};

} // namespace platform
