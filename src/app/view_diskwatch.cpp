// SPDX-License-Identifier: GPL-3.0-or-later
// Files changed on disk behind the window: another copy's save, a file replaced
// by mv or deleted. Noticed through the file-system watcher and a periodic look
// at size, time and inode, since a watch on a replaced file sees nothing more.
#include "view.h"

#include "filenames.h"
#include "qlconsts.h"
#include "qlconsts_recovery.h"
#include "sysbib.h"

#include <QFileSystemWatcher>
#include <QTimer>

namespace {

constexpr int LookEveryMs = 500;
// A writer's several steps (truncate, write, rename) settle before the look.
constexpr int SettleMs = 100;

} // namespace

void TfmView::WatchFile()
{
    if (!diskWatcher) {
        diskWatcher = new QFileSystemWatcher(this);
        connect(diskWatcher, &QFileSystemWatcher::fileChanged, this,
                [this] { QTimer::singleShot(SettleMs, this, [this] { DiskChanged(); }); });
        auto* look = new QTimer(this);
        connect(look, &QTimer::timeout, this, [this] { DiskChanged(); });
        look->start(LookEveryMs);
    }
    if (const QStringList watched = diskWatcher->files(); !watched.isEmpty())
        diskWatcher->removePaths(watched);
    knownDiskName = CurFileName;
    knownDisk = DiskIdentityOf(CurFileName);
    noticedDisk = knownDisk;
    if (knownDisk.exists)
        diskWatcher->addPath(CurFileName);
}

void TfmView::DiskChanged()
{
    if (diskQuestionOpen || !TextReady || knownDiskName.isEmpty() || knownDiskName != CurFileName
        || !knownDisk.exists)
        return;
    const TDiskIdentity now = DiskIdentityOf(CurFileName);
    if (now == noticedDisk)
        return;
    noticedDisk = now;
    // A file put in place of the watched one is a new file to the watcher.
    if (now.exists && !diskWatcher->files().contains(CurFileName))
        diskWatcher->addPath(CurFileName);
    diskQuestionOpen = true;
    const QString name = platform::DisplayFileName(CurFileName);
    if (!now.exists) {
        InformationBox(Tr(QlConsts::FileDeletedOnDisk).arg(name));
    } else if (ConfirmationBox(Tr(QlConsts::FileChangedOnDisk).arg(name), MsgButton::Yes | MsgButton::No)
               == MsgButton::Yes) {
        // The text shown is not lost: its journal stays, to be offered at the next start.
        if (GEditor->Modified())
            KeepJournalForLater();
        GEditor->SetModified(false);
        LoadNewFile(CurFileName, CurEncoding, false, 0, 0);
    }
    diskQuestionOpen = false;
}

bool TfmView::MaySaveOverChanged(const QString& target)
{
    if (target != knownDiskName || !knownDisk.exists)
        return true;
    const TDiskIdentity now = DiskIdentityOf(target);
    if (now == knownDisk)
        return true;
    const char* question = now.exists ? QlConsts::SaveOverChanged : QlConsts::SaveRecreates;
    return ConfirmationBox(Tr(question).arg(platform::DisplayFileName(target)), MsgButton::Yes | MsgButton::No)
           == MsgButton::Yes;
}
