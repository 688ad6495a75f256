// SPDX-License-Identifier: GPL-3.0-or-later
// Reactions to the editor's change and selection events and the rules that
// enable menu items as each menu opens.
#include "view.h"

#include "richedit.h"

void TfmView::GEditorChange()
{
    if (!TextReady)
        return;
    sbUndo->setEnabled(GEditor->CanUndo());
    // The modified flag is the document's own: it compares the undo state with the
    // one last loaded or saved, so undoing past a save marks the text modified
    // again, and undoing back to it clears the mark.
    sbRedo->setEnabled(GEditor->CanRedo());
    sbSave->setEnabled(GEditor->Modified());
    EnablePrintCommands();
    // The bytes kept for reinterpreting no longer match the edited text.
    GEditor->TempStream()->Stale = true;
    AllStrCount();
}

void TfmView::GEditorSelectionChange()
{
    if (!TextReady)
        return;
    StrCount();
    const bool selected = (GEditor->SelLength() != 0);
    sbCut->setEnabled(selected);
    sbCopy->setEnabled(selected);
    sbPaste->setEnabled(GEditor->Window()->canPaste());
    AlignBut();
    DownButt();
}

void TfmView::N8Click()
{
    Item(QStringLiteral("N19"))->setEnabled(!CurFileName.isEmpty() && GEditor->Modified());
    EnablePrintCommands();
}

void TfmView::N14Click()
{
    const bool selected = (GEditor->SelLength() != 0);
    Item(QStringLiteral("mBack"))->setEnabled(sbUndo->isEnabled());
    Item(QStringLiteral("mFrw"))->setEnabled(sbRedo->isEnabled());
    Item(QStringLiteral("mCopy"))->setEnabled(selected);
    Item(QStringLiteral("mCut"))->setEnabled(selected);
    Item(QStringLiteral("mIns"))->setEnabled(GEditor->Window()->canPaste());
    Item(QStringLiteral("mCutStr"))->setEnabled(!GEditor->IsEmpty());
    Item(QStringLiteral("mInsF"))->setEnabled(CanPasteObject());
    Item(QStringLiteral("insob"))->setEnabled(GEditor->AllowObjects());
    Item(QStringLiteral("meUpp"))->setEnabled(selected);
    Item(QStringLiteral("meLow"))->setEnabled(selected);
}

void TfmView::N26Click()
{
    SavedScrRead();
    Item(QStringLiteral("N52"))->setChecked(sbWrap->isChecked());
}

void TfmView::N33Click()
{
    QToolButton* const buttons[] = {sbDos, sbWin, sbKoi, sbMac, sbIso, sbUni, sbRtf, sbUtf8};
    const char* names[] = {"mDos", "mWin", "mKoi", "mMac", "mIso", "mUni", "mRtf", "mUtf8"};
    for (int e = 0; e < 8; ++e) {
        QAction* item = Item(QString::fromLatin1(names[e]));
        item->setEnabled(buttons[e]->isEnabled());
        item->setChecked(buttons[e]->isChecked());
    }
    Item(QStringLiteral("mAllB"))->setChecked(!sbKoi->isHidden());
}

void TfmView::N45Click()
{
    Item(QStringLiteral("N54"))->setChecked(!sbLeft->isHidden());
}

void TfmView::PopupMenu1Popup()
{
    const bool selected = (GEditor->SelLength() != 0);
    Item(QStringLiteral("N3"))->setEnabled(selected);
    Item(QStringLiteral("N2"))->setEnabled(selected || HasCurrentObject());
    Item(QStringLiteral("N4"))->setEnabled(GEditor->Window()->canPaste());
    Item(QStringLiteral("N7"))->setEnabled(CanPasteObject());
    Item(QStringLiteral("insob1"))->setEnabled(GEditor->AllowObjects());
    Item(QStringLiteral("mpDelStr"))->setEnabled(!GEditor->IsEmpty());
    Item(QStringLiteral("mpUpp"))->setEnabled(selected);
    Item(QStringLiteral("mpLow"))->setEnabled(selected);
    SavedScrRead();
}
