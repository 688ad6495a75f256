// SPDX-License-Identifier: GPL-3.0-or-later
// quillet-conv recover: lists the recovery journals and writes one's text, for
// a user whose window cannot start.
#include "commands.h"
#include "editorpath.h"
#include "filenames.h"
#include "recoveryjournal.h"

#include <QDateTime>

#include <cstdio>
#include <stdexcept>

namespace {

constexpr const char* Help =
    "Usage: quillet-conv recover [ID OUT]\n"
    "Without arguments, lists the texts the editor kept for recovery, one a line:\n"
    "ID, the file name (or \"untitled\"), and the time, separated by tabs.\n"
    "With ID and OUT, writes that text to OUT in the encoding it was shown in, or\n"
    "as RTF when OUT ends in .rtf. Damaged or foreign journals are named on the\n"
    "error output and left as they are.\n";

std::string Time(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
}

bool EndsWithRtf(const std::string& name)
{
    return name.size() >= 4 && QByteArray::fromStdString(name.substr(name.size() - 4)).toLower() == ".rtf";
}

} // namespace

int RunRecover(const TArgs& args)
{
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(Help, stdout);
        return 0;
    }
    if (args.size() != 0 && args.size() != 2)
        return UsageError("recover takes no arguments, or an ID and an output file", "recover");
    const std::vector<TJournalEntry> journals = ListJournals(RecoveryFolder());
    if (args.empty()) {
        int status = 0;
        for (const TJournalEntry& entry : journals) {
            try {
                const TJournalState state = ReadJournal(entry.path);
                const std::string name = state.fileName.isEmpty() ? std::string("untitled") : state.fileName.toStdString();
                std::printf("%s\t%s\t%s\n", entry.id.toStdString().c_str(), name.c_str(), Time(state.timeMs).c_str());
            } catch (const std::exception& error) {
                Complain(error.what());
                status = 1;
            }
        }
        return status;
    }
    const QString id = platform::FileNameFromBytes(QByteArray::fromStdString(args[0]));
    for (const TJournalEntry& entry : journals) {
        if (entry.id == id) {
            EditorWriteJournal(ReadJournal(entry.path), args[1], EndsWithRtf(args[1]));
            return 0;
        }
    }
    Complain("no recovery journal has the ID '" + args[0] + "'");
    return 1;
}
