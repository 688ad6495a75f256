// SPDX-License-Identifier: GPL-3.0-or-later
// Making the user's XDG folders match the state, with everything put back when a
// step fails, and nothing of ours left behind when nothing is checked.
#include "desktopmirror.h"

#include "desktopentry.h"
#include "desktoperror.h"
#include "execquote.h"
#include "filemanagermenus.h"
#include "mimeapps.h"
#include "mimepackage.h"
#include "thunaractions.h"
#include "xdgfolders.h"
#include "xdgtools.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <utility>

namespace platform {

namespace {

QString ApplicationsFolder()
{
    return XdgDataHome() + QStringLiteral("/applications");
}

QString MimeFolder()
{
    return XdgDataHome() + QStringLiteral("/mime");
}

// Where earlier versions wrote their entry, hiding the installed one.
QString InstalledNameInUserFolder()
{
    return ApplicationsFolder() + QLatin1Char('/') + QLatin1String(DesktopFileId);
}

QString PrivateEntryFile()
{
    return ApplicationsFolder() + QLatin1Char('/') + QLatin1String(PrivateDesktopFileId);
}

QString MimePackageFile()
{
    return MimeFolder() + QStringLiteral("/packages/quillet.xml");
}

QString MimeAppsFile()
{
    return XdgConfigHome() + QStringLiteral("/mimeapps.list");
}

QString OwnedEntriesFile()
{
    return DesktopMirror::StateFolder() + QStringLiteral("/mimeapps.owned");
}

QString MadeRecordFile()
{
    return DesktopMirror::StateFolder() + QStringLiteral("/made");
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

void RemoveTree(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
}

// Where a file of the user's that one of ours displaced is kept until ours goes.
QString BackupOf(const QString& path)
{
    const QString saved = DesktopMirror::StateFolder() + QStringLiteral("/saved/");
    const QString data = XdgDataHome() + QLatin1Char('/');
    if (path.startsWith(data))
        return saved + QStringLiteral("data/") + path.mid(data.size());
    return saved + QStringLiteral("config/") + path.mid(XdgConfigHome().size() + 1);
}

// Removes the folders below and at the path that hold nothing.
void PruneEmptyFolders(const QString& path)
{
    const QDir dir(path);
    if (!dir.exists())
        return;
    for (const QString& sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden))
        PruneEmptyFolders(dir.filePath(sub));
    QDir().rmdir(path);
}

bool IsOurs(const QByteArray& contents)
{
    return contents.contains(MirrorMarker);
}

QStringList ChangedUnder(const QStringList& changed, const QString& folder)
{
    QStringList found;
    for (const QString& path : changed)
        if (path.startsWith(folder + QLatin1Char('/')))
            found << path;
    return found;
}

QStringList RecordLines(const std::optional<QByteArray>& text)
{
    QStringList lines;
    if (text)
        for (const QByteArray& line : text->split('\n'))
            if (!line.isEmpty() && !line.startsWith('#'))
                lines << QString::fromUtf8(line);
    return lines;
}

// Each entry is "group\ttype\tid"; earlier versions wrote no id, and theirs
// was always the installed entry's name.
std::set<QString> ParseOwned(const std::optional<QByteArray>& text)
{
    std::set<QString> owned;
    for (const QString& line : RecordLines(text))
        owned.insert(line.count(QLatin1Char('\t')) == 1 ? line + QLatin1Char('\t') + QLatin1String(DesktopFileId)
                                                       : line);
    return owned;
}

QByteArray FormatOwned(const std::set<QString>& owned)
{
    QByteArray text = QByteArray("# ") + MirrorMarker
                      + ": the mimeapps.list entries Quillet's settings made, taken out again when unchecked.\n";
    for (const QString& entry : owned)
        text += entry.toUtf8() + '\n';
    return text;
}

} // namespace

QString DesktopMirror::StateFolder()
{
    return XdgDataHome() + QStringLiteral("/quillet/desktop");
}

DesktopMirror::~DesktopMirror()
{
    if (!committed)
        PutBack();
}

void DesktopMirror::Apply(const DesktopState& state)
{
    try {
        ApplyFiles(state);
        RunTools(true);
    } catch (...) {
        PutBack();
        throw;
    }
}

void DesktopMirror::Commit()
{
    const QStringList made = journal.MadeFolders() + madeOutputs;
    journal.Commit();
    committed = true;
    // Only now, since putting a file back needs its folder.
    Tidy(made);
}

void DesktopMirror::PutBack() noexcept
{
    // What the cache builders made in this change goes with it, and where they
    // made it there was no cache to rebuild before.
    const QStringList made = std::exchange(madeOutputs, {});
    QStringList skip;
    for (const QString& path : made) {
        RemoveTree(path);
        skip << QFileInfo(path).path();
    }
    journal.Rollback();
    RunTools(false, skip);
    committed = true;
}

void DesktopMirror::RunTools(bool strict, const QStringList& skip)
{
    const QStringList changed = journal.Changed();
    const std::pair<QString, bool (*)(const QString&)> tools[] = {{MimeFolder(), UpdateMimeDatabase},
                                                                  {ApplicationsFolder(), UpdateDesktopDatabase}};
    try {
        for (const auto& [folder, tool] : tools) {
            // A folder that a rollback took away again has no cache to rebuild.
            if (ChangedUnder(changed, folder).isEmpty() || !QFileInfo(folder).isDir() || skip.contains(folder))
                continue;
            const QStringList before = Entries(folder);
            tool(folder);
            for (const QString& name : Entries(folder))
                if (!before.contains(name))
                    madeOutputs << folder + QLatin1Char('/') + name;
        }
    } catch (const DesktopError&) {
        if (strict)
            throw;
    }
}

void DesktopMirror::Tidy(QStringList made) noexcept
{
    // Best effort: the change itself is made, and a folder left over is no
    // reason to say it failed.
    try {
        for (const QString& path : RecordLines(FileJournal::Read(MadeRecordFile())))
            if (!made.contains(path))
                made << path;
        // Caches go once nothing is left for them to describe: the compiled MIME
        // files when no package is left (another program's package needs them,
        // whoever built them), the entry cache when our entry is gone.
        const bool noPackages = Entries(MimeFolder() + QStringLiteral("/packages")).isEmpty();
        const bool noEntry = !IsOurs(FileJournal::Read(PrivateEntryFile()).value_or(QByteArray()));
        for (const QString& path : std::as_const(made)) {
            const QFileInfo info(path);
            if ((noPackages && info.path() == MimeFolder() && info.fileName() != QLatin1String("packages"))
                || (noEntry && path == ApplicationsFolder() + QStringLiteral("/mimeinfo.cache")))
                RemoveTree(path);
        }
        QFile::remove(MadeRecordFile());
        // Folders we made that hold nothing now, the deepest first.
        std::sort(made.begin(), made.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
        PruneEmptyFolders(StateFolder());
        for (const QString& path : std::as_const(made))
            if (QFileInfo(path).isDir())
                QDir().rmdir(path);
        // The state folder is wholly ours, whoever made it.
        QDir().rmdir(StateFolder());
        QStringList remaining;
        for (const QString& path : std::as_const(made))
            if (QFileInfo::exists(path) && !path.contains(QLatin1Char('\n')))
                remaining << path;
        if (remaining.isEmpty())
            return;
        // The record needs a folder: one made for it goes in the record too.
        for (QString dir = StateFolder(); !QFileInfo::exists(dir); dir = QFileInfo(dir).path())
            remaining << dir;
        if (!QDir().mkpath(StateFolder()))
            return;
        QByteArray text = QByteArray("# ") + MirrorMarker
                          + ": the folders and caches Quillet's settings made, removed when nothing needs them.\n";
        for (const QString& path : std::as_const(remaining))
            text += path.toUtf8() + '\n';
        QSaveFile file(MadeRecordFile());
        if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size())
            file.commit();
    } catch (...) {
    }
}

void DesktopMirror::ApplyFiles(const DesktopState& state)
{
    QStringList extensions;
    for (const QString& extension : state.extensions)
        if (IsMirrorableExtension(extension) && !extensions.contains(extension, Qt::CaseInsensitive))
            extensions << extension;
    const bool anything = !extensions.isEmpty() || state.fileMenu || state.folderMenu;
    if (anything && !IsQuotablePath(state.program))
        throw DesktopError(state.program, QStringLiteral("this path cannot be written into a desktop entry"));
    if (anything && !QFileInfo(state.program).isFile())
        throw DesktopError(state.program, QStringLiteral("the program is not there"));

    // The desktop's own type where it knows the extension, else one we declare.
    QStringList types;
    QStringList declared;
    for (const QString& extension : std::as_const(extensions)) {
        QStringList known = KnownTypes(extension.toLower());
        if (known.isEmpty()) {
            declared << extension;
            known << DeclaredTypeName(extension);
        }
        for (const QString& type : std::as_const(known))
            if (!types.contains(type))
                types << type;
    }

    // An entry of ours under the installed entry's name, as earlier versions
    // wrote it, hides the installed one and every type it opens: it goes.
    RemoveOwned(InstalledNameInUserFolder());
    // The installed entry is never replaced: the defaults name it. Only a copy
    // that no installed entry starts needs an entry of its own.
    const bool installed = InstalledEntryStarts(state.program);
    const QString id = QLatin1String(installed ? DesktopFileId : PrivateDesktopFileId);
    if (types.isEmpty() || installed)
        RemoveOwned(PrivateEntryFile());
    else
        WriteOwned(PrivateEntryFile(),
                   DesktopEntry(ExecArgument(state.program) + QStringLiteral(" %f"), types)
                       + QByteArray(MirrorMarker) + "=true\n",
                   false);
    if (declared.isEmpty())
        RemoveOwned(MimePackageFile());
    else
        WriteOwned(MimePackageFile(), MimePackage(declared), false);
    ApplyMimeApps(types, id);

    const std::pair<ShellMenu, bool> menus[] = {{ShellMenu::Files, state.fileMenu},
                                                 {ShellMenu::Folders, state.folderMenu}};
    QStringList wanted;
    for (const auto& [menu, on] : menus) {
        const QString caption = menu == ShellMenu::Files ? state.fileMenuCaption : QStringLiteral("Quillet");
        for (const MenuFile& file : FileManagerMenus(menu, state.program, caption)) {
            if (on) {
                WriteOwned(file.path, file.contents, file.executable);
                wanted << file.path;
            } else {
                RemoveOwned(file.path);
            }
        }
    }
    // A script is named after the menu text, which the store no longer holds once
    // the entry is off: any script of ours not wanted now goes.
    for (const QString& folder : ScriptFolders())
        for (const QFileInfo& script : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden))
            if (!wanted.contains(script.filePath())
                && IsOurs(FileJournal::Read(script.filePath()).value_or(QByteArray())))
                RemoveOwned(script.filePath());
    ApplyThunar(state);

}

void DesktopMirror::WriteOwned(const QString& path, const QByteArray& contents, bool executable)
{
    const std::optional<QByteArray> current = FileJournal::Read(path);
    if (current && !IsOurs(*current)) {
        // The user's own file of this name comes back when ours goes; the newest
        // of theirs, should they have put one in place of ours meanwhile.
        journal.Write(BackupOf(path), *current, QFileInfo(path).isExecutable());
    }
    journal.Write(path, contents, executable);
}

void DesktopMirror::RemoveOwned(const QString& path)
{
    const std::optional<QByteArray> current = FileJournal::Read(path);
    if (current && !IsOurs(*current))
        return;
    if (current)
        journal.Remove(path);
    const QString backup = BackupOf(path);
    if (const std::optional<QByteArray> saved = FileJournal::Read(backup)) {
        journal.Write(path, *saved, QFileInfo(backup).isExecutable());
        journal.Remove(backup);
    }
}

void DesktopMirror::ApplyMimeApps(const QStringList& types, const QString& id)
{
    std::set<QString> owned = ParseOwned(FileJournal::Read(OwnedEntriesFile()));
    // Nothing to take and nothing to give back: the user's file is not even read.
    if (types.isEmpty() && owned.empty())
        return;
    const QString path = MimeAppsFile();
    const std::optional<QByteArray> current = FileJournal::Read(path);
    QByteArray text = current.value_or(QByteArray());
    const QString defaults = QLatin1String(DefaultApplications);
    const QString added = QLatin1String(AddedAssociations);
    const QChar tab = QLatin1Char('\t');

    // First what no longer holds: a type unchecked, or an entry named for a
    // copy the desktop now starts by another entry.
    for (auto it = owned.begin(); it != owned.end();) {
        const QString group = it->section(tab, 0, 0);
        const QString type = it->section(tab, 1, 1);
        const QString ownedId = it->section(tab, 2);
        if (types.contains(type) && ownedId == id) {
            ++it;
            continue;
        }
        QStringList ids = MimeAppsEntry(text, group, type);
        ids.removeAll(ownedId);
        text = SetMimeAppsEntry(text, group, type, ids);
        it = owned.erase(it);
    }
    for (const QString& type : types) {
        // Taken once, when the extension is taken over: a default the user has
        // chosen since is theirs, and a later Save does not take it back.
        const QString defaultKey = defaults + tab + type + tab + id;
        if (!owned.count(defaultKey)) {
            QStringList ids = MimeAppsEntry(text, defaults, type);
            if (ids.value(0) != id) {
                // The earlier default stays behind ours and comes back when ours goes.
                ids.removeAll(id);
                ids.prepend(id);
                text = SetMimeAppsEntry(text, defaults, type, ids);
                owned.insert(defaultKey);
            }
        }
        const QString addedKey = added + tab + type + tab + id;
        if (!owned.count(addedKey)) {
            QStringList ids = MimeAppsEntry(text, added, type);
            if (!ids.contains(id)) {
                ids << id;
                text = SetMimeAppsEntry(text, added, type, ids);
                owned.insert(addedKey);
            }
        }
    }

    if (text != current.value_or(QByteArray())) {
        if (IsEmptyMimeApps(text))
            journal.Remove(path);
        else
            journal.Write(path, text);
    }
    if (owned.empty())
        journal.Remove(OwnedEntriesFile());
    else
        journal.Write(OwnedEntriesFile(), FormatOwned(owned));
}

void DesktopMirror::ApplyThunar(const DesktopState& state)
{
    const QString path = ThunarActionsFile();
    if (!state.fileMenu && !state.folderMenu && !QFileInfo(path).isFile())
        return;
    const std::optional<QByteArray> current = FileJournal::Read(path);
    const QByteArray seed = ThunarSeed();
    QByteArray text = current.value_or(seed);
    const std::pair<ShellMenu, bool> menus[] = {{ShellMenu::Files, state.fileMenu},
                                                 {ShellMenu::Folders, state.folderMenu}};
    for (const auto& [menu, on] : menus) {
        text = WithoutThunarAction(text, ThunarActionId(menu));
        if (on) {
            const QString caption = menu == ShellMenu::Files ? state.fileMenuCaption : QStringLiteral("Quillet");
            text = WithThunarAction(text, ThunarAction(menu, state.program, caption));
        }
    }
    if (text == current.value_or(seed))
        return;
    // A file that says no more than the system's is not needed.
    if (text == seed)
        journal.Remove(path);
    else
        journal.Write(path, text);
}

} // namespace platform
