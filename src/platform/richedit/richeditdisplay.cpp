// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing what Qt does not draw from the document's formats: the display
// formats over the block layouts, and the decorations painted over the text.
#include "richeditimpl.h"

#include "decorations.h"

#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>

namespace platform {

QColor RichEdit::Impl::LinkColor() const
{
    return q->palette().color(QPalette::Link);
}

void RichEdit::Impl::RestyleAll(QTextDocument* target, bool relayout, const std::vector<int>* onlyAt)
{
    shownLink = LinkColor();
    ++changes;
    ++restyles;
    // Laying blocks out again changes no text: no EN_CHANGE for it.
    relayingOut = true;
    if (onlyAt)
        display.RestyleFresh(*target, *onlyAt, shownLink);
    else
        display.RestyleAll(*target, shownLink, relayout);
    relayingOut = false;
}

void RichEdit::showEvent(QShowEvent* event)
{
    d->LayOutDeferred();
    QTextEdit::showEvent(event);
}

void RichEdit::paintEvent(QPaintEvent* event)
{
    d->LayOutDeferred();
    d->PrepareView();
    QTextEdit::paintEvent(event);
    QPainter painter(viewport());
    const QPoint scrolled(horizontalScrollBar()->value(), verticalScrollBar()->value());
    painter.translate(-scrolled);
    PaintDecorations(painter, *d->doc, QRectF(event->rect().translated(scrolled)), palette(), d->LinkColor());
}

void RichEdit::changeEvent(QEvent* event)
{
    QTextEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && d->doc && d->LinkColor() != d->shownLink)
        d->RestyleAll(d->doc, true);
}

} // namespace platform
