// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program's own files (language files, the help file) are looked for:
// beside the executable first, as a program unpacked into one folder has them,
// then in the data folder of an installed program.
#pragma once

#include <QString>
#include <QStringList>

// The folders in the order they are searched, each once: the executable's own
// folder, the data folder reached from it (so that an installed tree may be moved),
// and the data folder of the installation this build was made for.
QStringList DataFolders(const QString& executable);

// The first of DataFolders holding a file of this name; empty when none does.
QString FindDataFile(const QString& executable, const QString& name);
