// SPDX-License-Identifier: GPL-3.0-or-later
// Qt offers no public way to place the control's caret without a layout query,
// nor to read a part of a paragraph without copying all of it: this reaches into
// the control and the document, as narrowly as it can, when the build has Qt's
// private headers, and falls back on the public ways otherwise.
#include "quietqt.h"

#if QUILLET_QT_PRIVATE
#include <QtGui/private/qtextcursor_p.h>
#include <QtGui/private/qtextdocument_p.h>
#include <QtGui/private/qtextengine_p.h>
#include <QtWidgets/private/qwidgettextcontrol_p.h>
#include <QtWidgets/private/qwidgettextcontrol_p_p.h>
#endif

#include <QAccessible>
#include <QGuiApplication>
#include <QString>
#include <QStyleHints>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <utility>

namespace platform {

#if QUILLET_QT_PRIVATE

namespace {

// Qt's control inside a text edit, and its inner state; null when it is not one.
std::pair<QWidgetTextControl*, QWidgetTextControlPrivate*> ControlOf(QObject* textControl)
{
    auto* control = qobject_cast<QWidgetTextControl*>(textControl);
    if (!control)
        return {nullptr, nullptr};
    return {control, static_cast<QWidgetTextControlPrivate*>(QObjectPrivate::get(control))};
}

} // namespace

bool QuietCaretAvailable()
{
    return true;
}

bool PlaceCaretQuietly(QObject* textControl, int anchor, int position)
{
    const auto [control, d] = ControlOf(textControl);
    if (!control)
        return false;
    const int length = d->doc->characterCount();
    if (d->cursor.isNull() || anchor < 0 || position < 0 || anchor >= length || position >= length)
        return false;
    const int oldPosition = d->cursor.position();
    // A copy keeps the cursor's document and modes; written to, it is a cursor
    // of its own. Its x is unknown until a move by lines needs it.
    QTextCursor moved = d->cursor;
    QTextCursorPrivate* cursor = QTextCursorPrivate::getPrivate(&moved);
    cursor->position = position;
    cursor->anchor = cursor->adjusted_anchor = anchor;
    cursor->currentCharFormat = -1;
    cursor->x = -1;
    d->cursor = moved;
    d->cursorIsFocusIndicator = false;
    d->cursorOn = d->hasFocus && (d->interactionFlags & (Qt::TextSelectableByKeyboard | Qt::TextEditable));

    const QTextCharFormat format = moved.charFormat();
    if (format != d->lastCharFormat) {
        d->lastCharFormat = format;
        emit control->currentCharFormatChanged(format);
    }
    if (position != d->lastSelectionPosition || anchor != d->lastSelectionAnchor) {
        const bool had = d->lastSelectionPosition != d->lastSelectionAnchor;
        const bool has = anchor != position;
        d->lastSelectionPosition = position;
        d->lastSelectionAnchor = anchor;
        if (had != has)
            emit control->copyAvailable(has);
        if (had || has) {
            emit control->selectionChanged();
            if (QAccessible::isActive() && control->parent() && control->parent()->isWidgetType()) {
                QAccessibleTextSelectionEvent event(control->parent(), std::min(anchor, position), std::max(anchor, position));
                event.setCursorPosition(position);
                QAccessible::updateAccessibility(&event);
            }
        }
    }
    emit control->microFocusChanged();
    if (position != oldPosition) {
        emit control->cursorPositionChanged();
        if (QAccessible::isActive() && control->parent() && control->parent()->isWidgetType()) {
            QAccessibleTextCursorEvent event(control->parent(), position);
            QAccessible::updateAccessibility(&event);
        }
    }
    return true;
}

bool FocusQuietly(QObject* textControl, bool gotFocus, int reason)
{
    const auto [control, d] = ControlOf(textControl);
    if (!control)
        return false;
    // The caret shows and blinks while the control has the focus, as Qt's own
    // focus handling has it (a change of the flash time meanwhile waits for the
    // next focus).
    const auto blink = [&](bool visible) {
        if (d->cursorVisible == visible)
            return;
        d->cursorVisible = visible;
        d->cursorBlinkTimer.stop();
        const int flash = QGuiApplication::styleHints()->cursorFlashTime();
        if (visible && flash >= 2)
            d->cursorBlinkTimer.start(flash / 2, control);
        d->cursorOn = visible;
    };
    if (gotFocus) {
        d->cursorOn = d->interactionFlags & (Qt::TextSelectableByKeyboard | Qt::TextEditable);
        if (d->interactionFlags & Qt::TextEditable)
            blink(true);
    } else {
        blink(false);
        d->cursorOn = false;
        if (d->cursorIsFocusIndicator && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
            && d->cursor.hasSelection()) {
            d->cursor.clearSelection();
            emit control->selectionChanged();
        }
    }
    d->hasFocus = gotFocus;
    return true;
}

bool HoldUnanalysed(const QTextBlock& block)
{
    // Qt analyses a paragraph only when its layout has no text yet; with the
    // text copied in, Qt finds no lines there and answers at once.
    QTextEngine* engine = block.layout()->engine();
    if (engine->layoutData || block.layout()->lineCount() > 0)
        return false;
    engine->validate();
    return true;
}

void ReleaseUnanalysed(const QTextBlock& block)
{
    QTextEngine* engine = block.layout()->engine();
    if (engine->layoutData && engine->layoutData->items.isEmpty())
        engine->invalidate();
}

int UndoQuietly(QTextDocument* doc, bool undo)
{
    return QTextDocumentPrivate::get(doc)->undoRedo(undo);
}

QString DocumentText(const QTextDocument* doc, int from, int to)
{
    if (to <= from)
        return {};
    const QTextDocumentPrivate* d = QTextDocumentPrivate::get(doc);
    const QString buffer = d->buffer();
    QString out;
    out.reserve(std::max(0, to - from));
    int pos = from;
    for (auto it = d->find(from); pos < to && !it.atEnd(); ++it) {
        const int offset = pos - it.position();
        const int length = std::min(int(it.value()->size_array[0]) - offset, to - pos);
        out += QStringView(buffer.constData() + it.value()->stringPosition + offset, length);
        pos += length;
    }
    return out;
}

#else

bool QuietCaretAvailable()
{
    return false;
}

bool PlaceCaretQuietly(QObject*, int, int)
{
    return false;
}

bool FocusQuietly(QObject*, bool, int)
{
    return false;
}

bool HoldUnanalysed(const QTextBlock&)
{
    return false;
}

void ReleaseUnanalysed(const QTextBlock&) {}

int UndoQuietly(QTextDocument*, bool)
{
    return -2;
}

QString DocumentText(const QTextDocument* doc, int from, int to)
{
    QString out(std::max(0, to - from), Qt::Uninitialized);
    for (int i = from; i < to; ++i)
        out[i - from] = doc->characterAt(i);
    return out;
}

#endif

} // namespace platform
