// SPDX-License-Identifier: GPL-3.0-or-later
// The store's side of the desktop mirror.
#include "desktopsync.h"

#include "fileassoc.h"
#include "shell.h"
#include "shellmenus.h"

#include <QFile>

std::string ProgramPath()
{
    return QFile::encodeName(platform::SelfExecutable()).toStdString();
}

platform::DesktopState DesktopStateFromStore(platform::TRegistry& reg, const std::string& program)
{
    platform::DesktopState state;
    state.program = QFile::decodeName(QByteArray::fromStdString(program));
    TFileAssociations associations(reg, program);
    for (const std::string& ext : associations.StoredExtensions())
        if (associations.IsMyAssociation(ext))
            state.extensions << QString::fromStdString(ext);
    state.fileMenu = ExplorerMenuChecked(reg, program);
    state.fileMenuCaption = QString::fromStdString(ExplorerMenuCaption(reg));
    state.folderMenu = StartMenuChecked(reg, program);
    return state;
}

void ChangeShellIntegration(const std::function<void(platform::TRegistry&)>& change)
{
    platform::TRegistry reg(platform::HKEY_CURRENT_USER);
    platform::RegistryTransaction transaction(reg);
    change(reg);
    platform::DesktopMirror mirror;
    mirror.Apply(DesktopStateFromStore(reg, ProgramPath()));
    transaction.Commit();
    mirror.Commit();
}
