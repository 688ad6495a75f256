// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's byte cache of its text.
#include "tempstream.h"

#include "qxeditor.h"

void TTempStream::Invalidate()
{
    Stale = true;
    SelStart = 0;
    SelEnd = 0;
    Memory.Clear();
}

bool TTempStream::Refresh()
{
    if (Stale) {
        Memory.Clear();
        Editor->Lines()->SaveToStream(Memory);
        Stale = false;
    }
    return true;
}
