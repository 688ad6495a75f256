// SPDX-License-Identifier: GPL-3.0-or-later
// XDG base folders, read from the environment at every call so that a test may
// point them elsewhere.
#include "xdgfolders.h"

#include <QDir>

namespace platform {

namespace {

QString Home()
{
    const QString home = qEnvironmentVariable("HOME");
    return home.isEmpty() ? QDir::homePath() : home;
}

// A relative value is invalid and must be ignored.
QString Absolute(const char* variable, const QString& fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : fallback;
}

// A list variable's absolute entries, or the fallback when it has none.
QStringList AbsoluteList(const char* variable, const QStringList& fallback)
{
    QStringList dirs;
    const QStringList parts = qEnvironmentVariable(variable).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& part : parts)
        if (QDir::isAbsolutePath(part))
            dirs << QDir::cleanPath(part);
    return dirs.isEmpty() ? fallback : dirs;
}

} // namespace

QString XdgDataHome()
{
    return Absolute("XDG_DATA_HOME", Home() + QStringLiteral("/.local/share"));
}

QString XdgConfigHome()
{
    return Absolute("XDG_CONFIG_HOME", Home() + QStringLiteral("/.config"));
}

QString XdgStateHome()
{
    return Absolute("XDG_STATE_HOME", Home() + QStringLiteral("/.local/state"));
}

QStringList XdgConfigDirs()
{
    return AbsoluteList("XDG_CONFIG_DIRS", {QStringLiteral("/etc/xdg")});
}

QStringList XdgDataDirs()
{
    return AbsoluteList("XDG_DATA_DIRS", {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")});
}

} // namespace platform
