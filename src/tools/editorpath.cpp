// The editor's stream path without a window on screen.
#include "editorpath.h"

#include "qxeditor.h"
#include "richedit.h"

#include <QApplication>

#include <memory>
#include <stdexcept>

namespace {

// The control is a widget and needs an application object; a command-line tool
// has no screen, so the offscreen platform serves unless one was chosen.
void EnsureApplication()
{
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "quillet-conv";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QApplication> app = std::make_unique<QApplication>(argc, argv);
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
    editor->Lines()->LoadFromFile(QString::fromLocal8Bit(fileName.c_str()));
    return editor;
}

} // namespace

std::string EditorText(const std::string& fileName, const TEditorLoad& load)
{
    const std::unique_ptr<TqxEditor> editor = Load(fileName, load);
    TqxEditorStrings* lines = editor->Lines();
    QString text = lines->ToStringList().join(QLatin1Char('\n'));
    if (editor->Window()->GetLineCount() > lines->Count())
        text += QLatin1Char('\n');
    return text.toStdString();
}

TEnc EditorConvert(const std::string& inName, const std::string& outName, const TEditorLoad& load, TEnc to,
                   TUniType toOrder)
{
    const std::unique_ptr<TqxEditor> editor = Load(inName, load);
    const TEnc readAs = editor->Encoding();
    editor->SetEncoding(to);
    editor->SetUniType(toOrder);
    editor->Lines()->SaveToFile(QString::fromLocal8Bit(outName.c_str()));
    return readAs;
}
