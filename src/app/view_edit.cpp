// SPDX-License-Identifier: GPL-3.0-or-later
// Editing commands: delete the caret's lines, undo and redo (refreshing the
// alignment buttons after unnamed actions), copy, cut and the two pastes.
#include "view.h"

#include "richedit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>

void TfmView::WireEditCommands()
{
    auto on = [this](const char* name, auto method) {
        QAction* item = Item(QString::fromLatin1(name));
        item->setEnabled(true);
        connect(item, &QAction::triggered, this, method);
    };
    on("mCutStr", &TfmView::DeleteLine);
    on("mpDelStr", &TfmView::DeleteLine);
    on("mInsF", &TfmView::N7Click);
    on("N7", &TfmView::N7Click);
    on("insob", &TfmView::insobClick);
    on("insob1", &TfmView::insobClick);
}

void TfmView::insobClick()
{
    GEditor->InsertObjectDialog();
}

void TfmView::DeleteLine()
{
    if (GEditor->ReadOnly())
        return;
    platform::RichEdit* control = GEditor->Window();
    const platform::CHARRANGE sel = control->ExGetSel();
    const std::int32_t first = control->ExLineFromChar(-1);
    const std::int32_t next = sel.cpMax > sel.cpMin ? control->ExLineFromChar(sel.cpMax) + 1 : first + 1;
    TextReady = false;
    // Past the last line the index is -1, which selects to the end of the text.
    control->SetSel(control->LineIndex(first), control->LineIndex(next));
    TextReady = true;
    control->Clear();
}

void TfmView::mBackClick()
{
    // Formatting steps have no name; after them the alignment buttons may be stale.
    const int name = GEditor->UndoName();
    GEditor->Undo();
    if (name == 0)
        AlignBut();
}

void TfmView::mFrwClick()
{
    const int name = GEditor->RedoName();
    GEditor->Redo();
    if (name == 0)
        AlignBut();
}

void TfmView::CopyText()
{
    if (GEditor->SelLength() != 0)
        GEditor->CopyToClipboard();
    else
        CopyCurrentObject();
}

void TfmView::CutText()
{
    if (GEditor->SelLength() != 0)
        GEditor->CutToClipboard();
}

void TfmView::N7Click()
{
    if (IndentStep == 0)
        bbRight->hide();
    // Rich text as it comes, files and pictures as objects.
    if (!GEditor->ReadOnly())
        GEditor->PasteAsObject();
}

bool TfmView::HasCurrentObject() const
{
    return GEditor->HasCurrentObject();
}

bool TfmView::CopyCurrentObject()
{
    return GEditor->CopyCurrentObject();
}

bool TfmView::CanPasteObject() const
{
    const QMimeData* source = QGuiApplication::clipboard()->mimeData();
    return GEditor->Window()->canPaste()
           || (GEditor->AllowObjects() && !GEditor->ReadOnly() && source && (source->hasUrls() || source->hasImage()));
}
