// SPDX-License-Identifier: GPL-3.0-or-later
// What Qt does only by analysing or copying a whole paragraph, done without:
// placing the text control's caret, taking the focus, undoing, handing a view its
// document, reading part of a paragraph. After an edit Qt analyses a whole
// paragraph again to find the line of a caret placed in it, a fifth of a second
// in one of 20 million characters.
#pragma once

class QObject;
class QString;
class QTextBlock;
class QTextDocument;

namespace platform {

// Whether this build can do so (it needs Qt's private headers).
bool QuietCaretAvailable();

// Sets the caret and selection of textControl (Qt's text control inside a text
// edit) to anchor..position with the signals setTextCursor sends, without asking
// any layout where the caret is; the caller repaints and scrolls to it. False,
// with nothing done, when this build cannot.
bool PlaceCaretQuietly(QObject* textControl, int anchor, int position);

// Takes the focus in or out as the control does on a focus event, without
// asking where the caret and the selection are; the caller repaints. False,
// with nothing done, when this build cannot.
bool FocusQuietly(QObject* textControl, bool gotFocus, int reason);

// A view given a document asks the first paragraph's own layout where its caret
// is. Held, the paragraph's layout answers "nowhere" without analysing the
// paragraph, which a paragraph laid out in pieces never needs; released, it is
// as before. Hold answers false, with nothing done, when this build cannot.
bool HoldUnanalysed(const QTextBlock& block);
void ReleaseUnanalysed(const QTextBlock& block);

// The document's characters from..to (paragraph ends as U+2029), read from the
// pieces of text that hold them: Qt's own ways copy a whole paragraph first.
QString DocumentText(const QTextDocument* doc, int from, int to);

// Undoes (or redoes) one step without Qt placing a cursor: answers where Qt
// would put the caret, or -1 where it leaves it (-2 when this build cannot, with
// nothing done).
int UndoQuietly(QTextDocument* doc, bool undo);

} // namespace platform
