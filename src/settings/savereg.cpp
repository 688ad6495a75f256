// SPDX-License-Identifier: GPL-3.0-or-later
// TfmSetup's form: the four pages with their controls, captions and hints, and
// the wiring of the controls to their handlers.
#include "savereg.h"

#include "checklistbox.h"
#include "desktoperror.h"
#include "qlconsts.h"
#include "qtprompter.h"
#include "radiogroup.h"
#include "registrylayout.h"
#include "registrymessages.h"
#include "startupoptions.h"
#include "sysbib.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The form's client area.
constexpr int FormWidth = 436, FormHeight = 253;
constexpr int MaxIndent = 13;
constexpr int Utf8Encoding = 8;   // stored after detection's "None"

QCheckBox* Check(QWidget* parent, const char* name, const QString& caption, const QString& hint)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setToolTip(hint);
    return box;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, const QString& hint,
                    const QIcon& icon = {})
{
    auto* button = new QPushButton(icon, caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

QIcon Glyph(const char* resource)
{
    return QIcon(QString::fromLatin1(resource));
}

QIcon Standard(QStyle::StandardPixmap pixmap)
{
    return QApplication::style()->standardIcon(pixmap);
}

// The text across the top of a page.
QLabel* Heading(QWidget* parent, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* b : buttons)
        row->addWidget(b);
    return row;
}

// A page of the dialog: its name, a column layout and the text across its top.
QVBoxLayout* StartPage(QWidget* page, const char* name, const QString& heading)
{
    page->setObjectName(QString::fromLatin1(name));
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(6, 4, 6, 6);
    column->setSpacing(2);
    column->addWidget(Heading(page, heading));
    return column;
}

// Page tabs share the control's width: a quarter each, less a pixel.
class EqualTabBar : public QTabBar {
public:
    // The widest tab as its caption and icon need it.
    int NaturalWidth() const
    {
        int widest = 0;
        for (int i = 0; i < count(); ++i)
            widest = std::max(widest, QTabBar::tabSizeHint(i).width());
        return widest;
    }

protected:
    QSize tabSizeHint(int index) const override
    {
        const QSize hint = QTabBar::tabSizeHint(index);
        const int width = parentWidget() ? parentWidget()->width() / 4 - 1 : hint.width();
        return {width, hint.height()};
    }
};

class PageControl : public QTabWidget {
public:
    explicit PageControl(QWidget* parent) : QTabWidget(parent), bar(new EqualTabBar) { setTabBar(bar); }
    int NaturalTabWidth() const { return bar->NaturalWidth(); }

private:
    EqualTabBar* bar;
};

} // namespace

TfmSetup::TfmSetup(std::unique_ptr<TSetupHost> setupHost, QWidget* parent)
    : QDialog(parent), host(std::move(setupHost))
{
    setObjectName(QStringLiteral("fmSetup"));
    setWindowTitle(tr("Saving in registry of parameters of program "));
    setModal(true);
    auto* pages = new PageControl(this);
    PageControl1 = pages;
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->tabBar()->setMouseTracking(true); // hot-tracked tabs
    PageControl1->addTab(BuildAppearance(), Glyph(":/icons/options.png"), tr("Appearance"));
    PageControl1->addTab(BuildEncoding(), Glyph(":/icons/wrap.png"), tr("Encoding"));
    PageControl1->addTab(BuildPrintOptions(), Glyph(":/icons/print.png"), tr("Print options"));
    PageControl1->addTab(BuildTypes(), Glyph(":/icons/open.png"), tr("Types of files"));
    // The form's size, grown where the desktop's font needs more room than the
    // classic one did, so that no caption is cut.
    const QSize needed = PageControl1->minimumSizeHint();
    const int width = std::max({FormWidth, 4 * (pages->NaturalTabWidth() + 1), needed.width()});
    const int height = std::max(FormHeight, needed.height());
    setFixedSize(width, height);
    PageControl1->setGeometry(0, 0, width, height);
    Wire();
}

TfmSetup::~TfmSetup() = default;

QWidget* TfmSetup::BuildAppearance()
{
    auto* page = new QWidget;
    QVBoxLayout* column = StartPage(page, "TabSheet1",
                                    tr("    The current parameters of a font, background color, size of indents "
                                       "and screen mode will be saved."));
    chFull = Check(page, "chFull", tr("Full screen mode by loading"), tr("Toggle on/off full screen mode"));
    chNoth = Check(page, "chNoth", tr("Hide main menu and panels"),
                   tr("Toggle on/off hiding main menu and panels by full screen mode"));
    chReadOnly = Check(page, "chReadOnly", tr("Text read-only mode"), tr("Switching between editor or viewer mode"));
    chInd = Check(page, "chInd", tr("Border indents of window are enabled"),
                  tr("Toggle on/off using right and left indents"));
    spInd = new QSpinBox(page);
    spInd->setObjectName(QStringLiteral("spInd"));
    spInd->setRange(1, MaxIndent);
    spInd->setValue(1);
    spInd->setToolTip(tr("Size of right and left indents"));
    chEncAll = Check(page, "chEncAll", tr("All encoding buttons are visibled"),
                     tr("Toggle on/off showing of all encoding buttons"));
    chPar =
        Check(page, "chPar", tr("Paragraph buttons are visibled"), tr("Toggle on/off showing of paragraph buttons"));
    chWrap = Check(page, "chWrap", tr("Wrapping of lines on right border"), tr("Toggle on/off the wrapping of lines"));
    chExpl = Check(page, "chExpl", tr("Add the program to context menu of explorer"),
                   tr("Add/Remove the program to context menu of explorer"));
    chStart = Check(page, "chStart", tr("Add the program to context menu of \"Start\" button"),
                    tr("Add/Remove the program to context menu of \"Start\" button"));
    chJournal = Check(page, "chJournal", Tr(QlConsts::KeepRecoveryJournal), Tr(QlConsts::KeepRecoveryJournalHint));
    spJournal = new QSpinBox(page);
    spJournal->setObjectName(QStringLiteral("spJournal"));
    spJournal->setRange(1, MaxJournalDelay);
    spJournal->setValue(1);
    spJournal->setSuffix(Tr(QlConsts::SecondsSuffix));
    spJournal->setToolTip(Tr(QlConsts::RecoveryJournalDelayHint));

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(0);
    grid->addWidget(chFull, 0, 0);
    grid->addWidget(chNoth, 1, 0);
    grid->addWidget(chReadOnly, 2, 0);
    auto* indents = new QHBoxLayout;
    indents->addWidget(chInd);
    indents->addWidget(spInd);
    indents->addStretch(1);
    grid->addLayout(indents, 3, 0, 1, 2);
    grid->addWidget(chEncAll, 0, 1);
    grid->addWidget(chPar, 1, 1);
    grid->addWidget(chWrap, 2, 1);
    grid->addWidget(chExpl, 4, 0, 1, 2);
    grid->addWidget(chStart, 5, 0, 1, 2);
    auto* journal = new QHBoxLayout;
    journal->addWidget(chJournal);
    journal->addWidget(spJournal);
    journal->addStretch(1);
    grid->addLayout(journal, 6, 0, 1, 2);
    grid->setColumnMinimumWidth(0, 200);
    column->addLayout(grid);
    column->addStretch(1);

    BitBtn1 = Button(page, "BitBtn1", tr("&Save"),
                     tr("To save current background, font, etc. as parameters by default"), Glyph(":/icons/save.png"));
    BitBtn6 = Button(page, "BitBtn6", tr("&Clear"), tr("Remove from registry all data of program"),
                     Standard(QStyle::SP_TrashIcon));
    BitBtn2 = Button(page, "BitBtn2", tr("Close"), tr("Close window"), Standard(QStyle::SP_DialogCloseButton));
    column->addLayout(ButtonRow({BitBtn1, BitBtn6, BitBtn2}));
    return page;
}

QWidget* TfmSetup::BuildEncoding()
{
    auto* page = new QWidget;
    QVBoxLayout* column = StartPage(page, "TabSheet2",
                                    tr("    Current parameters encoding, OLE objects, URL autodetection and "
                                       "numbering of paragraphs will be saved."));
    chEnc = Check(page, "chEnc", tr("Automatic detection of encoding"),
                  tr("Detect encoding automatically by opening of file"));
    cbEnc = new QComboBox(page);
    cbEnc->setObjectName(QStringLiteral("cbEnc"));
    // Each item carries the encoding's stored ordinal: UTF-8 is listed last but
    // stored as 8, after detection's "None", which is not offered.
    const QStringList encodings{tr("MS-DOS"), tr("Windows"), tr("KOI-8R"), tr("Macintosh"), tr("ISO 8859-5"),
                                tr("Unicode"), tr("RTF")};
    for (int i = 0; i < encodings.size(); ++i)
        cbEnc->addItem(encodings[i], i);
    cbEnc->addItem(tr("UTF-8"), Utf8Encoding);
    cbEnc->setToolTip(tr("Encoding by default"));
    chMac = Check(page, "chMac", tr("Except for Mac"), tr("Not detect macintosh encoding"));
    chUrl = Check(page, "chUrl", tr("Automatic URL detection"), tr("Toggle on/off of the URL autodetection"));
    chOle = Check(page, "chOle", tr("OLE objects support"),
                  tr("Toggle on/off OLE objects support (will have effect only by next call of editor) "));

    auto* top = new QGridLayout;
    top->setVerticalSpacing(0);
    top->addWidget(chEnc, 0, 0);
    auto* encoding = new QHBoxLayout;
    encoding->addSpacing(16);
    encoding->addWidget(cbEnc);
    encoding->addWidget(chMac);
    encoding->addStretch(1);
    top->addLayout(encoding, 1, 0);
    top->addWidget(chUrl, 0, 1);
    top->addWidget(chOle, 1, 1);
    top->setColumnStretch(0, 1);
    top->setColumnStretch(1, 1);
    column->addLayout(top);

    rgChar = new TRadioGroup(tr("Action when character graphic in Dos encoding was found"),
                             {tr("None"), tr("OEM windows transformation"), tr("Transform text to UNICODE"),
                              tr("Transform tables to paragraphs")},
                             2, page);
    rgChar->setObjectName(QStringLiteral("rgChar"));
    rgChar->setToolTip(tr("Choice of a kind of character graphics support in Dos encoding"));
    column->addWidget(rgChar);

    cbParN = new QComboBox(page);
    cbParN->setObjectName(QStringLiteral("cbParN"));
    cbParN->setToolTip(tr("Numbering style"));
    cbLine = new QComboBox(page);
    cbLine->setObjectName(QStringLiteral("cbLine"));
    cbLine->setToolTip(tr("Underline style"));
    auto* lists = new QGridLayout;
    lists->setVerticalSpacing(0);
    lists->addWidget(new QLabel(tr("Numbering of paragraphs by default"), page), 0, 0);
    lists->addWidget(cbParN, 1, 0);
    lists->addWidget(new QLabel(tr("Underline by default"), page), 0, 1);
    lists->addWidget(cbLine, 1, 1);
    column->addLayout(lists);
    column->addStretch(1);

    BitBtn11 = Button(page, "BitBtn11", tr("Save"),
                      tr("To save current parameters encoding and URL autodetection,numbering of paragraphs"),
                      Glyph(":/icons/save.png"));
    BitBtn12 = Button(page, "BitBtn12", tr("Close"), tr("Close window"), Standard(QStyle::SP_DialogCloseButton));
    column->addLayout(ButtonRow({BitBtn11, BitBtn12}));
    return page;
}

QWidget* TfmSetup::BuildPrintOptions()
{
    auto* page = new QWidget;
    QVBoxLayout* column = StartPage(page, "TabSheet3",
                                    tr("    The parameters of numbering of pages and bordering by printing of "
                                       "the text will be saved."));
    cbNum = Check(page, "cbNum", tr("Print numbers for all pages "),
                  tr("Toggle on/off of numbers printing for all pages "));
    cbFirst =
        Check(page, "cbFirst", tr("Number on the first page"), tr("Toggle on/off of initial page number printing "));
    spFNum = new QSpinBox(page);
    spFNum->setObjectName(QStringLiteral("spFNum"));
    spFNum->setRange(PagesValue::BeginNMin, PagesValue::BeginNMax);
    spFNum->setValue(1);
    spFNum->setToolTip(tr("Input of initial page number"));
    RadioGroup3 = new TRadioGroup(tr("Position"), {tr("At the top of page"), tr("At the bottom of page")}, 1, page);
    RadioGroup3->setObjectName(QStringLiteral("RadioGroup3"));
    RadioGroup3->setToolTip(tr("Choose position of page number"));
    RadioGroup4 = new TRadioGroup(tr("Alignment"), {tr("Left"), tr("Center"), tr("Right")}, 3, page);
    RadioGroup4->setObjectName(QStringLiteral("RadioGroup4"));
    RadioGroup4->setToolTip(tr("Choose alignment of numbers of pages"));

    auto* borders = new QGroupBox(tr("Borders"), page);
    borders->setObjectName(QStringLiteral("GroupBox1"));
    borders->setToolTip(tr("Choose types of a bordering of pages"));
    cbTop = Check(borders, "cbTop", tr("Top"), QString());
    cbBottom = Check(borders, "cbBottom", tr("Bottom"), QString());
    cbLeft = Check(borders, "cbLeft", tr("Left"), QString());
    cbRight = Check(borders, "cbRight", tr("Right"), QString());
    auto* borderGrid = new QGridLayout(borders);
    borderGrid->setContentsMargins(6, 2, 6, 2);
    borderGrid->addWidget(cbTop, 0, 0);
    borderGrid->addWidget(cbBottom, 1, 0);
    borderGrid->addWidget(cbLeft, 0, 1);
    borderGrid->addWidget(cbRight, 1, 1);
    cbWhite = Check(page, "cbWhite", tr("Black-and-white printer"), tr("To set black color of font before printing"));
    RadioGroup5 = new TRadioGroup(tr("Units"), {tr("millimeters"), tr("inches")}, 2, page);
    RadioGroup5->setObjectName(QStringLiteral("RadioGroup5"));
    RadioGroup5->setToolTip(tr("Choose units for indents of pages"));

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    grid->addWidget(cbNum, 0, 0);
    auto* first = new QHBoxLayout;
    first->addWidget(cbFirst);
    first->addWidget(spFNum, 1);
    grid->addLayout(first, 1, 0);
    grid->addWidget(RadioGroup3, 2, 0, 2, 1);
    grid->addWidget(RadioGroup4, 0, 1, 2, 1);
    grid->addWidget(borders, 2, 1);
    grid->addWidget(RadioGroup5, 3, 1);
    grid->addWidget(cbWhite, 4, 0);
    column->addLayout(grid);
    column->addStretch(1);

    BitBtn8 = Button(page, "BitBtn8", tr("Save"), tr("Saving of the changes"), Glyph(":/icons/save.png"));
    BitBtn10 = Button(page, "BitBtn10", tr("Indents"), tr("Choice of indents and paper orientation "),
                      Glyph(":/icons/preview.png"));
    BitBtn9 = Button(page, "BitBtn9", tr("Close"), tr("Close window"), Standard(QStyle::SP_DialogCloseButton));
    column->addLayout(ButtonRow({BitBtn8, BitBtn10, BitBtn9}));
    return page;
}

QWidget* TfmSetup::BuildTypes()
{
    auto* page = new QWidget;
    QVBoxLayout* column =
        StartPage(page, "TabSheet4", tr("    The specified types files will be open by default by this program."));
    column->addWidget(Heading(page, tr("    The changes to be in force at  once  after  their    saving   in   the "
                                    "windows registry.")));
    CheckListBox1 = new TCheckListBox(page);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    CheckListBox1->SetChangedTest([this](int row) {
        return row >= 0 && std::size_t(row) < OldChecked.size() && CheckListBox1->Checked(row) != OldChecked[row];
    });
    BitBtn3 = Button(page, "BitBtn3", tr("Save"), tr("Save association of checked files to this program"),
                     Glyph(":/icons/save.png"));
    BitBtn5 = Button(page, "BitBtn5", tr("Add"), tr("Add a new extension"), Glyph(":/icons/new.png"));
    BitBtn7 = Button(page, "BitBtn7", tr("Remove"), tr("Remove the extension"), Glyph(":/icons/cut.png"));
    BitBtn4 = Button(page, "BitBtn4", tr("Close"), tr("Close window"), Standard(QStyle::SP_DialogCloseButton));
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {BitBtn3, BitBtn5, BitBtn7, BitBtn4})
        buttons->addWidget(b);
    buttons->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(CheckListBox1, 1);
    middle->addLayout(buttons);
    column->addLayout(middle, 1);

    Label4 = new QLabel(Tr(QlConsts::CommandLineInRegistry), page);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label3 = new QLabel(page);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label3->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label3->setMinimumHeight(Label3->fontMetrics().height() + 4);
    column->addWidget(Label4);
    column->addWidget(Label3);
    return page;
}

void TfmSetup::Wire()
{
    connect(chFull, &QCheckBox::clicked, this, &TfmSetup::chFullClick);
    connect(chInd, &QCheckBox::clicked, this, &TfmSetup::chIndClick);
    connect(chJournal, &QCheckBox::toggled, spJournal, &QSpinBox::setEnabled);
    connect(chEnc, &QCheckBox::clicked, this, &TfmSetup::chEncClick);
    connect(cbEnc, &QComboBox::currentIndexChanged, this, &TfmSetup::cbEncChange);
    connect(cbNum, &QCheckBox::clicked, this, &TfmSetup::cbNumClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TfmSetup::BitBtn1Click);
    connect(BitBtn6, &QPushButton::clicked, this, &TfmSetup::BitBtn6Click);
    connect(BitBtn11, &QPushButton::clicked, this, &TfmSetup::BitBtn11Click);
    connect(BitBtn8, &QPushButton::clicked, this, &TfmSetup::BitBtn8Click);
    connect(BitBtn10, &QPushButton::clicked, this, &TfmSetup::BitBtn10Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TfmSetup::BitBtn3Click);
    connect(BitBtn5, &QPushButton::clicked, this, &TfmSetup::BitBtn5Click);
    connect(BitBtn7, &QPushButton::clicked, this, &TfmSetup::BitBtn7Click);
    for (QPushButton* close : {BitBtn2, BitBtn12, BitBtn9, BitBtn4})
        connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(CheckListBox1, &QListWidget::itemChanged, this, [this] {
        if (!loadingList)
            CheckListBox1ClickCheck();
    });
    connect(CheckListBox1, &QListWidget::currentRowChanged, this, &TfmSetup::CheckListBox1Click);
    connect(CheckListBox1, &QListWidget::itemClicked, this, &TfmSetup::CheckListBox1Click);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TfmSetup::PageChanged);
}

void TfmSetup::PageChanged(int index)
{
    // Each page's Save is its default button.
    QPushButton* const saves[] = {BitBtn1, BitBtn11, BitBtn8, BitBtn3};
    for (int i = 0; i < 4; ++i)
        saves[i]->setDefault(i == index);
}

int TfmSetup::Execute()
{
    FormShow();
    FormActivate();
    return exec();
}

void TfmSetup::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Placed once shown, when its frame is known.
    PlaceOverOwner(this, host->Window());
}

bool TfmSetup::Saved(const std::function<void()>& save)
{
    try {
        save();
        return true;
    } catch (const platform::RegistryError& error) {
        ReportRegistryError(error);
    } catch (const platform::DesktopError& error) {
        ErrorBox(Tr(QlConsts::DesktopChangeFailed).arg(error.Path(), error.Reason()));
    }
    return false;
}
