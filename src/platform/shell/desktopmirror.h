// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop mirror: what the registry store says is ours (extensions that open
// with Quillet, the two context-menu entries) made true in the user's XDG
// folders, and undone again, giving back whatever the user had before.
#pragma once

#include "filejournal.h"

#include <QString>
#include <QStringList>

#include <set>

namespace platform {

struct DesktopState {
    QString program;           // the executable every entry starts
    QStringList extensions;    // the extensions that open with it, as listed ("TXT")
    bool fileMenu = false;     // the entry on every file
    QString fileMenuCaption;   // its text
    bool folderMenu = false;   // the entry on folders, named "Quillet"
};

// Apply changes the files as one change: when any file or tool fails, every file
// is put back as it was and DesktopError is raised. The change stays only when
// Commit is called; a mirror destroyed before that puts everything back, so the
// caller can tie it to another change that may still fail.
class DesktopMirror {
public:
    DesktopMirror() = default;
    ~DesktopMirror();
    DesktopMirror(const DesktopMirror&) = delete;
    DesktopMirror& operator=(const DesktopMirror&) = delete;

    void Apply(const DesktopState& state);
    void Commit();

    // Where the mirror keeps what it changed in files that are not wholly its own,
    // and the folders and caches it made, which go again once nothing of ours
    // needs them.
    static QString StateFolder();

private:
    void ApplyFiles(const DesktopState& state);
    void WriteOwned(const QString& path, const QByteArray& contents, bool executable);
    void RemoveOwned(const QString& path);
    void ApplyMimeApps(const QStringList& types, const QString& id);
    void ApplyThunar(const DesktopState& state);
    // Rebuilds the desktop's caches of the folders changed, but not those of the
    // folders named in skip.
    void RunTools(bool strict, const QStringList& skip = {});
    void PutBack() noexcept;
    void Tidy(QStringList made) noexcept;

    FileJournal journal;
    bool committed = false;
    QStringList madeOutputs; // what the cache builders made in this change
};

} // namespace platform
