// What the control draws over Qt's own drawing: the numbers of lists that do not
// start at 1, which Qt before 6.6 cannot number.
#include "richeditimpl.h"

#include "listnumbers.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace platform {

void RichEdit::paintEvent(QPaintEvent* event)
{
    QTextEdit::paintEvent(event);
    QPainter painter(viewport());
    const QPointF scrolled(horizontalScrollBar()->value(), verticalScrollBar()->value());
    painter.translate(-scrolled);
    DrawListNumbers(painter, *document(), QRectF(event->rect()).translated(scrolled), palette().text());
}

} // namespace platform
