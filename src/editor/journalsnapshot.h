// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's text taken into a journal state, and a journal state shown in an
// editor again.
#pragma once

#include "recoveryjournal.h"

class QTextDocument;
class TqxEditor;

// The text as the control's RTF, the caret, the length and its head. The name
// and encoding are the window's to fill in.
TJournalState TakeJournalText(TqxEditor& editor);

// The first characters of the text, for a state's head.
QString JournalHead(const QTextDocument& doc);
// The first lines of the text the journal would recover: its edits applied to
// the state's head as far as they are known there, which costs the head, not
// the text.
QString JournalPreview(const TJournalState& state);

// Replaces the editor's text with the state's and takes its encoding, byte order
// and DOS mode, so that saving writes what the text was shown in. Throws the
// editor's error when the RTF cannot be read; the editor is then as it was.
void ShowJournalText(TqxEditor& editor, const TJournalState& state);

// The change the document just made (as its contents-change notice gives it) as
// an edit that, applied to the text before it, gives this text exactly; nothing
// when it touched formats, tables or objects, which only a whole state keeps.
std::optional<TJournalEdit> PlainEdit(QTextDocument& doc, int position, int removed, int added);

// The same change as the RTF of the range it left, costing that range rather
// than the whole text; nothing when the range is most of the text (a whole
// state is then as cheap and needs no chain of edits). A change of formats that
// touches a table takes the whole table; any other change in a text with tables
// gives nothing.
std::optional<TJournalEdit> RichRangeEdit(QTextDocument& doc, int position, int removed, int added);
