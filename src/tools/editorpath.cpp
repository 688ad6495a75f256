// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's stream path without a window on screen.
#include "editorpath.h"

#include "filenames.h"
#include "journalsnapshot.h"
#include "qxeditor.h"
#include "richedit.h"

#include <QApplication>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

// Qt's own warnings (a missing runtime folder, fonts) mean nothing to a user of a
// command-line tool; its output is the program's alone.
void Quiet(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    // Only what ends the process is worth a word: the user must learn why.
    if (type == QtFatalMsg)
        std::fprintf(stderr, "quillet-conv: the editor cannot start: %s\n", message.toLocal8Bit().constData());
}

// Ended by EndApplication while the process still runs: what the application
// object owns (icons, fonts, plugins) must go before the library's own globals.
std::unique_ptr<QApplication> application;

// The control is a widget and needs an application object. A command-line tool
// has no screen and must not depend on one: whatever platform the environment
// names (a desktop's, or one that cannot start here and would abort the
// process), the offscreen one serves.
void EnsureApplication()
{
    if (QApplication::instance())
        return;
    qInstallMessageHandler(Quiet);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("QT_QPA_PLATFORMTHEME");
    static int argc = 1;
    static char name[] = "quillet-conv";
    static char* argv[] = {name, nullptr};
    application = std::make_unique<QApplication>(argc, argv);
}

std::unique_ptr<TqxEditor> Load(const std::string& fileName, const TEditorLoad& load)
{
    EnsureApplication();
    auto editor = std::make_unique<TqxEditor>();
    editor->SetWordWrap(false);   // lines are paragraphs
    editor->ExceptMac = load.exceptMac;
    editor->SetDosAdd(load.dosAdd);
    editor->SetUniType(load.uniType);
    editor->SetAutoEncoding(!load.encoding);
    if (load.encoding)
        editor->SetEncoding(*load.encoding);
    editor->Lines()->LoadFromFile(platform::FileNameFromBytes(fileName));
    return editor;
}

} // namespace

void EndApplication()
{
    application.reset();
}

std::string EditorText(const std::string& fileName, const TEditorLoad& load, std::uint64_t* invalidUtf8)
{
    const std::unique_ptr<TqxEditor> editor = Load(fileName, load);
    if (invalidUtf8)
        *invalidUtf8 = editor->LoadedInvalidUtf8;
    TqxEditorStrings* lines = editor->Lines();
    QString text = lines->ToStringList().join(QLatin1Char('\n'));
    if (editor->Window()->GetLineCount() > lines->Count())
        text += QLatin1Char('\n');
    return text.toStdString();
}

TEnc EditorConvert(const std::string& inName, const std::string& outName, const TEditorLoad& load, TEnc to,
                   TUniType toOrder, std::uint64_t* invalidUtf8, std::int32_t* lostObjects)
{
    const std::unique_ptr<TqxEditor> editor = Load(inName, load);
    if (invalidUtf8)
        *invalidUtf8 = editor->LoadedInvalidUtf8;
    if (lostObjects)
        *lostObjects = to == Rtf ? 0 : editor->Window()->DrawnObjectCount();
    const TEnc readAs = editor->Encoding();
    editor->SetEncoding(to);
    editor->SetUniType(toOrder);
    editor->Lines()->SaveToFile(platform::FileNameFromBytes(outName));
    return readAs;
}

void EditorWriteJournal(const TJournalState& state, const std::string& outName, bool asRtf)
{
    EnsureApplication();
    auto editor = std::make_unique<TqxEditor>();
    editor->SetWordWrap(false);
    // A text read from its file takes the font the window showed it in.
    if (state.font)
        editor->SetFont(*state.font);
    ShowJournalText(*editor, state);
    if (asRtf)
        editor->SetEncoding(Rtf);
    editor->Lines()->SaveToFile(platform::FileNameFromBytes(outName));
}
