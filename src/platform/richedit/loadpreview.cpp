// SPDX-License-Identifier: GPL-3.0-or-later
// The first screenful of a long text being streamed in, drawn over the viewport.
#include "loadpreview.h"

#include "layout/documentlayout.h"

#include <QPainter>
#include <QPaintEvent>
#include <QTextDocument>
#include <QTextEdit>

namespace platform {

LoadPreview::LoadPreview(QTextEdit& owner, std::unique_ptr<QTextDocument> head, double pageWidth)
    : QWidget(owner.window()), control(owner), doc(std::move(head)), layout(new DocumentLayout(doc.get()))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    QWidget* viewport = control.viewport();
    setGeometry(QRect(viewport->mapTo(window(), QPoint(0, 0)), viewport->size()));
    doc->setDocumentLayout(layout);
    // The same layout as the control's: lines break and are drawn as they will be there.
    doc->setPageSize(QSizeF(pageWidth, -1));
    layout->SetViewport(0, height());
}

LoadPreview::~LoadPreview() = default;

bool LoadPreview::ShowsCaret(int position) const
{
    if (position >= doc->characterCount() - 1)
        return position == 0;
    const QRectF caret = layout->CaretRect(position);
    return caret.left() >= 0 && caret.right() <= width() && caret.top() >= 0 && caret.bottom() <= height();
}

void LoadPreview::Draw()
{
    show();
    raise();
    repaint();
}

void LoadPreview::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QWidget* viewport = control.viewport();
    painter.fillRect(event->rect(), viewport->palette().brush(viewport->backgroundRole()));
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = control.palette();
    context.clip = QRectF(event->rect());
    painter.setClipRect(event->rect());
    layout->draw(&painter, context);
}

} // namespace platform
