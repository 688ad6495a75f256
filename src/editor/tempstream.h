// SPDX-License-Identifier: GPL-3.0-or-later
// TTempStream: the editor's byte copy of its text in the encoding it was read
// with, so that re-reading under another encoding decodes the same bytes again
// instead of bytes re-encoded from an already mis-decoded text.
#pragma once

#include "streams.h"

#include <cstdint>

class TqxEditor;

class TTempStream {
public:
    explicit TTempStream(TqxEditor* editor) : Editor(editor) {}

    // Forget the cached bytes: the next Refresh takes them anew from the text.
    void Invalidate();
    // When stale, writes the text (or the selection, with Selection on) through the
    // editor's current encoding into Memory. Raises what saving raises.
    bool Refresh();

    TqxEditor* Editor;
    bool Stale = true;
    std::int32_t SelStart = 0;
    std::int32_t SelEnd = 0;
    TMemoryStream Memory;
};
