// SPDX-License-Identifier: GPL-3.0-or-later
// Scripted answers of the file dialogs shared by the window tests.
#pragma once

#include "prompter.h"

// The file dialog's answer: this file, chosen with this filter.
inline FileDialogAnswer Chosen(const QString& file, int filterIndex = 1)
{
    return {{file}, filterIndex};
}
