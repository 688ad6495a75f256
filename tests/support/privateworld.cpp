// SPDX-License-Identifier: GPL-3.0-or-later
#include "privateworld.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

void EnterPrivateWorld(const QString& root)
{
    const QDir dir(root);
    for (const char* sub : {"home", "config", "data", "runtime", "state"})
        dir.mkpath(QString::fromLatin1(sub));
    qputenv("HOME", dir.filePath(QStringLiteral("home")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_STATE_HOME", dir.filePath(QStringLiteral("state")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", dir.filePath(QStringLiteral("runtime")).toLocal8Bit());
    QFile::setPermissions(dir.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("QUILLET_REGISTRY", PrivateRegistryFile(root).toLocal8Bit());
}

QString PrivateRegistryFile(const QString& root)
{
    return QDir(root).filePath(QStringLiteral("registry.db"));
}

const QTemporaryDir& ProcessWorld()
{
    static const QTemporaryDir world = [] {
        QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/quillet-bench-XXXXXX"));
        EnterPrivateWorld(dir.path());
        return dir;
    }();
    return world;
}

QByteArray RussianLine1251()
{
    return QByteArray::fromHex(
        "d1fae5f8fc20e6e520e5f9b820fdf2e8f520ecffe3eae8f520f4f0e0edf6f3e7f1eae8f520e1f3ebeeea2c20e4e020e2fbefe5e920"
        "f7e0fe2e0d0a");
}
