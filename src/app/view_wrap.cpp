// SPDX-License-Identifier: GPL-3.0-or-later
// Word wrap: the toolbar toggle, Options > Lines wrapping (Ctrl+B) and the hint
// that says what the next press does.
#include "view.h"

#include "qlconsts.h"

#include "qxeditor.h"
#include "richedit.h"

#include <QApplication>

void TfmView::sbWrapClick()
{
    // The control re-lays its own document out when wrapping changes, so the text,
    // its formatting, objects, selection, undo steps and modified flag all stay as
    // they are; nothing has to travel through a copy of the text. The input method
    // belongs to the window and is kept as well.
    TextReady = false;
    ShowRichEdit(false);
    platform::RichEdit* control = GEditor->Window();
    const platform::CHARRANGE sel = control->ExGetSel();
    WaitCaption(Tr(QlConsts::WaitTextWrapping));
    const bool modified = GEditor->Modified();
    LoadStartTick = TickNow();
    GEditor->SetWordWrap(!GEditor->WordWrap());
    Progress = 100;
    RepaintProgress();
    HintWrap();
    SetEncoding(CurEncoding);
    GEditor->SetModified(modified);
    control->ExSetSel(sel);
    AllStrCount();
    FillCaption();
    sbWrap->setChecked(GEditor->WordWrap());
    TextReady = true;
    QApplication::restoreOverrideCursor();
    ShowRichEdit(true);
    control->ScrollCaret();
    StbRepUpdate();
    EndProgress();
    // The next encoding press starts from the text as it is shown now.
    GEditor->TempStream()->Stale = true;
}

void TfmView::N52Click()
{
    sbWrapClick();
}
