// SPDX-License-Identifier: GPL-3.0-or-later
// Opening local files through the desktop, after asking whether it has a
// program for the type: the desktop's opener itself would start and then fail
// where the user cannot see it.
#include "openfile.h"

#include "shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform {

namespace {

constexpr int QueryTimeoutMs = 5000;

} // namespace

bool HasDesktopHandler(const QString& mimeType)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (tool.isEmpty() || mimeType.isEmpty())
        return true;
    QProcess query;
    query.start(tool, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForFinished(QueryTimeoutMs)) {
        query.kill();
        query.waitForFinished();
        return true;
    }
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

OpenFileResult OpenLocalFile(const QString& path, const QString& mimeType)
{
    const QUrl url = QUrl::fromLocalFile(path);
    if (!IsAllowedUrl(url))
        return OpenFileResult::Refused;
    if (!HasDesktopHandler(mimeType))
        return OpenFileResult::NoHandler;
    return QDesktopServices::openUrl(url) ? OpenFileResult::Opened : OpenFileResult::Failed;
}

} // namespace platform
