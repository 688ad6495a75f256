// SPDX-License-Identifier: GPL-3.0-or-later
// Filling the desktop entry template.
#include "desktopentry.h"

#include "execquote.h"

#include <QFile>

static void InitDesktopResource()
{
    // The template lives in this static library; its resource is not linked in by itself.
    Q_INIT_RESOURCE(desktop);
}

namespace platform {

QByteArray DesktopEntry(const QString& exec, const QStringList& mimeTypes)
{
    InitDesktopResource();
    QFile file(QStringLiteral(":/desktop/quillet.desktop.in"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    QString types;
    for (const QString& type : mimeTypes)
        types += type + QLatin1Char(';');
    // The types first: a path may hold anything, the types only type-name characters.
    text.replace(QStringLiteral("@QUILLET_MIME_TYPES@"), types);
    text.replace(QStringLiteral("@QUILLET_EXEC@"), KeyFileValue(exec));
    return text.toUtf8();
}

} // namespace platform
