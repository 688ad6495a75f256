// SPDX-License-Identifier: GPL-3.0-or-later
// Thunar's custom actions file, ~/.config/Thunar/uca.xml, which holds the user's
// own actions beside ours: ours go in and out by their unique ids and nothing
// else in the file is rewritten.
#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

QString ThunarActionsFile();

// What Thunar shows while the user has no file of their own: the first system
// one, else an empty list. A user file made by us starts as this copy, so that
// the system's actions do not vanish from the menu.
QByteArray ThunarSeed();

// The text without the action of this unique id.
QByteArray WithoutThunarAction(const QByteArray& text, const QString& uniqueId);
// The text with the action added at the end of the list.
QByteArray WithThunarAction(const QByteArray& text, const QByteArray& action);

} // namespace platform
