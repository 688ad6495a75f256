// SPDX-License-Identifier: GPL-3.0-or-later
// Atomic writes and removals with a record of what was there before.
#include "filejournal.h"

#include "desktoperror.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace platform {

namespace {

constexpr QFile::Permissions Readable = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser
                                        | QFile::ReadGroup | QFile::ReadOther;
constexpr QFile::Permissions Executable = QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther;

// The file a write lands in: the target of a symbolic link, so that a link kept
// by a dotfile manager stays a link.
QString RealPath(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

void SaveBytes(const QString& path, const QByteArray& bytes, QFile::Permissions permissions)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw DesktopError(path, file.errorString());
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw DesktopError(path, file.errorString());
    if (!QFile::setPermissions(path, permissions))
        throw DesktopError(path, QStringLiteral("permissions not set"));
}

} // namespace

FileJournal::~FileJournal()
{
    if (!committed)
        Rollback();
}

std::optional<QByteArray> FileJournal::Read(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        throw DesktopError(path, info.isDir() ? QStringLiteral("is a folder") : file.errorString());
    return file.readAll();
}

void FileJournal::Remember(const QString& target)
{
    const bool known = std::any_of(saved.begin(), saved.end(), [&](const Saved& s) { return s.path == target; });
    if (known)
        return;
    Saved s;
    s.path = target;
    s.bytes = Read(target);
    s.permissions = QFileInfo(target).permissions();
    saved.push_back(std::move(s));
}

void FileJournal::MakeFolders(const QString& folder)
{
    QStringList missing;
    for (QString dir = QDir::cleanPath(folder); !QFileInfo::exists(dir); dir = QFileInfo(dir).path()) {
        missing.prepend(dir);
        if (dir == QLatin1String("/"))
            break;
    }
    for (const QString& dir : std::as_const(missing)) {
        if (!QDir().mkdir(dir))
            throw DesktopError(dir, QStringLiteral("folder not created"));
        madeFolders << dir;
    }
    if (!QFileInfo(folder).isDir())
        throw DesktopError(folder, QStringLiteral("is not a folder"));
}

void FileJournal::Write(const QString& path, const QByteArray& bytes, bool executable)
{
    const QString target = RealPath(path);
    const QFileInfo info(target);
    const std::optional<QByteArray> current = Read(target);
    QFile::Permissions permissions = current ? info.permissions() : Readable;
    if (executable)
        permissions |= Executable;
    if (current && *current == bytes && info.permissions() == permissions)
        return;
    MakeFolders(info.path());
    Remember(target);
    changed << path;
    SaveBytes(target, bytes, permissions);
}

void FileJournal::Remove(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return;
    Remember(path);
    changed << path;
    QFile file(path);
    if (!file.remove())
        throw DesktopError(path, file.errorString());
}

void FileJournal::Commit()
{
    committed = true;
    saved.clear();
    madeFolders.clear();
}

void FileJournal::Rollback() noexcept
{
    // Putting back is best effort, file by file: the failure that led here has
    // already been said.
    for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
        try {
            if (it->bytes)
                SaveBytes(it->path, *it->bytes, it->permissions);
            else
                QFile::remove(it->path);
        } catch (...) {
        }
    }
    for (auto it = madeFolders.crbegin(); it != madeFolders.crend(); ++it)
        QDir().rmdir(*it);
    saved.clear();
    madeFolders.clear();
    committed = true;
}

} // namespace platform
