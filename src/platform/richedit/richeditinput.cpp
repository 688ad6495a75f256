// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard, mouse and drop input: undo names for what the user does, protected
// text, and the links under the mouse.
#include "richeditimpl.h"

#include "textproperties.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>

#include <algorithm>

namespace platform {

namespace {

bool IsModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
        return true;
    default:
        return false;
    }
}

bool IsProtected(const QTextCharFormat& format)
{
    return format.boolProperty(PropProtected);
}

bool AnyProtectedFormat(const QTextDocument* doc)
{
    const QList<QTextFormat> formats = doc->allFormats();
    return std::any_of(formats.begin(), formats.end(),
                       [](const QTextFormat& f) { return f.isCharFormat() && f.boolProperty(PropProtected); });
}

} // namespace

QTextCharFormat RichEdit::Impl::CharFormatAt(int pos) const
{
    const QTextBlock block = doc->findBlock(pos);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (pos >= fragment.position() && pos < fragment.position() + fragment.length())
            return OverDefault(fragment.charFormat());
    }
    return DefaultCharFormat();
}

bool RichEdit::Impl::HasProtected(int from, int to) const
{
    if (!AnyProtectedFormat(doc))
        return false;
    if (from == to) {
        // Typing is refused only inside protected text, not at its edges.
        return from > 0 && IsProtected(CharFormatAt(from - 1)) && IsProtected(CharFormatAt(from));
    }
    for (QTextBlock block = doc->findBlock(from); block.isValid() && block.position() < to; block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() < to && fragment.position() + fragment.length() > from
                && IsProtected(fragment.charFormat()))
                return true;
        }
    }
    return false;
}

void RichEdit::Impl::StepOverHidden(int before)
{
    // Hidden text takes no room on screen, so every position in it looks the
    // same: a move that lands in it goes on to its far side, and one that starts
    // at it goes one character past it.
    QTextCursor cursor = q->textCursor();
    const int pos = cursor.position();
    if (pos == before)
        return;
    const QTextBlock block = cursor.block();
    int a = -1;
    int b = -1;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.charFormat().boolProperty(PropHidden)) {
            if (a >= 0 && pos <= b)
                break;
            a = b = -1;
            continue;
        }
        if (a < 0 || fragment.position() != b)
            a = fragment.position();
        b = fragment.position() + fragment.length();
    }
    if (a < 0 || pos < a || pos > b)
        return;
    const bool forward = pos > before;
    const auto mode = cursor.hasSelection() ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
    if (before >= a && before <= b) {
        cursor.setPosition(forward ? b : a, mode);
        cursor.movePosition(forward ? QTextCursor::NextCharacter : QTextCursor::PreviousCharacter, mode);
    } else if (pos > a && pos < b) {
        cursor.setPosition(forward ? b : a, mode);
    } else {
        return;
    }
    q->setTextCursor(cursor);
}

bool RichEdit::Impl::AllowEdit(int from, int to)
{
    if (!(eventMask & ENM_PROTECTED) || !HasProtected(from, to))
        return true;
    return q->OnProtected ? q->OnProtected(from, to) : false;
}

void RichEdit::keyPressEvent(QKeyEvent* event)
{
    // Alt with a character is a menu key, never typing; what no menu takes goes up
    // to the window unused. Ctrl+Alt is left alone: some layouts type with it.
    const Qt::KeyboardModifiers held = event->modifiers();
    if ((held & Qt::AltModifier) && !(held & (Qt::ControlModifier | Qt::MetaModifier)) && !event->text().isEmpty()
        && event->text().front().isPrint()) {
        event->ignore();
        return;
    }
    if (event->matches(QKeySequence::Undo)) {
        Undo();
    } else if (event->matches(QKeySequence::Redo)) {
        Redo();
    } else if (event->matches(QKeySequence::Cut)) {
        Cut();
    } else if (event->matches(QKeySequence::Copy)) {
        Copy();
    } else if (event->matches(QKeySequence::Paste)) {
        Paste();
    } else if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier) {
        SetOverwrite(!Overwrite());
    } else {
        const QTextCursor cursor = textCursor();
        int from = cursor.selectionStart();
        int to = cursor.selectionEnd();
        const QString text = event->text();
        int name = NotifyScope::KeepName;
        bool wordGoesOn = false;
        bool deleteInPieces = false;   // Qt would lay the whole paragraph out to find what Delete takes
        bool typeInPieces = false;
        const int key = event->key();
        if (isReadOnly()) {
            // Only moving and selecting.
        } else if (key == Qt::Key_Backspace || key == Qt::Key_Delete || event->matches(QKeySequence::DeleteStartOfWord)
                   || event->matches(QKeySequence::DeleteEndOfWord)) {
            name = UID_DELETE;
            const bool backward = key == Qt::Key_Backspace || event->matches(QKeySequence::DeleteStartOfWord);
            if (from == to && d->InPieces(from)) {
                const auto reach = d->ReachInPieces(
                    from, event->matches(QKeySequence::DeleteStartOfWord) ? QKeySequence::DeleteStartOfWord
                          : event->matches(QKeySequence::DeleteEndOfWord) ? QKeySequence::DeleteEndOfWord
                          : key == Qt::Key_Backspace                      ? QKeySequence::Backspace
                                                                          : QKeySequence::Delete);
                from = std::min(from, reach);
                to = std::max(to, reach);
                deleteInPieces = true;
            } else if (from == to && (backward ? from == cursor.block().position() && d->InPieces(from - 1)
                                               : cursor.atBlockEnd() && d->InPieces(from + 1))) {
                // Joining a paragraph to one laid out in pieces takes its paragraph end only.
                (backward ? from : to) += backward ? -1 : 1;
                deleteInPieces = true;
            } else if (from == to) {
                QTextCursor reach = cursor;
                if (event->matches(QKeySequence::DeleteStartOfWord))
                    reach.movePosition(QTextCursor::PreviousWord, QTextCursor::KeepAnchor);
                else if (event->matches(QKeySequence::DeleteEndOfWord))
                    reach.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor);
                else if (key == Qt::Key_Backspace)
                    reach.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor);
                else
                    reach.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
                from = reach.selectionStart();
                to = reach.selectionEnd();
            } else {
                deleteInPieces = d->InPieces(from) || d->InPieces(to);
            }
        } else if (!text.isEmpty() && (text.front().isPrint() || text.front() == u'\t' || text.front() == u'\r')
                   && held != Qt::ControlModifier && held != (Qt::ControlModifier | Qt::ShiftModifier)) {
            // As in Qt's typing, Ctrl with a letter is a command, never a character.
            name = UID_TYPING;
            wordGoesOn = !text.back().isSpace() && text.back() != u'\r';
            const bool newParagraph = text.front() == u'\r';
            if (from == to && overwriteMode() && !newParagraph && cursor.position() < cursor.block().position() + cursor.block().length() - 1)
                to = from + 1;
            if (std::int64_t(d->TextLength()) - (to - from) + text.size() > d->textLimit) {
                QApplication::beep();
                event->accept();
                return;
            }
            // Shift+Enter (a line break within the paragraph) stays Qt's.
            typeInPieces = (!newParagraph || event->matches(QKeySequence::InsertParagraphSeparator))
                           && (d->InPieces(from) || d->InPieces(to));
        }
        if (name == NotifyScope::KeepName) {
            const int before = textCursor().position();
            // Qt's control would ask a paragraph in pieces for the caret's line
            // even on Shift or Ctrl alone, which do nothing there.
            if (IsModifierKey(key) && d->InPieces(before)) {
                event->ignore();
                return;
            }
            if (!d->MoveInPieces(event))
                QTextEdit::keyPressEvent(event);
            d->StepOverHidden(before);
            return;
        }
        if (!d->AllowEdit(from, to)) {
            event->accept();
            return;
        }
        NotifyScope scope(*d, name);
        const auto pass = [&](bool mayJoin) {
            if (!deleteInPieces && !typeInPieces) {
                QTextEdit::keyPressEvent(event);
                return;
            }
            d->EditInPieces(from, to, typeInPieces ? text : QString(), mayJoin);
            event->accept();
        };
        if (!wordGoesOn && d->MayHoldLinks(cursor.block(), cursor.position())) {
            // Qt's typing steps cannot be joined afterwards, so the links that
            // the key makes or breaks are marked in the key's own step.
            QTextCursor step = textCursor();
            step.beginEditBlock();
            pass(false);
            d->RunPendingLinks(false);
            d->EndStep(step);
            return;
        }
        pass(true);
        d->deferLinks = wordGoesOn;
        return;
    }
    event->accept();
}

void RichEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (event->commitString().isEmpty() || isReadOnly()) {
        QTextEdit::inputMethodEvent(event);
        return;
    }
    const QTextCursor cursor = textCursor();
    if (!d->AllowEdit(cursor.selectionStart(), cursor.selectionEnd())) {
        event->accept();
        return;
    }
    NotifyScope scope(*d, UID_TYPING);
    QTextEdit::inputMethodEvent(event);
}

QVariant RichEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    // An input method asks after every caret move. Qt would answer with the
    // caret's whole paragraph and ask the paragraph's own layout for the caret;
    // in a paragraph in pieces it gets the text around the caret and our caret.
    const QTextCursor cursor = textCursor();
    const int pos = cursor.position();
    const QTextBlock block = cursor.block();
    if (!d->InPieces(pos) || !block.layout()->preeditAreaText().isEmpty())
        return QTextEdit::inputMethodQuery(query);
    constexpr int Around = 1024;
    const int blockEnd = block.position() + block.length() - 1;
    const int from = std::max(block.position(), pos - Around);
    const int to = std::min(blockEnd, pos + Around);
    switch (query) {
    case Qt::ImCursorRectangle: {
        const QPointF scrolled(horizontalScrollBar()->value(), verticalScrollBar()->value());
        return d->ViewLayout()->CaretRect(pos).translated(QPointF(viewport()->pos()) - scrolled);
    }
    case Qt::ImSurroundingText:
        return Impl::BlockText(block, from, to);
    case Qt::ImCursorPosition:
        return pos - from;
    case Qt::ImAnchorPosition:
        return std::clamp(cursor.anchor(), from, to) - from;
    case Qt::ImTextBeforeCursor:
        return Impl::BlockText(block, from, pos);
    case Qt::ImTextAfterCursor:
        return Impl::BlockText(block, pos, to);
    default:
        return QTextEdit::inputMethodQuery(query);
    }
}

void RichEdit::mousePressEvent(QMouseEvent* event)
{
    d->MouseOnLink(event->position().toPoint(),
                   event->button() == Qt::RightButton ? LinkMessage::RightButtonDown : LinkMessage::LeftButtonDown);
    NotifyScope scope(*d);
    // A click on an object selects it whole, so that its verbs, properties and
    // copy act on it; with Shift or Ctrl the click extends or picks as usual.
    if ((event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        && event->modifiers() == Qt::NoModifier) {
        if (const std::int32_t object = ObjectUnder(event->position().toPoint()); object >= 0) {
            QTextCursor cursor = textCursor();
            cursor.setPosition(object);
            cursor.setPosition(object + 1, QTextCursor::KeepAnchor);
            setTextCursor(cursor);
            event->accept();
            return;
        }
    }
    if (d->PressPlainly(event))
        return;
    const bool hadSelection = textCursor().hasSelection();
    QTextEdit::mousePressEvent(event);
    d->PressedByQt(event, hadSelection);
}

void RichEdit::mouseReleaseEvent(QMouseEvent* event)
{
    d->MouseOnLink(event->position().toPoint(),
                   event->button() == Qt::RightButton ? LinkMessage::RightButtonUp : LinkMessage::LeftButtonUp);
    NotifyScope scope(*d);
    // A press of ours is ours to release: Qt's control never saw it.
    const bool ours = d->mouseSelecting && event->button() == Qt::LeftButton;
    d->ReleasePlainly();
    if (ours) {
        event->accept();
        return;
    }
    QTextEdit::mouseReleaseEvent(event);
}

void RichEdit::mouseMoveEvent(QMouseEvent* event)
{
    d->MouseOnLink(event->position().toPoint(), LinkMessage::MouseMove);
    NotifyScope scope(*d);
    // Moves with no button down only tell Qt's control about check boxes, which
    // our texts have none of, or an input method about its composition.
    if (!(event->buttons() & Qt::LeftButton) && textCursor().block().layout()->preeditAreaText().isEmpty()) {
        d->mouseSelecting = false;
        event->accept();
        return;
    }
    if (!d->DragPlainly(event))
        QTextEdit::mouseMoveEvent(event);
}

void RichEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        d->MouseOnLink(event->position().toPoint(), LinkMessage::LeftButtonDoubleClick);
    NotifyScope scope(*d);
    d->mouseSelecting = false;
    if (event->button() == Qt::LeftButton)
        d->doubleClicked.start();
    const int pos = d->CaretAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && pos >= 0 && d->InPieces(pos)) {
        // Qt would take the whole paragraph apart to find the word's edges.
        const auto [from, to] = d->ViewLayout()->WordAt(pos);
        d->PlaceCaret(from, to);
        event->accept();
        return;
    }
    QTextEdit::mouseDoubleClickEvent(event);
}

void RichEdit::dropEvent(QDropEvent* event)
{
    if (isReadOnly()) {
        event->ignore();
        return;
    }
    const int at = cursorForPosition(event->position().toPoint()).position();
    const QTextCursor cursor = textCursor();
    const bool fromHere = event->source() == this || event->source() == viewport();
    if (!d->AllowEdit(at, at) || (fromHere && !d->AllowEdit(cursor.selectionStart(), cursor.selectionEnd()))) {
        event->ignore();
        return;
    }
    NotifyScope scope(*d, UID_DRAGDROP);
    QTextEdit::dropEvent(event);
}

} // namespace platform
