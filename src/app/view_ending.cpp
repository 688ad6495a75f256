// SPDX-License-Identifier: GPL-3.0-or-later
// Ending the window without questions, when the session or the terminal ends it.
#include "view.h"

#include "prompter.h"

#include <QApplication>
#include <QTimer>

namespace {

// No one is there to answer: every question gets the answer of a box closed
// without a button, so nothing is saved over a file unasked.
class TNobodyPrompter : public Prompter {
public:
    MsgButton Message(MsgKind, const QString&, const QString&, MsgButtons) override { return MsgButton::None; }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<FileDialogAnswer> OpenFileDialog(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<FileDialogAnswer> SaveFileDialog(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<QFont> FontDialog(const QFont&) override { return std::nullopt; }
    std::optional<QColor> ColorDialog(const QColor&) override { return std::nullopt; }
    std::optional<PageSetupAnswer> PageSetupDialog(const PageSetupRequest&) override { return std::nullopt; }
    std::optional<PrintRangeAnswer> PrintDialog(const PrintRangeRequest&) override { return std::nullopt; }
};

// How long a window still starting up (loading its command line's file) may take
// before it ends all the same.
constexpr int StartWaitStepMs = 50;
constexpr int StartWaitSteps = 200;

} // namespace

void TfmView::EndWithoutQuestions()
{
    static int waited = 0;
    // The file named on the command line is what the recent list should record,
    // so a window still starting is let finish first; but not one whose start
    // stopped at a box (a file that could not be read): no one will answer it,
    // and the box ends with the program.
    const bool startStopsAtBox = QApplication::activeModalWidget() != nullptr;
    if (!StartupDone && !startStopsAtBox && waited++ < StartWaitSteps) {
        QTimer::singleShot(StartWaitStepMs, this, [this] { EndWithoutQuestions(); });
        return;
    }
    // The text stays in the journal, durable, to be offered at the next start.
    FlushJournal();
    static TNobodyPrompter nobody;
    InstallPrompter(&nobody);
    UpdateHist();
    FormClose();
    closingAccepted = true;
    // exit, not quit: quit would offer every window a close it may refuse with
    // the save question. exit also ends any open dialog's loop, and a dialog
    // opened afterwards returns at once.
    QCoreApplication::exit(0);
}
