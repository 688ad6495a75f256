// SPDX-License-Identifier: GPL-3.0-or-later
// Starts of our own executable, PATH look-up and guarded URL opening.
#include "shell.h"

#include "filenames.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QUrl>

#include <sys/stat.h>

namespace platform {

namespace {

QString& SelfOverride()
{
    static QString program;
    return program;
}

} // namespace

QString SelfExecutable()
{
    return SelfOverride().isEmpty() ? QCoreApplication::applicationFilePath() : SelfOverride();
}

void SetSelfExecutable(const QString& program)
{
    SelfOverride() = program;
}

bool StartSelf(const QStringList& arguments, qint64* pid)
{
    return StartDetached(SelfExecutable(), arguments, pid);
}

QStringList SearchFolders(const QString& currentFolder, const QString& pathVariable)
{
    QStringList folders{currentFolder};
    // The old limit on how much of the search path is read keeps a runaway
    // variable from costing a stat per bogus entry.
    constexpr qsizetype PathReadLimit = 8000;
    const QStringList parts = pathVariable.left(PathReadLimit).split(QLatin1Char(':'));
    for (const QString& part : parts) {
        // An empty entry means the current folder, which is searched first anyway.
        if (!part.isEmpty())
            folders << part;
    }
    return folders;
}

QString FindFileOnPath(const QString& name)
{
    if (name.isEmpty())
        return name;
    // Names are compared and joined as text but looked up as their exact bytes, so
    // a name that is not UTF-8 is found as it is.
    const QString current = CurrentFolder();
    auto absolute = [&current](const QString& path) {
        return QDir::cleanPath(path.startsWith(QLatin1Char('/')) ? path : current + QLatin1Char('/') + path);
    };
    if (!name.contains(QLatin1Char('/'))) {
        const QString path = FileNameFromBytes(qgetenv("PATH"));
        for (const QString& folder : SearchFolders(current, path)) {
            const QString candidate = absolute(folder + QLatin1Char('/') + name);
            struct stat st {};
            if (::stat(FileNameBytes(candidate).constData(), &st) == 0 && S_ISREG(st.st_mode))
                return candidate;
        }
    }
    return absolute(name);
}

namespace {

// Local files a desktop would run, with or without the execute bit.
bool IsRunnable(const QFileInfo& info)
{
    if (info.isExecutable())
        return true;
    static const char* const runnable[] = {
        "application/x-executable", "application/x-sharedlib", "application/x-pie-executable",
        "application/x-shellscript", "application/x-desktop", "application/x-ms-dos-executable",
        "application/x-msdownload", "application/x-perl", "application/x-python", "text/x-python",
        "application/x-ruby", "application/x-java-archive", "application/vnd.appimage",
        "application/x-msi", "application/x-ms-shortcut",
    };
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info);
    for (const char* name : runnable)
        if (type.inherits(QString::fromLatin1(name)))
            return true;
    return false;
}

} // namespace

bool IsAllowedUrl(const QUrl& url)
{
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("ftp"))
        return !url.host().isEmpty();
    if (scheme == QLatin1String("mailto"))
        return !url.path().isEmpty();
    if (scheme == QLatin1String("file")) {
        // A link in a document must never run a program: only plain local files open.
        if (!url.host().isEmpty() && url.host() != QLatin1String("localhost"))
            return false;
        const QFileInfo info(url.toLocalFile());
        return info.isFile() && !IsRunnable(info);
    }
    return false;
}

bool IsAllowedUrl(const QString& text)
{
    return IsAllowedUrl(QUrl(text.trimmed(), QUrl::StrictMode));
}

bool OpenUrl(const QString& text)
{
    if (!IsAllowedUrl(text))
        return false;
    return QDesktopServices::openUrl(QUrl(text.trimmed(), QUrl::StrictMode));
}

} // namespace platform
