// SPDX-License-Identifier: GPL-3.0-or-later
// The recovery question at start and on open, and showing a recovered text.
#include "recoveryoffer.h"

#include "filenames.h"
#include "journalsnapshot.h"
#include "qlconsts.h"
#include "qlconsts_recovery.h"
#include "sysbib.h"
#include "view.h"

#include <QDateTime>
#include <QLocale>

namespace {

QString Shown(const QString& fileName)
{
    return fileName.isEmpty() ? Tr(QlConsts::RecoveryUntitled) : platform::DisplayFileName(fileName);
}

bool Recover(TfmView& view, const TJournalState& state, TJournalClaim& claim)
{
    // A text of the window's own that is not saved is asked about first.
    if (!view.QuestSave())
        return false;
    QString name = platform::FileNameFromBytes(state.fileName);
    try {
        ShowJournalText(*view.GEditor, state);
    } catch (const std::exception& error) {
        view.ShowError(QString::fromUtf8(error.what()));
        return false;
    }
    // Saved under its name, the text would replace what someone else wrote meanwhile.
    if (!name.isEmpty() && DiskIdentityOf(name) != state.disk
        && ConfirmationBox(Tr(QlConsts::RecoveryDiskChanged).arg(Shown(name)), MsgButton::Yes | MsgButton::No)
               == MsgButton::Yes)
        name.clear();
    view.CurFileName = name;
    view.HasTables = state.hasTables;
    view.SetKodP(state.encoding);
    view.InvalidateSnapshot();
    view.FillCaption();
    view.TaskBarName();
    view.DownButt();
    view.TextReady = true;
    view.GEditorChange();
    // After the change notice, which counts a text with nothing to undo as unmodified.
    view.GEditor->SetModified(true);
    view.sbSave->setEnabled(true);
    view.StrCount();
    view.EndProgress();   // the stream-in showed its progress
    // The window's own journal holds the text before the old one goes.
    view.FlushJournal();
    claim.Remove();
    return true;
}

} // namespace

void OfferRecovery(TfmView& view, const QString& onlyFile)
{
    QString folder;
    try {
        folder = RecoveryFolder();
    } catch (const std::exception&) {
        return;
    }
    const QString own = view.JournalPath();
    bool recovered = false;
    for (const TJournalEntry& entry : ListJournals(folder)) {
        if (entry.path == own)
            continue;
        // Held by its running writer, or being offered by another copy.
        std::optional<TJournalClaim> claim = TJournalClaim::Take(entry.path);
        if (!claim)
            continue;
        TJournalState state;
        try {
            state = ReadJournal(entry.path);
        } catch (const std::exception& error) {
            view.ShowError(Tr(QlConsts::RecoveryRefused) + QString::fromUtf8(error.what()));
            continue;
        }
        const QString name = platform::FileNameFromBytes(state.fileName);
        if (!onlyFile.isEmpty() && name != onlyFile)
            continue;
        if (recovered) {
            // One window shows one text: the others are offered by a copy of their own.
            claim.reset();
            view.StartCopy({});
            return;
        }
        const QString when = QLocale().toString(QDateTime::fromMSecsSinceEpoch(state.timeMs), QLocale::ShortFormat);
        const MsgButton answer = ConfirmationBox(
            Tr(QlConsts::RecoveryFound).arg(Shown(name), when, QString::number(state.characters), state.preview),
            MsgButton::Yes | MsgButton::No | MsgButton::Cancel);
        if (answer == MsgButton::No)
            claim->Remove();
        else if (answer == MsgButton::Yes)
            recovered = Recover(view, state, *claim);
    }
}
