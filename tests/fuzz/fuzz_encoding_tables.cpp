// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the DOS table parser: fed whole or in two pieces it must find the same
// tables, and what it finds must lie inside the text in order.
#include "dostables.h"

#include <cstdlib>

namespace {

bool Same(const tables& a, const tables& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t t = 0; t < a.size(); ++t) {
        if (a[t].StartPos != b[t].StartPos || a[t].EndPos != b[t].EndPos || a[t].Rows.size() != b[t].Rows.size())
            return false;
        for (std::size_t r = 0; r < a[t].Rows.size(); ++r) {
            const line& x = a[t].Rows[r];
            const line& y = b[t].Rows[r];
            if (x.size() != y.size())
                return false;
            for (std::size_t c = 0; c < x.size(); ++c)
                if (x[c].SepPos != y[c].SepPos || x[c].Text != y[c].Text)
                    return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    tables whole;
    const bool found = ParseDosTables(std::span<const std::uint8_t>(data, size), whole);

    const std::size_t cut = size ? data[0] % (size + 1) : 0;
    tables split;
    TDosTableParser parser(split);
    parser.Feed(data, cut);
    parser.Feed(data + cut, size - cut);
    if (parser.Finish() != found || !Same(whole, split))
        std::abort();

    // Offsets grow through the file and never pass its end (one more per line end
    // at most, plus the last line's).
    std::int64_t previousEnd = 0;
    for (const table& t : whole) {
        if (t.StartPos < previousEnd || t.EndPos <= t.StartPos || t.EndPos > std::int64_t(size) + 1)
            std::abort();
        previousEnd = t.EndPos;
        for (const line& row : t.Rows) {
            if (row.empty())
                std::abort();
            std::int64_t previousSep = 0;
            for (const cell& c : row) {
                if (c.SepPos <= previousSep || c.Text.size() >= std::size_t(c.SepPos))
                    std::abort();
                previousSep = c.SepPos;
            }
        }
    }
    return 0;
}
