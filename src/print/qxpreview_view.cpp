// SPDX-License-Identifier: GPL-3.0-or-later
// The preview's zoom modes, paging through the pages, and its keys.
#include "qxpreview.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>

#include <cmath>

namespace {

constexpr int ImageMargin = 7;
// The page image leaves room for a vertical scroll bar when it fills the width.
constexpr int WidthAllowance = 20;
// A4, for a page whose proportions are unknown.
constexpr double A4Width = 210.0;
constexpr double A4Height = 297.0;

} // namespace

void TPreviewForm::PlaceImage(int left, int top, int width, int height)
{
    width = std::max(1, width);
    height = std::max(1, height);
    Image1->setGeometry(left, top, width, height);
    // The sheet under the page is at least the room the scroll box offers, so
    // that the page stays where it was put.
    QWidget* sheet = ScrollBox1->widget();
    const QSize room = ScrollBox1->maximumViewportSize();
    sheet->resize(std::max(left + width + ImageMargin, room.width() - (height + top > room.height() ? BarWidth() : 0)),
                  std::max(top + height + ImageMargin, room.height() - (width + left > room.width() ? BarWidth() : 0)));
}

int TPreviewForm::BarWidth() const
{
    return ScrollBox1->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, ScrollBox1);
}

// The zoom modes size the page from the room the scroll box has without scroll
// bars, less a bar where the page will need one: Qt shows and hides the bars
// only after the page has been placed.
void TPreviewForm::PageToCenter()
{
    ScrollBox1->horizontalScrollBar()->setValue(0);
    ScrollBox1->verticalScrollBar()->setValue(0);
    const QSize room = ScrollBox1->maximumViewportSize();
    const int height = room.height() - 2 * ImageMargin;
    int width = PageAspect > 0 ? int(std::lround(height / PageAspect)) : int(std::lround(height * A4Width / A4Height));
    if (width + 2 * ImageMargin <= room.width()) {
        PlaceImage((room.width() - width) / 2, ImageMargin, width, height);
        return;
    }
    // Too narrow a window for the whole page: it fits its height less the bar
    // below, and starts at the left edge.
    const int shorter = height - BarWidth();
    width = PageAspect > 0 ? int(std::lround(shorter / PageAspect)) : int(std::lround(shorter * A4Width / A4Height));
    PlaceImage(0, ImageMargin, width, shorter);
}

void TPreviewForm::PageToWidth()
{
    ScrollBox1->horizontalScrollBar()->setValue(0);
    ScrollBox1->verticalScrollBar()->setValue(0);
    const QSize room = ScrollBox1->maximumViewportSize();
    auto heightFor = [this](int w) {
        return PageAspect > 0 ? int(std::lround(w * PageAspect)) : int(std::lround(w * A4Height / A4Width));
    };
    int width = room.width() - WidthAllowance;
    if (heightFor(width) + 2 * ImageMargin > room.height())
        width -= BarWidth();
    PlaceImage(ImageMargin, ImageMargin, width, heightFor(width));
}

void TPreviewForm::PageTo100Per()
{
    ScrollBox1->horizontalScrollBar()->setValue(0);
    ScrollBox1->verticalScrollBar()->setValue(0);
    const double k = double(ScreenDpi()) / (PrinterDpi > 0 ? PrinterDpi : 600);
    PlaceImage(ImageMargin, ImageMargin, int(std::lround(PagePixelWidth * k)), int(std::lround(PagePixelHeight * k)));
}

namespace {

void ApplyZoom(TPreviewForm& form)
{
    switch (form.ZoomMode) {
    case 2: form.PageToWidth(); break;
    case 3: form.PageTo100Per(); break;
    default: form.PageToCenter(); break;
    }
}

} // namespace

void TPreviewForm::sbHeightClick()
{
    sbHeight->setChecked(true);
    if (ZoomMode == 1)
        return;
    ZoomMode = 1;
    PageToCenter();
    Percent();
    DrawPage();
}

void TPreviewForm::sbWidthClick()
{
    sbWidth->setChecked(true);
    if (ZoomMode == 2)
        return;
    ZoomMode = 2;
    PageToWidth();
    Percent();
    DrawPage();
}

void TPreviewForm::sb100Click()
{
    sb100->setChecked(true);
    if (ZoomMode == 3)
        return;
    ZoomMode = 3;
    PageTo100Per();
    Percent();
    DrawPage();
}

void TPreviewForm::FormResize()
{
    if (skipResize) {
        skipResize = false;
        return;
    }
    ApplyZoom(*this);
    Percent();
    DrawPage();
}

void TPreviewForm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    FormResize();
}

void TPreviewForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The first page was laid out before the window had its size on screen.
    if (zoomPending) {
        zoomPending = false;
        ApplyZoom(*this);
        Percent();
        DrawPage();
    }
}

void TPreviewForm::ShowPage(int index)
{
    PageIndex = std::clamp(index, 0, LastPage);
    DrawPage();
    ButtonsUpdate();
}

void TPreviewForm::sbNextClick()
{
    PageIndex = std::min(PageIndex + 1, LastPage);
    ButtonsUpdate();
    DrawPage();
}

void TPreviewForm::sbPrevClick()
{
    PageIndex = std::max(std::min(PageIndex, LastPage) - 1, 0);
    ButtonsUpdate();
    DrawPage();
}

void TPreviewForm::SpinButton1UpClick()
{
    ePage->setText(QStringLiteral("1"));
    ShowPage(0);
}

void TPreviewForm::SpinButton1DownClick()
{
    ePage->setText(QString::number(LastPage + 1));
    ShowPage(LastPage);
}

void TPreviewForm::ePageEnter()
{
    if (ePage->text().isEmpty())
        ePage->setText(QStringLiteral("0"));
    bool ok = false;
    const qlonglong n = ePage->text().toLongLong(&ok);
    // Only digits get into the field; a number too long to read is beyond the end.
    const qlonglong wanted = ok ? n : qlonglong(LastPage) + 1;
    PageIndex = int(std::max<qlonglong>(1, std::min<qlonglong>(LastPage + 1, wanted))) - 1;
    DrawPage();
    ButtonsUpdate();
}

void TPreviewForm::keyPressEvent(QKeyEvent* event)
{
    QScrollBar* vertical = ScrollBox1->verticalScrollBar();
    switch (event->key()) {
    case Qt::Key_PageUp:
        sbPrevClick();
        break;
    case Qt::Key_PageDown:
        sbNextClick();
        break;
    case Qt::Key_End:
        ShowPage(LastPage);
        break;
    case Qt::Key_Home:
        ShowPage(0);
        break;
    case Qt::Key_Up:
        vertical->setValue(vertical->value() - vertical->singleStep());
        break;
    case Qt::Key_Down:
        vertical->setValue(vertical->value() + vertical->singleStep());
        break;
    default:
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool TPreviewForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != ePage || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if ((key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            ePageEnter();
            return true;
        }
        return false;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Up:
    case Qt::Key_Down:
        keyPressEvent(key);
        return true;
    default:
        break;
    }
    // The field takes digits only; other printable characters are dropped.
    const QString text = key->text();
    if (!text.isEmpty() && text[0].isPrint() && !text[0].isDigit())
        return true;
    return false;
}
