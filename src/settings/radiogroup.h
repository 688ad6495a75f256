// SPDX-License-Identifier: GPL-3.0-or-later
// TRadioGroup: a captioned group of radio buttons laid out in columns, read and
// set by item index as the dialogs use it.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QStringList>

class TRadioGroup : public QGroupBox {
public:
    TRadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent = nullptr);

    // -1 when no item is chosen.
    int ItemIndex() const;
    // An index outside the items chooses none.
    void SetItemIndex(int index);
    QButtonGroup* Buttons() const { return group; }

private:
    QButtonGroup* group;
};
