// SPDX-License-Identifier: GPL-3.0-or-later
// quillet-view: asks a Quillet window that waits for view requests (one started
// as quillet '|?') to show a file, the way other programs do: with the file's
// name, the encoding and byte order to read it in, the caret and the selection.
#include "detect.h"
#include "encodingnames.h"
#include "instanceclient.h"
#include "viewrequest.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* Help =
    "Usage: quillet-view [OPTIONS] FILE\n"
    "Asks a Quillet window that waits for view requests (started as: quillet '|?')\n"
    "to show FILE. The window shows it in place of its text, without asking to save.\n"
    "\n"
    "  -e, --encoding ENC     read FILE as Dos, Win, Koi, Mac, Iso, Uni, Rtf or\n"
    "                         Utf8\n"
    "                         (default: detected, as the editor detects it)\n"
    "  -b, --byte-order ORDER little or big, for Uni (default: detected)\n"
    "  -c, --caret N          put the caret at character N (default 0)\n"
    "  -s, --select N         select N characters from the caret (default 0)\n"
    "  -k, --keep-name        show the file's name; without it the text is shown\n"
    "                         unnamed (\"Text input\")\n"
    "  -p, --pid PID          send to that window (default: the waiting window\n"
    "                         with the lowest process id)\n"
    "  -w, --wait MS          wait up to MS milliseconds for a waiting window to\n"
    "                         appear (default 0)\n"
    "  -t, --timeout MS       how long the window may take to show the file\n"
    "                         (default 10000)\n"
    "\n"
    "Exit status: 0 the file is shown, 1 it could not be shown (no waiting window,\n"
    "a missing file, a window that refused), 2 a wrong command line.\n";

// The answers of a waiting window.
constexpr std::uint32_t Shown = 1;
constexpr std::uint32_t NotShown = 2;

void Complain(const std::string& message)
{
    std::fprintf(stderr, "quillet-view: %s\n", message.c_str());
}

int UsageError(const std::string& message)
{
    Complain(message);
    std::fputs("Try 'quillet-view --help'.\n", stderr);
    return 2;
}

std::optional<std::uint32_t> Number(const std::string& text)
{
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

struct Options {
    std::string file;
    std::optional<TEnc> encoding;
    std::optional<TUniType> byteOrder;
    std::uint32_t caret = 0;
    std::uint32_t selection = 0;
    bool keepName = false;
    qint64 pid = 0;
    std::uint32_t waitMs = 0;
    std::uint32_t timeoutMs = 10000;
};

// Parses the command line into options; answers an exit status when the program
// is to end at once (help, or a usage error).
std::optional<int> Parse(int argc, char** argv, Options& o)
{
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (!options || a.size() < 2 || a[0] != '-') {
            if (!o.file.empty())
                return UsageError("only one file can be shown");
            o.file = a;
            continue;
        }
        if (a == "--") {
            options = false;
            continue;
        }
        if (a == "-h" || a == "--help") {
            std::fputs(Help, stdout);
            return 0;
        }
        if (a == "-k" || a == "--keep-name") {
            o.keepName = true;
            continue;
        }
        std::string value;
        if (const auto eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = a.substr(eq + 1);
            a.resize(eq);
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            return UsageError("option '" + a + "' needs a value");
        }
        const std::optional<std::uint32_t> number = Number(value);
        if (a == "-e" || a == "--encoding") {
            o.encoding = ParseEnc(value);
            if (!o.encoding || *o.encoding == None)
                return UsageError("unknown encoding '" + value + "'");
        } else if (a == "-b" || a == "--byte-order") {
            o.byteOrder = ParseByteOrder(value);
            if (!o.byteOrder)
                return UsageError("unknown byte order '" + value + "'");
        } else if (!number) {
            return UsageError("option '" + a + "' needs a number, not '" + value + "'");
        } else if (a == "-c" || a == "--caret") {
            o.caret = *number;
        } else if (a == "-s" || a == "--select") {
            o.selection = *number;
        } else if (a == "-p" || a == "--pid") {
            o.pid = *number;
        } else if (a == "-w" || a == "--wait") {
            o.waitMs = *number;
        } else if (a == "-t" || a == "--timeout") {
            o.timeoutMs = *number;
        } else {
            return UsageError("unknown option '" + a + "'");
        }
    }
    if (o.file.empty())
        return UsageError("no file named");
    return std::nullopt;
}

// The full name as bytes: the window may run in another folder.
std::string FullName(const std::string& name)
{
    if (name.front() == '/')
        return name;
    std::string folder(4096, '\0');
    while (!::getcwd(folder.data(), folder.size())) {
        if (errno != ERANGE)
            return name;
        folder.resize(folder.size() * 2);
    }
    folder.resize(std::strlen(folder.c_str()));
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// The waiting window with the lowest id, looking until the wait is over.
qint64 WaitingWindow(std::uint32_t waitMs)
{
    QDeadlineTimer deadline(waitMs);
    for (;;) {
        for (const platform::TInstance& copy : platform::ListInstances())
            if (copy.applicationTag == VIEW_REQUEST_TAG)
                return copy.handle;
        if (deadline.hasExpired())
            return 0;
        QThread::msleep(20);
    }
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (const std::optional<int> status = Parse(argc, argv, o))
        return *status;

    const std::string name = FullName(o.file);
    struct stat info {};
    if (::stat(name.c_str(), &info) != 0) {
        Complain("Can not find the file: " + name);
        return 1;
    }
    if (!S_ISREG(info.st_mode)) {
        Complain("\"" + name + "\" is not a regular file (a folder, pipe, device or socket)");
        return 1;
    }
    TViewRequest request;
    request.FileName = QByteArray::fromStdString(name);
    request.KeepName = o.keepName;
    const TDetectResult detected = ApplyExceptMac(DetectEncoding(name), true);
    const TEnc encoding = o.encoding ? *o.encoding : detected.Enc == None ? Win : detected.Enc;
    request.Encoding = static_cast<std::uint8_t>(encoding);
    request.BigEndian = (o.byteOrder ? *o.byteOrder : detected.UniType) == Big;
    request.CaretPos = o.caret;
    request.SelLength = o.selection;
    const std::optional<QByteArray> record = BuildViewRequest(request);
    if (!record) {
        Complain("the name is too long for a view request (at most " + std::to_string(ViewRequestMaxName)
                 + " bytes): " + name);
        return 1;
    }

    int qtArgc = 1;
    QCoreApplication app(qtArgc, argv);
    const qint64 target = o.pid ? o.pid : WaitingWindow(o.waitMs);
    if (target == 0) {
        Complain("no Quillet window is waiting for view requests (start one with: quillet '|?')");
        return 1;
    }
    const std::optional<std::uint32_t> answer =
        platform::SendCopyData(target, VIEW_REQUEST_TAG, *record, int(std::min<std::uint32_t>(o.timeoutMs, 1u << 30)));
    if (!answer) {
        Complain("the window " + std::to_string(target) + " did not answer");
        return 1;
    }
    if (*answer == NotShown) {
        Complain("the window could not show the file: " + name);
        return 1;
    }
    if (*answer != Shown) {
        Complain("the window " + std::to_string(target) + " does not take view requests");
        return 1;
    }
    return 0;
}
