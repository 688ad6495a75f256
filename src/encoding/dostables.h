// SPDX-License-Identifier: GPL-3.0-or-later
// Finds the pseudo-graphic tables of a CP866 text: rows of cells between │ or ║,
// opened by a horizontal rule of ─ or ═, with the offsets the editor will hold them at.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Offsets and positions are 64-bit: a file past 2 GiB must not wrap them round.
struct cell {
    std::int64_t SepPos = 0; // 1-based position of the closing separator in the trimmed line
    std::string Text;        // Windows-1251 (through OemToWin), trailing blanks removed
};

using line = std::vector<cell>;

struct table {
    std::int64_t StartPos = 0; // editor offset of the table's first line
    std::int64_t EndPos = 0;   // editor offset of the first line after it
    std::vector<line> Rows;
    // Rebuilding the table from its rows would lose text: letters or digits before
    // the first separator of a row, after its last one, or inside a rule line.
    bool DropsText = false;
};

using tables = std::vector<table>;

// What the parser keeps is bounded, so that a hostile file cannot make it hold more
// than it reads, many times over. A table row longer than MaxRowText bytes, or
// more than MaxKeptCells cells in all, cannot be rebuilt as a table anyone could
// use: the parse then gives up (no tables) rather than hand back a shortened row
// whose replacement would lose text.
inline constexpr std::size_t MaxRowText = 64 * 1024;
inline constexpr std::size_t MaxKeptCells = 2'000'000;

// Streaming parser: feed the file's bytes in pieces of any size, then Finish. Lines
// end at CR LF, a lone LF or a lone CR, each counting as one character of offset,
// as the editor keeps one paragraph end per line end. Only the current cell's text
// of a row inside an open table is held; other lines are scanned, not stored.
class TDosTableParser {
public:
    // Empties out and fills it as tables close.
    explicit TDosTableParser(tables& out);

    void Feed(const std::uint8_t* data, std::size_t n);
    // Closes the last line and an open table; answers whether tables were found.
    bool Finish();
    // The limits above were exceeded; the result is then empty.
    bool Overflowed() const { return overflowed_; }

private:
    void Byte(std::uint8_t b);
    void EndLine();
    void CloseCell(std::int64_t sepPos);

    tables& out_;
    bool tableOpen_ = false;
    table current_;
    std::int64_t offset_ = 0;
    bool afterCr_ = false;
    bool overflowed_ = false;
    std::size_t keptCells_ = 0;

    // The line being read.
    std::int64_t rawLength_ = 0;
    std::int64_t pos_ = 0;      // position in the trimmed line, 0 before its first non-blank
    std::int64_t trimmedLength_ = 0;
    std::int64_t rules_ = 0;
    bool hasCell_ = false;
    std::int64_t lineText_ = 0;       // text bytes (not blanks, not pseudo-graphics) in the line
    std::int64_t textSinceBar_ = 0;   // of them, since the last separator
    bool textBeforeBar_ = false;      // text stood before the line's first separator
    bool rowTooLong_ = false;
    std::size_t rowText_ = 0;
    line row_;
    std::string pending_;
};

// Fills Tables (emptied first) from the named CP866 file; true when a table was found.
// A missing or unreadable file, or one past the limits above, gives false.
bool ParseDosTables(const std::string& fileName, tables& Tables);

// The same over bytes already in memory.
bool ParseDosTables(std::span<const std::uint8_t> data, tables& Tables);
