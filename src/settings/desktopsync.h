// SPDX-License-Identifier: GPL-3.0-or-later
// Commands that change what the registry store says about file types and
// context menus change the desktop with it: the store's change and the desktop
// mirror are one change, which happens whole or not at all.
#pragma once

#include "desktopmirror.h"
#include "registry.h"

#include <functional>
#include <string>

// The running executable as the stored commands name it.
std::string ProgramPath();

// What the store says is ours: the saved extensions whose association points to
// this program, and the two menu entries when their commands are this program's.
platform::DesktopState DesktopStateFromStore(platform::TRegistry& reg, const std::string& program);

// Runs the change in one transaction of the store, mirrors the result into the
// user's XDG folders, and commits both. On any failure neither the store nor a
// file has changed, and the error (platform::RegistryError or
// platform::DesktopError) is raised.
void ChangeShellIntegration(const std::function<void(platform::TRegistry&)>& change);
