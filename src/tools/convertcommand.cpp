// SPDX-License-Identifier: GPL-3.0-or-later
// quillet-conv convert: recodes a file through the program's pivot, block by block,
// into a temporary file that replaces OUT only when it is complete.
#include "commands.h"
#include "detect.h"
#include "editorpath.h"
#include "encodingnames.h"
#include "inputfile.h"
#include "recoder.h"
#include "safefile.h"

#include <cstdio>
#include <optional>
#include <vector>

namespace {

constexpr const char* Help =
    "Usage: quillet-conv convert --from ENC|auto --to ENC [OPTIONS] IN OUT\n"
    "Recodes IN into OUT as the editor does when it loads and saves: the letters move\n"
    "to the target code page, every other byte keeps its value; line ends and a\n"
    "byte-order mark of UTF-16 or UTF-8 are left as they are (a mark is dropped\n"
    "when the target is a single-byte code page, which cannot hold it). OUT is\n"
    "written whole or not at all, and may be IN itself; a read-only OUT is refused,\n"
    "as the editor refuses it. In a folder that takes no new file, an existing OUT\n"
    "is written in place, its old bytes kept until the new ones are all in.\n"
    "Bytes of a UTF-8 source that are not UTF-8 are written as U+FFFD (or '?') and\n"
    "counted on stderr.\n"
    "ENC: dos, win, koi, mac, iso, uni, utf8 (also cp866, cp1251, koi8-r,\n"
    "mac-cyrillic, iso-8859-5, utf-16, utf-8), rtf. RTF on either side goes through\n"
    "the editor itself.\n"
    "  --via-editor              load and save through the editor, exactly as it\n"
    "                            reads and writes files (UTF-16, UTF-8 and RTF\n"
    "                            included)\n"
    "  --from auto               detect the source encoding and byte order\n"
    "  --except-mac              with auto, read a text that looks like Macintosh\n"
    "                            Cyrillic as Windows-1251\n"
    "  --dos-mode MODE           DOS character graphics: none, oem, uni (default), tbl;\n"
    "                            none and uni move letters only, oem and tbl also fold\n"
    "                            box drawing into ASCII; with uni, DOS to and from\n"
    "                            UTF-16 keeps box drawing as its Unicode characters\n"
    "  --byte-order little|big   byte order of UTF-16 (default little)\n"
    "  --from-byte-order little|big  byte order of a UTF-16 source, when it differs\n";

constexpr std::size_t Block = 1 << 20;

struct TOptions {
    std::string from, to, dosMode = "uni", byteOrder = "little", fromByteOrder;
    bool exceptMac = false;
    bool viaEditor = false;
    std::vector<std::string> files;
};

// Accepts "--name value" and "--name=value".
bool TakeValue(const TArgs& args, std::size_t& i, const std::string& name, std::string& value, bool& missing)
{
    const std::string& a = args[i];
    if (a == name) {
        if (i + 1 >= args.size()) {
            missing = true;
            return true;
        }
        value = args[++i];
        return true;
    }
    if (a.rfind(name + "=", 0) == 0) {
        value = a.substr(name.size() + 1);
        return true;
    }
    return false;
}

} // namespace

int RunConvert(const TArgs& args)
{
    TOptions o;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool missing = false;
        if (options && (a == "--help" || a == "-h")) {
            std::fputs(Help, stdout);
            return 0;
        }
        if (options && a == "--") {
            options = false;
        } else if (options && a == "--except-mac") {
            o.exceptMac = true;
        } else if (options && a == "--via-editor") {
            o.viaEditor = true;
        } else if (options && (TakeValue(args, i, "--from", o.from, missing) ||
                               TakeValue(args, i, "--to", o.to, missing) ||
                               TakeValue(args, i, "--dos-mode", o.dosMode, missing) ||
                               TakeValue(args, i, "--byte-order", o.byteOrder, missing) ||
                               TakeValue(args, i, "--from-byte-order", o.fromByteOrder, missing))) {
            if (missing)
                return UsageError("option '" + a + "' needs a value", "convert");
        } else if (options && a.size() > 1 && a[0] == '-') {
            return UsageError("unknown option '" + a + "'", "convert");
        } else {
            o.files.push_back(a);
        }
    }
    if (o.from.empty() || o.to.empty())
        return UsageError("both --from and --to are needed", "convert");
    if (o.files.size() != 2)
        return UsageError("name the input and the output file", "convert");
    const bool autoFrom = o.from == "auto";
    const std::optional<TEnc> from = autoFrom ? std::optional<TEnc>(None) : ParseEnc(o.from);
    const std::optional<TEnc> to = ParseEnc(o.to);
    const std::optional<TDosAdd> dosMode = ParseDosMode(o.dosMode);
    const std::optional<TUniType> order = ParseByteOrder(o.byteOrder);
    const std::optional<TUniType> fromOrder = o.fromByteOrder.empty() ? order : ParseByteOrder(o.fromByteOrder);
    if (!from)
        return UsageError("unknown encoding '" + o.from + "'", "convert");
    if (!to || *to == None)
        return UsageError("unknown target encoding '" + o.to + "'", "convert");
    if (!dosMode)
        return UsageError("unknown DOS mode '" + o.dosMode + "' (none, oem, uni or tbl)", "convert");
    if (!order || !fromOrder)
        return UsageError("unknown byte order (little or big)", "convert");

    const std::string& inPath = o.files[0];
    const std::string& outPath = o.files[1];
    TInputFile in(inPath);
    TConvSetting source{*from, *dosMode, *fromOrder};
    if (autoFrom) {
        const TDetectResult r = ApplyExceptMac(DetectFile(inPath), o.exceptMac);
        source.Enc = r.Enc;
        source.UniType = r.UniType;
        if (r.Enc == None)
            Complain("no encoding detected in \"" + inPath + "\"; it is read as Win");
    }
    // The byte path knows no RTF; the editor reads and writes it.
    if (o.viaEditor || source.Enc == Rtf || *to == Rtf) {
        TEditorLoad load;
        if (!autoFrom)
            load.encoding = *from;
        load.dosAdd = *dosMode;
        load.uniType = *fromOrder;
        load.exceptMac = o.exceptMac;
        std::uint64_t invalid = 0;
        std::int32_t lostObjects = 0;
        EditorConvert(inPath, outPath, load, *to, *order, &invalid, &lostObjects);
        ComplainInvalidUtf8(inPath, invalid);
        if (lostObjects > 0)
            Complain(std::to_string(lostObjects) + " objects and pictures of \"" + inPath + "\" have no place in " +
                     EncName(*to) + " and were written as " + (*to == Utf8 || *to == Uni ? "U+FFFC" : "'?'"));
        return 0;
    }

    TRecoder recoder(source, TConvSetting{*to, *dosMode, *order});
    // The same writer as the editor's, so a target is refused, kept and replaced
    // exactly as when the editor saves it.
    TSafeFileWriter out{QByteArray::fromStdString(outPath)};
    std::vector<std::uint8_t> buf(Block);
    auto put = [&out](std::span<const std::uint8_t> bytes) { out.Write(bytes.data(), bytes.size()); };
    while (const std::size_t n = in.Read(buf.data(), buf.size()))
        put(recoder.Convert(buf.data(), n));
    put(recoder.Finish());
    out.Commit();
    ComplainInvalidUtf8(inPath, recoder.Invalid());
    if (recoder.Lost() > 0)
        Complain(std::to_string(recoder.Lost()) + " characters of \"" + inPath + "\" have no place in " +
                 EncName(*to) + " and were written as " + (*to == Utf8 ? "U+FFFD" : "'?'"));
    return 0;
}
