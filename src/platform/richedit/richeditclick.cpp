// SPDX-License-Identifier: GPL-3.0-or-later
// Plain clicks and mouse drags that place the caret or select, at the cost of the
// window: Qt's text control looks through every paragraph on each press and hover.
#include "richeditimpl.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScrollBar>

namespace platform {

namespace {

bool Preediting(const QTextCursor& cursor)
{
    const QTextLayout* layout = cursor.block().layout();
    return layout && !layout->preeditAreaText().isEmpty();
}

} // namespace

bool RichEdit::Impl::PressPlainly(QMouseEvent* event)
{
    mouseSelecting = false;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (event->button() != Qt::LeftButton || (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier)
        || !(q->textInteractionFlags() & Qt::TextSelectableByMouse))
        return false;
    // After a double click Qt selects by words or, on a third click, by
    // paragraphs, until a plain press of its own forgets the word. After a
    // press of Qt's in a selection, Qt would start a drag on the next move and
    // drop the selection on the next release, until it sees a press again.
    if (doubleClicked.isValid() || qtMayDrag)
        return false;
    QTextCursor cursor = q->textCursor();
    if (Preediting(cursor))
        return false;
    const int hit = CaretAt(event->position().toPoint());
    if (hit < 0)
        return false;
    // A press in the selection may start dragging it away.
    if (cursor.hasSelection() && hit >= cursor.selectionStart() && hit <= cursor.selectionEnd())
        return false;
    PlaceCaret(modifiers == Qt::ShiftModifier ? cursor.anchor() : hit, hit);
    mouseSelecting = true;
    event->accept();
    return true;
}

void RichEdit::Impl::PressedByQt(QMouseEvent* event, bool hadSelection)
{
    qtMayDrag = event->button() == Qt::LeftButton && hadSelection;
    // A plain press that left no selection placed Qt's caret anew and forgot the word.
    if (doubleClicked.isValid() && event->button() == Qt::LeftButton && event->modifiers() == Qt::NoModifier
        && doubleClicked.elapsed() > QApplication::doubleClickInterval() && !q->textCursor().hasSelection())
        doubleClicked.invalidate();
}

bool RichEdit::Impl::DragPlainly(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        mouseSelecting = false;
    if (!mouseSelecting)
        return false;
    // Qt's control never sees these moves: it would place its own caret again,
    // asking a paragraph in pieces for the caret's line. So the scrolling while
    // the pointer is outside the view is ours too, paced as Qt paces it.
    dragAt = event->position().toPoint();
    DragTo(dragAt);
    if (!q->viewport()->rect().contains(dragAt) && !(dragScroll && dragScroll->isActive())) {
        if (!dragScroll) {
            dragScroll = new QTimer(q);
            QObject::connect(dragScroll, &QTimer::timeout, q, [this] { ScrollWhileDragging(); });
        }
        dragScroll->start(100);
    }
    event->accept();
    return true;
}

void RichEdit::Impl::DragTo(QPoint viewportPos)
{
    const QTextCursor cursor = q->textCursor();
    const int hit = CaretAt(viewportPos);
    if (hit < 0 || hit == cursor.position())
        return;
    // While the pointer is outside the view, the timer scrolls: the caret does not.
    QScrollBar* across = q->horizontalScrollBar();
    QScrollBar* down = q->verticalScrollBar();
    const int x = across->value();
    const int y = down->value();
    PlaceCaret(cursor.anchor(), hit);
    across->setValue(x);
    down->setValue(y);
}

void RichEdit::Impl::ScrollWhileDragging()
{
    const QRect visible = q->viewport()->rect();
    const int deltaY = std::max(dragAt.y() - visible.top(), visible.bottom() - dragAt.y()) - visible.height();
    const int deltaX = std::max(dragAt.x() - visible.left(), visible.right() - dragAt.x()) - visible.width();
    const int delta = std::max(deltaX, deltaY);
    if (!mouseSelecting || !(QGuiApplication::mouseButtons() & Qt::LeftButton) || delta < 0) {
        dragScroll->stop();
        return;
    }
    // The farther out, the faster.
    const int pace = std::max(delta, 7);
    dragScroll->start(4900 / (pace * pace));
    if (deltaY > 0)
        q->verticalScrollBar()->triggerAction(dragAt.y() < visible.center().y() ? QAbstractSlider::SliderSingleStepSub
                                                                                 : QAbstractSlider::SliderSingleStepAdd);
    if (deltaX > 0)
        q->horizontalScrollBar()->triggerAction(dragAt.x() < visible.center().x() ? QAbstractSlider::SliderSingleStepSub
                                                                                  : QAbstractSlider::SliderSingleStepAdd);
    DragTo(dragAt);
}

void RichEdit::Impl::ReleasePlainly()
{
    if (dragScroll)
        dragScroll->stop();
    if (!mouseSelecting)
        return;
    mouseSelecting = false;
    // What a mouse selects is the X selection, as Qt's own drag leaves it.
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (q->textCursor().hasSelection() && clipboard->supportsSelection())
        clipboard->setMimeData(q->createMimeDataFromSelection(), QClipboard::Selection);
}

} // namespace platform
