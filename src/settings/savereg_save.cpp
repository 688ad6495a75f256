// SPDX-License-Identifier: GPL-3.0-or-later
// The Save buttons of the Appearance, Encoding and Print options pages, the Clear
// command and the page setup button. Each save is one change of the store: all
// of its values are written, or none; the running program takes its new
// settings only once they are stored.
#include "savereg.h"

#include "checklistbox.h"
#include "desktopsync.h"
#include "fileassoc.h"
#include "qlconsts.h"
#include "radiogroup.h"
#include "registry.h"
#include "registrylayout.h"
#include "shellmenus.h"
#include "sysbib.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>

#include <algorithm>

using platform::TRegistry;

namespace {

// The window bounds a first save gives a store that has none.
constexpr int DefaultTop = 3, DefaultLeft = 3, DefaultWidth = 681, DefaultHeight = 321;

int Flag(const QCheckBox* box)
{
    return box->isChecked() ? 1 : 0;
}

QString StyleString(const TSetupFont& font)
{
    QString style;
    for (bool on : {font.Bold, font.Italic, font.Underline})
        style += on ? QLatin1Char('1') : QLatin1Char('0');
    return style;
}

} // namespace

void TfmSetup::BitBtn1Click()
{
    const TSetupFont font = host->EditorFont();
    const std::int32_t color = host->EditorColor();
    const bool saved = Saved([&] {
        ChangeShellIntegration([&](TRegistry& reg) {
            reg.SetRootKey(platform::HKEY_CURRENT_USER);
            reg.OpenKey(RegistryKeys::Options, true);
            reg.WriteString(OptionsValue::Font, font.Name.toStdString());
            reg.WriteInteger(OptionsValue::Size, font.Size);
            reg.WriteInteger(OptionsValue::Charset, font.Charset);
            reg.WriteInteger(OptionsValue::FColor, font.Color);
            reg.WriteString(OptionsValue::FStyle, StyleString(font).toStdString());
            reg.WriteInteger(OptionsValue::Color, color);
            const int hidden = chNoth->isEnabled() && chNoth->isChecked() ? 1 : 0;
            reg.WriteInteger(OptionsValue::Window, 1 - Flag(chFull) - hidden);
            reg.WriteInteger(OptionsValue::Indent, chInd->isChecked() ? spInd->value() : 0);
            reg.WriteInteger(OptionsValue::AllEncBut, Flag(chEncAll));
            reg.WriteInteger(OptionsValue::ReadOnly, Flag(chReadOnly));
            reg.WriteInteger(OptionsValue::ParBut, Flag(chPar));
            reg.WriteInteger(OptionsValue::Wrap, Flag(chWrap));
            reg.WriteInteger(OptionsValue::Journal, Flag(chJournal));
            reg.WriteInteger(OptionsValue::JournalDelay, spJournal->value());
            const char* bounds[] = {OptionsValue::Top, OptionsValue::Left, OptionsValue::Width, OptionsValue::Height};
            if (!std::all_of(std::begin(bounds), std::end(bounds), [&](const char* n) { return reg.ValueExists(n); })) {
                reg.WriteInteger(OptionsValue::Top, DefaultTop);
                reg.WriteInteger(OptionsValue::Left, DefaultLeft);
                reg.WriteInteger(OptionsValue::Width, DefaultWidth);
                reg.WriteInteger(OptionsValue::Height, DefaultHeight);
            }
            const std::string program = ProgramPath();
            WriteExplorerMenu(reg, program, chExpl->isChecked(), Tr(QlConsts::LoadWithQuillet).toStdString());
            WriteStartMenu(reg, program, chStart->isChecked());
        });
    });
    if (!saved)
        return;
    host->TakeDefaultFont();
    host->SetReadOnly(chReadOnly->isChecked());
    host->SetJournal(chJournal->isChecked(), spJournal->value() * 1000);
    InformationBox(Tr(QlConsts::OptionsSaved));
}

void TfmSetup::BitBtn11Click()
{
    const bool exceptMac = chMac->isEnabled() && chMac->isChecked();
    const bool saved = Saved([&] {
        TRegistry reg(platform::HKEY_CURRENT_USER);
        platform::RegistryTransaction transaction(reg);
        reg.OpenKey(RegistryKeys::Options, true);
        reg.WriteInteger(OptionsValue::AutoEnc, Flag(chEnc));
        // The default encoding counts only while detection is off.
        if (cbEnc->isEnabled())
            reg.WriteInteger(OptionsValue::RusCode, cbEnc->currentData().toInt());
        reg.WriteInteger(OptionsValue::ParNum, cbParN->currentIndex());
        reg.WriteInteger(OptionsValue::UnderLine, cbLine->currentIndex());
        reg.WriteInteger(OptionsValue::AutoUrl, Flag(chUrl));
        reg.WriteInteger(OptionsValue::ExceptMac, exceptMac ? 1 : 0);
        if (rgChar->isEnabled())
            reg.WriteInteger(OptionsValue::PDos, rgChar->ItemIndex());
        reg.WriteBool(OptionsValue::Ole, chOle->isChecked());
        transaction.Commit();
    });
    if (!saved)
        return;
    host->SetAutoEncoding(chEnc->isChecked());
    host->SetAutoURLDetect(chUrl->isChecked());
    host->SetExceptMac(exceptMac);
    if (rgChar->isEnabled())
        host->SetDosAdd(rgChar->ItemIndex());
    InformationBox(Tr(QlConsts::OptionsSaved));
}

void TfmSetup::BitBtn8Click()
{
    const bool saved = Saved([&] {
        TRegistry reg(platform::HKEY_CURRENT_USER);
        platform::RegistryTransaction transaction(reg);
        reg.OpenKey(RegistryKeys::Pages, true);
        reg.WriteInteger(PagesValue::PrintN, Flag(cbNum));
        reg.WriteInteger(PagesValue::FirstPageN, Flag(cbFirst));
        reg.WriteInteger(PagesValue::BeginN, spFNum->value());
        reg.WriteInteger(PagesValue::Position, RadioGroup3->ItemIndex());
        reg.WriteInteger(PagesValue::Allign, RadioGroup4->ItemIndex());
        reg.WriteInteger(PagesValue::TopBorder, Flag(cbTop));
        reg.WriteInteger(PagesValue::BottomBorder, Flag(cbBottom));
        reg.WriteInteger(PagesValue::LeftBorder, Flag(cbLeft));
        reg.WriteInteger(PagesValue::RightBorder, Flag(cbRight));
        reg.WriteInteger(PagesValue::BlackWhite, Flag(cbWhite));
        reg.OpenKey(RegistryKeys::Marges, true);
        reg.WriteInteger(MargesValue::CodeMeasurement, RadioGroup5->ItemIndex());
        transaction.Commit();
    });
    if (saved)
        InformationBox(Tr(QlConsts::OptionsSaved));
}

void TfmSetup::BitBtn10Click()
{
    host->PageSetup();
}

void TfmSetup::BitBtn6Click()
{
    if (ConfirmationBox(Tr(QlConsts::RemoveAllData), MsgButton::Yes | MsgButton::No) != MsgButton::Yes)
        return;
    std::vector<std::string> listed;
    for (int row = 0; row < CheckListBox1->count(); ++row)
        listed.push_back(ExtAt(row).toStdString());
    const bool cleared = Saved([&] {
        ChangeShellIntegration([&](TRegistry& reg) {
            TFileAssociations associations(reg, ProgramPath());
            // The extensions of the list and the ones saved before, so that an
            // extension removed from the list but not yet saved is given back too:
            // once its bookkeeping is gone, it could never be.
            std::vector<std::string> extensions = listed;
            for (const std::string& stored : associations.StoredExtensions())
                if (std::none_of(extensions.begin(), extensions.end(),
                                 [&](const std::string& ext) { return SameRegistryName(ext, stored); }))
                    extensions.push_back(stored);
            for (const std::string& ext : extensions)
                if (associations.IsMyAssociation(ext))
                    associations.DeleteAssociation(ext);
            DeleteProgramKeys(reg);
        });
    });
    if (!cleared)
        return;
    done(QDialog::Accepted);
    host->CloseAllWindows();
}
