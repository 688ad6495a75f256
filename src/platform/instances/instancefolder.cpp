// SPDX-License-Identifier: GPL-3.0-or-later
// Finding, making and checking the copies' folder.
#include "instancefolder.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QByteArray FolderPath()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    // A relative runtime folder is invalid by the XDG rules and is not trusted.
    if (runtime.startsWith('/'))
        return runtime + "/quillet";
    return "/tmp/quillet-" + QByteArray::number(::getuid());
}

bool OwnPrivateFolder(const QByteArray& path)
{
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
        return false;
    if ((info.st_mode & 077) == 0)
        return true;
    // Ours but open to others (an old umask, a copy by hand): narrow it.
    return ::chmod(path.constData(), 0700) == 0;
}

} // namespace

std::optional<QString> InstanceFolder(bool create)
{
    const QByteArray path = FolderPath();
    if (create && ::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return std::nullopt;
    if (!OwnPrivateFolder(path))
        return std::nullopt;
    return QFile::decodeName(path);
}

QString InstanceSocketPath(const QString& folder, qint64 handle)
{
    return folder + QLatin1Char('/') + QString::number(handle);
}

} // namespace platform
