// SPDX-License-Identifier: GPL-3.0-or-later
// Typing, deleting and Enter in a paragraph laid out in pieces, made without
// Qt's text control, which would split the whole paragraph into runs after each key.
#include "richeditimpl.h"

namespace platform {

void RichEdit::Impl::EditInPieces(int from, int to, const QString& text, bool mayJoin)
{
    const bool deleting = text.isEmpty();
    // A paragraph made or joined is a step of its own, as in Qt's typing.
    const bool paragraph = text == u"\r" || doc->findBlock(from) != doc->findBlock(to);
    // As Qt does with its own typing: typing that goes on where the last typing
    // ended, and deleting that goes on from where the last deleting was, are one
    // undo step with it.
    const PieceEdit& last = lastPieceEdit;
    const bool join = mayJoin && doc->isModified() && last.revision == doc->revision() && last.deleting == deleting
                      && !paragraph
                      && (deleting ? to == last.from || from == last.from : from == to && from == last.to);
    const QTextCharFormat format = q->textCursor().charFormat();
    QTextCursor cursor = q->textCursor();
    // Inside an edit block Qt's cursor does not look for the caret's line.
    if (join)
        cursor.joinPreviousEditBlock();
    else
        cursor.beginEditBlock();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    if (text == u"\r") {
        cursor.removeSelectedText();
        cursor.insertBlock(cursor.blockFormat(), format);
    } else if (deleting) {
        cursor.removeSelectedText();
    } else {
        cursor.insertText(text, format);
    }
    cursor.endEditBlock();
    const int caret = deleting ? from : from + int(text.size());
    lastPieceEdit = {mayJoin && !paragraph ? doc->revision() : -1, from, caret, deleting};
    // The control's caret moved with the edit; set it only where it did not.
    const QTextCursor shown = q->textCursor();
    if (shown.position() != caret || shown.hasSelection())
        PlaceCaret(caret, caret);
    ShowCaret();
    q->ShowRequested({});
}

} // namespace platform
