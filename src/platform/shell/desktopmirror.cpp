// SPDX-License-Identifier: GPL-3.0-or-later
// Making the user's XDG folders match the state, with everything put back when a
// step fails.
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

QString DesktopEntryFile()
{
    return ApplicationsFolder() + QLatin1Char('/') + QLatin1String(DesktopFileId);
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

std::set<QString> ParseOwned(const std::optional<QByteArray>& text)
{
    std::set<QString> owned;
    if (!text)
        return owned;
    for (const QByteArray& line : text->split('\n'))
        if (!line.isEmpty() && !line.startsWith('#'))
            owned.insert(QString::fromUtf8(line));
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
    journal.Commit();
    committed = true;
    // The state folder goes when nothing is left in it; only now, since putting
    // a file back needs its folder.
    PruneEmptyFolders(StateFolder());
    QDir().rmdir(QFileInfo(StateFolder()).path());
}

void DesktopMirror::PutBack() noexcept
{
    journal.Rollback();
    RunTools(false);
    committed = true;
}

void DesktopMirror::RunTools(bool strict)
{
    const QStringList changed = journal.Changed();
    try {
        // A folder that a rollback took away again has no cache to rebuild.
        if (!ChangedUnder(changed, MimeFolder()).isEmpty() && QFileInfo(MimeFolder()).isDir())
            UpdateMimeDatabase(MimeFolder());
        if (!ChangedUnder(changed, ApplicationsFolder()).isEmpty() && QFileInfo(ApplicationsFolder()).isDir())
            UpdateDesktopDatabase(ApplicationsFolder());
    } catch (const DesktopError&) {
        if (strict)
            throw;
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

    if (types.isEmpty())
        RemoveOwned(DesktopEntryFile());
    else
        WriteOwned(DesktopEntryFile(),
                   DesktopEntry(ExecArgument(state.program) + QStringLiteral(" %f"), types)
                       + QByteArray(MirrorMarker) + "=true\n",
                   false);
    if (declared.isEmpty())
        RemoveOwned(MimePackageFile());
    else
        WriteOwned(MimePackageFile(), MimePackage(declared), false);
    ApplyMimeApps(types);

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

void DesktopMirror::ApplyMimeApps(const QStringList& types)
{
    std::set<QString> owned = ParseOwned(FileJournal::Read(OwnedEntriesFile()));
    // Nothing to take and nothing to give back: the user's file is not even read.
    if (types.isEmpty() && owned.empty())
        return;
    const QString path = MimeAppsFile();
    const std::optional<QByteArray> current = FileJournal::Read(path);
    QByteArray text = current.value_or(QByteArray());
    const QString id = QLatin1String(DesktopFileId);
    const QString defaults = QLatin1String(DefaultApplications);
    const QString added = QLatin1String(AddedAssociations);
    const QChar tab = QLatin1Char('\t');

    for (const QString& type : types) {
        // Taken once, when the extension is taken over: a default the user has
        // chosen since is theirs, and a later Save does not take it back.
        const QString defaultKey = defaults + tab + type;
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
        const QString addedKey = added + tab + type;
        if (!owned.count(addedKey)) {
            QStringList ids = MimeAppsEntry(text, added, type);
            if (!ids.contains(id)) {
                ids << id;
                text = SetMimeAppsEntry(text, added, type, ids);
                owned.insert(addedKey);
            }
        }
    }
    for (auto it = owned.begin(); it != owned.end();) {
        const QString group = it->section(tab, 0, 0);
        const QString type = it->section(tab, 1);
        if (types.contains(type)) {
            ++it;
            continue;
        }
        QStringList ids = MimeAppsEntry(text, group, type);
        ids.removeAll(id);
        text = SetMimeAppsEntry(text, group, type, ids);
        it = owned.erase(it);
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
