// SPDX-License-Identifier: GPL-3.0-or-later
// The encoding commands: re-reading the shown text (or the selection) under another
// code page with one button, the eight buttons, the Encoding submenu and Ctrl+1..8.
#include "view.h"

#include "qlconsts.h"

#include "qxeditor.h"
#include "richedit.h"

#include <QApplication>
#include <QKeySequence>

#include <exception>
#include <vector>

namespace {

// Unicode, UTF-8 and RTF change the number of characters a byte stands for; a
// selection re-read under any of them would not fit back in place.
bool SelectionConvertible(std::uint8_t e)
{
    return e != Uni && e != Rtf && e != Utf8;
}

} // namespace

void TfmView::Decoding(std::uint8_t e)
{
    platform::RichEdit* control = GEditor->Window();
    TTempStream* snapshot = GEditor->TempStream();
    const platform::CHARRANGE sel = control->ExGetSel();
    // The snapshot holds the bytes the text had before the first of a run of
    // presses; it is kept while neither the text nor the selection changed.
    if (snapshot->SelStart != sel.cpMin || snapshot->SelEnd != sel.cpMax) {
        snapshot->SelStart = sel.cpMin;
        snapshot->SelEnd = sel.cpMax;
        snapshot->Stale = true;
    }
    const bool selected = sel.cpMin != sel.cpMax;
    if (e == CurEncoding && !selected)
        return;

    WaitCaption(Tr(QlConsts::WaitTextConverting));
    ShowRichEdit(false);
    TextReady = false;
    GEditor->SetSelection(selected);
    try {
        if (selected && (!SelectionConvertible(e) || !SelectionConvertible(CurEncoding))) {
            // Nothing is converted.
        } else if (!selected && !CurFileName.isEmpty() && !GEditor->Modified()) {
            // An unchanged file is read again: its own bytes are better than any copy.
            // The text is not cleared first: a read that fails must leave it shown.
            LoadNewFile(CurFileName, e, true, 0, sel.cpMin);
        } else if (GEditor->Modified() && HasTables && !selected && CurEncoding != Rtf) {
            QApplication::restoreOverrideCursor();
            ShowError(Tr(QlConsts::TablesWillBeLost));
        } else {
            SetEncoding(CurEncoding);
            snapshot->Refresh();
            SetEncoding(e);
            const bool modified = GEditor->Modified();
            snapshot->Memory.SetPosition(0);
            LoadStartTick = TickNow();
            if (!GEditor->Selection())
                PreviewNextLoad(sel.cpMax);
            GEditor->Lines()->LoadFromStream(snapshot->Memory);
            Progress = 100;
            RepaintProgress();
            if (!GEditor->Selection()) {
                SetKodP(e);
                // The bytes read are the text's base for the journal, as a file's are.
                const std::vector<std::uint8_t>& bytes = snapshot->Memory.Bytes();
                JournalReread(QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
            }
            control->ExSetSel(sel);
            GEditor->SetModified(modified);
            // A whole text read anew has nothing left to undo.
            sbUndo->setEnabled(GEditor->CanUndo());
            sbRedo->setEnabled(GEditor->CanRedo());
        }
    } catch (const std::exception& error) {
        QApplication::restoreOverrideCursor();
        ShowError(QString::fromUtf8(error.what()));
    }
    GEditor->Window()->PreviewNext.reset();
    SetEncoding(CurEncoding);
    // The pressed button follows the text's encoding, also when a selection was
    // converted or nothing was: a click alone must not leave another one down.
    DownButt();
    GEditor->SetSelection(false);
    QApplication::restoreOverrideCursor();
    TextReady = true;
    FillCaption();
    ShowRichEdit(true);
    EndProgress();
}

void TfmView::sbDosClick() { Decoding(Dos); }
void TfmView::sbWinClick() { Decoding(Win); }
void TfmView::sbKoiClick() { Decoding(Koi); }
void TfmView::sbMacClick() { Decoding(Mac); }
void TfmView::sbIsoClick() { Decoding(Iso); }
void TfmView::sbUniClick() { Decoding(Uni); }
void TfmView::sbRtfClick() { Decoding(Rtf); }
void TfmView::sbUtf8Click() { Decoding(Utf8); }

void TfmView::mDosClick() { sbDos->setChecked(true); sbDosClick(); }
void TfmView::mWinClick() { sbWin->setChecked(true); sbWinClick(); }
void TfmView::mKoiClick() { sbKoi->setChecked(true); sbKoiClick(); }
void TfmView::mMacClick() { sbMac->setChecked(true); sbMacClick(); }
void TfmView::mIsoClick() { sbIso->setChecked(true); sbIsoClick(); }
void TfmView::mUniClick() { sbUni->setChecked(true); sbUniClick(); }
void TfmView::mRtfClick() { sbRtf->setChecked(true); sbRtfClick(); }
void TfmView::mUtf8Click() { sbUtf8->setChecked(true); sbUtf8Click(); }

void TfmView::WireEncodingCommands()
{
    using Click = void (TfmView::*)();
    struct Command {
        QToolButton* button;
        Click buttonClick;
        const char* item;
        Click itemClick;
    };
    const Command commands[] = {
        {sbDos, &TfmView::sbDosClick, "mDos", &TfmView::mDosClick},
        {sbWin, &TfmView::sbWinClick, "mWin", &TfmView::mWinClick},
        {sbKoi, &TfmView::sbKoiClick, "mKoi", &TfmView::mKoiClick},
        {sbMac, &TfmView::sbMacClick, "mMac", &TfmView::mMacClick},
        {sbIso, &TfmView::sbIsoClick, "mIso", &TfmView::mIsoClick},
        {sbUni, &TfmView::sbUniClick, "mUni", &TfmView::mUniClick},
        {sbRtf, &TfmView::sbRtfClick, "mRtf", &TfmView::mRtfClick},
        {sbUtf8, &TfmView::sbUtf8Click, "mUtf8", &TfmView::mUtf8Click},
    };
    int key = Qt::Key_1;
    for (const Command& c : commands) {
        c.button->setEnabled(true);
        connect(c.button, &QToolButton::clicked, this, c.buttonClick);
        QAction* item = Item(QString::fromLatin1(c.item));
        item->setEnabled(true);
        item->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(key++)));
        item->setShortcutContext(Qt::WindowShortcut);
        connect(item, &QAction::triggered, this, c.itemClick);
    }

    sbWrap->setEnabled(true);
    connect(sbWrap, &QToolButton::clicked, this, &TfmView::sbWrapClick);
    QAction* wrapItem = Item(QStringLiteral("N52"));
    wrapItem->setEnabled(true);
    connect(wrapItem, &QAction::triggered, this, &TfmView::N52Click);
}
