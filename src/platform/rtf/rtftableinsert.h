// SPDX-License-Identifier: GPL-3.0-or-later
// Puts gathered paragraphs and table rows into a QTextDocument. Rows of one
// shape make one table, created whole and filled from its last cell to its
// first, so that the cost grows with the rows and not with their square.
#pragma once

#include "rtfdocumentparts.h"

#include <QTextCursor>
#include <QTextTableFormat>

#include <functional>
#include <vector>

class QTextTable;

namespace platform {

// The columns a row makes: its cell boundaries or its cells, whichever are
// more, and at most as many as a row of the control holds.
int ColumnsOf(const RtfRow& row);

// The table format for rows with these properties.
QTextTableFormat TableFormatFor(const RtfRowState& row, int columns);

// The text and format of a paragraph, at the cursor, in the block it is in.
void InsertParagraph(QTextCursor& cursor, const RtfParagraph& paragraph);

// A long table is held as adjacent tables of at most this many rows, the later
// ones marked as continuing it: Qt lays a table out whole and looks its cells
// up in time that grows with the table, so one table of 20,000 rows froze the
// window for seconds where blocks are laid out a screen at a time.
constexpr size_t RowsPerTableBlock = 200;

// Calls insert for each run [first, last) of rows that make one table, with that
// table's format; rows with no column at all are left out. The rows are one
// table of the source: a table that begins only because the rows' shape changed,
// or a block of a long table (at most RowsPerTableBlock rows), is marked
// PropTableContinued, so that the rows are written back as one table.
void ForEachTable(const std::vector<RtfRow>& rows,
                  const std::function<void(size_t first, size_t last, const QTextTableFormat& format)>& insert);

// Fills the rows [first, last) into a table created with that many rows.
void FillTable(QTextTable* table, std::vector<RtfRow>& rows, size_t first, size_t last);

} // namespace platform
