// SPDX-License-Identifier: GPL-3.0-or-later
// TPreviewForm's life cycle, its controls and its page files.
#include "qxpreview.h"

#include "qlconsts.h"
#include "sysbib.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTemporaryDir>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int FormWidth = 710;
constexpr int FormHeight = 514;
constexpr int ToolbarHeight = 30;
constexpr int ButtonSize = 24;
constexpr int FieldHeight = 22;
constexpr int PageFieldWidth = 44;
constexpr int BevelWidth = 64;
constexpr int CloseWidth = 75;
constexpr int SpinWidth = 16;
constexpr int Gap = 2;

enum class Glyph { WholePage, PageWidth, FullSize };

// The zoom buttons' pictures: a page standing in its frame, a page filling the
// frame's width, and a page at its own size.
QIcon ZoomIcon(Glyph glyph)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(40, 40, 40));
    switch (glyph) {
    case Glyph::WholePage:
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 8, 13);
        break;
    case Glyph::PageWidth:
        p.setBrush(Qt::white);
        p.drawRect(1, 3, 13, 12);
        p.drawLine(3, 1, 12, 1);
        break;
    case Glyph::FullSize: {
        QFont font = p.font();
        font.setPixelSize(9);
        font.setBold(true);
        p.setFont(font);
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("1:1"));
        break;
    }
    }
    return QIcon(pixmap);
}

QToolButton* ToolButton(QWidget* parent, const char* name, const QString& hint)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(QSize(16, 16));
    return button;
}

} // namespace

void TPageImage::SetPicture(const QImage& image)
{
    picture = image;
    update();
}

void TPageImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (picture.isNull())
        painter.fillRect(rect(), Qt::white);
    else
        painter.drawImage(0, 0, picture);
}

TPreviewForm::TPreviewForm(platform::Printer& printerObject, QWidget* parent)
    : QDialog(parent), printer(printerObject)
{
    setObjectName(QStringLiteral("TPreviewForm"));
    setWindowTitle(tr("Print preview"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(FormWidth, FormHeight);
    BuildControls();
    ResizeButtons();
    PageIndex = 0;
    sbHeight->setChecked(true);
    Image1->hide();
    Label1->clear();
    skipResize = true;
}

TPreviewForm::~TPreviewForm()
{
    DeletePages();
}

void TPreviewForm::BuildControls()
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    ScrollBox1->setFocusPolicy(Qt::NoFocus);
    auto* sheet = new QWidget;
    sheet->setBackgroundRole(QPalette::Dark);
    Image1 = new TPageImage(sheet);
    Image1->setObjectName(QStringLiteral("Image1"));
    ScrollBox1->setWidget(sheet);
    column->addWidget(Panel2);
    column->addWidget(ScrollBox1, 1);

    const QStyle* s = style();
    sbPrint = ToolButton(Panel2, "sbPrint", tr("Print text"));
    // The program's print glyph; its word where the glyphs are not linked in.
    const QString printGlyph = QStringLiteral(":/icons/print.png");
    if (QFile::exists(printGlyph))
        sbPrint->setIcon(QIcon(printGlyph));
    else
        sbPrint->setText(tr("Print"));
    SpinButton1Up = ToolButton(Panel2, "SpinButton1Up", tr("To first or to last page"));
    SpinButton1Up->setArrowType(Qt::UpArrow);
    SpinButton1Down = ToolButton(Panel2, "SpinButton1Down", tr("To first or to last page"));
    SpinButton1Down->setArrowType(Qt::DownArrow);
    sbPrev = ToolButton(Panel2, "sbPrev", tr("Previous page"));
    sbPrev->setIcon(s->standardIcon(QStyle::SP_ArrowLeft));
    ePage = new QLineEdit(QStringLiteral("0"), Panel2);
    ePage->setObjectName(QStringLiteral("ePage"));
    ePage->setToolTip(tr("Number of page"));
    ePage->setAlignment(Qt::AlignCenter);
    sbNext = ToolButton(Panel2, "sbNext", tr("Next page"));
    sbNext->setIcon(s->standardIcon(QStyle::SP_ArrowRight));
    Bevel1 = new QFrame(Panel2);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::Panel);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setToolTip(tr("Scale of preview"));
    Label1 = new QLabel(QStringLiteral("100 %"), Bevel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    sbHeight = ToolButton(Panel2, "sbHeight", tr("Whole page"));
    sbHeight->setIcon(ZoomIcon(Glyph::WholePage));
    sbWidth = ToolButton(Panel2, "sbWidth", tr("To width of a window"));
    sbWidth->setIcon(ZoomIcon(Glyph::PageWidth));
    sb100 = ToolButton(Panel2, "sb100", tr("Scale of 100 %"));
    sb100->setIcon(ZoomIcon(Glyph::FullSize));
    for (QToolButton* b : {sbHeight, sbWidth, sb100}) {
        b->setCheckable(true);
        b->setAutoExclusive(true);
    }
    BitBtn1 = new QPushButton(tr("Close"), Panel2);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setToolTip(tr("Close of print preview window"));
    BitBtn1->setAutoDefault(false);

    connect(sbPrint, &QToolButton::clicked, this, &TPreviewForm::sbPrintClick);
    connect(SpinButton1Up, &QToolButton::clicked, this, &TPreviewForm::SpinButton1UpClick);
    connect(SpinButton1Down, &QToolButton::clicked, this, &TPreviewForm::SpinButton1DownClick);
    connect(sbPrev, &QToolButton::clicked, this, &TPreviewForm::sbPrevClick);
    connect(sbNext, &QToolButton::clicked, this, &TPreviewForm::sbNextClick);
    connect(sbHeight, &QToolButton::clicked, this, &TPreviewForm::sbHeightClick);
    connect(sbWidth, &QToolButton::clicked, this, &TPreviewForm::sbWidthClick);
    connect(sb100, &QToolButton::clicked, this, &TPreviewForm::sb100Click);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    // The window sees the page field's keys first.
    ePage->installEventFilter(this);
}

void TPreviewForm::ResizeButtons()
{
    Panel2->setFixedHeight(ToolbarHeight);
    int x = Gap;
    auto place = [&x](QWidget* w, int width, int height) {
        w->setFixedSize(width, height);
        w->move(x, (ToolbarHeight - height) / 2);
        x += width + Gap;
    };
    place(sbPrint, ButtonSize, ButtonSize);
    x += Gap * 2;
    SpinButton1Up->setFixedSize(SpinWidth, ButtonSize / 2);
    SpinButton1Down->setFixedSize(SpinWidth, ButtonSize / 2);
    SpinButton1Up->move(x, (ToolbarHeight - ButtonSize) / 2);
    SpinButton1Down->move(x, (ToolbarHeight - ButtonSize) / 2 + ButtonSize / 2);
    x += SpinWidth + Gap;
    place(sbPrev, ButtonSize, ButtonSize);
    place(ePage, PageFieldWidth, FieldHeight);
    place(sbNext, ButtonSize, ButtonSize);
    x += Gap * 2;
    place(Bevel1, BevelWidth, FieldHeight);
    Label1->setGeometry(0, (FieldHeight - Label1->sizeHint().height()) / 2, BevelWidth, Label1->sizeHint().height());
    place(sbHeight, ButtonSize, ButtonSize);
    place(sbWidth, ButtonSize, ButtonSize);
    place(sb100, ButtonSize, ButtonSize);
    x += Gap * 2;
    place(BitBtn1, CloseWidth, ButtonSize);
}

QString TPreviewForm::PageFile(int index) const
{
    const QString digits = (QStringLiteral("00000") + QString::number(index)).right(6);
    return tempDir + QStringLiteral("/~t") + digits + QStringLiteral(".prn");
}

void TPreviewForm::SavePage(platform::PageMetafile& page)
{
    if (!folder) {
        // A folder of this window's own: another copy's pages, or anybody's files
        // of the same name, are never touched.
        // Qt answers no folder at all for a temporary folder that is not there.
        const QString base = ::TempDir();
        if (base.isEmpty() || !QFileInfo(base).isDir()) {
            page.Discard();
            throw platform::EInOutError(base, QStringLiteral("The temporary folder does not exist"));
        }
        folder = std::make_unique<QTemporaryDir>(base + QStringLiteral("/quillet-preview-XXXXXX"));
        if (!folder->isValid()) {
            const QString reason = folder->errorString();
            folder.reset();
            page.Discard();
            throw platform::EInOutError(::TempDir(), reason);
        }
        folder->setAutoRemove(false);
        tempDir = folder->path();
    }
    page.Save(PageFile(storedPages));
    LastPage = storedPages;
    ++storedPages;
    PageIndex = storedPages;
}

void TPreviewForm::DeletePages()
{
    if (!folder)
        return;
    for (int i = 0; i < storedPages; ++i)
        QFile::remove(PageFile(i));
    storedPages = 0;
    // Only an empty folder goes; anything else put there stays.
    QDir().rmdir(tempDir);
    folder.reset();
}

void TPreviewForm::done(int result)
{
    if (!closed) {
        closed = true;
        Image1->SetPicture(QImage());
        PageMetafile = QPicture();
        DeletePages();
    }
    QDialog::done(result);
}

void TPreviewForm::FirstPageShow()
{
    Image1->show();
    zoomPending = !isVisible();
    PageIndex = 0;
    ePage->setText(QStringLiteral("1"));
    ButtonsUpdate();
    PageToCenter();
    Percent();
    sbHeight->setChecked(true);
    ZoomMode = 1;
    DrawPage();
}

void TPreviewForm::DrawPage()
{
    QPicture page;
    if (!platform::LoadPage(PageFile(PageIndex), page))
        return;
    PageMetafile = page;
    QImage image(Image1->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        platform::PlayPage(painter, PageMetafile, QSize(PagePixelWidth, PagePixelHeight), QRectF(image.rect()));
    }
    ePage->setText(QString::number(PageIndex + 1));
    Image1->SetPicture(image);
    Image1->repaint();
}

void TPreviewForm::ButtonsUpdate()
{
    sbPrev->setEnabled(PageIndex >= 1);
    sbNext->setEnabled(PageIndex < LastPage);
}

int TPreviewForm::ScreenDpi() const
{
    return logicalDpiY() > 0 ? logicalDpiY() : 96;
}

void TPreviewForm::Percent()
{
    if (PagePixelHeight <= 0)
        return;
    const std::int64_t numerator = std::int64_t(Image1->height()) * 100 * PrinterDpi;
    const std::int64_t denominator = std::int64_t(ScreenDpi()) * PagePixelHeight;
    Label1->setText(QString::number(std::llround(double(numerator) / double(denominator))) + QStringLiteral(" %"));
}
