// The preview's zoom modes, paging through the pages, and its keys.
#include "qxpreview.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
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
    QWidget* sheet = ScrollBox1->widget();
    const QSize client = ScrollBox1->viewport()->size();
    sheet->resize(std::max(client.width(), left + width + ImageMargin),
                  std::max(client.height(), top + height + ImageMargin));
}

void TPreviewForm::PageToCenter()
{
    ScrollBox1->horizontalScrollBar()->setValue(0);
    ScrollBox1->verticalScrollBar()->setValue(0);
    const int startHeight = ScrollBox1->viewport()->height();
    auto place = [this] {
        const QSize client = ScrollBox1->viewport()->size();
        const int height = client.height() - 2 * ImageMargin;
        const int width = PageAspect > 0 ? int(std::lround(height / PageAspect))
                                         : int(std::lround(height * A4Width / A4Height));
        // A page wider than the window starts at its left edge, reachable by scrolling.
        const int left = std::max(0, (client.width() - width) / 2);
        PlaceImage(left, ImageMargin, width, height);
    };
    place();
    // A scroll bar that came or went changed the room.
    if (ScrollBox1->viewport()->height() != startHeight)
        place();
}

void TPreviewForm::PageToWidth()
{
    ScrollBox1->horizontalScrollBar()->setValue(0);
    ScrollBox1->verticalScrollBar()->setValue(0);
    const int startWidth = ScrollBox1->viewport()->width();
    auto place = [this] {
        const int width = ScrollBox1->viewport()->width() - WidthAllowance;
        const int height = PageAspect > 0 ? int(std::lround(width * PageAspect))
                                          : int(std::lround(width * A4Height / A4Width));
        PlaceImage(ImageMargin, ImageMargin, width, height);
    };
    place();
    if (ScrollBox1->viewport()->width() != startWidth)
        place();
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
