// SPDX-License-Identifier: GPL-3.0-or-later
// The toolbar panel paTop: its speed buttons and bevels, their hints and glyphs,
// and the left-to-right arrangement that skips hidden groups.
#include "view.h"

#include "qlconsts.h"

#include <QIcon>

namespace {

constexpr int ToolbarHeight = 30;
constexpr int ButtonSize = 24;
constexpr int BevelWidth = 3;
constexpr int ToolbarTop = 3;

} // namespace

QToolButton* TfmView::AddButton(const char* name, const QString& hint, const QString& glyph, const QString& label)
{
    auto* button = new QToolButton(paTop);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    if (!glyph.isEmpty()) {
        button->setIcon(QIcon(QStringLiteral(":/icons/") + glyph + QStringLiteral(".png")));
        button->setIconSize(QSize(16, 16));
    } else {
        // The encoding buttons carry their names: a glyph could not say "KOI".
        button->setText(label);
        QFont small = button->font();
        small.setPixelSize(9);
        small.setBold(true);
        button->setFont(small);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
    return button;
}

QFrame* TfmView::AddBevel(int index)
{
    auto* bevel = new QFrame(paTop);
    bevel->setObjectName(QStringLiteral("Bevel%1").arg(index));
    bevel->setFrameShape(QFrame::VLine);
    bevel->setFrameShadow(QFrame::Sunken);
    Bevels[index] = bevel;
    return bevel;
}

void TfmView::BuildToolbar()
{
    paTop = new QWidget(this);
    paTop->setObjectName(QStringLiteral("paTop"));
    AddBevel(1)->move(2, ToolbarTop);

    sbDos = AddButton("sbDos", tr("To Dos encoding"), {}, QStringLiteral("DOS"));
    sbWin = AddButton("sbWin", tr("To Windows encoding"), {}, QStringLiteral("WIN"));
    sbKoi = AddButton("sbKoi", tr("To KOI-8R encoding"), {}, QStringLiteral("KOI"));
    sbMac = AddButton("sbMac", tr("To Macintosh encoding"), {}, QStringLiteral("MAC"));
    sbIso = AddButton("sbIso", tr("To ISO 8859-5  encoding"), {}, QStringLiteral("ISO"));
    sbUni = AddButton("sbUni", tr("To Unicode"), {}, QStringLiteral("UNI"));
    sbRtf = AddButton("sbRtf", tr("To RTF format"), {}, QStringLiteral("RTF"));
    // Five letters do not fit the width the other names have: two lines.
    sbUtf8 = AddButton("sbUtf8", tr("To UTF-8"), {}, QStringLiteral("UTF\n8"));
    sbUtf8->setAccessibleName(QStringLiteral("UTF-8"));
    AddBevel(2);
    sbWrap = AddButton("sbWrap", tr("Toggle on lines wrapping"), QStringLiteral("wrap"));
    AddBevel(3);
    sbNew = AddButton("sbNew", tr("New blank text"), QStringLiteral("new"));
    sbOpen = AddButton("sbOpen", tr("Open new file"), QStringLiteral("open"));
    sbSave = AddButton("sbSave", tr("Save text in file"), QStringLiteral("save"));
    AddBevel(4);
    sbPrint = AddButton("sbPrint", tr("Print of the text"), QStringLiteral("print"));
    sbPreview = AddButton("sbPreview", tr("Print preview"), QStringLiteral("preview"));
    AddBevel(5);
    sbCut = AddButton("sbCut", tr("Cut selected text"), QStringLiteral("cut"));
    sbCopy = AddButton("sbCopy", tr("Copy selected text"), QStringLiteral("copy"));
    sbPaste = AddButton("sbPaste", tr("Paste from clipboard"), QStringLiteral("paste"));
    sbUndo = AddButton("sbUndo", tr("Undo last change"), QStringLiteral("undo"));
    sbRedo = AddButton("sbRedo", tr("Redo last undo action"), QStringLiteral("redo"));
    AddBevel(6);
    sbFind = AddButton("sbFind", tr("Search in the text"), QStringLiteral("find"));
    sbRepl = AddButton("sbRepl", tr("Replacement in the text"), QStringLiteral("replace"));
    AddBevel(7);
    sbLeft = AddButton("sbLeft", tr("Left justify of text"), QStringLiteral("left"));
    sbCenter = AddButton("sbCenter", tr("Justify to the center"), QStringLiteral("center"));
    sbRight = AddButton("sbRight", tr("Right justify of text"), QStringLiteral("right"));
    sbWidth = AddButton("sbWidth", tr("Width justify"), QStringLiteral("justify"));
    AddBevel(8);
    sbBullet = AddButton("sbBullet", tr("Numbering of paragraph"), QStringLiteral("bullet"));
    AddBevel(9);
    sbNastr = AddButton("sbNastr", tr("Saving options of the program"), QStringLiteral("options"));
    AddBevel(10);

    encodingGroup = new QButtonGroup(this);
    encodingGroup->setExclusive(true);
    int id = 0;
    for (QToolButton* b : {sbDos, sbWin, sbKoi, sbMac, sbIso, sbUni, sbRtf}) {
        b->setCheckable(true);
        encodingGroup->addButton(b, id++);
    }
    // Each button's id is its encoding's ordinal; UTF-8's comes after detection's None.
    sbUtf8->setCheckable(true);
    encodingGroup->addButton(sbUtf8, Utf8);
    sbWrap->setCheckable(true);
    alignGroup = new QButtonGroup(this);
    alignGroup->setExclusive(true);
    for (QToolButton* b : {sbLeft, sbCenter, sbRight, sbWidth}) {
        b->setCheckable(true);
        alignGroup->addButton(b);
    }
    sbBullet->setCheckable(true);
    sbLeft->setChecked(true);

    // Commands that arrive with later work are shown but cannot be pressed.
    for (QToolButton* b : {sbDos, sbWin, sbKoi, sbMac, sbIso, sbUni, sbRtf, sbUtf8, sbWrap, sbPrint, sbPreview, sbFind,
                           sbRepl, sbLeft, sbCenter, sbRight, sbWidth, sbBullet, sbNastr})
        b->setEnabled(false);
    for (QToolButton* b : {sbSave, sbCut, sbCopy, sbPaste, sbUndo, sbRedo})
        b->setEnabled(false);
}

void TfmView::ResizeButtons()
{
    paTop->setFixedHeight(ToolbarHeight);
    for (QObject* child : paTop->children()) {
        if (auto* button = qobject_cast<QToolButton*>(child))
            button->setFixedSize(ButtonSize, ButtonSize);
        else if (auto* bevel = qobject_cast<QFrame*>(child))
            bevel->setFixedSize(BevelWidth, ButtonSize);
    }
}

void TfmView::ArrangeButtons()
{
    const std::vector<std::pair<std::vector<QToolButton*>, QFrame*>> groups = {
        {{sbDos, sbWin, sbKoi, sbMac, sbIso, sbUni, sbRtf, sbUtf8}, Bevels[2]},
        {{sbWrap}, Bevels[3]},
        {{sbNew, sbOpen, sbSave}, Bevels[4]},
        {{sbPrint, sbPreview}, Bevels[5]},
        {{sbCut, sbCopy, sbPaste, sbUndo, sbRedo}, Bevels[6]},
        {{sbFind, sbRepl}, Bevels[7]},
        {{sbLeft, sbCenter, sbRight, sbWidth}, Bevels[8]},
        {{sbBullet}, Bevels[9]},
        {{sbNastr}, Bevels[10]},
    };
    int x = Bevels[1]->x() + Bevels[1]->width() + 1;
    for (const auto& [buttons, bevel] : groups) {
        bool anyShown = false;
        for (QToolButton* b : buttons) {
            // isHidden, not isVisible: the layout is made before the window shows.
            if (b->isHidden())
                continue;
            b->move(x, ToolbarTop);
            x += b->width() + 1;
            anyShown = true;
        }
        bevel->setVisible(anyShown);
        if (anyShown) {
            bevel->move(x, ToolbarTop);
            x += bevel->width() + 1;
        }
    }
}

void TfmView::ShowAlignButtons(bool visible)
{
    for (QToolButton* b : {sbLeft, sbCenter, sbRight, sbWidth, sbBullet})
        b->setVisible(visible);
    ArrangeButtons();
}

void TfmView::mAllBClick()
{
    const bool show = sbKoi->isHidden();
    for (QToolButton* b : {sbKoi, sbMac, sbIso})
        b->setVisible(show);
    Item(QStringLiteral("mAllB"))->setChecked(show);
    ArrangeButtons();
}

void TfmView::HintWrap()
{
    const QString hint = GEditor->WordWrap() ? Tr(QlConsts::ToggleOffWrapping) : Tr(QlConsts::ToggleOnWrapping);
    sbWrap->setToolTip(hint);
    sbWrap->setStatusTip(hint);
}
