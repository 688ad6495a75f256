// SPDX-License-Identifier: GPL-3.0-or-later
// The test script of a copy run as a child process by the tests.
#include "testscript.h"

#include "finddialog.h"
#include "helpviewer.h"
#include "instanceclient.h"
#include "instanceserver.h"
#include "journalsnapshot.h"
#include "richedit.h"
#include "scriptedprompter.h"
#include "streams.h"
#include "view.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextEdit>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A file of this user's, not a link, that no one else may write.
bool Trusted(const QByteArray& path)
{
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::getuid()
           && (info.st_mode & 022) == 0;
}

std::optional<MsgButton> ButtonNamed(const QString& name)
{
    static const std::pair<const char*, MsgButton> buttons[] = {
        {"None", MsgButton::None}, {"Ok", MsgButton::Ok},         {"Yes", MsgButton::Yes},
        {"No", MsgButton::No},     {"Cancel", MsgButton::Cancel}, {"All", MsgButton::All},
    };
    for (const auto& [text, button] : buttons)
        if (name == QLatin1String(text))
            return button;
    return std::nullopt;
}

// Appends whole lines, each with this copy's handle, so that copies sharing a
// log never mix their lines.
class ScriptLog {
public:
    explicit ScriptLog(const QByteArray& path) : path(path) {}

    void Write(const QString& what, const QString& text = {}) const
    {
        QByteArray line = QByteArray::number(platform::OwnHandle()) + '\t' + what.toUtf8();
        if (!text.isEmpty())
            line += '\t' + QString(text).replace(u'\n', u' ').replace(u'\r', u' ').toUtf8();
        line += '\n';
        const int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            return;
        [[maybe_unused]] const ssize_t written = ::write(fd, line.constData(), size_t(line.size()));
        ::close(fd);
    }

private:
    QByteArray path;
};

// The scripted answers, with every question written to the log as it is asked.
class LoggedPrompter : public Prompter {
public:
    explicit LoggedPrompter(ScriptLog log) : log(std::move(log)) {}
    ScriptedPrompter answers;

    MsgButton Message(MsgKind kind, const QString& caption, const QString& text, MsgButtons buttons) override
    {
        log.Write(QStringLiteral("question"), text);
        return answers.Message(kind, caption, text, buttons);
    }
    std::optional<QString> InputBox(const QString& caption, const QString& prompt, const QString& value) override
    {
        log.Write(QStringLiteral("input"), prompt);
        return answers.InputBox(caption, prompt, value);
    }
    std::optional<FileDialogAnswer> OpenFileDialog(const FileDialogRequest& request) override
    {
        log.Write(QStringLiteral("open dialog"));
        return answers.OpenFileDialog(request);
    }
    std::optional<FileDialogAnswer> SaveFileDialog(const FileDialogRequest& request) override
    {
        log.Write(QStringLiteral("save dialog"));
        return answers.SaveFileDialog(request);
    }
    std::optional<QFont> FontDialog(const QFont& initial) override { return answers.FontDialog(initial); }
    std::optional<QColor> ColorDialog(const QColor& initial) override { return answers.ColorDialog(initial); }
    std::optional<PageSetupAnswer> PageSetupDialog(const PageSetupRequest& request) override
    {
        log.Write(QStringLiteral("page setup dialog"));
        return answers.PageSetupDialog(request);
    }
    std::optional<PrintRangeAnswer> PrintDialog(const PrintRangeRequest& request) override
    {
        log.Write(QStringLiteral("print dialog"));
        return answers.PrintDialog(request);
    }

private:
    ScriptLog log;
};

// The window's text as it is now, in RTF and in the shown encoding, for a test
// that compares what a later recovery brings back.
void DumpText(TfmView& view, const QString& path)
{
    const QByteArray rtf = StreamedRtf(*view.GEditor->Window());
    TMemoryStream shown;
    view.GEditor->Lines()->SaveToStream(shown);
    const std::vector<std::uint8_t>& bytes = shown.Bytes();
    QFile rtfFile(path + QStringLiteral(".rtf"));
    QFile textFile(path + QStringLiteral(".txt"));
    if (rtfFile.open(QIODevice::WriteOnly) && textFile.open(QIODevice::WriteOnly)) {
        rtfFile.write(rtf);
        textFile.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    }
}

// "type TEXT" types into the editor as keys would; "key SEQUENCE" presses a key
// ("F5", "Ctrl+Z"); "select FROM TO" selects; "paste RTF" pastes formatted text;
// "replace FIND WITH" replaces all; "menu NAME" runs a menu item; "dump PATH"
// writes the text to PATH.rtf and PATH.txt.
void RunCommand(TfmView& view, const ScriptLog& log, const QString& command)
{
    log.Write(QStringLiteral("command"), command);
    const QString verb = command.section(u' ', 0, 0);
    const QString rest = command.section(u' ', 1);
    platform::RichEdit* control = view.GEditor->Window();
    if (verb == QLatin1String("type")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, rest);
        QCoreApplication::sendEvent(control, &press);
    } else if (verb == QLatin1String("key")) {
        const QKeySequence sequence = QKeySequence::fromString(rest);
        if (sequence.isEmpty())
            return;
        const QKeyCombination key = sequence[0];
        QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers());
        QKeyEvent release(QEvent::KeyRelease, key.key(), key.keyboardModifiers());
        QCoreApplication::sendEvent(control, &press);
        QCoreApplication::sendEvent(control, &release);
    } else if (verb == QLatin1String("select")) {
        control->SetSel(rest.section(u' ', 0, 0).toInt(), rest.section(u' ', 1, 1).toInt());
    } else if (verb == QLatin1String("paste")) {
        auto* mime = new QMimeData;
        mime->setData(QStringLiteral("text/rtf"), rest.toUtf8());
        QGuiApplication::clipboard()->setMimeData(mime);
        control->paste();
    } else if (verb == QLatin1String("replace")) {
        view.OkReplaceDialog();
        view.ReplaceDialog1->SetFindText(rest.section(u' ', 0, 0));
        view.ReplaceDialog1->SetReplaceText(rest.section(u' ', 1));
        view.ReplaceDialog1Replace(true);
    } else if (verb == QLatin1String("menu")) {
        if (QAction* item = view.Item(rest))
            item->trigger();
    } else if (verb == QLatin1String("dump")) {
        DumpText(view, rest);
    }
    log.Write(QStringLiteral("done"), command);
}

} // namespace

bool InstallTestScript(TfmView& view)
{
    const QByteArray path = qgetenv("QUILLET_TEST_SCRIPT");
    if (path.isEmpty() || QGuiApplication::platformName() != QLatin1String("offscreen") || !Trusted(path))
        return false;
    QFile script(QFile::decodeName(path));
    if (!script.open(QIODevice::ReadOnly))
        return false;
    const ScriptLog log(path + ".log");
    // The prompter lives as long as the process.
    static LoggedPrompter prompter(log);
    for (const QByteArray& raw : script.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1String("answer ")))
            if (const std::optional<MsgButton> button = ButtonNamed(line.mid(7).trimmed()))
                prompter.answers.AnswerMessage(*button);
    }
    InstallPrompter(&prompter);
    if (platform::InstanceServer* instances = view.Instances()) {
        // Lines of one request run together, with nothing of the window's own between them.
        instances->SetOnCommand([&view, log](const QString& commands) {
            for (const QString& command : commands.split(u'\n', Qt::SkipEmptyParts))
                RunCommand(view, log, command);
        });
        instances->OnActivate = [&view, log] {
            log.Write(QStringLiteral("front"));
            view.BringToFront();
        };
    }
    log.Write(QStringLiteral("started"));
    // What the copy found of its own files, for tests of an installed program: the
    // File menu's caption tells the interface language, and where help comes from.
    if (const QMenu* file = view.Menu(QStringLiteral("N8")))
        log.Write(QStringLiteral("file menu"), file->title());
    log.Write(QStringLiteral("help file"), HelpFileUrl().toString());
    return true;
}
