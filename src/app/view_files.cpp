// File commands: load, new, open, save, save as, export, the save question and
// the recent-files list.
#include "view.h"

#include "editorplaceholder.h"

void TfmView::LoadNewFile(const QString& name, std::uint8_t, bool, std::int32_t, std::int32_t)
{
    CurFileName = name;
    FillCaption();
    TaskBarName();
    TextReady = true;
}
bool TfmView::QuestSave() { return true; }
bool TfmView::SaveTxt(bool, int) { return false; }
void TfmView::UpdateHist() {}
void TfmView::NewText() {}
void TfmView::sbNewClick() {}
void TfmView::sbOpenClick() {}
void TfmView::meOpenWClick() {}
void TfmView::N19Click() {}
void TfmView::sbSaveClick() {}
void TfmView::N12Click() {}
void TfmView::MacintoshCR1Click() {}
void TfmView::UnixLF1Click() {}
void TfmView::FileClick(int) {}
void TfmView::ShowError(const QString&) {}
void TfmView::FormClose() {}
