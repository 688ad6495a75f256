// SPDX-License-Identifier: GPL-3.0-or-later
// The about box's layout, its texts from the build, and the hover that shows the
// library line.
#include "about.h"

#include "libraryinfo.h"
#include "qlconsts.h"

#include <QEvent>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr int ClientWidth = 380, ClientHeight = 177;
constexpr int IconSize = 100, SmallImageSize = 48;
// Help context of the about box.
constexpr int AboutHelpContext = 25;
// The oldest toolkit the program is built for, the version a user is told to have.
constexpr const char* RecommendedVersion = "6.4";

} // namespace

QString ProgramVersion()
{
    return QStringLiteral(QUILLET_VERSION);
}

QString ProgramDate()
{
    return QStringLiteral(QUILLET_DATE);
}

TfmAboutForm::TfmAboutForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fmAboutForm"));
    // A dialog border with the close button only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(Tr(QlConsts::AboutCaption));
    setFixedSize(ClientWidth, ClientHeight);
    setProperty("helpContext", AboutHelpContext);
    setMouseTracking(true);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);
    Panel1->setLineWidth(2);
    Panel1->setGeometry(8, 6, ClientWidth - 16, 114);
    Panel1->setMouseTracking(true);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPixmap(QPixmap(QStringLiteral(":/icons/quillet-large.png")));
    ProgramIcon->setGeometry(10, 7, IconSize, IconSize);
    ProgramIcon->setMouseTracking(true);

    const auto label = [this](const char* name, const QString& text, int x, int y) {
        auto* l = new QLabel(text, Panel1);
        l->setObjectName(QString::fromLatin1(name));
        l->move(x, y);
        l->setMouseTracking(true);
        return l;
    };
    Label2 = label("Label2", Tr(QlConsts::AboutProgram), 124, 12);
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    Label1 = label("Label1", Tr(QlConsts::AboutVersion), 124, 36);
    Version = label("Version", QStringLiteral("2.5"), 0, 36);
    Label3 = label("Label3", QStringLiteral(" (10.05.2002)"), 0, 36);
    Copyright = label("Copyright", QString(), 124, 60);
    Copyright->setWordWrap(true);

    imIco = new QLabel(Panel1);
    imIco->setObjectName(QStringLiteral("imIco"));
    imIco->setPixmap(QPixmap(QStringLiteral(":/icons/info.png")));
    imIco->setGeometry(Panel1->width() - SmallImageSize - 8, 8, SmallImageSize, SmallImageSize);
    imIco->setMouseTracking(true);

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    // Room for the library line in three lines.
    Panel2->setGeometry(8, 124, ClientWidth - 16, 49);
    Memo1 = new QPlainTextEdit(Panel2);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setGeometry(0, 0, Panel2->width(), Panel2->height());
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->viewport()->setMouseTracking(true);
    Memo1->setMouseTracking(true);
    Panel2->hide();

    OKButton = new QPushButton(Tr(QlConsts::OkButton), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    OKButton->setGeometry((ClientWidth - 80) / 2, 134, 80, 27);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    for (QWidget* w : {static_cast<QWidget*>(Panel1), static_cast<QWidget*>(imIco), static_cast<QWidget*>(Memo1),
                       Memo1->viewport()})
        w->installEventFilter(this);
    FormCreate();
}

void TfmAboutForm::FormCreate()
{
    ResizeImages();
    dllInfoShown = false;
    const QString name = RichTextLibraryName();
    imIco->setToolTip(Tr(QlConsts::RichEditVersionHint).arg(name) + QStringLiteral("\n")
                      + Tr(QlConsts::RichEditRecommendation).arg(QString::fromLatin1(RecommendedVersion)));
    // The version and its date come from the build; the notice is the program's own.
    Version->setText(ProgramVersion());
    Label3->setText(QStringLiteral(" (") + ProgramDate() + QStringLiteral(")"));
    Copyright->setText(Tr(QlConsts::AboutLegalNotice));
    for (QLabel* l : {Label1, Version, Label3})
        l->adjustSize();
    Version->move(Label1->x() + Label1->width() + 4, Label1->y());
    Label3->move(Version->x() + Version->width(), Label1->y());
    // Below the small image the notice may use the panel's whole width.
    Copyright->setFixedWidth(Panel1->width() - Copyright->x() - 8);
    Copyright->adjustSize();
    Memo1->setPlainText(LibraryLine(RichTextLibrary()));
}

void TfmAboutForm::ResizeImages()
{
    // A larger picture is shrunk to its place keeping its right edge (the small
    // image) or its centre (the icon); a smaller one is stretched.
    if (imIco->width() > SmallImageSize)
        imIco->setGeometry(imIco->x() + imIco->width() - SmallImageSize, imIco->y(), SmallImageSize, SmallImageSize);
    imIco->setScaledContents(true);
    if (ProgramIcon->width() > IconSize) {
        const int excess = ProgramIcon->width() - IconSize;
        ProgramIcon->setGeometry(ProgramIcon->x() + excess / 2, ProgramIcon->y() + excess / 2, IconSize, IconSize);
    }
    ProgramIcon->setScaledContents(true);
}

void TfmAboutForm::ShowDLLInfo(bool show)
{
    if (show == dllInfoShown)
        return;
    Panel2->setVisible(show);
    OKButton->setVisible(!show);
    dllInfoShown = show;
}

bool TfmAboutForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
        if (watched == imIco) {
            ShowDLLInfo(true);
            // Not passed on to the panel below, which would hide the line again.
            return event->type() == QEvent::MouseMove;
        }
        if (watched == Panel1 || watched == Memo1 || watched == Memo1->viewport())
            ShowDLLInfo(false);
    }
    return QDialog::eventFilter(watched, event);
}

void TfmAboutForm::mouseMoveEvent(QMouseEvent* event)
{
    ShowDLLInfo(false);
    QDialog::mouseMoveEvent(event);
}
