// SPDX-License-Identifier: GPL-3.0-or-later
// TCheckListBox: the extension list of the file-types page, a list with a check
// box on every row, drawn by hand: bold "Courier New" on the button colour, lime,
// and red for a row whose check mark differs from what is saved.
#pragma once

#include <QListWidget>

#include <functional>

class TCheckListBox : public QListWidget {
public:
    explicit TCheckListBox(QWidget* parent = nullptr);

    bool Checked(int row) const;
    void SetChecked(int row, bool on);
    // Asked for each row as it is drawn: true paints its text red.
    void SetChangedTest(std::function<bool(int row)> test) { changed = std::move(test); }
    bool IsChanged(int row) const { return changed && changed(row); }

    static constexpr int RowHeight = 20;

private:
    std::function<bool(int)> changed;
};
