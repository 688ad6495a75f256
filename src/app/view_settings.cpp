// Reading the Options key at the first show, and the built-in defaults.
#include "view.h"

#include "editorplaceholder.h"

void TfmView::FormInterface()
{
    UpdateHist();
    AllDefault();
}

void TfmView::AllDefault()
{
    CurEncoding = 1;
    SetEncoding(1);
    setWindowState(windowState() | Qt::WindowMaximized);
    GEditor->setFont(DefFont);
    DownButt();
}

void TfmView::SetEncoding(std::uint8_t) {}
void TfmView::SetKodP(std::uint8_t e) { CurEncoding = e; }

void TfmView::DownButt()
{
    if (QAbstractButton* b = encodingGroup->button(CurEncoding))
        b->setChecked(true);
}
void TfmView::SetParaDefault() {}
void TfmView::AlignBut() {}
