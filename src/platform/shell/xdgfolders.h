// SPDX-License-Identifier: GPL-3.0-or-later
// The user's XDG base folders as the base-directory rules define them: the
// variable when it holds an absolute path, else the fallback under HOME.
#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// $XDG_DATA_HOME, else ~/.local/share.
QString XdgDataHome();
// $XDG_CONFIG_HOME, else ~/.config.
QString XdgConfigHome();
// $XDG_STATE_HOME, else ~/.local/state.
QString XdgStateHome();
// $XDG_CONFIG_DIRS, else /etc/xdg; only read, never written.
QStringList XdgConfigDirs();
// $XDG_DATA_DIRS, else /usr/local/share and /usr/share: where installed
// programs keep their desktop entries; only read, never written.
QStringList XdgDataDirs();

} // namespace platform
