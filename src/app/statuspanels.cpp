// SPDX-License-Identifier: GPL-3.0-or-later
// Painting, hints and text of the status-bar panels.
#include "statuspanels.h"

#include "view.h"

#include "qlconsts.h"

#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

namespace {

constexpr int PanelGap = 2;

} // namespace

TStatusPanels::TStatusPanels(TfmView* owner, QWidget* parent) : QWidget(parent), view(owner)
{
    setObjectName(QStringLiteral("stbPanels"));
    setMouseTracking(true);
}

QSize TStatusPanels::sizeHint() const
{
    const int h = fontMetrics().height() + 6;
    return {PanelRect(PanelCount - 1).right() + 1, h};
}

QRect TStatusPanels::PanelRect(int panel) const
{
    int left = 0;
    for (int i = 0; i < panel; ++i)
        left += Widths[i] + PanelGap;
    return {left, 0, Widths[panel], height()};
}

void TStatusPanels::SetText(int panel, const QString& text)
{
    if (texts[panel] == text)
        return;
    texts[panel] = text;
    update(PanelRect(panel));
}

void TStatusPanels::RepaintProgressPanel()
{
    QMetaObject::invokeMethod(this, [this] { repaint(PanelRect(3)); }, Qt::QueuedConnection);
}

void TStatusPanels::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (int i = 0; i < PanelCount; ++i) {
        const QRect r = PanelRect(i);
        // A thin sunken frame, drawn here because some styles draw none.
        qDrawShadePanel(&painter, r.adjusted(0, 1, 0, -1), palette(), true, 1);
        if (i < 3) {
            const int align = (i == 2 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawText(r.adjusted(3, 0, -3, 0), align, texts[i]);
            continue;
        }
        // The progress bar: its length counts twentieths or hundredths of the
        // panel less its frame.
        const int w = r.width();
        const int mode = view->ProgressMode.load();
        const int progress = view->Progress.load();
        const int length = w > 5 ? progress * (w - 5) / (mode == 0 ? 20 : 100) : 0;
        if (length > 0)
            painter.fillRect(QRect(QPoint(r.left() + 2, r.top() + 3), QPoint(r.left() + 2 + length, r.bottom() - 3)),
                             palette().color(QPalette::Highlight));
    }
}

QString TStatusPanels::HintAt(int x) const
{
    if (x >= 3 && x <= 130)
        return Tr(QlConsts::CaretPanelHint);
    if (x >= 143 && x <= 200)
        return Tr(QlConsts::AllLinesCount);
    if (x >= 223 && x <= 265)
        return view->GEditorOverwrite() ? Tr(QlConsts::OverwriteMode) : Tr(QlConsts::InsertMode);
    return {};
}

void TStatusPanels::mouseMoveEvent(QMouseEvent* event)
{
    const QString hint = HintAt(event->position().toPoint().x());
    if (hint != toolTip())
        setToolTip(hint);
    QWidget::mouseMoveEvent(event);
}

void TStatusPanels::leaveEvent(QEvent* event)
{
    setToolTip(QString());
    QWidget::leaveEvent(event);
}
