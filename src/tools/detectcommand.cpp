// SPDX-License-Identifier: GPL-3.0-or-later
// quillet-conv detect: one line per file with its encoding, graphics and byte order.
#include "commands.h"
#include "detect.h"
#include "encodingnames.h"
#include "inputfile.h"

#include <cstdio>
#include <stdexcept>

namespace {

constexpr const char* Help =
    "Usage: quillet-conv detect [--except-mac] FILE...\n"
    "Prints one line per file, fields separated by tabs:\n"
    "  FILE  ENCODING  graphics|no-graphics  little|big\n"
    "ENCODING is Dos, Win, Koi, Mac, Iso, Uni, Rtf, Utf8 or None (not determined);\n"
    "graphics says whether DOS box-drawing bytes occur; the byte order matters for Uni.\n"
    "Only the first 512,000 bytes of a file are examined.\n"
    "  --except-mac   answer Win where the text looks like Macintosh Cyrillic\n"
    "Files that cannot be read are named on stderr and make the exit status 1.\n";

} // namespace

int RunDetect(const TArgs& args)
{
    bool exceptMac = false;
    std::vector<std::string> files;
    bool options = true;
    for (const std::string& a : args) {
        if (options && (a == "--help" || a == "-h")) {
            std::fputs(Help, stdout);
            return 0;
        }
        if (options && a == "--except-mac")
            exceptMac = true;
        else if (options && a == "--")
            options = false;
        else if (options && a.size() > 1 && a[0] == '-')
            return UsageError("unknown option '" + a + "'", "detect");
        else
            files.push_back(a);
    }
    if (files.empty())
        return UsageError("no file named", "detect");

    int status = 0;
    for (const std::string& f : files) {
        TDetectResult r;
        try {
            r = ApplyExceptMac(DetectFile(f), exceptMac);
        } catch (const std::runtime_error& e) {
            Complain(e.what());
            status = 1;
            continue;
        }
        std::printf("%s\t%s\t%s\t%s\n", f.c_str(), EncName(r.Enc), r.HasGraphics ? "graphics" : "no-graphics",
                    ByteOrderName(r.UniType));
    }
    return status;
}
