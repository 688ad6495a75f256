// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class QTemporaryDir;

// Points HOME, the XDG folders and the settings store into folders under root,
// so that a test or benchmark never reads or changes the user's own settings,
// desktop entries or running copies. The runtime folder is private to the user,
// as the local sockets of running copies expect.
void EnterPrivateWorld(const QString& root);

// The settings store of a private world entered at root.
QString PrivateRegistryFile(const QString& root);

// One private world for a whole process (benchmarks), entered on first use and
// removed when the process ends.
const QTemporaryDir& ProcessWorld();

// "Съешь же ещё этих мягких французских булок, да выпей чаю." in Windows-1251,
// ended by CR LF: a line of Russian prose that uses most of the alphabet.
QByteArray RussianLine1251();
