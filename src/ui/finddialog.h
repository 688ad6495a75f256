// SPDX-License-Identifier: GPL-3.0-or-later
// TFindDialog: the modeless Find and Replace dialogs with the classic controls
// (Find what, Replace with, Match whole word only, Match case, Up/Down, Find Next,
// Replace, Replace All, Cancel). The window owns the one that exists.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TFindDialog : public QDialog {
    Q_OBJECT
public:
    enum class TKind { Find, Replace };
    TFindDialog(TKind kind, QWidget* parent);

    TKind Kind() const { return kind; }
    QString FindText() const;
    void SetFindText(const QString& text);
    QString ReplaceText() const;
    void SetReplaceText(const QString& text);
    bool Down() const;
    void SetDown(bool down);
    bool MatchCase() const;
    void SetMatchCase(bool on);
    bool WholeWord() const;
    void SetWholeWord(bool on);

    // Shows the dialog, or brings it forward when it shows already.
    void Execute();
    // Hides a showing dialog; Closed follows.
    void CloseDialog();

    QLineEdit* findEdit = nullptr;
    QLineEdit* replaceEdit = nullptr;          // none in the Find dialog
    QCheckBox* wholeWordBox = nullptr;
    QCheckBox* matchCaseBox = nullptr;
    QRadioButton* upButton = nullptr;
    QRadioButton* downButton = nullptr;
    QPushButton* findNextButton = nullptr;
    QPushButton* replaceButton = nullptr;
    QPushButton* replaceAllButton = nullptr;
    QPushButton* cancelButton = nullptr;

signals:
    void Find();
    void Replace(bool all);
    void Closed();
    // F3 or F4 pressed while the dialog is the active window.
    void FunctionKey(int key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void UpdateButtons();
    TKind kind;
};
