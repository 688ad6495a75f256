// SPDX-License-Identifier: GPL-3.0-or-later
// TfmSetup, the settings dialog: the program's current look and behaviour saved as
// the defaults of later starts, page by page (Appearance, Encoding, Print
// options, Types of files), the context-menu entries and file associations, and
// the command that removes all of the program's data.
#pragma once

#include "setuphost.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class TCheckListBox;
class TRadioGroup;

class TfmSetup : public QDialog {
    Q_OBJECT
public:
    TfmSetup(std::unique_ptr<TSetupHost> host, QWidget* parent = nullptr);
    ~TfmSetup() override;

    // Reloads every control and shows the dialog modally, centred over the main
    // window.
    int Execute();

    // Opening: the lists, the extension list, the stored values, the enabling
    // rules; then what every showing starts with.
    void FormShow();
    void FormActivate();
    void FillCBoxes();
    void LoadFromReg();
    void EnabledItems();

    // The enabling rules, kept true as the controls change.
    void chFullClick();
    void chIndClick();
    void chEncClick();
    void cbEncChange();
    void cbNumClick();

    // Save on each page, Clear, and the page setup button.
    void BitBtn1Click();
    void BitBtn11Click();
    void BitBtn8Click();
    void BitBtn6Click();
    void BitBtn10Click();

    // The file-types page.
    void InitExt();
    void AddExt();
    bool ExtExist(const QString& ext) const;
    void CommLineShow();
    bool IsChecked() const;
    bool IsCanDelete() const;
    void CheckListBox1ClickCheck();
    void CheckListBox1Click();
    void BitBtn3Click();
    void BitBtn5Click();
    void BitBtn7Click();

    QTabWidget* PageControl1 = nullptr;

    // Appearance
    QCheckBox *chFull = nullptr, *chNoth = nullptr, *chReadOnly = nullptr, *chInd = nullptr, *chEncAll = nullptr,
              *chPar = nullptr, *chWrap = nullptr, *chExpl = nullptr, *chStart = nullptr, *chJournal = nullptr;
    QSpinBox *spInd = nullptr, *spJournal = nullptr;
    QPushButton *BitBtn1 = nullptr, *BitBtn6 = nullptr, *BitBtn2 = nullptr;

    // Encoding
    QCheckBox *chEnc = nullptr, *chMac = nullptr, *chUrl = nullptr, *chOle = nullptr;
    QComboBox *cbEnc = nullptr, *cbParN = nullptr, *cbLine = nullptr;
    TRadioGroup* rgChar = nullptr;
    QPushButton *BitBtn11 = nullptr, *BitBtn12 = nullptr;

    // Print options
    QCheckBox *cbNum = nullptr, *cbFirst = nullptr, *cbTop = nullptr, *cbBottom = nullptr, *cbLeft = nullptr,
              *cbRight = nullptr, *cbWhite = nullptr;
    QSpinBox* spFNum = nullptr;
    TRadioGroup *RadioGroup3 = nullptr, *RadioGroup4 = nullptr, *RadioGroup5 = nullptr;
    QPushButton *BitBtn8 = nullptr, *BitBtn10 = nullptr, *BitBtn9 = nullptr;

    // Types of files
    TCheckListBox* CheckListBox1 = nullptr;
    QPushButton *BitBtn3 = nullptr, *BitBtn5 = nullptr, *BitBtn7 = nullptr, *BitBtn4 = nullptr;
    QLabel *Label4 = nullptr, *Label3 = nullptr;
    // Whether each listed extension was this program's when loaded or last saved.
    std::vector<bool> OldChecked;
    // An extension was added or removed since the list was loaded or saved.
    bool ListChanged = false;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* BuildAppearance();
    QWidget* BuildEncoding();
    QWidget* BuildPrintOptions();
    QWidget* BuildTypes();
    void Wire();
    void PageChanged(int index);
    void ApplyRemoveRule();
    QString ExtAt(int row) const;
    void AddListItem(const QString& ext, bool checked);
    // Runs a save; a failure is shown in the program's words and answers false.
    bool Saved(const std::function<void()>& save);

    std::unique_ptr<TSetupHost> host;
    bool loadingList = false;
};
