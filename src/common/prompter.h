// SPDX-License-Identifier: GPL-3.0-or-later
// Prompter: the one seam for every modal question (message, input, file, font and
// colour dialogs); Qt dialogs in the program, a scripted prompter in tests.
#pragma once

#include "objectprompts.h"
#include "recoveryprompt.h"

#include <QColor>
#include <QFlags>
#include <QFont>
#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <optional>

enum class MsgKind { Error, Information, Confirmation };

// None is the answer of a box closed without a button.
enum class MsgButton : unsigned { None = 0, Ok = 1, Yes = 2, No = 4, Cancel = 8, All = 16 };
Q_DECLARE_FLAGS(MsgButtons, MsgButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(MsgButtons)

// A file dialog as the program describes it. The filter is in the classic form
// "Description|pattern|Description|pattern"; indexes count from 1.
struct FileDialogRequest {
    QString caption;
    QString directory;
    QString fileName;
    QString filter;
    int filterIndex = 1;
    bool multiSelect = false;
};

struct FileDialogAnswer {
    QStringList files; // full paths; one unless several were allowed and chosen
    int filterIndex = 1;
};

// The page setup dialog: printer, paper, orientation and margins. The layout's
// margins are in its units (millimetres or inches); its minimum margins are the
// strips the printer cannot print on.
struct PageSetupRequest {
    QStringList printers;   // as the printer object lists them
    int pdfPrinter = -1;    // the index of the built-in PDF printer, -1 when absent
    int printerIndex = 0;
    QPageLayout layout;
};

struct PageSetupAnswer {
    int printerIndex = 0;
    QPageLayout layout;     // margins in millimetres or inches, whichever was shown last
};

// The print dialog of the preview: which of the recorded pages to print.
enum class PrintRange { AllPages, PageRange, Selection };

struct PrintRangeRequest {
    QString printer;        // the printer the pages go to, for the dialog to name
    int minPage = 1;
    int maxPage = 1;
    int fromPage = 1;
    int toPage = 1;
};

struct PrintRangeAnswer {
    PrintRange range = PrintRange::AllPages;
    int fromPage = 1;
    int toPage = 1;
};

class Prompter {
public:
    virtual ~Prompter() = default;

    virtual MsgButton Message(MsgKind kind, const QString& caption, const QString& text, MsgButtons buttons) = 0;
    // The entered text, or nothing when cancelled.
    virtual std::optional<QString> InputBox(const QString& caption, const QString& prompt, const QString& value) = 0;
    virtual std::optional<FileDialogAnswer> OpenFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<FileDialogAnswer> SaveFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<QFont> FontDialog(const QFont& initial) = 0;
    virtual std::optional<QColor> ColorDialog(const QColor& initial) = 0;
    // Nothing when cancelled.
    virtual std::optional<PageSetupAnswer> PageSetupDialog(const PageSetupRequest& request) = 0;
    virtual std::optional<PrintRangeAnswer> PrintDialog(const PrintRangeRequest& request) = 0;
    // Embedded objects; nothing when cancelled. Prompters with no one to ask cancel.
    virtual std::optional<InsertObjectAnswer> InsertObjectDialog(const InsertObjectRequest&) { return std::nullopt; }
    virtual std::optional<ObjectPropertiesAnswer> ObjectPropertiesDialog(const ObjectPropertiesRequest&)
    {
        return std::nullopt;
    }
    // The texts kept for recovery; nothing for Later. Prompters with no one to ask
    // leave them all for later.
    virtual std::optional<RecoveryListAnswer> RecoveryListDialog(const RecoveryListRequest&) { return std::nullopt; }
};

// The installed prompter; the Qt one unless another was installed.
Prompter& CurrentPrompter();
// Installs a prompter (not owned) and answers the previous one; nullptr restores
// the Qt prompter.
Prompter* InstallPrompter(Prompter* prompter);

// Installs a prompter for the life of the object.
class ScopedPrompter {
public:
    explicit ScopedPrompter(Prompter& prompter) : previous(InstallPrompter(&prompter)) {}
    ~ScopedPrompter() { InstallPrompter(previous); }
    ScopedPrompter(const ScopedPrompter&) = delete;
    ScopedPrompter& operator=(const ScopedPrompter&) = delete;

private:
    Prompter* previous;
};
