// SPDX-License-Identifier: GPL-3.0-or-later
// The character, paragraph and row properties an RTF reader carries from group
// to group, as plain values that compare cheaply.
#pragma once

#include <array>
#include <cstdint>

namespace platform {

struct RtfCharState {
    int font = -1;              // font table number, -1 none given
    int sizeHalfPoints = 0;     // 0: none given
    int color = -1;             // colour table index, -1 none given
    int background = -1;
    int underline = 0;          // CFU_*
    int script = 0;             // 0 none, 1 superscript, 2 subscript
    int offsetTwips = 0;
    int lcid = 0;
    int link = 0;               // 1-based field number of a hyperlink, 0 none
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool allCaps = false;
    bool smallCaps = false;
    bool hidden = false;
    bool protect = false;

    bool operator==(const RtfCharState&) const = default;
};

struct RtfParaState {
    static constexpr int MaxTabs = 32;

    int alignment = 0;          // 0 left, 1 right, 2 centre, 3 justify
    int leftIndent = 0;         // \li
    int firstIndent = 0;        // \fi
    int rightIndent = 0;        // \ri
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0;        // \sl
    int lineMultiple = 0;       // \slmult
    int tableLevel = 0;         // \itap: 0 body text, 1 a table cell, 2 and more a nested table's cell
    int numbering = 0;          // PFN_*
    int numberingStyle = 0;     // PFNS_*
    int numberingStart = 0;
    int numberingTab = 0;
    int listOverride = 0;       // Word's \ls, 0 none
    int listLevel = 0;          // \ilvl
    int style = -1;             // the \sN applied since \pard, -1 none
    int tabCount = 0;
    std::array<int, MaxTabs> tabs{};

    bool operator==(const RtfParaState&) const = default;
};

// Row properties from \trowd up to \row. RichEdit rows hold at most 63 cells;
// further boundaries are ignored and further cells join the last one.
struct RtfRowState {
    static constexpr int MaxCells = 63;
    static constexpr int MaxNesting = 16;   // tables inside tables deeper than this join the deepest

    int gap = 0;                // \trgaph
    int left = 0;               // \trleft
    int alignment = 0;          // 0 left, 1 right, 2 centre
    int cellCount = 0;
    std::array<int, MaxCells> cellRight{};
    bool header = false;        // \trhdr: repeated at the top of each page

    bool operator==(const RtfRowState&) const = default;
    // Rows of one shape go in one table; being a header row is not its shape.
    bool SameShape(const RtfRowState& other) const
    {
        return gap == other.gap && left == other.left && alignment == other.alignment && cellCount == other.cellCount
            && cellRight == other.cellRight;
    }
};

} // namespace platform
