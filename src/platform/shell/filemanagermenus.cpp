// SPDX-License-Identifier: GPL-3.0-or-later
// The context-menu entries in each file manager's own format.
#include "filemanagermenus.h"

#include "execquote.h"
#include "xdgfolders.h"

namespace platform {

namespace {

bool ForFiles(ShellMenu menu)
{
    return menu == ShellMenu::Files;
}

// The base name of each file: distinct for the two menus.
QString Stem(ShellMenu menu)
{
    return ForFiles(menu) ? QStringLiteral("quillet-load") : QStringLiteral("quillet-folder");
}

// The command line in a key file: the path always quoted, then the file list.
QString KeyFileCommand(ShellMenu menu, const QString& program)
{
    const QString command = ExecArgument(program, true) + (ForFiles(menu) ? QStringLiteral(" %F") : QString());
    return KeyFileValue(command);
}

QByteArray Script(ShellMenu menu, const QString& program)
{
    // A script gets the selected files as its arguments; the folder entry starts
    // the program alone, as the registry's folder command does.
    return (QStringLiteral("#!/bin/sh\n# %1: written by Quillet's settings; removed when unchecked there.\nexec ")
                .arg(QLatin1String(MirrorMarker))
            + ShellArgument(program) + (ForFiles(menu) ? QStringLiteral(" \"$@\"\n") : QStringLiteral("\n")))
        .toUtf8();
}

QByteArray ServiceMenu(ShellMenu menu, const QString& program, const QString& caption)
{
    const QString types =
        ForFiles(menu) ? QStringLiteral("application/octet-stream;") : QStringLiteral("inode/directory;");
    return (QStringLiteral("[Desktop Entry]\nType=Service\nMimeType=%1\nX-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"
                           "Actions=quillet;\n%2=true\n\n[Desktop Action quillet]\nName=%3\nIcon=quillet\nExec=%4\n")
                .arg(types, QLatin1String(MirrorMarker), KeyFileValue(caption), KeyFileCommand(menu, program)))
        .toUtf8();
}

QByteArray NemoAction(ShellMenu menu, const QString& program, const QString& caption)
{
    const QString selection = ForFiles(menu) ? QStringLiteral("Selection=notnone\nExtensions=nodirs;\n")
                                             : QStringLiteral("Selection=s\nExtensions=dir;\n");
    return (QStringLiteral("[Nemo Action]\nActive=true\nName=%1\nComment=%1\nIcon-Name=quillet\nExec=%2\n%3%4=true\n")
                .arg(KeyFileValue(caption), KeyFileCommand(menu, program), selection, QLatin1String(MirrorMarker)))
        .toUtf8();
}

QByteArray FileManagerAction(ShellMenu menu, const QString& program, const QString& caption)
{
    const QString types = ForFiles(menu) ? QStringLiteral("all/allfiles;") : QStringLiteral("inode/directory;");
    return (QStringLiteral("[Desktop Entry]\nType=Action\nName=%1\nTooltip=%1\nIcon=quillet\nProfiles=quillet;\n"
                           "%2=true\n\n[X-Action-Profile quillet]\nName=%1\nMimeTypes=%3\nExec=%4\n")
                .arg(KeyFileValue(caption), QLatin1String(MirrorMarker), types, KeyFileCommand(menu, program)))
        .toUtf8();
}

QString XmlText(const QString& text)
{
    return text.toHtmlEscaped();
}

} // namespace

QStringList ScriptFolders()
{
    return {XdgDataHome() + QStringLiteral("/nautilus/scripts"), XdgConfigHome() + QStringLiteral("/caja/scripts")};
}

std::vector<MenuFile> FileManagerMenus(ShellMenu menu, const QString& program, const QString& caption)
{
    const QString data = XdgDataHome();
    const QString stem = Stem(menu);
    // Scripts are listed in their menu by file name.
    const QString scriptName = caption.isEmpty() ? stem : QString(caption).replace(QLatin1Char('/'), QLatin1Char('-'));
    const QStringList scripts = ScriptFolders();
    return {
        {scripts[0] + QLatin1Char('/') + scriptName, Script(menu, program), true},
        {scripts[1] + QLatin1Char('/') + scriptName, Script(menu, program), true},
        // Dolphin shows a service menu from the user's folder only when it may be run.
        {data + QStringLiteral("/kio/servicemenus/") + stem + QStringLiteral(".desktop"),
         ServiceMenu(menu, program, caption), true},
        {data + QStringLiteral("/nemo/actions/") + stem + QStringLiteral(".nemo_action"),
         NemoAction(menu, program, caption), false},
        {data + QStringLiteral("/file-manager/actions/") + stem + QStringLiteral(".desktop"),
         FileManagerAction(menu, program, caption), false},
    };
}

QString ThunarActionId(ShellMenu menu)
{
    return Stem(menu);
}

QByteArray ThunarAction(ShellMenu menu, const QString& program, const QString& caption)
{
    // Thunar reads the command with shell rules and puts each file in quotes itself.
    const QString command = ExecArgument(program, true) + (ForFiles(menu) ? QStringLiteral(" %F") : QString());
    const QString conditions = ForFiles(menu) ? QStringLiteral("\t<audio-files/>\n\t<image-files/>\n\t<other-files/>\n"
                                                               "\t<text-files/>\n\t<video-files/>\n")
                                              : QStringLiteral("\t<directories/>\n");
    return (QStringLiteral("<action>\n\t<icon>quillet</icon>\n\t<name>%1</name>\n\t<submenu></submenu>\n"
                           "\t<unique-id>%2</unique-id>\n\t<command>%3</command>\n\t<description>%1</description>\n"
                           "\t<range></range>\n\t<patterns>*</patterns>\n%4</action>\n")
                .arg(XmlText(caption), ThunarActionId(menu), XmlText(command), conditions))
        .toUtf8();
}

} // namespace platform
