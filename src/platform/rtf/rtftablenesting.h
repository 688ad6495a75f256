// SPDX-License-Identifier: GPL-3.0-or-later
// Table rows and cells as the RTF reader meets them, at every nesting level:
// a nested table closes into its outer cell as soon as that cell goes on, and
// the top level's rows wait until the builder puts them into the document.
#pragma once

#include "rtfdocumentparts.h"

#include <vector>

namespace platform {

class RtfTableNesting {
public:
    // Levels count from 1, a cell of a table in the text; 2 and more are cells
    // of tables nested in cells.

    // A paragraph ended by \par in a cell of this level.
    void AddParagraph(int level, RtfParagraph paragraph);
    // \cell or \nestcell: the paragraph is the cell's last.
    void EndCell(int level, RtfParagraph paragraph);
    // \row or \nestrow: the cells of this level make a row.
    void EndRow(int level, const RtfRowState& props);
    // Whether a cell of this level has begun and not ended.
    bool HasOpenCell(int level) const;
    // Whether anything waits: rows, cells, or paragraphs of a cell.
    bool Empty() const { return levels_.empty(); }
    // Closes everything open (nested tables into their cells, cells of a row
    // that never ended into a row with these properties) and hands over the
    // top level's rows.
    std::vector<RtfRow> TakeRows(const RtfRowState& openRow);

private:
    struct Level {
        RtfCell open;                   // the cell being read
        std::vector<RtfCell> cells;     // the row's finished cells
        std::vector<RtfRow> rows;       // finished rows not yet placed
        RtfRowState lastProps;          // of the level's last row
    };
    Level& At(int level);
    void CloseRow(Level& level, const RtfRowState& props);
    void CloseDeeper(int level);
    void ReopenCellClosedEarly(int outer, const RtfRowState& props);

    std::vector<Level> levels_;         // [0] is level 1
};

} // namespace platform
