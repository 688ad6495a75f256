// SPDX-License-Identifier: GPL-3.0-or-later
// Searching the program's folders for its own files.
#include "datafolders.h"

#include "installdirs.h"

#include <QDir>
#include <QFileInfo>

QStringList DataFolders(const QString& executable)
{
    const QDir bin = QFileInfo(executable).absoluteDir();
    const QString candidates[] = {
        bin.absolutePath(),
        QDir::cleanPath(bin.absoluteFilePath(QString::fromUtf8(DataFolderFromBin))),
        QDir::cleanPath(QString::fromUtf8(InstalledDataFolder)),
    };
    QStringList folders;
    for (const QString& folder : candidates)
        if (!folder.isEmpty() && !folders.contains(folder))
            folders << folder;
    return folders;
}

QString FindDataFile(const QString& executable, const QString& name)
{
    for (const QString& folder : DataFolders(executable)) {
        const QFileInfo file(QDir(folder).filePath(name));
        if (file.isFile())
            return file.absoluteFilePath();
    }
    return {};
}
