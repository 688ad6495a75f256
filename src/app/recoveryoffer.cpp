// SPDX-License-Identifier: GPL-3.0-or-later
// The list of recoverable texts at start and on open, and showing a recovered text.
#include "recoveryoffer.h"

#include "filenames.h"
#include "prompter.h"
#include "journalsnapshot.h"
#include "qlconsts.h"
#include "qlconsts_recovery.h"
#include "sysbib.h"
#include "view.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

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
    bool exact = false;
    QElapsedTimer shown;
    shown.start();
    try {
        exact = ShowJournalText(*view.GEditor, state);
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
    view.FlushRecoveredJournal(state, exact, shown.elapsed());
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
    // Each listed journal stays taken while the list is shown, so that no other
    // copy offers it at the same time.
    struct Offered {
        TJournalClaim claim;
        TJournalState state;
    };
    std::vector<Offered> offered;
    RecoveryListRequest request;
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
        qint64 characters = state.characters;
        for (const TJournalEdit& edit : state.edits)
            characters += (edit.rich ? edit.added : edit.text.size()) - edit.removed;
        // The text is as old as its last change.
        const qint64 time = state.edits.empty() ? state.timeMs : std::max(state.timeMs, state.edits.back().timeMs);
        QString shown = Shown(name);
        if (!name.isEmpty() && DiskIdentityOf(name) != state.disk)
            shown += Tr(QlConsts::RecoveryChangedOnDisk);
        request.entries.push_back({shown, QLocale().toString(QDateTime::fromMSecsSinceEpoch(time), QLocale::ShortFormat),
                                   Tr(QlConsts::RecoveryCharacters).arg(QLocale().toString(characters)),
                                   JournalPreview(state)});
        offered.push_back({std::move(*claim), std::move(state)});
    }
    if (offered.empty())
        return;
    request.discard = [&offered](int index) {
        offered[std::size_t(index)].claim.Remove();
        return true;
    };
    const std::optional<RecoveryListAnswer> answer = CurrentPrompter().RecoveryListDialog(request);
    if (!answer || answer->recover < 0 || answer->recover >= int(offered.size()))
        return;
    Offered& chosen = offered[std::size_t(answer->recover)];
    if (!Recover(view, chosen.state, chosen.claim))
        return;
    // One window shows one text: the rest are offered by a copy of their own.
    bool rest = false;
    for (std::size_t i = 0; i < offered.size(); ++i)
        rest = rest || (int(i) != answer->recover && QFileInfo::exists(offered[i].claim.Path()));
    offered.clear();
    if (rest)
        view.StartCopy({});
}
