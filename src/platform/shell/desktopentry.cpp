// SPDX-License-Identifier: GPL-3.0-or-later
// Filling the desktop entry template, and telling whether the installed entry
// starts the running program.
#include "desktopentry.h"

#include "execquote.h"
#include "filemanagermenus.h"
#include "xdgfolders.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStandardPaths>

static void InitDesktopResource()
{
    // The template lives in this static library; its resource is not linked in by itself.
    Q_INIT_RESOURCE(desktop);
}

namespace platform {

namespace {

// The keys of an entry's main group, as they stand in the file.
QMap<QString, QString> MainGroup(const QByteArray& text)
{
    QMap<QString, QString> keys;
    bool inMain = false;
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'[')) {
            inMain = line == QStringLiteral("[Desktop Entry]");
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (inMain && eq > 0 && !line.startsWith(u'#'))
            keys.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    return keys;
}

QString Canonical(const QString& program)
{
    const QString path = program.contains(u'/') ? program : QStandardPaths::findExecutable(program);
    return path.isEmpty() ? QString() : QFileInfo(path).canonicalFilePath();
}

} // namespace

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

bool InstalledEntryStarts(const QString& program)
{
    const QString self = Canonical(program);
    if (self.isEmpty())
        return false;
    for (const QString& folder : QStringList(XdgDataHome()) + XdgDataDirs()) {
        QFile file(folder + QStringLiteral("/applications/") + QLatin1String(DesktopFileId));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = file.readAll();
        if (text.contains(MirrorMarker))
            continue;
        // The first one found is the one the desktop uses; it hides the rest.
        const QMap<QString, QString> keys = MainGroup(text);
        if (keys.value(QStringLiteral("Hidden")) == QStringLiteral("true"))
            return false;
        return Canonical(ExecProgram(keys.value(QStringLiteral("Exec")))) == self;
    }
    return false;
}

} // namespace platform
