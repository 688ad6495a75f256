// SPDX-License-Identifier: GPL-3.0-or-later
// Program entry: the application object, its title, the main window and the
// event loop.
#include "view.h"

#include "endsignals.h"
#include "languagefiles.h"
#include "shell.h"
#include "filenames.h"
#include "inplacejournal.h"
#include "richedit.h"
#include "testscript.h"

#include <QApplication>

namespace {

// For start-up timing: with QUILLET_QUIT_AFTER_FIRST_PAINT set, the program ends
// as soon as the text it started with has been painted once.
class FirstPaintProbe : public QObject {
public:
    explicit FirstPaintProbe(TfmView& owner) : view(owner) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched == view.GEditor->Window()->viewport() && view.FormActive &&
            (view.TextReady || view.AcceptCopyData))
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        return false;
    }

private:
    TfmView& view;
};

} // namespace

namespace {

int Run(int argc, char* argv[], int& endingSignal)
{
    // Every argument is a file name, even one that looks like a toolkit option,
    // so the toolkit sees only the program's own name. Names keep their exact
    // bytes, UTF-8 or not.
    QStringList names;
    for (int i = 1; i < argc; ++i)
        names << platform::FileNameFromBytes(argv[i]);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet"));
    QApplication::setDesktopFileName(QStringLiteral("quillet"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quillet.png")));
    // The language chosen in the Language menu at an earlier run.
    InstallInterfaceLanguage(platform::SelfExecutable());
    TfmView view(names);
    InstallTestScript(view);
    TEndSignalWatcher endSignals([&view](int) { view.EndWithoutQuestions(); });
    FirstPaintProbe probe(view);
    if (qEnvironmentVariableIsSet("QUILLET_QUIT_AFTER_FIRST_PAINT"))
        view.GEditor->Window()->viewport()->installEventFilter(&probe);
    view.show();
    const int status = QApplication::exec();
    endingSignal = endSignals.Received();
    return status;
}

} // namespace

int main(int argc, char* argv[])
{
    InstallEndSignals();
    // A save in place that a kill cut short is undone before any file is shown.
    RecoverInterruptedSaves();
    int endingSignal = 0;
    const int status = Run(argc, argv, endingSignal);
    // The window and the application are gone, their files closed: the process
    // now ends as the signal asked.
    if (endingSignal != 0)
        EndBySignal(endingSignal);
    return status;
}
