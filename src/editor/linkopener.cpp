// SPDX-License-Identifier: GPL-3.0-or-later
// The link policy: a short list of schemes, and local files only when they cannot run.
#include "linkopener.h"

#include "shell.h"

#include <QDesktopServices>

QUrl LinkUrl(const QString& linkText)
{
    const QString text = linkText.trimmed();
    if (text.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return QUrl(QStringLiteral("http://") + text, QUrl::StrictMode);
    return QUrl(text, QUrl::StrictMode);
}

bool IsSafeLink(const QUrl& url)
{
    return platform::IsAllowedUrl(url);
}

bool DefaultLinkOpener(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}
