// SPDX-License-Identifier: GPL-3.0-or-later
// TfmAboutForm, the about box: the program's icon, name, version and legal notice,
// and, while the pointer rests on the small image, the line about the rich-text
// library actually loaded in place of the OK button.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class TfmAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TfmAboutForm(QWidget* parent = nullptr);

    void ShowDLLInfo(bool show);
    bool DLLInfoShown() const { return dllInfoShown; }

    QFrame* Panel1 = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Version = nullptr;
    QLabel* Copyright = nullptr;
    QLabel* imIco = nullptr;
    QFrame* Panel2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void FormCreate();
    void ResizeImages();

    bool dllInfoShown = false;
};

// The program's version and release date as the build recorded them.
QString ProgramVersion();
QString ProgramDate();
