// SPDX-License-Identifier: GPL-3.0-or-later
// quillet-conv: the program's encoding detection, conversion and DOS table parsing
// for use without the editor, on archives and in scripts.
#include "commands.h"
#include "editorpath.h"
#include "inplacejournal.h"
#include "savesignals.h"

#include <cstdio>
#include <cstring>
#include <exception>

namespace {

constexpr const char* Help =
    "Usage: quillet-conv COMMAND [OPTIONS] ARGS...\n"
    "Detects and converts the encodings of Russian texts, as the Quillet editor does.\n"
    "\n"
    "Commands:\n"
    "  detect FILE...            name the encoding of each file\n"
    "  convert IN OUT            recode a file from one encoding to another\n"
    "  tables FILE               list the pseudo-graphic tables of a DOS text as JSON\n"
    "  text FILE                 print the text as the editor shows it, in UTF-8\n"
    "  recover [ID OUT]          list the texts kept for recovery, or write one\n"
    "\n"
    "Encodings: Dos (CP866), Win (Windows-1251), Koi (KOI8-R), Mac (Macintosh\n"
    "Cyrillic), Iso (ISO 8859-5), Uni (UTF-16), Rtf, Utf8 (UTF-8).\n"
    "'quillet-conv COMMAND --help' explains a command.\n";

} // namespace

void Complain(const std::string& message) { std::fprintf(stderr, "quillet-conv: %s\n", message.c_str()); }

void ComplainInvalidUtf8(const std::string& fileName, std::uint64_t count)
{
    if (count > 0)
        Complain(std::to_string(count) + " byte sequences of \"" + fileName + "\" are not UTF-8 and were read as U+FFFD");
}

int UsageError(const std::string& message, const char* command)
{
    Complain(message);
    std::fprintf(stderr, "Try 'quillet-conv %s--help'.\n", command ? (std::string(command) + " ").c_str() : "");
    return 2;
}

namespace {

int Run(const std::string& command, const TArgs& args)
{
    try {
        if (command == "detect")
            return RunDetect(args);
        if (command == "convert")
            return RunConvert(args);
        if (command == "tables")
            return RunTables(args);
        if (command == "text")
            return RunText(args);
        if (command == "recover")
            return RunRecover(args);
    } catch (const std::exception& e) {
        Complain(e.what());
        return 1;
    }
    return UsageError("unknown command '" + command + "'", nullptr);
}

} // namespace

int main(int argc, char** argv)
{
    // Ctrl+C, a hang-up or a kill in the middle of a conversion leaves no
    // temporary file and never a half-written target.
    savesignals::InstallTerminationCleanup();
    // A save in place that a kill cut short is undone before anything is read.
    for (const QByteArray& repaired : RecoverInterruptedSaves())
        Complain("\"" + repaired.toStdString() + "\" was put back as it was before a save that did not end");
    if (argc < 2)
        return UsageError("no command given", nullptr);
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(Help, stdout);
        return 0;
    }
    const TArgs args(argv + 2, argv + argc);
    const int status = Run(command, args);
    EndApplication();
    return status;
}
