// Detached starts of our own executable, PATH look-up and guarded URL opening.
#include "shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace platform {

bool StartDetached(const QString& program, const QStringList& arguments, qint64* pid)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    return process.startDetached(pid);
}

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
    const QString current = QDir::currentPath();
    if (!name.contains(QLatin1Char('/'))) {
        const QString path = QString::fromLocal8Bit(qgetenv("PATH"));
        for (const QString& folder : SearchFolders(current, path)) {
            const QFileInfo candidate(QDir(folder), name);
            if (candidate.isFile())
                return QDir::cleanPath(candidate.absoluteFilePath());
        }
    }
    return QDir::cleanPath(QFileInfo(QDir(current), name).absoluteFilePath());
}

bool IsAllowedUrl(const QString& text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("ftp"))
        return !url.host().isEmpty();
    if (scheme == QLatin1String("mailto"))
        return !url.path().isEmpty();
    if (scheme == QLatin1String("file")) {
        // A link in a document must never run a program: only plain files open.
        const QFileInfo info(url.toLocalFile());
        return info.isFile() && !info.isExecutable();
    }
    return false;
}

bool OpenUrl(const QString& text)
{
    if (!IsAllowedUrl(text))
        return false;
    return QDesktopServices::openUrl(QUrl(text.trimmed(), QUrl::StrictMode));
}

} // namespace platform
