// SPDX-License-Identifier: GPL-3.0-or-later
// quillet-conv's use of the editor itself: loading a file exactly as the editor
// does (detection, "Except for Mac", DOS mode, RTF) and saving it in a target
// encoding, for what the byte path cannot serve.
#pragma once

#include "enctypes.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

struct TEditorLoad {
    std::optional<TEnc> encoding;   // none: detect, as the editor does with automatic detection
    TDosAdd dosAdd = daUNI;
    TUniType uniType = Little;
    bool exceptMac = false;
};

// The text as the editor shows it, as UTF-8: its lines joined by LF, ending with
// LF when the text ends with a line end. Throws std::runtime_error in the editor's words.
// invalidUtf8, when given, gets the byte sequences that were not UTF-8 and read as U+FFFD.
std::string EditorText(const std::string& fileName, const TEditorLoad& load, std::uint64_t* invalidUtf8 = nullptr);

// Ends the application object the editor path made, if any, before the process
// ends: left to the end of the process, it would outlive the library it belongs to.
void EndApplication();

// Loads IN as the editor does and saves it as the editor does in the target
// encoding (RTF included), whole or not at all. Answers the encoding IN was read in.
// lostObjects, when given, gets the objects and pictures a plain-text target had
// no place for.
TEnc EditorConvert(const std::string& inName, const std::string& outName, const TEditorLoad& load, TEnc to,
                   TUniType toOrder, std::uint64_t* invalidUtf8 = nullptr, std::int32_t* lostObjects = nullptr);

struct TJournalState;
// Writes a journal's text to OUT as the editor would save it: in RTF when asRtf,
// else in the encoding and byte order the text was shown in.
void EditorWriteJournal(const TJournalState& state, const std::string& outName, bool asRtf);
