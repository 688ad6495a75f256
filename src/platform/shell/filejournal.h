// SPDX-License-Identifier: GPL-3.0-or-later
// Changes to the user's files made so that a failure part-way through can put
// every file back exactly as it was: contents, permissions, and no new folders.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace platform {

class FileJournal {
public:
    FileJournal() = default;
    // Puts everything back unless Commit was called.
    ~FileJournal();
    FileJournal(const FileJournal&) = delete;
    FileJournal& operator=(const FileJournal&) = delete;

    // Gives the file these contents: written whole to a temporary file in the same
    // folder and renamed over it, so a reader never sees half a file. Missing
    // folders are made; a symbolic link is written through, not replaced. An
    // existing file keeps its permissions; a new one is readable by all, and
    // executable too when asked. Nothing is written when the contents are already
    // these. Raises DesktopError.
    void Write(const QString& path, const QByteArray& bytes, bool executable = false);
    // Removes the file when it exists. Raises DesktopError.
    void Remove(const QString& path);

    // The file's contents, or nothing when there is no such file. Raises
    // DesktopError when it exists but cannot be read.
    static std::optional<QByteArray> Read(const QString& path);

    // The files changed so far, as given.
    const QStringList& Changed() const { return changed; }
    // The folders made for them that were not there before, until Commit.
    const QStringList& MadeFolders() const { return madeFolders; }

    void Commit();
    void Rollback() noexcept;

private:
    struct Saved {
        QString path; // the real file, links resolved
        std::optional<QByteArray> bytes;
        QFile::Permissions permissions;
    };

    void Remember(const QString& target);
    void MakeFolders(const QString& folder);

    std::vector<Saved> saved;
    QStringList madeFolders;
    QStringList changed;
    bool committed = false;
};

} // namespace platform
