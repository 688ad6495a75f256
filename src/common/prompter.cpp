// SPDX-License-Identifier: GPL-3.0-or-later
// The process-wide prompter.
#include "prompter.h"

#include "qtprompter.h"

namespace {

Prompter* installed = nullptr;

} // namespace

Prompter& CurrentPrompter()
{
    return installed ? *installed : StandardPrompter();
}

Prompter* InstallPrompter(Prompter* prompter)
{
    Prompter* previous = installed;
    installed = prompter;
    return previous;
}
