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
    QStringList dirs;
    const QStringList parts = qEnvironmentVariable("XDG_CONFIG_DIRS").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& part : parts)
        if (QDir::isAbsolutePath(part))
            dirs << QDir::cleanPath(part);
    if (dirs.isEmpty())
        dirs << QStringLiteral("/etc/xdg");
    return dirs;
}

} // namespace platform
