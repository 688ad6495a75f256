// The link policy: a short list of schemes, and local files only when they cannot run.
#include "linkopener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>

namespace {

bool IsExecutableFile(const QFileInfo& info)
{
    if (info.isExecutable())
        return true;
    // Types a desktop may run even without the execute bit.
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

QUrl LinkUrl(const QString& linkText)
{
    const QString text = linkText.trimmed();
    if (text.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return QUrl(QStringLiteral("http://") + text, QUrl::StrictMode);
    return QUrl(text, QUrl::StrictMode);
}

bool IsSafeLink(const QUrl& url)
{
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("ftp"))
        return !url.host().isEmpty();
    if (scheme == QLatin1String("mailto"))
        return !url.path().isEmpty();
    if (scheme == QLatin1String("file")) {
        if (!url.host().isEmpty() && url.host() != QLatin1String("localhost"))
            return false;
        const QFileInfo info(url.toLocalFile());
        return info.exists() && info.isFile() && !IsExecutableFile(info);
    }
    return false;
}

bool DefaultLinkOpener(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}
