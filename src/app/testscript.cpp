// SPDX-License-Identifier: GPL-3.0-or-later
// The test script of a copy run as a child process by the tests.
#include "testscript.h"

#include "helpviewer.h"
#include "instanceclient.h"
#include "instanceserver.h"
#include "richedit.h"
#include "scriptedprompter.h"
#include "view.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
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

// "type TEXT" types into the editor as keys would; "menu NAME" runs a menu item.
void RunCommand(TfmView& view, const ScriptLog& log, const QString& command)
{
    log.Write(QStringLiteral("command"), command);
    const QString verb = command.section(u' ', 0, 0);
    const QString rest = command.section(u' ', 1);
    if (verb == QLatin1String("type")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, rest);
        QCoreApplication::sendEvent(view.GEditor->Window(), &press);
    } else if (verb == QLatin1String("menu")) {
        if (QAction* item = view.Item(rest))
            item->trigger();
    }
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
        instances->SetOnCommand([&view, log](const QString& command) { RunCommand(view, log, command); });
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
