// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's text taken into a journal state, and a journal state shown in an
// editor again.
#pragma once

#include "recoveryjournal.h"

#include <utility>
#include <vector>

class QTextDocument;
class TqxEditor;

namespace platform {
class RichEdit;
}

// The control's whole text as its RTF stream-out writes it.
QByteArray StreamedRtf(platform::RichEdit& control);

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
// Returns whether the shown text is the state exactly, its edits applied: when
// the whole state reads back with another length its edits are left out, and a
// journal that goes on from the state would then not rebuild what is shown.
bool ShowJournalText(TqxEditor& editor, const TJournalState& state);

// Where the text's tables are: each from its opening mark to just after its
// closing one. Kept from one change to the next, they tell whether what a
// change removed touched a table.
using TTableExtents = std::vector<std::pair<int, int>>;
TTableExtents TableExtentsOf(const QTextDocument& doc);

// The change the document just made (as its contents-change notice gives it) as
// an edit that, applied to the text before it, gives this text exactly; nothing
// when it touched formats, tables (before, where they were before the change)
// or objects.
std::optional<TJournalEdit> PlainEdit(QTextDocument& doc, int position, int removed, int added,
                                      const TTableExtents& before);

// The same change as the RTF of the range it left, costing that range rather
// than the whole text; nothing when the range is most of the text (a whole
// state is then as cheap and needs no chain of edits). A range that touches a
// table, before the change or after it, takes the whole table.
std::optional<TJournalEdit> RichRangeEdit(QTextDocument& doc, int position, int removed, int added,
                                          const TTableExtents& before);
