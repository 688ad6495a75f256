// SPDX-License-Identifier: GPL-3.0-or-later
// The caret in a text with paragraphs laid out in pieces: Qt's cursor reads a
// paragraph's own layout, which such a paragraph never has, so moving by lines,
// pages and line edges, what Delete reaches and what is scrolled into view are
// found from the pieces.
#include "quietqt.h"
#include "richeditimpl.h"

#include <QAbstractEventDispatcher>
#include <QGuiApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyleHints>
#include <QTimerEvent>

#include <cmath>

namespace platform {

namespace {

enum class Move { NextChar, PreviousChar, NextWord, PreviousWord, LineStart, LineEnd, Down, Up, PageDown, PageUp,
                  TextStart, TextEnd, All };

struct MoveKey {
    QKeySequence::StandardKey move;
    QKeySequence::StandardKey select;
    Move what;
};

constexpr MoveKey MoveKeys[] = {
    {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, Move::NextChar},
    {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar, Move::PreviousChar},
    {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord, Move::NextWord},
    {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord, Move::PreviousWord},
    {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, Move::LineStart},
    {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, Move::LineEnd},
    {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, Move::Down},
    {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, Move::Up},
    {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, Move::PageDown},
    {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, Move::PageUp},
    {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument, Move::TextStart},
    {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, Move::TextEnd},
    {QKeySequence::SelectAll, QKeySequence::SelectAll, Move::All},
};

} // namespace

void RichEdit::Impl::HookTextControl()
{
    for (QObject* child : q->children()) {
        if (!child->inherits("QWidgetTextControl"))
            continue;
        // Qt scrolls to the rectangle its control finds for the caret, which is
        // the top of a paragraph laid out in pieces; the view asks for it instead.
        QObject::disconnect(child, SIGNAL(visibilityRequest(QRectF)), q, nullptr);
        QObject::connect(child, SIGNAL(visibilityRequest(QRectF)), q, SLOT(ShowRequested(QRectF)));
        QObject::connect(child, SIGNAL(updateRequest(QRectF)), q, SLOT(RepaintRequested(QRectF)));
        child->installEventFilter(q);
        textControl = child;
    }
}

bool RichEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == d->textControl && event->type() == QEvent::Timer && d->BlinkInPieces(event))
        return true;
    return QTextEdit::eventFilter(watched, event);
}

bool RichEdit::Impl::BlinkInPieces(QEvent* event)
{
    // The control's blink timer is the one with half the flash time; its other
    // timer (a triple click) runs only for a moment after a double click.
    const int id = static_cast<QTimerEvent*>(event)->timerId();
    const int half = QGuiApplication::styleHints()->cursorFlashTime() / 2;
    bool blink = false;
    for (const auto& timer : QAbstractEventDispatcher::instance()->registeredTimers(textControl))
        blink = blink || (timer.timerId == id && timer.interval == half);
    const int pos = q->textCursor().position();
    if (!blink || !InPieces(pos))
        return false;
    DocumentLayout* layout = ViewLayout();
    caretOff = !caretOff;
    layout->HideCaretInPieces(caretOff);
    const QPointF scrolled(q->horizontalScrollBar()->value(), q->verticalScrollBar()->value());
    q->viewport()->update(layout->CaretRect(pos).adjusted(-2, 0, 2, 0).translated(-scrolled).toAlignedRect());
    return true;
}

void RichEdit::Impl::ShowCaret()
{
    caretOff = false;
    if (DocumentLayout* layout = ViewLayout())
        layout->HideCaretInPieces(false);
}

void RichEdit::ShowRequested(const QRectF& rect)
{
    QRectF wanted = rect;
    const int pos = textCursor().position();
    if (d->InPieces(pos))
        wanted = d->ViewLayout()->CaretRect(pos).adjusted(-5, 0, 5, 0);
    QMetaObject::invokeMethod(this, "_q_ensureVisible", Qt::DirectConnection, Q_ARG(QRectF, wanted));
}

void RichEdit::RepaintRequested(const QRectF&)
{
    // Qt's rectangles for the caret and the selection miss the pieces. A moved
    // caret or selection draws the view again, which draws the pieces it shows
    // only; a caret blink draws the caret's own rectangle.
    const DocumentLayout* layout = d->ViewLayout();
    if (!layout || !layout->HasLongBlocks())
        return;
    const QTextCursor cursor = textCursor();
    if (cursor.position() != d->shownCaret || cursor.anchor() != d->shownAnchor) {
        d->ShowCaret();
        d->shownCaret = cursor.position();
        d->shownAnchor = cursor.anchor();
        viewport()->update();
        return;
    }
    if (d->InPieces(cursor.position())) {
        const QPointF scrolled(horizontalScrollBar()->value(), verticalScrollBar()->value());
        viewport()->update(layout->CaretRect(cursor.position()).adjusted(-2, 0, 2, 0).translated(-scrolled).toAlignedRect());
    }
}

bool RichEdit::Impl::InPieces(int pos) const
{
    const DocumentLayout* layout = ViewLayout();
    return layout && layout->HasLongBlocks() && layout->IsLong(doc->findBlock(pos));
}

void RichEdit::Impl::PlaceCaret(int anchor, int position)
{
    anchor = Clamp(anchor);
    position = Clamp(position);
    if (InPieces(position) && PlaceCaretQuietly(textControl, anchor, position)) {
        q->RepaintRequested({});
        q->ShowRequested({});
        return;
    }
    QTextCursor cursor = q->textCursor();
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    q->setTextCursor(cursor);
}

void RichEdit::focusInEvent(QFocusEvent* event)
{
    // Qt's control would ask a paragraph in pieces where the caret and the
    // selection are, to repaint them.
    if (!d->InPieces(textCursor().position()) || !FocusQuietly(d->textControl, true, event->reason())) {
        QTextEdit::focusInEvent(event);
        return;
    }
    QAbstractScrollArea::focusInEvent(event);
    d->ShowCaret();
    viewport()->update();
}

void RichEdit::focusOutEvent(QFocusEvent* event)
{
    if (!d->InPieces(textCursor().position()) || !FocusQuietly(d->textControl, false, event->reason())) {
        QTextEdit::focusOutEvent(event);
        return;
    }
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

int RichEdit::Impl::CaretAt(QPoint viewportPos) const
{
    // As QTextEdit maps a point, without its cursor, which would look for the
    // caret's line in the paragraph's own layout.
    const QScrollBar* across = q->horizontalScrollBar();
    const int x = q->isRightToLeft() ? across->maximum() - across->value() : across->value();
    return doc->documentLayout()->hitTest(QPointF(viewportPos.x() + x, viewportPos.y() + q->verticalScrollBar()->value()),
                                          Qt::FuzzyHit);
}

void RichEdit::Impl::StepUndo(bool undo)
{
    const DocumentLayout* layout = ViewLayout();
    if (!layout || !layout->HasLongBlocks() || !QuietCaretAvailable()) {
        undo ? q->undo() : q->redo();
        return;
    }
    const int before = q->textCursor().position();
    const int at = UndoQuietly(doc, undo);
    if (at >= 0) {
        // Qt leaves a fresh caret where the step was, with no selection.
        PlaceCaret(at, at);
        return;
    }
    if (q->textCursor().position() != before)
        emit q->cursorPositionChanged();
    q->RepaintRequested({});
    q->ShowRequested({});
}

int RichEdit::Impl::VerticalStep(int pos, double x, bool down) const
{
    // The line below (above) is the one under the first pixel past the caret's line.
    const DocumentLayout* layout = ViewLayout();
    const QRectF caret = layout->CaretRect(pos);
    const double y = down ? caret.bottom() + 0.5 : caret.top() - 0.5;
    if (y < doc->documentMargin() || y >= layout->documentSize().height() - doc->documentMargin())
        return pos;
    const int next = layout->hitTest(QPointF(x, y), Qt::FuzzyHit);
    if (next < 0)
        return pos;
    // An empty line or a margin hit above the caret's own line moves nothing.
    const QRectF landed = layout->CaretRect(next);
    return (down ? landed.top() > caret.top() : landed.top() < caret.top()) ? next : pos;
}

int RichEdit::Impl::ReachInPieces(int pos, QKeySequence::StandardKey key) const
{
    const DocumentLayout* layout = ViewLayout();
    switch (key) {
    case QKeySequence::DeleteStartOfWord:
        return layout->NextPosition(pos, false, QTextLayout::SkipWords);
    case QKeySequence::DeleteEndOfWord:
        return layout->NextPosition(pos, true, QTextLayout::SkipWords);
    case QKeySequence::Backspace:
        return layout->NextPosition(pos, false, QTextLayout::SkipCharacters);
    default:
        return layout->NextPosition(pos, true, QTextLayout::SkipCharacters);
    }
}

bool RichEdit::Impl::MoveInPieces(QKeyEvent* event)
{
    const DocumentLayout* layout = ViewLayout();
    if (!layout || !layout->HasLongBlocks())
        return false;
    const MoveKey* key = nullptr;
    bool select = false;
    for (const MoveKey& candidate : MoveKeys) {
        if (event->matches(candidate.move) || event->matches(candidate.select)) {
            key = &candidate;
            select = event->matches(candidate.select);
            break;
        }
    }
    if (!key)
        return false;
    QTextCursor cursor = q->textCursor();
    const int pos = cursor.position();
    const bool vertical = key->what == Move::Down || key->what == Move::Up || key->what == Move::PageDown
                          || key->what == Move::PageUp;
    // Moves within a line are Qt's outside the pieces; moves by lines cross into
    // them from anywhere, and so do the moves to either end of the text.
    const bool whole = key->what == Move::TextStart || key->what == Move::TextEnd || key->what == Move::All;
    if (whole) {
        const int end = TextLength();
        const int target = key->what == Move::TextStart ? 0 : end;
        if (!InPieces(pos) && !InPieces(target) && !InPieces(cursor.anchor()))
            return false;
        PlaceCaret(key->what == Move::All ? 0 : select ? cursor.anchor() : target, target);
        stickyPos = -1;
        event->accept();
        return true;
    }
    if (!vertical && !InPieces(pos))
        return false;
    const auto mode = select ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
    int target = pos;
    switch (key->what) {
    case Move::NextChar:
    case Move::PreviousChar: {
        const bool forward = key->what == Move::NextChar;
        if (!select && cursor.hasSelection())
            target = forward ? cursor.selectionEnd() : cursor.selectionStart();
        else
            target = layout->NextPosition(pos, forward, QTextLayout::SkipCharacters);
        break;
    }
    case Move::NextWord:
    case Move::PreviousWord:
        target = layout->NextPosition(pos, key->what == Move::NextWord, QTextLayout::SkipWords);
        break;
    case Move::LineStart:
    case Move::LineEnd:
        target = layout->LineEdge(pos, key->what == Move::LineEnd);
        break;
    case Move::TextStart:
    case Move::TextEnd:
    case Move::All:
        break;
    case Move::Down:
    case Move::Up:
    case Move::PageDown:
    case Move::PageUp: {
        const double x = pos == stickyPos ? stickyX : layout->CaretRect(pos).left();
        const bool down = key->what == Move::Down || key->what == Move::PageDown;
        if (key->what == Move::Down || key->what == Move::Up) {
            target = VerticalStep(pos, x, down);
        } else {
            // As Qt pages: line by line until a screen is passed, one line back,
            // and the view scrolled by a page.
            double lastY = layout->CaretRect(pos).top();
            double distance = 0;
            int previous = pos;
            bool moved = true;
            while (moved && distance < q->viewport()->height()) {
                const double y = layout->CaretRect(target).top();
                distance += std::abs(y - lastY);
                lastY = y;
                previous = target;
                target = VerticalStep(target, x, down);
                moved = target != previous;
            }
            if (moved) {
                target = previous;
                q->verticalScrollBar()->triggerAction(down ? QAbstractSlider::SliderPageStepAdd
                                                           : QAbstractSlider::SliderPageStepSub);
            }
        }
        stickyX = x;
        break;
    }
    }
    PlaceCaret(mode == QTextCursor::KeepAnchor ? cursor.anchor() : target, target);
    stickyPos = vertical ? target : -1;
    event->accept();
    return true;
}

} // namespace platform
