// SPDX-License-Identifier: GPL-3.0-or-later
// Gathering table rows level by level, nested tables closing into their cells.
#include "rtftablenesting.h"

#include <algorithm>

namespace platform {

RtfTableNesting::Level& RtfTableNesting::At(int level)
{
    level = std::clamp(level, 1, RtfRowState::MaxNesting);
    if (int(levels_.size()) < level)
        levels_.resize(size_t(level));
    return levels_[size_t(level - 1)];
}

void RtfTableNesting::AddParagraph(int level, RtfParagraph paragraph)
{
    CloseDeeper(level);
    At(level).open.push_back({std::move(paragraph), {}});
}

void RtfTableNesting::EndCell(int level, RtfParagraph paragraph)
{
    CloseDeeper(level);
    Level& l = At(level);
    l.open.push_back({std::move(paragraph), {}});
    l.cells.push_back(std::move(l.open));
    l.open.clear();
}

void RtfTableNesting::EndRow(int level, const RtfRowState& props)
{
    // LibreOffice writes some nested rows' \cell before their \nestrow, and reads
    // that \cell as part of the nested row: the outer cell goes on.
    if (level > 1 && (int(levels_.size()) < level || (At(level).open.empty() && At(level).cells.empty()))) {
        ReopenCellClosedEarly(level - 1, props);
        return;
    }
    CloseDeeper(level);
    CloseRow(At(level), props);
}

void RtfTableNesting::ReopenCellClosedEarly(int outer, const RtfRowState& props)
{
    if (int(levels_.size()) < outer)
        return;
    Level& l = At(outer);
    if (!l.open.empty() || l.cells.empty())
        return;
    RtfCell& cell = l.cells.back();
    // The cell must end with the nested table and the empty paragraph the \cell made.
    const size_t n = cell.size();
    if (n < 2 || cell[n - 2].rows.empty() || !cell[n - 1].rows.empty() || !cell[n - 1].paragraph.runs.empty())
        return;
    RtfRow& row = cell[n - 2].rows.back();
    if (row.props.cellCount == 0)
        row.props = props;
    cell.pop_back();
    l.open = std::move(cell);
    l.cells.pop_back();
}

bool RtfTableNesting::HasOpenCell(int level) const
{
    return int(levels_.size()) >= level && !levels_[size_t(level - 1)].open.empty();
}

// What a row never ended holds still makes one, so that no text is lost.
void RtfTableNesting::CloseRow(Level& l, const RtfRowState& props)
{
    if (!l.open.empty()) {
        l.cells.push_back(std::move(l.open));
        l.open.clear();
    }
    if (l.cells.empty() && props.cellCount == 0)
        return;
    l.rows.push_back({props, std::move(l.cells)});
    l.cells.clear();
    l.lastProps = props;
}

// Text of an outer level goes on: the tables nested deeper are complete and
// take their place in the outer cell, before that text.
void RtfTableNesting::CloseDeeper(int level)
{
    level = std::clamp(level, 1, RtfRowState::MaxNesting);
    while (int(levels_.size()) > level) {
        Level& deepest = levels_.back();
        if (!deepest.open.empty() || !deepest.cells.empty())
            CloseRow(deepest, deepest.lastProps);
        std::vector<RtfRow> rows = std::move(deepest.rows);
        levels_.pop_back();
        if (!rows.empty())
            levels_.back().open.push_back({RtfParagraph(), std::move(rows)});
    }
}

std::vector<RtfRow> RtfTableNesting::TakeRows(const RtfRowState& openRow)
{
    if (levels_.empty())
        return {};
    CloseDeeper(1);
    Level& top = levels_.front();
    if (!top.open.empty() || !top.cells.empty())
        CloseRow(top, openRow);
    std::vector<RtfRow> rows = std::move(top.rows);
    levels_.clear();
    return rows;
}

} // namespace platform
