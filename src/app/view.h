// SPDX-License-Identifier: GPL-3.0-or-later
// TfmView, the program's one main window: toolbar, editor, status bar, menus and
// every command; its methods are spread over view*.cpp by concern.
#pragma once

#include "journalsnapshot.h"
#include "plainreadback.h"
#include "qxeditor.h"
#include "recentfiles.h"
#include "recoveryjournal.h"
#include "savedscreens.h"

#include <QButtonGroup>
#include <QFont>
#include <QFrame>
#include <QHash>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QStringList>
#include <QToolButton>

#include <array>
#include <atomic>
#include <utility>
#include <cstdint>
#include <memory>
#include <vector>

class QAction;
class QKeyEvent;
class QMouseEvent;
class TFindDialog;
class QLabel;
class TDragDropInfo;
namespace platform {
class InstanceServer;
}
class QPushButton;
class QStatusBar;
class QTimer;
class TUpdateThread;
class TStatusPanels;
class TqxPrinter;
class TPageSetupDialog;
class TfmAboutForm;
class THelpViewer;
class TJournalWriter;
class QTextDocument;
class QTimer;

class TfmView : public QMainWindow {
    Q_OBJECT
public:
    explicit TfmView(const QStringList& arguments, QWidget* parent = nullptr);
    ~TfmView() override;

    // Program-wide state shared by the commands.
    QString CurFileName;
    std::uint8_t CurEncoding = 1;
    bool TextReady = false;
    bool HasTables = false;
    bool ShownOnce = false;
    bool StartupDone = false;  // the first activation's sequence (command line, load) has run

    // Window fields.
    std::uint8_t ClickMode = 0;
    bool AppWasDeactivated = false;
    qint64 LoadStartTick = 0;
    std::atomic<std::uint8_t> Progress{0};
    std::atomic<std::uint8_t> ProgressMode{0};
    std::int32_t CaretLine = 0;
    std::int32_t CaretCol = 0;
    std::int32_t CaretLineLen = 0;
    bool AcceptCopyData = false;
    bool FormActive = false;
    bool FullScreen = false;
    std::int32_t Bookmark = -1;
    THistory History;  // History[0] is File1, the most recent
    TFont DefFont;
    std::uint8_t NumKind = 1, NumStyle = 3, UnderKind = 1, IndexKind = 2;
    std::int32_t IndentStep = 0;

    // Components, named as the commands refer to them.
    QWidget* paTop = nullptr;
    QWidget* paMid = nullptr;
    TqxEditor* GEditor = nullptr;
    QPushButton* bbRight = nullptr;
    QPushButton* bbLeft = nullptr;
    QStatusBar* stb = nullptr;
    TStatusPanels* stbPanels = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QMenu* PopupMenu2 = nullptr;
    QMenu* PopupMenu3 = nullptr;
    QToolButton *sbDos = nullptr, *sbWin = nullptr, *sbKoi = nullptr, *sbMac = nullptr, *sbIso = nullptr,
                *sbUni = nullptr, *sbRtf = nullptr, *sbWrap = nullptr, *sbNew = nullptr, *sbOpen = nullptr,
                *sbSave = nullptr, *sbPrint = nullptr, *sbPreview = nullptr, *sbCut = nullptr, *sbCopy = nullptr,
                *sbPaste = nullptr, *sbUndo = nullptr, *sbRedo = nullptr, *sbFind = nullptr, *sbRepl = nullptr,
                *sbLeft = nullptr, *sbCenter = nullptr, *sbRight = nullptr, *sbWidth = nullptr,
                *sbBullet = nullptr, *sbNastr = nullptr;
    QToolButton* sbUtf8 = nullptr;  // the last of the encoding buttons, after sbRtf
    QFrame* Bevels[11] = {};  // Bevel1..Bevel10
    QButtonGroup* encodingGroup = nullptr;
    QButtonGroup* alignGroup = nullptr;

    // Menu items by their names (N9, meOpenW, File1 ...).
    QAction* Item(const QString& name) const;
    QMenu* Menu(const QString& name) const;

    // Life cycle.
    void FormCreate();
    void FormShow();
    void FormActivate();
    // FormActivate once the window is on screen, or after a short wait for it.
    void ActivateWhenShown();
    void FormResize();
    void FormInterface();
    void AllDefault();
    void FontInitialize();
    void LoadFiles(const QStringList& names);
    void FormClose();
    // A close that asks nothing, for a logout, a shutdown or Ctrl+C: what a close
    // writes (recent list, window bounds) is written, then the program ends.
    void EndWithoutQuestions();
    // An error box through the window's prompter; while quietErrors is set (a
    // view request, which no one is there to answer) nothing is shown.
    void ShowError(const QString& text);
    // What the taskbar shows for this window.
    QString TaskBarText() const { return taskBarName; }

    // Caption helpers.
    void WaitCaption(const QString& text);
    void FillCaption();
    void TaskBarName();
    void SetEncoding(std::uint8_t e);
    void SetKodP(std::uint8_t e);
    void DownButt();
    void ShowRichEdit(bool on);
    void SetIndents();
    void SetParaDefault();
    void AlignBut();
    void HintWrap();
    static TFontStyles StrToStyle(const QString& text);
    void InvalidateSnapshot();
    void PasteText();

    // The settings dialog (view_setup.cpp), made on first use and kept.
    class TfmSetup* SetupForm = nullptr;
    void SetupOk();
    void sbNastrClick();

    // Toolbar layout.
    void ResizeButtons();
    void ArrangeButtons();
    void ShowAlignButtons(bool visible);
    void mAllBClick();

    // Encoding commands: the text (or the selection) read again under another
    // encoding; DOS tables rebuilt as real tables; word wrap.
    void Decoding(std::uint8_t e);
    void sbDosClick();
    void sbWinClick();
    void sbKoiClick();
    void sbMacClick();
    void sbIsoClick();
    void sbUniClick();
    void sbRtfClick();
    void sbUtf8Click();
    void mDosClick();
    void mWinClick();
    void mKoiClick();
    void mMacClick();
    void mIsoClick();
    void mUniClick();
    void mRtfClick();
    void mUtf8Click();
    void DecodeTables();
    void sbWrapClick();
    void N52Click();

    // File commands.
    void LoadNewFile(const QString& name, std::uint8_t e, bool forced, std::int32_t selLen, std::int32_t selPos);
    // The next whole text read shows its start while it is built, when it takes
    // long and will be shown as read, with the caret put at caretAt.
    void PreviewNextLoad(std::int32_t caretAt);
    void ShowLoadingEncoding();
    // What to say of a name that is no regular file (missing, a folder, a FIFO, a
    // device); "" for a regular file. The missing file's message puts the
    // separator before the name.
    static QString NotLoadable(const QString& name, const QString& separator = QString());
    bool QuestSave();
    bool SaveTxt(bool quiet, int kind);
    void UpdateHist();
    void NewText();
    void sbNewClick();
    void sbOpenClick();
    void meOpenWClick();
    void N19Click();
    void sbSaveClick();
    void N12Click();
    void MacintoshCR1Click();
    void UnixLF1Click();
    void FileClick(int index);
    // A file whose bytes were not all UTF-8 (view_utf8.cpp): the last load shows
    // them as U+FFFD, which says so once, and saving over the file asks first.
    QString InvalidUtf8File;
    void NoteInvalidUtf8(const QString& name);
    void ReportInvalidUtf8();
    bool MaySaveOver(const QString& target);

    // Several windows (view_windows.cpp): the running copies, handle and caption
    // each, in ascending order of handle, as the last enumeration found them.
    QList<qint64> InstanceHandles;
    QStringList InstanceCaptions;
    void EnumInstanceWindows();
    // "File " and the bare name for a caption that names a file, else the caption.
    static QString InstanceCaption(const QString& text);
    void FillMenu();
    void ChangeWindow(qint64 handle);
    void N10Click();
    void meClsWClick();
    void N30Click();
    // A request from another program; answers what its sender is told.
    std::uint32_t CopyDataHook(std::uint32_t dwData, const QByteArray& record);
    void WMDropFiles(std::unique_ptr<TDragDropInfo> info);
    void BringToFront();
    platform::InstanceServer* Instances() const { return instances; }

    // Editor events.
    void GEditorChange();
    void GEditorSelectionChange();
    void GEditorStream(std::int64_t total, std::int64_t done);
    void GEditorResizeRequest();

    // Status bar.
    void StrCount();
    void AllStrCount();
    void StbRepUpdate();
    void EndProgress();
    void RepaintProgress();
    QString StatusText(int panel) const;
    bool GEditorOverwrite() const;
    static qint64 TickNow();
    bool TickerRunning() const;
    int TickerStarts = 0;  // how many tickers this window has started

    // Print commands; the printer component and the page setup dialog are made on
    // first use and kept.
    std::shared_ptr<TqxPrinter> ThePrinter;
    std::shared_ptr<TPageSetupDialog> PageSetup;
    bool PrinterOk();
    void sbPrintClick();
    void mPreviewClick();
    void mPageClick();
    void PrintPage(const QString& mess, int size, int position);
    void FillPrintersMenu();
    void PrintersMenuClick(int index);
    void PopupMenu3Popup();
    void EnablePrintCommands();

    // Margins.
    void bbRightClick();
    void bbLeftClick();

    // Paragraph commands (view_paragraph.cpp): alignment, line spacing, numbering.
    void AlignText(std::uint8_t a);
    void sbLeftClick();
    void sbCenterClick();
    void sbRightClick();
    void sbWidthClick();
    void LineSpacingClick(std::uint8_t rule);
    void NumberingItemClick(int index);   // mnBul .. mnLetE, in menu order
    void SetMarkers();
    void sbBulletClick();
    void mNUseClick();
    void N50Click();
    void N51Click();
    void N61Click();
    void PopupMenu2Popup();

    // Character commands (view_charformat.cpp): underline kinds, indexes, colours,
    // the font, letter case, size, baseline, bold and italic.
    void UnderlineItemClick(int index);   // mLine .. m2DotDash, in menu order
    void mUlUseClick();
    void SetUnderLine();
    void N60Click();
    void IndexItemClick(std::uint8_t kind);
    void mIUseClick();
    void SetIndexKind();
    void N73Click();
    void mClrClick();
    void N27Click();
    void meFontClick();
    void SetSelFont(const TFont& font);
    void CaseChange(bool up);
    void ChangeFontSize(int delta);
    void ChangeOffset(int delta);
    void ToggleStyle(TFontStyle style);

    // Editing commands (view_edit.cpp).
    void DeleteLine();
    void mBackClick();
    void mFrwClick();
    void CopyText();
    void CutText();
    void N7Click();
    // Puts the editor's current embedded object on the clipboard; false when it has none.
    bool CopyCurrentObject();
    bool HasCurrentObject() const;
    bool CanPasteObject() const;
    void insobClick();

    // Mouse clicks with F2, F11 or F12 held (view_clicks.cpp).
    std::vector<std::int32_t> ColumnStops;
    bool F2Held = false;
    static int PixelsToPoints(int x);
    bool GEditorMouseDown(QMouseEvent* event);
    void InsertTableRow();
    bool FormatKeyDown(QKeyEvent* event);
    bool FormatKeyUp(QKeyEvent* event);
    // A held key's release waits here until it is known not to be half of a repeat.
    QTimer* heldKeyRelease = nullptr;
    int releasedKey = 0;
    quint64 releasedAt = 0;
    bool HeldKeyRepeats(const QKeyEvent* event);
    void HeldKeyReleased(int key);

    // Search and replace (view_search.cpp). At most one of the two dialogs exists.
    QPointer<TFindDialog> FindDialog1;
    QPointer<TFindDialog> ReplaceDialog1;
    void OkFindDialog();
    void OkReplaceDialog();
    void sbFindClick();
    void sbReplClick();
    void FindDialog1Close();
    void ReplaceDialog1Close();
    void FindNew();
    bool ReplaceNew();
    void ReplaceDialog1Replace(bool all);
    void CloseDialogs();
    bool OkCanClose() const;
    void F3Key();
    void F4Key();
    void N20Click();
    void SearchShortcutRule();
    void N24Click();
    void N25Click();

    // Saved screens and full screen (view_screens.cpp); Screens[0] is the screen by
    // default, 1..5 mirror the Screens key as the last menu opening found it.
    std::array<TScreenParams, SavedScreenCount + 1> Screens;
    void FillParamDefault();
    void SavedScrRead();
    void SaveScreen(int n);
    void ChangeScreen(int n);
    static QString StyleToStr(TFontStyles style);
    void SetScreen(bool on);
    void ESC1Click();
    // The Language menu (view_language.cpp).
    void FillLangMenu();
    void SetLocalOverrides(const QString& code);
    void meDefClick();
    // Help and the about box (view_help.cpp), each made on first use and kept.
    void ShowHelp(int context);
    int HelpContextNow() const;
    void N36Click();
    THelpViewer* HelpViewer() const { return helpViewer; }
    TfmAboutForm* AboutForm() const { return aboutForm; }

    // The recovery journal of the modified text (view_journal.cpp): written within
    // about a second of a change, removed when the text is saved or given up,
    // kept when the session ends the window.
    bool JournalOn = true;
    int JournalDelayMs = 500;
    void StartJournal();
    // The switch and interval from the settings; off removes the window's journal.
    void SetJournal(bool on, int delayMs);
    void JournalTick();
    void FlushJournal();
    // Makes the window's journal durable holding a text just recovered from
    // state. When exact (the text shown is the state, its edits applied) the
    // state itself is written, which a large text needs no second copy for;
    // showCostMs, what showing it took, stands for what taking it whole would cost.
    void FlushRecoveredJournal(TJournalState state, bool exact, qint64 showCostMs);
    void DiscardJournal();
    QString JournalPath() const;
    // Lets the journal go as it is, kept for the next start, and begins a new one.
    void KeepJournalForLater();
    // The text shown was just read from (or written to) the named file, which
    // had this identity.
    void JournalLoaded(const TDiskIdentity& file);
    // The text was just saved in the window's encoding (kind as SaveTxt takes it):
    // when the file reads back as exactly this text, it becomes the journal's base.
    void JournalSaved(int kind);
    // The whole text was just read anew from these bytes in the window's encoding.
    void JournalReread(QByteArray bytes);

    // The file as this window last loaded or saved it (view_diskwatch.cpp):
    // another program's change is noticed, and a save over it asks first.
    void WatchFile();
    void DiskChanged();
    bool MaySaveOverChanged(const QString& target);
    const TDiskIdentity& KnownDisk() const { return knownDisk; }

    // The child processes this window started, for the tests that watch them.
    QList<qint64> StartedCopies;
    // Started a further copy with one file name; false when it could not start.
    bool StartCopy(const QStringList& arguments);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildToolbar();
    void BuildMenus();
    void BuildPopupMenus();
    void BuildStatusBar();
    void BuildEditor();
    QToolButton* AddButton(const char* name, const QString& hint, const QString& glyph, const QString& label = {});
    QFrame* AddBevel(int index);
    QAction* AddItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut = {},
                     bool enabled = true);
    QMenu* AddMenu(QMenu* parent, const char* name, const QString& caption);
    void WireCommands();
    void WireSetupCommands();
    void WireEncodingCommands();
    void WirePrintCommands();
    void WireFormatCommands();
    void WireCharacterCommands();
    void WireEditCommands();
    void WireSearchCommands();
    void DiscardDialog(QPointer<TFindDialog>& dialog);
    void DialogKey(TFindDialog* dialog, int key);

    void WireScreenCommands();
    void WireLanguageCommands();
    void WireHelpCommands();
    void RunPrintCommand(bool preview);
    void N8Click();
    void N14Click();
    void N26Click();
    void N33Click();
    void N45Click();
    void PopupMenu1Popup();
    // A menu's opening rule enables and checks its items; registered here, it also
    // runs when one of the items' shortcuts is pressed, unless the menu names a
    // rule of its own for its shortcuts (one that must not do what opening does).
    void OnMenuOpening(QMenu* menu, void (TfmView::*rule)(), void (TfmView::*shortcutRule)() = nullptr);
    bool PrepareShortcut(QKeyEvent* event);
    void UpdatePasteButton();
    void WireCommandStates();
    bool FormKeyDown(QKeyEvent* event);
    bool FormKeyUp(QKeyEvent* event);
    void stbMouseMove(int x);
    void ApplyOptions(const struct StartupOptions& options);
    void StartTicker();
    void StopTicker();
    void RegisterWindow();
    void AcceptViewRequests();
    void InstanceReady();
    void WithdrawWindow();

    QStringList commandLine;
    QString taskBarName;
    bool activatedOnce = false;
    int shownWaits = 0;
    bool closingAccepted = false;
    bool quietErrors = false;
    QHash<QString, QAction*> items;
    QHash<QString, QMenu*> menus;
    std::vector<std::pair<QMenu*, void (TfmView::*)()>> openingRules;
    QPointer<TUpdateThread> ticker;
    THelpViewer* helpViewer = nullptr;
    TfmAboutForm* aboutForm = nullptr;
    platform::InstanceServer* instances = nullptr;
    QString openFolder;
    QString saveFolder;
    int openFilterIndex = 1;
    int saveFilterIndex = 2;
    std::uint64_t invalidUtf8Unreported = 0;
    std::unique_ptr<TJournalWriter> journal;
    QTimer* journalTimer = nullptr;
    QPointer<QTextDocument> journalDocument;
    bool journalDirty = false;
    bool journalWhole = true;        // the next write must hold the whole text
    QByteArray journalEdits;         // encoded edits not yet handed to the writer
    qint64 journalWholeCostMs = 0;   // what taking the whole text cost last time
    qint64 journalWholeAt = 0;
    qint64 journalFirstDirty = 0;
    qint64 journalLastChange = 0;
    QByteArray journalKey;
    QString journalDiskName;
    TDiskIdentity journalDisk;
    void TakeJournalSnapshot();
    void JournalChange(QTextDocument* doc, int position, int removed, int added);
    void HookJournal(QTextDocument* doc);
    void FillJournalHeader(TJournalState& state);
    bool WriteJournalBase();
    bool HasJournalBase() const { return !journalBaseFile.isEmpty() || !journalBaseBytes.isNull(); }
    void DropJournalBase();
    // When the writer refused the base, the whole text is taken at the next chance.
    void CheckJournalBase();
    // The text is its base (journalBaseFile or journalBaseBytes) and no edits yet.
    void StandOnJournalBase(QTextDocument& doc, bool readFromBase);
    // While the text is the file it was read from (or saved to, or bytes it was
    // read anew from) plus edits, the journal holds those bytes instead of the
    // whole text converted.
    QString journalBaseFile;
    QByteArray journalBaseBytes;
    QString journalBaseHead;         // the base's first characters, for the preview
    TTableExtents journalTables;     // where the text's tables were after the last change
    // The text has no formats, tables or objects: every change since it was read
    // from plain bytes was a plain edit, so saving it as plain text loses none.
    bool journalPlain = false;
    // The formats of the text last read from plain bytes: a text that has only
    // them has none of its own, however it changed meanwhile.
    std::optional<TPlainFormats> journalPlainFormats;
    TDiskIdentity journalBaseDisk;
    // The text as saved to journalBaseFile in plain text: the writer's thread
    // checks that it reads back from the file before the file stands for it.
    std::optional<QString> journalBaseSaved;
    qint64 journalBaseChars = 0;
    bool journalBasePending = false;
    class QFileSystemWatcher* diskWatcher = nullptr;
    TDiskIdentity knownDisk;
    QString knownDiskName;
    bool diskQuestionOpen = false;
    TDiskIdentity noticedDisk;   // the change already asked about

    friend class TStatusPanels;
};

// The one main window of the process.
extern TfmView* fmView;
