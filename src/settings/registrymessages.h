// SPDX-License-Identifier: GPL-3.0-or-later
// Registry failures as the user sees them: the store's resource string in the
// current language with the name it concerns; an unreadable store is told once.
#pragma once

#include "registryerror.h"

#include <QString>

QString RegistryMessage(const platform::RegistryError& error);

// Shows the failure in an error box. A store that cannot be read at all is reported
// once per process: the program goes on with its defaults and does not repeat it at
// every reader. Answers whether a box was shown.
bool ReportRegistryError(const platform::RegistryError& error);
