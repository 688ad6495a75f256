// SPDX-License-Identifier: GPL-3.0-or-later
// The interface-language override: a two-letter code stored per executable, under
// the executable's full path as the value name, read at the next start.
#pragma once

#include <QString>

// The stored code, or empty when none is stored for this executable.
QString ReadLanguageOverride(const QString& executable);
void WriteLanguageOverride(const QString& executable, const QString& code);
// Removes the value; false when there was none.
bool DeleteLanguageOverride(const QString& executable);
