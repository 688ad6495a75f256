// SPDX-License-Identifier: GPL-3.0-or-later
// Paragraph commands: alignment (which never marks the text modified), line
// spacing, and numbering with its nine kinds, the bullet button and F9.
#include "view.h"

#include "richedit.h"

#include <QMenu>

namespace {

constexpr const char* NumberingNames[] = {"mnBul",  "mnDig",  "mnLet",  "mnDigF", "mnLetF",
                                          "mnDigP", "mnLetP", "mnDigE", "mnLetE"};
// NumKind and NumStyle of each numbering item, in menu order.
constexpr std::pair<std::uint8_t, std::uint8_t> NumberingKinds[] = {{1, 3}, {2, 3}, {3, 3}, {2, 2}, {3, 2},
                                                                    {2, 0}, {3, 0}, {2, 1}, {3, 1}};
constexpr double NumberingTabPoints = 10;

} // namespace

void TfmView::WireFormatCommands()
{
    auto on = [this](const char* name, auto method) {
        QAction* item = Item(QString::fromLatin1(name));
        item->setEnabled(true);
        connect(item, &QAction::triggered, this, method);
    };
    // Paragraph
    on("N47", [this] { AlignText(0); sbLeft->setChecked(true); });
    on("N48", [this] { AlignText(2); sbCenter->setChecked(true); });
    on("N49", [this] { AlignText(1); sbRight->setChecked(true); });
    on("N56", [this] { AlignText(3); sbWidth->setChecked(true); });
    for (const char* name : {"N47", "N48", "N49", "N56"})
        Item(QString::fromLatin1(name))->setCheckable(true);
    on("N62", [this] { LineSpacingClick(0); });
    on("N63", [this] { LineSpacingClick(1); });
    on("N64", [this] { LineSpacingClick(2); });
    for (const char* name : {"N62", "N63", "N64"})
        Item(QString::fromLatin1(name))->setCheckable(true);
    for (int i = 0; i < 9; ++i) {
        on(NumberingNames[i], [this, i] { NumberingItemClick(i); });
        Item(QString::fromLatin1(NumberingNames[i]))->setCheckable(true);
    }
    on("mNUse", &TfmView::mNUseClick);
    Item(QStringLiteral("mNUse"))->setCheckable(true);
    for (QToolButton* b : {sbLeft, sbCenter, sbRight, sbWidth, sbBullet})
        b->setEnabled(true);
    connect(sbLeft, &QToolButton::clicked, this, &TfmView::sbLeftClick);
    connect(sbCenter, &QToolButton::clicked, this, &TfmView::sbCenterClick);
    connect(sbRight, &QToolButton::clicked, this, &TfmView::sbRightClick);
    connect(sbWidth, &QToolButton::clicked, this, &TfmView::sbWidthClick);
    connect(sbBullet, &QToolButton::clicked, this, &TfmView::sbBulletClick);
    sbBullet->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sbBullet, &QToolButton::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenu2Popup();
        PopupMenu2->popup(sbBullet->mapToGlobal(at));
    });
    OnMenuOpening(Menu(QStringLiteral("N61")), &TfmView::N61Click);
    OnMenuOpening(Menu(QStringLiteral("N51")), &TfmView::N51Click);
    OnMenuOpening(Menu(QStringLiteral("N50")), &TfmView::N50Click);
}

void TfmView::AlignText(std::uint8_t a)
{
    // Alignment is a look, not a change of the text: the modified flag stays.
    TextReady = false;
    const bool modified = GEditor->Modified();
    GEditor->Paragraph()->SetAlignment(a);
    GEditor->SetModified(modified);
    TextReady = true;
}

void TfmView::sbLeftClick()
{
    sbLeft->setChecked(true);
    AlignText(0);
}

void TfmView::sbCenterClick()
{
    sbCenter->setChecked(true);
    AlignText(2);
}

void TfmView::sbRightClick()
{
    sbRight->setChecked(true);
    AlignText(1);
}

void TfmView::sbWidthClick()
{
    sbWidth->setChecked(true);
    AlignText(3);
}

void TfmView::N61Click()
{
    const std::uint8_t alignment = GEditor->Paragraph()->Alignment();
    const char* names[] = {"N47", "N49", "N48", "N56"};
    for (std::uint8_t a = 0; a < 4; ++a)
        Item(QString::fromLatin1(names[a]))->setChecked(a == alignment);
}

void TfmView::LineSpacingClick(std::uint8_t rule)
{
    GEditor->Paragraph()->SetLineSpacing(rule, 0);
}

void TfmView::N51Click()
{
    const std::uint8_t rule = GEditor->Paragraph()->LineSpacingRule();
    Item(QStringLiteral("N62"))->setChecked(rule == 0);
    Item(QStringLiteral("N63"))->setChecked(rule == 1);
    Item(QStringLiteral("N64"))->setChecked(rule == 2);
}

void TfmView::NumberingItemClick(int index)
{
    if (index < 0 || index > 8)
        return;
    NumKind = NumberingKinds[index].first;
    NumStyle = NumberingKinds[index].second;
    if (sbBullet->isChecked())
        SetMarkers();
    N50Click();
}

void TfmView::SetMarkers()
{
    TParaAttributes* para = GEditor->Paragraph();
    if (para->InTable())
        return;
    // One command, one undo step.
    platform::RichEdit* control = GEditor->Window();
    control->BeginUndoGroup();
    para->SetNumberingStart(1);
    para->SetNumberingTab(NumberingTabPoints);
    para->SetNumbering(NumKind);
    para->SetNumberingStyle(NumStyle);
    control->EndUndoGroup();
    sbBullet->setChecked(NumKind != 0);
}

void TfmView::sbBulletClick()
{
    if (sbBullet->isChecked())
        SetMarkers();
    else
        GEditor->Paragraph()->SetNumbering(0);
}

void TfmView::mNUseClick()
{
    sbBullet->toggle();
    sbBulletClick();
    Item(QStringLiteral("mNUse"))->setChecked(sbBullet->isChecked());
}

void TfmView::N50Click()
{
    Item(QStringLiteral("mNUse"))->setChecked(sbBullet->isChecked());
    for (int i = 0; i < 9; ++i)
        Item(QString::fromLatin1(NumberingNames[i]))
            ->setChecked(NumberingKinds[i] == std::make_pair(NumKind, NumStyle));
}

void TfmView::PopupMenu2Popup()
{
    N50Click();
    PopupMenu2->clear();
    for (int i = 0; i < 9; ++i) {
        const QAction* source = Item(QString::fromLatin1(NumberingNames[i]));
        QAction* copy = PopupMenu2->addAction(source->text());
        copy->setObjectName(source->objectName());
        copy->setCheckable(true);
        copy->setChecked(source->isChecked());
        connect(copy, &QAction::triggered, this, [this, i] { NumberingItemClick(i); });
    }
}
