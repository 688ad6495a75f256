// SPDX-License-Identifier: GPL-3.0-or-later
// A whole text without tables, lists or objects kept as its characters and the
// runs of its formats, and rebuilt from them without reading it as RTF.
#pragma once

#include "recoveryjournal.h"

class QTextDocument;

// Fills the state's characters, format table and runs from the document; false
// (the state untouched) when the text holds what runs cannot keep.
bool TakePlainRuns(const QTextDocument& doc, TJournalState& state);

// Puts the state's characters and formats into an empty document. Throws
// std::runtime_error when they do not fit together; the document is then to be
// dropped.
void BuildPlainRuns(QTextDocument& doc, const TJournalState& state);
