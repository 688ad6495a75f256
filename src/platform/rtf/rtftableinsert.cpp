// SPDX-License-Identifier: GPL-3.0-or-later
// Inserting table rows, and the tables nested in their cells, into a document.
#include "rtftableinsert.h"

#include "textproperties.h"

#include <QTextTable>

#include <algorithm>

namespace platform {

namespace {

constexpr double TwipsPerPixel = 15.0;

// Cells past the last column the control can hold join the last one.
void JoinExtraCells(RtfRow& row, int columns)
{
    if (int(row.cells.size()) <= columns || columns == 0)
        return;
    RtfCell& last = row.cells[size_t(columns - 1)];
    size_t items = last.size();
    for (size_t i = size_t(columns); i < row.cells.size(); ++i)
        items += row.cells[i].size();
    last.reserve(items);
    for (size_t i = size_t(columns); i < row.cells.size(); ++i)
        for (RtfCellItem& item : row.cells[i])
            last.push_back(std::move(item));
    row.cells.resize(size_t(columns));
}

void FillCell(QTextCursor& cursor, RtfCell& cell)
{
    // A cell begins with an empty paragraph, and a table leaves one after it:
    // the next paragraph takes that one.
    bool emptyBlock = true;
    for (RtfCellItem& item : cell) {
        if (item.rows.empty()) {
            if (!emptyBlock)
                cursor.insertBlock();
            InsertParagraph(cursor, item.paragraph);
            emptyBlock = false;
            continue;
        }
        ForEachTable(item.rows, [&](size_t first, size_t last, const QTextTableFormat& format) {
            QTextTable* table = cursor.insertTable(int(last - first), format.columns(), format);
            FillTable(table, item.rows, first, last);
            cursor.setPosition(table->lastPosition() + 1);
        });
        emptyBlock = true;
    }
}

} // namespace

int ColumnsOf(const RtfRow& row)
{
    return std::min(std::max(row.props.cellCount, int(row.cells.size())), RtfRowState::MaxCells);
}

QTextTableFormat TableFormatFor(const RtfRowState& row, int columns)
{
    QTextTableFormat format;
    format.setCellPadding(std::max(0, row.gap) / TwipsPerPixel);
    format.setCellSpacing(0);
    format.setBorder(1);
    format.setBorderCollapse(true);
    format.setProperty(PropTableLeftTwips, row.left);
    format.setProperty(PropTableGapTwips, row.gap);
    if (row.alignment == 1)
        format.setAlignment(Qt::AlignRight);
    else if (row.alignment == 2)
        format.setAlignment(Qt::AlignHCenter);
    QList<QTextLength> widths;
    int previous = row.left;
    for (int i = 0; i < columns; ++i) {
        if (i < row.cellCount) {
            const int right = row.cellRight[size_t(i)];
            widths.append(QTextLength(QTextLength::FixedLength, std::max(0, right - previous) / TwipsPerPixel));
            previous = right;
        } else {
            widths.append(QTextLength());
        }
    }
    format.setColumnWidthConstraints(widths);
    return format;
}

void InsertParagraph(QTextCursor& cursor, const RtfParagraph& paragraph)
{
    for (const RtfRun& run : paragraph.runs)
        cursor.insertText(run.text, run.format);
    cursor.setBlockFormat(paragraph.format);
}

namespace {

// The format of the table holding rows [first, last) of a source table.
QTextTableFormat TableBlockFormat(const std::vector<RtfRow>& rows, size_t first, size_t last, int columns, bool continued)
{
    QTextTableFormat format = TableFormatFor(rows[first].props, columns);
    format.setColumns(columns);
    // Only the rows at the top can repeat on each page.
    int header = 0;
    while (first + size_t(header) < last && rows[first + size_t(header)].props.header)
        ++header;
    if (header > 0)
        format.setHeaderRowCount(header);
    if (continued) {
        format.setProperty(PropTableContinued, true);
        // Its rows meet the rows before it as rows of one table do: drawn on
        // their own, the two tables' facing edges would leave a band of four
        // border widths (each edge has a frame border and a collapsed cell border).
        format.setTopMargin(-4 * format.border());
    }
    return format;
}

} // namespace

void ForEachTable(const std::vector<RtfRow>& rows,
                  const std::function<void(size_t, size_t, const QTextTableFormat&)>& insert)
{
    size_t first = 0;
    bool continued = false;
    while (first < rows.size()) {
        const int columns = ColumnsOf(rows[first]);
        size_t last = first + 1;
        while (last < rows.size() && rows[last].props.SameShape(rows[first].props) && ColumnsOf(rows[last]) == columns)
            ++last;
        if (columns > 0) {
            for (size_t block = first; block < last; block += RowsPerTableBlock) {
                const size_t end = std::min(last, block + RowsPerTableBlock);
                insert(block, end, TableBlockFormat(rows, block, end, columns, continued));
                continued = true;
            }
        }
        first = last;
    }
}

void FillTable(QTextTable* table, std::vector<RtfRow>& rows, size_t first, size_t last)
{
    const int columns = table->columns();
    // Where each cell begins, taken once while the table is still empty: filling
    // from the last cell back leaves the places of the cells before it as they were.
    std::vector<int> starts;
    starts.reserve((last - first) * size_t(columns));
    for (size_t r = first; r < last; ++r)
        for (int c = 0; c < columns; ++c)
            starts.push_back(table->cellAt(int(r - first), c).firstPosition());
    QTextCursor cursor(table->document());
    for (size_t r = last; r-- > first;) {
        RtfRow& row = rows[r];
        JoinExtraCells(row, columns);
        for (size_t c = row.cells.size(); c-- > 0;) {
            cursor.setPosition(starts[(r - first) * size_t(columns) + c]);
            FillCell(cursor, row.cells[c]);
        }
    }
}

} // namespace platform
