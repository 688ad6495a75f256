// SPDX-License-Identifier: GPL-3.0-or-later
// QtPrompter: the program's questions as Qt dialogs, modal and centred over the main
// window (or the active window) and kept inside its screen.
#pragma once

#include "prompter.h"

#include <QPointer>
#include <QWidget>

class QtPrompter : public Prompter {
public:
    // The window the boxes are centred over; the active window when none is set.
    void SetOwner(QWidget* window) { owner = window; }
    QWidget* Owner() const;

    MsgButton Message(MsgKind kind, const QString& caption, const QString& text, MsgButtons buttons) override;
    std::optional<QString> InputBox(const QString& caption, const QString& prompt, const QString& value) override;
    std::optional<FileDialogAnswer> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<FileDialogAnswer> SaveFileDialog(const FileDialogRequest& request) override;
    std::optional<QFont> FontDialog(const QFont& initial) override;
    std::optional<QColor> ColorDialog(const QColor& initial) override;
    // Qt's page setup dialog with a choice of printer above it.
    std::optional<PageSetupAnswer> PageSetupDialog(const PageSetupRequest& request) override;
    std::optional<PrintRangeAnswer> PrintDialog(const PrintRangeRequest& request) override;
    std::optional<InsertObjectAnswer> InsertObjectDialog(const InsertObjectRequest& request) override;
    std::optional<ObjectPropertiesAnswer> ObjectPropertiesDialog(const ObjectPropertiesRequest& request) override;
    std::optional<RecoveryListAnswer> RecoveryListDialog(const RecoveryListRequest& request) override;

private:
    std::optional<FileDialogAnswer> RunFileDialog(const FileDialogRequest& request, bool save);

    QPointer<QWidget> owner;
};

// The Qt prompter the program falls back to; the main window makes itself its owner.
QtPrompter& StandardPrompter();

// "Text file (*.txt)|*.txt|All|*.*" as Qt name filters, one per pair. "*.*" becomes
// "*", which on this platform also matches names without a dot.
QStringList ToQtNameFilters(const QString& filter);

// Moves a box so that it sits centred over the owner, inside the owner's screen.
void PlaceOverOwner(QWidget* box, const QWidget* owner);

// Where the page setup dialog goes on a screen: centred across, a third of the
// free height down.
QPoint ThirdDownPos(const QRect& screen, const QSize& box);
