// SPDX-License-Identifier: GPL-3.0-or-later
// File commands: load, new, open, save, save as, export, the save question and
// the recent-files list.
#include "view.h"

#include "filenames.h"
#include "linefilter.h"
#include "recoveryoffer.h"
#include "qlconsts.h"
#include "richedit.h"
#include "registrymessages.h"
#include "startupoptions.h"
#include "statuspanels.h"
#include "sysbib.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QTextDocument>

namespace {

constexpr int RtfFilterIndex = 7;
constexpr int OpenRtfFilterIndex = 3;
// The save filters follow the encodings' ordinals, but for UTF-8: detection's None
// has no filter, so UTF-8's is the eighth.
constexpr int Utf8FilterIndex = 8;
// A text read faster than this shows at once; a slower one shows its start meanwhile.
constexpr int LoadPreviewAfterMs = 200;

int SaveFilterIndex(std::uint8_t e)
{
    return e == Utf8 ? Utf8FilterIndex : e + 1;
}

std::uint8_t FilterEncoding(int filterIndex)
{
    return filterIndex == Utf8FilterIndex ? std::uint8_t(Utf8) : std::uint8_t(filterIndex - 1);
}

QString Text(const char* resource)
{
    return Tr(resource);
}

// The exact names of the files a dialog answered; a name whose bytes the dialog
// could not show and that fits no single file is refused rather than guessed.
QStringList ExactNames(const QStringList& chosen)
{
    QStringList names;
    for (const QString& name : chosen) {
        if (const std::optional<QString> exact = platform::ExactDialogFileName(name))
            names << *exact;
        else
            ErrorBox(Text(QlConsts::FileNameNotExact) + name);
    }
    return names;
}

} // namespace

void TfmView::ShowError(const QString& text)
{
    if (!quietErrors)
        ErrorBox(text);
}

QString TfmView::NotLoadable(const QString& name, const QString& separator)
{
    if (RegularFileMode(name))
        return {};
    // A folder, a FIFO or a device is there all the same: saying it cannot be
    // found would send the user looking for a file that exists.
    if (PathExists(name))
        return Text(QlConsts::NotRegularFile).arg(platform::DisplayFileName(name));
    return Text(QlConsts::CannotFindFile) + separator + platform::DisplayFileName(name);
}

void TfmView::PreviewNextLoad(std::int32_t caretAt)
{
    // DOS tables are drawn only once the whole text is in.
    GEditor->Window()->PreviewNext = platform::RichEdit::PreviewRequest{
        LoadPreviewAfterMs, caretAt, [this] { return !(GEditor->Encoding() == Dos && GEditor->DosAdd() == daTBL); },
        [this] { ShowLoadingEncoding(); }};
}

void TfmView::ShowLoadingEncoding()
{
    // The letters on screen are read in this code page: its button says so while
    // the rest is read. The event loop does not run meanwhile, so the buttons are
    // drawn now; every end of a load presses the button of the text it leaves.
    const TEnc loading = IsShownEncoding(GEditor->Encoding()) ? GEditor->Encoding() : Win;
    if (QAbstractButton* b = encodingGroup->button(loading))
        b->setChecked(true);
    for (QAbstractButton* b : encodingGroup->buttons())
        b->repaint();
}

void TfmView::LoadNewFile(const QString& name, std::uint8_t e, bool forced, std::int32_t selLen, std::int32_t selPos)
{
    raise();
    activateWindow();
    const bool autoEncoding = GEditor->AutoEncoding();
    // A load that fails leaves the window as it was: the control takes the new text
    // only once it is read whole, and what was set up for it is put back here.
    const bool wasModified = GEditor->Modified();
    bool loaded = false;
    if (const QString refusal = NotLoadable(name); !refusal.isEmpty()) {
        ShowError(refusal);
    } else {
        const TFont oldFont = GEditor->Font();
        const TEnc oldEncoding = GEditor->Encoding();
        const TUniType oldUniType = GEditor->UniType();
        const QPointer<QTextDocument> shown = GEditor->Window()->Document();
        const int shownRevision = shown->revision();
        WaitCaption(Text(QlConsts::WaitTextLoading));
        stbPanels->SetText(0, QString());
        stbPanels->SetText(1, QString());
        TextReady = false;
        ShowRichEdit(false);
        if (forced)
            GEditor->SetAutoEncoding(false);
        // Not forced, the caller's encoding is still the one to read with: Open
        // passes RTF for its RTF filter, everyone else passes the current one.
        SetEncoding(e);
        GEditor->SetFont(DefFont);
        LoadStartTick = TickNow();
        // Taken before the read: a write by someone else while it reads is then noticed.
        const TDiskIdentity readFrom = DiskIdentityOf(name);
        PreviewNextLoad(selPos + selLen);
        try {
            GEditor->Lines()->LoadFromFile(name);
            loaded = true;
        } catch (const std::exception& error) {
            GEditor->SetFont(oldFont);
            GEditor->SetEncoding(oldEncoding);
            GEditor->SetUniType(oldUniType);
            QApplication::restoreOverrideCursor();
            ShowError(QString::fromUtf8(error.what()));
            // Should the text shown have gone all the same, the window no longer
            // names the file it came from, so that no Save can put it in the file's place.
            if (!shown || shown != GEditor->Window()->Document() || shown->revision() != shownRevision) {
                CurFileName.clear();
                HasTables = false;
            }
        }
        if (loaded) {
            HasTables = false;
            CurFileName = name;
            if ((forced || !autoEncoding) && !GEditor->LoadedDosAsUnicode) {
                SetKodP(e);
                SetEncoding(e);
            } else {
                SetKodP(GEditor->Encoding());
            }
            if (!IsShownEncoding(CurEncoding))
                SetKodP(Win);
            NoteInvalidUtf8(name);
            sbUndo->setEnabled(false);
            sbRedo->setEnabled(false);
            sbCut->setEnabled(false);
            sbCopy->setEnabled(false);
            openFolder = ExtractFileDir(CurFileName);
            GEditor->SetModified(false);
            if (GEditor->Encoding() == Dos && GEditor->DosAdd() == daTBL)
                DecodeTables();
            if (selPos > 0)
                GEditor->SetSelStart(selPos);
            if (selLen > 0)
                GEditor->SetSelLength(selLen);
            WatchFile();
            knownDisk = noticedDisk = readFrom;
            JournalLoaded(readFrom);
        }
    }
    // Unused when the file was refused before its text was read.
    GEditor->Window()->PreviewNext.reset();
    AlignBut();
    // The bytes kept for reinterpreting still belong to the text when it stayed.
    if (loaded)
        InvalidateSnapshot();
    FillCaption();
    TaskBarName();
    DownButt();
    GEditor->SetAutoEncoding(autoEncoding);
    GEditor->SetModified(loaded ? false : wasModified);
    TextReady = true;
    GEditorChange();
    ShowRichEdit(true);
    QApplication::restoreOverrideCursor();
    EndProgress();
    StrCount();
    ReportInvalidUtf8();
}

void TfmView::NewText()
{
    CurFileName.clear();
    InvalidateSnapshot();
    DownButt();
    GEditor->Window()->setFocus();
    stbPanels->SetText(0, QString());
    stbPanels->SetText(1, QString());
    setWindowTitle(Text(QlConsts::TextInput));
    GEditor->Lines()->Clear();
    GEditor->SetFont(DefFont);
    SetParaDefault();
    for (QToolButton* b : {sbUndo, sbRedo, sbCut, sbCopy, sbSave})
        b->setEnabled(false);
    GEditor->SetModified(false);
    sbLeft->setChecked(true);
    ShowRichEdit(true);
    TaskBarName();
}

void TfmView::sbNewClick()
{
    if (QuestSave())
        NewText();
}

void TfmView::sbOpenClick()
{
    if (!QuestSave())
        return;
    FileDialogRequest request;
    request.filter = Text(QlConsts::OpenFilter);
    request.filterIndex = openFilterIndex;
    request.multiSelect = true;
    request.directory = openFolder.isEmpty() ? (CurFileName.isEmpty() ? ExeDir() : ExtractFileDir(CurFileName))
                                             : openFolder;
    const std::optional<FileDialogAnswer> answer = CurrentPrompter().OpenFileDialog(request);
    if (!answer || answer->files.isEmpty())
        return;
    openFilterIndex = answer->filterIndex;
    const QStringList files = ExactNames(answer->files);
    if (files.isEmpty())
        return;
    const std::uint8_t e = answer->filterIndex == OpenRtfFilterIndex ? std::uint8_t(Rtf) : CurEncoding;
    for (qsizetype i = 1; i < files.size(); ++i)
        StartCopy({files[i]});
    const QString& first = files.first();
    if (const QString refusal = NotLoadable(first, QStringLiteral(" ")); refusal.isEmpty()) {
        LoadNewFile(first, e, false, 0, 0);
        // A text of this file that a crashed window left behind is offered now.
        if (CurFileName == first)
            OfferRecovery(*this, first);
    } else
        ShowError(refusal);
}

void TfmView::meOpenWClick()
{
    if (IndentStep == 0)
        bbRight->hide();
    FileDialogRequest request;
    request.filter = Text(QlConsts::OpenFilter);
    request.filterIndex = openFilterIndex;
    request.multiSelect = true;
    request.directory = openFolder.isEmpty() ? ExeDir() : openFolder;
    const std::optional<FileDialogAnswer> answer = CurrentPrompter().OpenFileDialog(request);
    const QStringList files = answer ? ExactNames(answer->files.mid(0, 1)) : QStringList();
    if (!files.isEmpty())
        StartCopy({files.first()});
}

bool TfmView::QuestSave()
{
    if (!GEditor->Modified()) {
        UpdateHist();
        return true;
    }
    const MsgButton answer = ConfirmationBox(Text(QlConsts::TextChangedSaveIt),
                                             MsgButton::Yes | MsgButton::No | MsgButton::Cancel | MsgButton::All);
    bool saved = false;
    switch (answer) {
    case MsgButton::Yes:
        saved = SaveTxt(!CurFileName.isEmpty(), 0);
        break;
    case MsgButton::No:
        DiscardJournal();
        return true;
    case MsgButton::All:
        saved = SaveTxt(false, 0);
        break;
    default:
        return false;
    }
    if (!saved)
        return false;
    UpdateHist();
    return true;
}

bool TfmView::SaveTxt(bool quiet, int kind)
{
    int filterIndex = SaveFilterIndex(CurEncoding);
    QString target = CurFileName;
    bool goOn = quiet;
    bool result = false;
    if (!quiet) {
        if (HasTables)
            filterIndex = RtfFilterIndex;
        FileDialogRequest request;
        request.filter = Text(QlConsts::SaveFilter);
        request.filterIndex = filterIndex;
        request.fileName = filterIndex == RtfFilterIndex && !CurFileName.isEmpty()
                               ? ChangeFileExt(CurFileName, QStringLiteral(".rtf"))
                               : CurFileName;
        request.directory = saveFolder.isEmpty() ? (CurFileName.isEmpty() ? ExeDir() : ExtractFileDir(CurFileName))
                                                 : saveFolder;
        const std::optional<FileDialogAnswer> answer = CurrentPrompter().SaveFileDialog(request);
        if (!answer || answer->files.isEmpty())
            return false;
        filterIndex = std::clamp(answer->filterIndex, 1, Utf8FilterIndex);
        if (filterIndex == RtfFilterIndex && kind != 0) {
            ShowError(Text(QlConsts::RtfExportNotAllowed));
            return false;
        }
        const QStringList chosen = ExactNames(answer->files.mid(0, 1));
        if (chosen.isEmpty())
            return false;
        target = chosen.first();
        if (ExtractFileExt(target).isEmpty())
            target += filterIndex == RtfFilterIndex ? QStringLiteral(".rtf") : QStringLiteral(".txt");
        if (FileExists(target)) {
            const MsgButton rewrite =
                ConfirmationBox(Text(QlConsts::FilePrefix) + platform::DisplayFileName(target) +
                                    Text(QlConsts::AlreadyExistsRewrite),
                                MsgButton::Yes | MsgButton::No | MsgButton::Cancel);
            goOn = rewrite == MsgButton::Yes;
            result = rewrite == MsgButton::No;
        } else {
            goOn = true;
        }
    }
    if (!goOn)
        return result;
    if (quiet && (!MaySaveOver(target) || !MaySaveOverChanged(target)))
        return false;
    const std::uint8_t e = quiet ? CurEncoding : FilterEncoding(filterIndex);
    // Plain text has no place for objects and pictures: they would become "?"
    // unasked. Cancel keeps them, and the file as it was.
    if (e != Rtf && GEditor->Window()->DrawnObjectCount() > 0 &&
        ConfirmationBox(Text(QlConsts::ObjectsWillBeLost), MsgButton::Ok | MsgButton::Cancel) != MsgButton::Ok)
        return false;

    WaitCaption(Text(QlConsts::WaitTextSaving));
    SetEncoding(e);
    // A read-only target is written all the same and keeps its protection.
    constexpr unsigned OwnerWrite = 0200;
    const std::optional<unsigned> mode = RegularFileMode(target);
    const bool wasReadOnly = mode && !(*mode & OwnerWrite);
    if (wasReadOnly)
        SetFileMode(target, *mode | OwnerWrite);
    auto restore = [&] {
        if (wasReadOnly)
            SetFileMode(target, *mode);
    };
    try {
        GEditor->Lines()->SaveToFile(target);
    } catch (const std::exception& error) {
        restore();
        QApplication::restoreOverrideCursor();
        SetEncoding(CurEncoding);
        FillCaption();
        ShowError(QString::fromUtf8(error.what()));
        return false;
    }
    if (kind != 0) {
        const FilterUnit unit = e != Uni ? FilterUnit::Byte
                                : GEditor->UniType() == Big ? FilterUnit::Utf16Big
                                                            : FilterUnit::Utf16Little;
        if (!FilterLineEnds(target, kind == 1 ? u'\n' : u'\r', unit)) {
            restore();
            QApplication::restoreOverrideCursor();
            SetEncoding(CurEncoding);
            FillCaption();
            ShowError(Text(QlConsts::ExportNotSuccessful));
            return false;
        }
    }
    SetKodP(e);
    restore();
    QApplication::restoreOverrideCursor();
    if (target == InvalidUtf8File)
        InvalidUtf8File.clear();   // the file now holds what is shown
    HasTables = false;
    GEditor->SetModified(false);
    DiscardJournal();   // the file holds the text now
    sbSave->setEnabled(false);
    sbUndo->setEnabled(false);
    sbRedo->setEnabled(false);
    CurFileName = target;
    WatchFile();
    DownButt();
    saveFolder = ExtractFileDir(target);
    FillCaption();
    SetEncoding(CurEncoding);
    TaskBarName();
    JournalSaved(kind);
    return true;
}

void TfmView::N19Click()
{
    if (!CurFileName.isEmpty())
        SaveTxt(true, 0);
}

void TfmView::sbSaveClick()
{
    // DOS text whose tables were built is never written back silently in DOS.
    const bool quiet = !CurFileName.isEmpty() && (CurEncoding != Dos || !HasTables);
    SaveTxt(quiet, 0);
    if (!quiet)
        UpdateHist();
}

void TfmView::N12Click()
{
    if (IndentStep == 0)
        bbRight->hide();
    if (SaveTxt(false, 0))
        UpdateHist();
}

void TfmView::MacintoshCR1Click()
{
    if (SaveTxt(false, 1))
        UpdateHist();
}

void TfmView::UnixLF1Click()
{
    if (SaveTxt(false, 2))
        UpdateHist();
}

void TfmView::PasteText()
{
    // The control refuses its own paste in a read-only text; this one writes the
    // selection directly and must refuse as well, whichever way it was asked for.
    if (GEditor->ReadOnly())
        return;
    GEditor->SetSelText(QGuiApplication::clipboard()->text());
}

void TfmView::UpdateHist()
{
    try {
        History = ReadHistory();
        if (!CurFileName.isEmpty()) {
            const THistItem current{CurFileName, CurEncoding, GEditor->SelStart(),
                                    CurEncoding == Uni && GEditor->UniType() == Big};
            History = UpdateHistory(current);
        }
    } catch (const platform::RegistryError& error) {
        ReportRegistryError(error);
    }
    bool any = false;
    for (int n = 1; n <= HistorySize; ++n) {
        const THistItem& item = History[n - 1];
        QAction* menuItem = Item(QStringLiteral("File%1").arg(n));
        menuItem->setText(platform::DisplayFileName(item.FileName));
        menuItem->setVisible(!item.FileName.isEmpty());
        any = any || !item.FileName.isEmpty();
    }
    Item(QStringLiteral("N43"))->setVisible(any);
}

void TfmView::FileClick(int k)
{
    if (k < 1 || k > HistorySize)
        return;
    // The list is rebuilt by the save question; the entry is taken first.
    const THistItem item = History[k - 1];
    if (!QuestSave())
        return;
    GEditor->SetUniType(item.Uni ? Big : Little);
    const std::uint8_t e = IsShownEncoding(item.Kod) ? std::uint8_t(item.Kod) : CurEncoding;
    LoadNewFile(item.FileName, e, true, 0, item.Pos);
}

void TfmView::FormClose()
{
    // A text that needs no journal may still have one the last look did not remove.
    if (!GEditor->Modified())
        DiscardJournal();
    WithdrawWindow();
    if (isMaximized() || isFullScreen() || isMinimized())
        return;
    try {
        WriteWindowBounds(normalGeometry().isValid() ? normalGeometry() : geometry());
    } catch (const platform::RegistryError& error) {
        ReportRegistryError(error);
    }
}
