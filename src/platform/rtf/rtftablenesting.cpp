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
    CloseDeeper(level);
    CloseRow(At(level), props);
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
