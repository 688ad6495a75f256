// SPDX-License-Identifier: GPL-3.0-or-later
// quillet-conv tables: the pseudo-graphic tables of a DOS file as JSON.
#include "commands.h"
#include "dostables.h"
#include "inputfile.h"
#include "tablesjson.h"

#include <cstdio>
#include <vector>

namespace {

constexpr const char* Help =
    "Usage: quillet-conv tables FILE\n"
    "Finds the pseudo-graphic tables of a DOS (CP866) text, as the editor does before\n"
    "it turns them into real tables, and prints them as JSON:\n"
    "  {\"tables\": [{\"start\": S, \"end\": E, \"rows\": [[{\"sep\": P, \"text\": T}, ...], ...]}]}\n"
    "start and end are character offsets in the loaded text (each line end counts one);\n"
    "sep is the position of the bar that closes the cell within the trimmed line;\n"
    "text is the cell's text in UTF-8. A file without tables gives an empty list.\n";

constexpr std::size_t Block = 1 << 20;

} // namespace

int RunTables(const TArgs& args)
{
    std::vector<std::string> files;
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            std::fputs(Help, stdout);
            return 0;
        }
        if (a.size() > 1 && a[0] == '-')
            return UsageError("unknown option '" + a + "'", "tables");
        files.push_back(a);
    }
    if (files.size() != 1)
        return UsageError("name exactly one file", "tables");

    TInputFile in(files[0]);
    tables found;
    TDosTableParser parser(found);
    std::vector<std::uint8_t> buf(Block);
    while (const std::size_t n = in.Read(buf.data(), buf.size()))
        parser.Feed(buf.data(), n);
    parser.Finish();
    if (parser.Overflowed()) {
        Complain("the tables of \"" + files[0] + "\" are too large to rebuild (a row over " +
                 std::to_string(MaxRowText / 1024) + " KiB or over " + std::to_string(MaxKeptCells) +
                 " cells in all)");
        return 1;
    }
    const std::string json = TablesToJson(found);
    std::fwrite(json.data(), 1, json.size(), stdout);
    return 0;
}
