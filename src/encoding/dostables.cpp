// SPDX-License-Identifier: GPL-3.0-or-later
// The pseudo-graphic table parser, one pass over the bytes with bounded state.
#include "dostables.h"

#include "codepages.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::uint8_t Blank = 0x20;         // this and everything below trims away
constexpr std::uint8_t SingleRule = 0xC4;    // ─
constexpr std::uint8_t DoubleRule = 0xCD;    // ═
constexpr std::uint8_t SingleBar = 0xB3;     // │
constexpr std::uint8_t DoubleBar = 0xBA;     // ║
// CP866 keeps its frame and shade characters in one range; everything else above
// the blank is text a reader would miss.
constexpr std::uint8_t FirstGraphic = 0xB0;
constexpr std::uint8_t LastGraphic = 0xDF;

constexpr std::size_t ReadBlock = 64 * 1024;

} // namespace

TDosTableParser::TDosTableParser(tables& out) : out_(out) { out_.clear(); }

void TDosTableParser::Feed(const std::uint8_t* data, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t b = data[i];
        if (b == '\n') {
            if (afterCr_)
                afterCr_ = false; // the second half of CR LF
            else
                EndLine();
            continue;
        }
        afterCr_ = false;
        if (b == '\r') {
            EndLine();
            afterCr_ = true;
            continue;
        }
        Byte(b);
    }
}

void TDosTableParser::Byte(std::uint8_t b)
{
    ++rawLength_;
    if (pos_ == 0 && b <= Blank)
        return; // leading blanks are not part of the trimmed line
    ++pos_;
    if (b > Blank)
        trimmedLength_ = pos_;
    if (b == SingleRule || b == DoubleRule)
        ++rules_;
    if (b > Blank && (b < FirstGraphic || b > LastGraphic)) {
        ++lineText_;
        ++textSinceBar_;
    }
    if (b == SingleBar || b == DoubleBar) {
        if (!hasCell_)
            textBeforeBar_ = textSinceBar_ > 0;
        textSinceBar_ = 0;
        hasCell_ = true;
        CloseCell(pos_);
        return;
    }
    // Cells matter only inside an open table; anywhere else the line is only counted.
    if (tableOpen_ && !rowTooLong_) {
        if (++rowText_ > MaxRowText)
            rowTooLong_ = true;
        else
            pending_.push_back(char(b));
    }
}

void TDosTableParser::CloseCell(std::int64_t sepPos)
{
    if (!tableOpen_ || rowTooLong_) {
        pending_.clear();
        return;
    }
    std::size_t end = pending_.size();
    while (end > 0 && std::uint8_t(pending_[end - 1]) <= Blank)
        --end;
    pending_.resize(end);
    platform::OemToAnsi(reinterpret_cast<std::uint8_t*>(pending_.data()), pending_.size());
    row_.push_back(cell{sepPos, std::move(pending_)});
    pending_.clear();
    // A cell costs its record even when empty: a line of separators only must count.
    if (++rowText_ > MaxRowText)
        rowTooLong_ = true;
}

void TDosTableParser::EndLine()
{
    // rules / length > 0.8, in integers so that exactly 0.8 never rounds either way.
    const bool rule = trimmedLength_ > 0 && rules_ > 0 && 5 * rules_ > 4 * trimmedLength_;
    if (overflowed_) {
        // Nothing more is kept once the limits were passed.
    } else if (rule) {
        if (!tableOpen_) {
            tableOpen_ = true;
            current_ = table{offset_, 0, {}, false};
        }
        if (lineText_ > 0)
            current_.DropsText = true;
    } else if (hasCell_) {
        if (tableOpen_) {
            keptCells_ += row_.size();
            if (rowTooLong_ || keptCells_ > MaxKeptCells) {
                overflowed_ = true;
                tableOpen_ = false;
                current_ = table{};
                out_.clear();
            } else {
                if (textBeforeBar_ || textSinceBar_ > 0)
                    current_.DropsText = true;
                current_.Rows.push_back(std::move(row_));
            }
        }
    } else if (tableOpen_) {
        current_.EndPos = offset_;
        out_.push_back(std::move(current_));
        current_ = table{};
        tableOpen_ = false;
    }
    offset_ += rawLength_ + 1;
    rawLength_ = 0;
    pos_ = 0;
    trimmedLength_ = 0;
    rules_ = 0;
    hasCell_ = false;
    lineText_ = 0;
    textSinceBar_ = 0;
    textBeforeBar_ = false;
    rowTooLong_ = false;
    rowText_ = 0;
    row_.clear();
    pending_.clear();
}

bool TDosTableParser::Finish()
{
    if (rawLength_ > 0)
        EndLine();
    if (tableOpen_) {
        current_.EndPos = offset_;
        out_.push_back(std::move(current_));
        current_ = table{};
        tableOpen_ = false;
    }
    return !overflowed_ && !out_.empty();
}

bool ParseDosTables(std::span<const std::uint8_t> data, tables& Tables)
{
    TDosTableParser parser(Tables);
    parser.Feed(data.data(), data.size());
    return parser.Finish();
}

bool ParseDosTables(const std::string& fileName, tables& Tables)
{
    Tables.clear();
    struct stat st;
    if (::stat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    TDosTableParser parser(Tables);
    std::vector<std::uint8_t> block(ReadBlock);
    bool ok = true;
    for (;;) {
        const ssize_t got = ::read(fd, block.data(), block.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        parser.Feed(block.data(), std::size_t(got));
    }
    ::close(fd);
    const bool found = parser.Finish();
    return ok && found;
}
