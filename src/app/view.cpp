// SPDX-License-Identifier: GPL-3.0-or-later
// TfmView's life cycle: creation, first show and activation with the command
// line, resizing, closing; the caption helpers and the keyboard and mouse map.
#include "view.h"

#include "journalwriter.h"
#include "recoveryoffer.h"

#include "filenames.h"
#include "qlconsts.h"
#include "richedit.h"

#include "shell.h"
#include "sysbib.h"
#include "statuspanels.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

TfmView* fmView = nullptr;

namespace {

constexpr int FormLeft = 20, FormTop = 110, FormWidth = 780, FormHeight = 448;
constexpr int MarginButtonSize = 21;
constexpr int MaxIndentStep = 13;
// Within this many pixels of the editor's top-left corner, Ctrl+Alt shows the
// button that widens the margins.
constexpr int CornerZone = 25;
// How long the start-up waits for the window to be on screen, so that a long
// text's start can be drawn while it loads; a window never shown (minimized)
// waits no longer than this.
constexpr int ShownWaitStepMs = 10;
constexpr int ShownWaitSteps = 30;

Qt::KeyboardModifiers ShiftState(const QKeyEvent* event)
{
    // The keypad flag is not a shift state; the map compares exact states.
    return event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

} // namespace

TfmView::TfmView(const QStringList& arguments, QWidget* parent) : QMainWindow(parent), commandLine(arguments)
{
    // The glyphs live in this static library; a resource there is not linked in by itself.
    Q_INIT_RESOURCE(quillet);
    fmView = this;
    setObjectName(QStringLiteral("fmView"));
    setGeometry(FormLeft, FormTop, FormWidth, FormHeight);
    setWindowTitle(Tr(QlConsts::AppTitle));

    auto* client = new QWidget(this);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    BuildToolbar();
    BuildMenus();
    BuildPopupMenus();
    BuildEditor();
    BuildStatusBar();
    column->addWidget(paTop);
    column->addWidget(paMid, 1);
    setCentralWidget(client);
    WireCommands();
    FormCreate();
}

TfmView::~TfmView()
{
    StopTicker();
    if (GEditor) {
        // The editor's callbacks point back here; none may run during teardown.
        GEditor->OnChange = nullptr;
        GEditor->OnSelectionChange = nullptr;
        GEditor->OnLinesCounted = nullptr;
        GEditor->OnStream = nullptr;
        GEditor->OnResizeRequest = nullptr;
    }
    if (fmView == this)
        fmView = nullptr;
}

void TfmView::BuildEditor()
{
    paMid = new QWidget(this);
    paMid->setObjectName(QStringLiteral("paMid"));
    GEditor = new TqxEditor(paMid);
    GEditor->setObjectName(QStringLiteral("GEditor"));
    GEditor->SetAutoEncoding(true);
    GEditor->SetEncoding(Win);
    GEditor->SetDosAdd(daUNI);
    GEditor->SetUniType(Little);
    GEditor->SetScrollBars(TScrollStyle::ssBoth);
    GEditor->SetWantTabs(true);
    GEditor->SetWordWrap(false);
    GEditor->SetHideSelection(false);
    TFont font;
    font.Name = QStringLiteral("Courier New");
    font.Size = 10;
    font.Color = clBlack;
    font.Style = {TFontStyle::fsBold};
    GEditor->SetFont(font);
    GEditor->SetPopupMenu(PopupMenu1);
    QTextEdit* control = GEditor->Window();
    control->installEventFilter(this);
    control->viewport()->installEventFilter(this);
    control->viewport()->setMouseTracking(true);

    bbRight = new QPushButton(QStringLiteral(">"), paMid);
    bbRight->setObjectName(QStringLiteral("bbRight"));
    bbRight->setToolTip(tr("Increase of indents size"));
    bbRight->setGeometry(3, 3, MarginButtonSize, MarginButtonSize);
    bbRight->hide();
    bbLeft = new QPushButton(QStringLiteral("<"), paMid);
    bbLeft->setObjectName(QStringLiteral("bbLeft"));
    bbLeft->setToolTip(tr("Decrease  of indents size"));
    bbLeft->setGeometry(3, 24, MarginButtonSize, MarginButtonSize);
    bbLeft->hide();
    for (QPushButton* b : {bbRight, bbLeft})
        b->setFocusPolicy(Qt::NoFocus);
    paMid->installEventFilter(this);
}

void TfmView::BuildStatusBar()
{
    stb = new QStatusBar(this);
    stb->setObjectName(QStringLiteral("stb"));
    stb->setSizeGripEnabled(true);
    stbPanels = new TStatusPanels(this, stb);
    stb->addWidget(stbPanels, 1);
    setStatusBar(stb);
}

void TfmView::WireCommands()
{
    auto on = [this](const char* name, auto method) {
        connect(Item(QString::fromLatin1(name)), &QAction::triggered, this, method);
    };
    on("N9", &TfmView::sbNewClick);
    on("N10", &TfmView::N10Click);
    on("N15", &TfmView::N10Click);
    on("meClsW", &TfmView::meClsWClick);
    on("N11", &TfmView::sbOpenClick);
    on("meOpenW", &TfmView::meOpenWClick);
    on("N19", &TfmView::N19Click);
    on("N12", &TfmView::N12Click);
    on("MacintoshCR1", &TfmView::MacintoshCR1Click);
    on("UnixLF1", &TfmView::UnixLF1Click);
    on("N30", &TfmView::N30Click);
    on("mAllB", &TfmView::mAllBClick);
    on("N54", [this] { ShowAlignButtons(sbLeft->isHidden()); });
    on("WWW1", [] { platform::OpenUrl(QStringLiteral("https://quillet.example.org/")); });
    on("N18", [] { platform::OpenUrl(QStringLiteral("mailto:author@quillet.example.org")); });

    on("mBack", &TfmView::mBackClick);
    on("mFrw", &TfmView::mFrwClick);
    on("N16", [this] { GEditor->SelectAll(); });
    on("N1", [this] { GEditor->SelectAll(); });
    on("mCopy", &TfmView::CopyText);
    on("N2", &TfmView::CopyText);
    on("mCut", &TfmView::CutText);
    on("N3", &TfmView::CutText);
    on("mIns", [this] { PasteText(); });
    on("N4", [this] { PasteText(); });

    connect(sbNew, &QToolButton::clicked, this, &TfmView::sbNewClick);
    connect(sbOpen, &QToolButton::clicked, this, &TfmView::sbOpenClick);
    connect(sbSave, &QToolButton::clicked, this, &TfmView::sbSaveClick);
    connect(sbCut, &QToolButton::clicked, this, &TfmView::CutText);
    connect(sbCopy, &QToolButton::clicked, this, &TfmView::CopyText);
    connect(sbPaste, &QToolButton::clicked, this, [this] { PasteText(); });
    connect(sbUndo, &QToolButton::clicked, this, &TfmView::mBackClick);
    connect(sbRedo, &QToolButton::clicked, this, &TfmView::mFrwClick);
    connect(bbRight, &QPushButton::clicked, this, &TfmView::bbRightClick);
    connect(bbLeft, &QPushButton::clicked, this, &TfmView::bbLeftClick);
    WireSetupCommands();
    WireEncodingCommands();
    WirePrintCommands();
    WireFormatCommands();
    WireCharacterCommands();
    WireEditCommands();
    WireSearchCommands();
    WireScreenCommands();
    WireLanguageCommands();
    WireHelpCommands();
    WireCommandStates();

    GEditor->OnChange = [this](TqxEditor*) { GEditorChange(); };
    GEditor->OnSelectionChange = [this](TqxEditor*) { GEditorSelectionChange(); };
    GEditor->OnLinesCounted = [this](TqxEditor*) {
        if (!TextReady)
            return;
        StrCount();
        AllStrCount();
    };
    GEditor->OnStream = [this](TqxEditor*, std::int64_t size, std::int64_t position) { GEditorStream(size, position); };
    GEditor->OnResizeRequest = [this](TqxEditor*, const QRect&) { GEditorResizeRequest(); };
}

void TfmView::FormCreate()
{
    ShownOnce = false;
    TextReady = false;
    CurFileName.clear();
    Bookmark = -1;
    NumKind = 1;
    NumStyle = 3;
    UnderKind = 1;
    IndexKind = 2;
    FillParamDefault();
    FontInitialize();
    StbRepUpdate();
    RegisterWindow();
    ResizeButtons();
    ArrangeButtons();
    AcceptCopyData = false;
    StartJournal();
}

void TfmView::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    FormShow();
    if (!activatedOnce) {
        activatedOnce = true;
        // The start-up sequence runs once the window is on screen, as when it
        // first becomes the active form.
        QTimer::singleShot(0, this, &TfmView::ActivateWhenShown);
    }
}

void TfmView::ActivateWhenShown()
{
    const QWindow* handle = windowHandle();
    if ((!handle || !handle->isExposed()) && shownWaits++ < ShownWaitSteps) {
        QTimer::singleShot(ShownWaitStepMs, this, &TfmView::ActivateWhenShown);
        return;
    }
    FormActivate();
}

void TfmView::FormShow()
{
    if (ShownOnce)
        return;
    FormInterface();
    ShownOnce = true;
}

void TfmView::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && activatedOnce) {
        if (isActiveWindow()) {
            // Until the start-up sequence has run, it is the one to make the form active.
            if (StartupDone)
                FormActive = true;
        } else {
            FormActive = false;
            AppWasDeactivated = true;
        }
    }
}

void TfmView::FormActivate()
{
    stbPanels->SetText(0, QString());
    stbPanels->SetText(1, QString());
    GEditor->Clear();
    if (commandLine.isEmpty()) {
        TaskBarName();
        TextReady = true;
    } else if (commandLine.contains(QStringLiteral("|?"))) {
        // The window waits, empty, for another program to name a file.
        AcceptViewRequests();
    } else {
        LoadFiles(commandLine);
    }
    GEditor->Window()->setFocus();
    FormActive = true;
    InstanceReady();
    StartupDone = true;
    // Texts that windows ended without saving are offered once the window is up;
    // a window waiting for another program's request shows no question.
    if (!commandLine.contains(QStringLiteral("|?")))
        QTimer::singleShot(0, this, [this] { OfferRecovery(*this); });
}

void TfmView::LoadFiles(const QStringList& names)
{
    if (names.isEmpty())
        return;
    QString name = names.first();
    // A bare name is looked for where the shell would look; a name with a folder
    // is taken relative to the current one.
    name = platform::FindFileOnPath(name);
    for (qsizetype i = 1; i < names.size(); ++i)
        StartCopy({names[i]});
    if (const QString refusal = NotLoadable(name, QStringLiteral(" ")); refusal.isEmpty())
        LoadNewFile(name, CurEncoding, false, 0, 0);
    else
        ShowError(refusal);
}

bool TfmView::StartCopy(const QStringList& arguments)
{
    qint64 pid = 0;
    if (!platform::StartSelf(arguments, &pid))
        return false;
    StartedCopies << pid;
    return true;
}

void TfmView::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TfmView::FormResize()
{
    if (!FormActive)
        return;
    SetIndents();
    if (sbWrap->isChecked()) {
        StrCount();
        AllStrCount();
    }
}

void TfmView::closeEvent(QCloseEvent* event)
{
    if (!closingAccepted && !QuestSave()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TfmView::WaitCaption(const QString& text)
{
    setWindowTitle(text);
    if (!QApplication::overrideCursor())
        QApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfmView::FillCaption()
{
    setWindowTitle(CurFileName.isEmpty() ? Tr(QlConsts::TextInput)
                                         : Tr(QlConsts::FilePrefix) + platform::DisplayFileName(CurFileName));
}

void TfmView::TaskBarName()
{
    // The taskbar shows the application's name; the desktop takes it from the
    // window's icon text.
    const QString name = CurFileName.isEmpty() ? Tr(QlConsts::AppTitle)
                                               : platform::DisplayFileName(CurFileName) + Tr(QlConsts::TaskBarSuffix);
    setWindowIconText(name);
    taskBarName = name;
}

void TfmView::SetIndents()
{
    const int w = paMid->width();
    const int h = paMid->height();
    if (IndentStep <= 0) {
        GEditor->setGeometry(0, 0, w, h);
        bbRight->hide();
        bbLeft->hide();
        return;
    }
    QToolButton* const steps[] = {sbDos, sbWin, sbKoi, sbMac, sbIso, sbUni, sbRtf,
                                  sbWrap, sbNew, sbOpen, sbSave, sbPrint, sbPreview};
    const int margin = steps[std::min(IndentStep, MaxIndentStep) - 1]->x() + 24;
    bbRight->show();
    bbLeft->show();
    bbRight->raise();
    bbLeft->raise();
    GEditor->setGeometry(margin, 0, std::max(0, w - 2 * margin), h);
}

void TfmView::bbRightClick()
{
    if (IndentStep < MaxIndentStep)
        ++IndentStep;
    const bool active = FormActive;
    FormActive = true;
    FormResize();
    FormActive = active;
    GEditor->Window()->setFocus();
}

void TfmView::bbLeftClick()
{
    if (IndentStep > 0)
        --IndentStep;
    const bool active = FormActive;
    FormActive = true;
    FormResize();
    FormActive = active;
    GEditor->Window()->setFocus();
}

void TfmView::ShowRichEdit(bool on)
{
    if (!on) {
        GEditor->setUpdatesEnabled(false);
        return;
    }
    QApplication::restoreOverrideCursor();
    QTextEdit* control = GEditor->Window();
    GEditor->setUpdatesEnabled(true);
    GEditor->show();
    GEditor->Window()->setFocus();
    StrCount();
    AllStrCount();
    GEditor->SetEditRect();
    control->viewport()->update();
}

bool TfmView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == paMid && event->type() == QEvent::Resize) {
        SetIndents();
        return false;
    }
    QTextEdit* control = GEditor->Window();
    if (watched != control && watched != control->viewport())
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        return FormKeyDown(static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease:
        return FormKeyUp(static_cast<QKeyEvent*>(event));
    case QEvent::MouseButtonPress:
        return watched == control->viewport() && GEditorMouseDown(static_cast<QMouseEvent*>(event));
    case QEvent::Wheel: {
        // One line per wheel step, whatever the desktop's scroll setting.
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const int delta = wheel->angleDelta().y();
        if (delta == 0)
            return false;
        QScrollBar* bar = control->verticalScrollBar();
        bar->setValue(bar->value() + (delta < 0 ? 1 : -1) * bar->singleStep());
        return true;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (IndentStep == 0 && watched == control->viewport()) {
            const bool ctrlAlt = (mouse->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier))
                                 == (Qt::ControlModifier | Qt::AltModifier);
            if (ctrlAlt) {
                const QPoint p = mouse->position().toPoint();
                bbRight->setVisible(p.x() < CornerZone && p.y() < CornerZone);
                bbRight->raise();
            }
        }
        return false;
    }
    default:
        return false;
    }
}

bool TfmView::FormKeyDown(QKeyEvent* event)
{
    const Qt::KeyboardModifiers state = ShiftState(event);
    const Qt::KeyboardModifiers ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
    if (FormatKeyDown(event))
        return true;
    switch (event->key()) {
    case Qt::Key_Insert:
        if (state == Qt::NoModifier) {
            GEditor->SetOverwrite(!GEditor->Overwrite());
            StbRepUpdate();
            return true;
        }
        break;
    case Qt::Key_Escape:
        // Esc leaves full screen first; it belongs to a search dialog while one shows.
        if (FullScreen)
            SetScreen(false);
        else if (OkCanClose())
            meClsWClick();
        return true;
    case Qt::Key_Left:
        if (state == ctrlAlt) {
            bbLeftClick();
            return true;
        }
        break;
    case Qt::Key_Right:
        if (state == ctrlAlt) {
            bbRightClick();
            return true;
        }
        break;
    case Qt::Key_Backspace:
        if (state == ctrlAlt) {
            mFrwClick();
            return true;
        }
        break;
    case Qt::Key_V:
        if (state == Qt::ControlModifier) {
            PasteText();
            return true;
        }
        break;
    default:
        // Alt with a digit of the main keyboard stores the look as a saved screen;
        // 6 and 7 are no command and type nothing.
        if (state == Qt::AltModifier && !(event->modifiers() & Qt::KeypadModifier) && event->key() >= Qt::Key_1
            && event->key() <= Qt::Key_7) {
            SaveScreen(event->key() - Qt::Key_0);
            return true;
        }
        // Ctrl with a keypad digit is no command, and types nothing either.
        if (state == Qt::ControlModifier && (event->modifiers() & Qt::KeypadModifier) && event->key() >= Qt::Key_0
            && event->key() <= Qt::Key_9)
            return true;
        break;
    }
    return false;
}

bool TfmView::FormKeyUp(QKeyEvent* event)
{
    if (FormatKeyUp(event))
        return true;
    if ((event->key() == Qt::Key_Control || event->key() == Qt::Key_Alt) && IndentStep == 0)
        bbRight->hide();
    return false;
}
