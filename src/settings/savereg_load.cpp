// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the settings dialog: its lists, the stored values with the running
// program's values where the store has none, and the enabling rules.
#include "savereg.h"

#include "checklistbox.h"
#include "desktopsync.h"
#include "qlconsts.h"
#include "radiogroup.h"
#include "registry.h"
#include "registrylayout.h"
#include "registrymessages.h"
#include "registrypath.h"
#include "shellmenus.h"
#include "startupoptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include <algorithm>
#include <map>
#include <optional>

using platform::TRegistry;

namespace {

constexpr int MaxIndent = 13;

// The integer values of one key, read once. A value of another kind counts as
// absent, so that its control takes the running program's value; the first
// such error is kept, to be told once the dialog is loaded.
class StoredKey {
public:
    StoredKey(TRegistry& reg, const char* key, std::optional<platform::RegistryError>& error)
        : key(key), error(error)
    {
        try {
            if (!reg.OpenKey(key, false))
                return;
            found = true;
            for (const std::string& name : reg.GetValueNames()) {
                if (reg.GetDataType(name) == platform::RegDataType::Integer)
                    values[platform::FoldName(name)] = reg.ReadInteger(name);
                else
                    others[platform::FoldName(name)] = name;
            }
        } catch (const platform::RegistryError& e) {
            Keep(e);
        }
    }

    bool Found() const { return found; }

    std::optional<int> Get(const char* name) const
    {
        const std::string folded = platform::FoldName(name);
        if (const auto it = others.find(folded); it != others.end())
            Keep(platform::RegistryError(platform::RegistryErrorKind::WrongKind, it->second, key));
        const auto it = values.find(folded);
        return it == values.end() ? std::nullopt : std::optional<int>(it->second);
    }
    // Most flags count as on only when exactly 1 is stored.
    std::optional<bool> IsOne(const char* name) const
    {
        const std::optional<int> v = Get(name);
        return v ? std::optional<bool>(*v == 1) : std::nullopt;
    }

private:
    void Keep(const platform::RegistryError& e) const
    {
        if (!error)
            error = e;
    }

    std::string key;
    std::optional<platform::RegistryError>& error;
    bool found = false;
    std::map<std::string, int> values;
    std::map<std::string, std::string> others; // folded name -> name as stored
};

bool InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

} // namespace

void TfmSetup::FormShow()
{
    FillCBoxes();
    InitExt();
    LoadFromReg();
    EnabledItems();
}

void TfmSetup::FillCBoxes()
{
    cbParN->clear();
    cbParN->addItems(host->NumberingCaptions());
    cbParN->setCurrentIndex(0);
    cbLine->clear();
    cbLine->addItems(host->UnderlineCaptions());
    cbLine->setCurrentIndex(0);
}

void TfmSetup::LoadFromReg()
{
    std::optional<platform::RegistryError> error;
    TRegistry reg(platform::HKEY_CLASSES_ROOT);
    const std::string program = ProgramPath();
    try {
        chExpl->setChecked(ExplorerMenuChecked(reg, program));
        chStart->setChecked(StartMenuChecked(reg, program));
    } catch (const platform::RegistryError& e) {
        error = e;
    }

    reg.SetRootKey(platform::HKEY_CURRENT_USER);
    const StoredKey options(reg, RegistryKeys::Options, error);
    const int step = host->IndentStep();

    const int rusCode = options.Get(OptionsValue::RusCode).value_or(-1);
    const int current = cbEnc->findData(host->CurEncoding());
    const int stored = cbEnc->findData(rusCode);
    cbEnc->setCurrentIndex(stored >= 0 ? stored : current >= 0 ? current : 1);
    chEncAll->setChecked(options.Get(OptionsValue::AllEncBut).has_value() ? *options.Get(OptionsValue::AllEncBut) != 0
                                                                          : host->AllEncodingButtonsShown());
    chPar->setChecked(options.Get(OptionsValue::ParBut).has_value() ? *options.Get(OptionsValue::ParBut) != 0
                                                                    : host->ParagraphButtonsShown());
    const int parNum = options.Get(OptionsValue::ParNum).value_or(-1);
    cbParN->setCurrentIndex(InRange(parNum, 0, cbParN->count() - 1) ? parNum : host->NumberingIndex());
    const int underLine = options.Get(OptionsValue::UnderLine).value_or(-1);
    cbLine->setCurrentIndex(InRange(underLine, 0, cbLine->count() - 1) ? underLine : host->UnderlineIndex());
    chReadOnly->setChecked(options.IsOne(OptionsValue::ReadOnly).value_or(host->ReadOnly()));
    if (const std::optional<int> window = options.Get(OptionsValue::Window)) {
        chFull->setChecked(*window < 1);
        chNoth->setChecked(*window == -1);
    } else {
        chFull->setChecked(host->WindowMaximized());
        chNoth->setChecked(host->PanelsHidden());
    }
    if (std::optional<int> indent = options.Get(OptionsValue::Indent)) {
        if (!InRange(*indent, 0, MaxIndent))
            indent = step;
        chInd->setChecked(*indent >= 1);
        spInd->setValue(std::max(*indent, 1));
    } else {
        // With no key at all the box follows the window; else it keeps its state.
        if (!options.Found())
            chInd->setChecked(step > 0);
        spInd->setValue(std::max(step, 1));
    }
    chWrap->setChecked(options.IsOne(OptionsValue::Wrap).value_or(host->WrapDown()));
    chJournal->setChecked(options.Get(OptionsValue::Journal).has_value() ? *options.Get(OptionsValue::Journal) != 0
                                                                         : host->JournalOn());
    const int journalDelay = options.Get(OptionsValue::JournalDelay).value_or(0);
    spJournal->setValue(InRange(journalDelay, 1, MaxJournalDelay) ? journalDelay
                                                                  : std::max(1, (host->JournalDelayMs() + 999) / 1000));
    spJournal->setEnabled(chJournal->isChecked());
    chUrl->setChecked(options.IsOne(OptionsValue::AutoUrl).value_or(host->AutoURLDetect()));
    chMac->setChecked(options.IsOne(OptionsValue::ExceptMac).value_or(host->ExceptMac()));
    chOle->setChecked(options.Get(OptionsValue::Ole).has_value() ? *options.Get(OptionsValue::Ole) != 0
                                                                 : host->AllowObjects());
    chEnc->setChecked(options.IsOne(OptionsValue::AutoEnc).value_or(host->AutoEncoding()));

    const StoredKey pages(reg, RegistryKeys::Pages, error);
    cbNum->setChecked(pages.IsOne(PagesValue::PrintN).value_or(true));
    cbFirst->setChecked(pages.IsOne(PagesValue::FirstPageN).value_or(false));
    spFNum->setValue(pages.Get(PagesValue::BeginN).value_or(1));
    // A position or alignment the group has no item for shows the default.
    const int position = pages.Get(PagesValue::Position).value_or(1);
    RadioGroup3->SetItemIndex(InRange(position, 0, 1) ? position : 1);
    const int allign = pages.Get(PagesValue::Allign).value_or(1);
    RadioGroup4->SetItemIndex(InRange(allign, 0, 2) ? allign : 1);
    cbTop->setChecked(pages.IsOne(PagesValue::TopBorder).value_or(false));
    cbBottom->setChecked(pages.IsOne(PagesValue::BottomBorder).value_or(false));
    cbLeft->setChecked(pages.IsOne(PagesValue::LeftBorder).value_or(false));
    cbRight->setChecked(pages.IsOne(PagesValue::RightBorder).value_or(false));
    cbWhite->setChecked(pages.IsOne(PagesValue::BlackWhite).value_or(false));

    const StoredKey marges(reg, RegistryKeys::Marges, error);
    const int unit = marges.Get(MargesValue::CodeMeasurement).value_or(0);
    RadioGroup5->SetItemIndex(InRange(unit, 0, 1) ? unit : 0);

    if (error)
        ReportRegistryError(*error);
}

void TfmSetup::EnabledItems()
{
    chFullClick();
    chIndClick();
    chEncClick();
    cbNumClick();
}

void TfmSetup::FormActivate()
{
    PageControl1->setCurrentIndex(0);
    PageChanged(0);
    Label3->clear();
    Label3->setToolTip(QString());
    Label4->setText(Tr(QlConsts::CommandLineInRegistry));
    BitBtn3->setEnabled(false);
    BitBtn7->setEnabled(false);
    CheckListBox1->setToolTip(Tr(QlConsts::CheckTypesHint).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    cbEncChange();
    rgChar->SetItemIndex(host->DosAdd());
    chEncClick();
}

void TfmSetup::chFullClick()
{
    chNoth->setEnabled(chFull->isChecked());
}

void TfmSetup::chIndClick()
{
    spInd->setEnabled(chInd->isChecked());
}

void TfmSetup::chEncClick()
{
    cbEnc->setEnabled(!chEnc->isChecked());
    chMac->setEnabled(chEnc->isChecked());
    cbEncChange();
}

void TfmSetup::cbEncChange()
{
    rgChar->setEnabled(chEnc->isChecked() || cbEnc->currentIndex() == 0);
}

void TfmSetup::cbNumClick()
{
    const bool on = cbNum->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{spFNum, cbFirst, RadioGroup3, RadioGroup4})
        w->setEnabled(on);
}
