// SPDX-License-Identifier: GPL-3.0-or-later
// quillet-conv text: prints a file's text as the editor would show it, in UTF-8.
#include "commands.h"
#include "editorpath.h"
#include "encodingnames.h"

#include <cstdio>
#include <stdexcept>

namespace {

constexpr const char* Help =
    "Usage: quillet-conv text [OPTIONS] FILE\n"
    "Loads FILE exactly as the editor does and prints the text it would show, as\n"
    "UTF-8 with LF line ends: the encoding is detected unless given, DOS text with\n"
    "box drawing becomes Unicode in mode uni, RTF shows its text.\n"
    "  --encoding ENC            read as ENC (dos, win, koi, mac, iso, uni, rtf, utf8)\n"
    "  --except-mac              take a text detected as Macintosh Cyrillic as Windows-1251\n"
    "  --dos-mode MODE           none, oem, uni (default), tbl\n"
    "  --byte-order little|big   byte order of UTF-16 when --encoding uni\n";

} // namespace

int RunText(const TArgs& args)
{
    TEditorLoad load;
    std::string file;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* name) -> const std::string* {
            if (a != name)
                return nullptr;
            static const std::string empty;
            return i + 1 < args.size() ? &args[++i] : &empty;
        };
        if (options && (a == "--help" || a == "-h")) {
            std::fputs(Help, stdout);
            return 0;
        }
        if (options && a == "--") {
            options = false;
        } else if (options && a == "--except-mac") {
            load.exceptMac = true;
        } else if (const std::string* v = options ? value("--encoding") : nullptr) {
            const std::optional<TEnc> enc = ParseEnc(*v);
            if (!enc || *enc == None)
                return UsageError("unknown encoding '" + *v + "'", "text");
            load.encoding = *enc;
        } else if (const std::string* v = options ? value("--dos-mode") : nullptr) {
            const std::optional<TDosAdd> mode = ParseDosMode(*v);
            if (!mode)
                return UsageError("unknown DOS mode '" + *v + "' (none, oem, uni or tbl)", "text");
            load.dosAdd = *mode;
        } else if (const std::string* v = options ? value("--byte-order") : nullptr) {
            const std::optional<TUniType> order = ParseByteOrder(*v);
            if (!order)
                return UsageError("unknown byte order (little or big)", "text");
            load.uniType = *order;
        } else if (options && a.size() > 1 && a[0] == '-') {
            return UsageError("unknown option '" + a + "'", "text");
        } else if (file.empty()) {
            file = a;
        } else {
            return UsageError("name one file", "text");
        }
    }
    if (file.empty())
        return UsageError("no file named", "text");
    std::uint64_t invalid = 0;
    const std::string text = EditorText(file, load, &invalid);
    ComplainInvalidUtf8(file, invalid);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
