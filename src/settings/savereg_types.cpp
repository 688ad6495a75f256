// SPDX-License-Identifier: GPL-3.0-or-later
// The file-types page: the extension list with the saved state of each check
// mark, Add, Remove, and Save, which takes extensions over and gives them back.
#include "savereg.h"

#include "checklistbox.h"
#include "desktopsync.h"
#include "extensioninput.h"
#include "fileassoc.h"
#include "qlconsts.h"
#include "registrymessages.h"
#include "sysbib.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>

using platform::TRegistry;

namespace {

// The list a store without saved extensions starts with.
const char* const DefaultExtensions[] = {"TXT", "LOG", "CFG", "DIZ", "NFO", "LST", "INI", "EXC", "DIC", "SCP"};

} // namespace

QString TfmSetup::ExtAt(int row) const
{
    const QListWidgetItem* item = CheckListBox1->item(row);
    return item ? item->text() : QString();
}

void TfmSetup::AddListItem(const QString& ext, bool checked)
{
    loadingList = true;
    auto* item = new QListWidgetItem(ext, CheckListBox1);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    item->setSizeHint(QSize(0, TCheckListBox::RowHeight));
    OldChecked.push_back(checked);
    loadingList = false;
}

void TfmSetup::InitExt()
{
    CheckListBox1->clear();
    OldChecked.clear();
    ListChanged = false;
    std::vector<std::string> stored;
    std::vector<bool> own;
    try {
        TRegistry reg(platform::HKEY_CURRENT_USER);
        TFileAssociations associations(reg, ProgramPath());
        stored = associations.StoredExtensions();
        if (stored.empty())
            AddExt();
        for (const std::string& ext : stored)
            own.push_back(associations.ListedAsOwn(ext));
    } catch (const platform::RegistryError& error) {
        // The page still opens: with the default list, nothing of it ours.
        ReportRegistryError(error);
        stored.clear();
        own.clear();
        CheckListBox1->clear();
        OldChecked.clear();
        AddExt();
    }
    for (std::size_t i = 0; i < stored.size(); ++i)
        AddListItem(QString::fromStdString(stored[i]), own[i]);
}

void TfmSetup::AddExt()
{
    for (const char* ext : DefaultExtensions)
        AddListItem(QString::fromLatin1(ext), false);
}

bool TfmSetup::ExtExist(const QString& ext) const
{
    // One registry value per extension: "txt" and "TXT" are one entry.
    for (int row = 0; row < CheckListBox1->count(); ++row)
        if (SameRegistryName(ExtAt(row).toStdString(), ext.toStdString()))
            return true;
    return false;
}

bool TfmSetup::IsChecked() const
{
    if (ListChanged)
        return true;
    for (int row = 0; row < CheckListBox1->count(); ++row)
        if (CheckListBox1->Checked(row) != OldChecked[std::size_t(row)])
            return true;
    return false;
}

bool TfmSetup::IsCanDelete() const
{
    const int row = CheckListBox1->currentRow();
    if (row < 0 || !CheckListBox1->item(row)->isSelected())
        return false;
    return !CheckListBox1->Checked(row) && !OldChecked[std::size_t(row)];
}

void TfmSetup::ApplyRemoveRule()
{
    BitBtn7->setEnabled(IsCanDelete());
}

void TfmSetup::CommLineShow()
{
    const int row = CheckListBox1->currentRow();
    if (row < 0 || !CheckListBox1->item(row)->isSelected()) {
        Label3->clear();
        Label3->setToolTip(QString());
        Label4->setText(Tr(QlConsts::CommandLineInRegistry));
        return;
    }
    const QString ext = ExtAt(row);
    QString command;
    try {
        TRegistry reg(platform::HKEY_CLASSES_ROOT);
        command = QString::fromStdString(TFileAssociations(reg, ProgramPath()).CommStr(ext.toStdString()));
    } catch (const platform::RegistryError& error) {
        ReportRegistryError(error);
    }
    Label3->setText(command);
    Label3->setToolTip(command);
    Label4->setText(Tr(QlConsts::CommandLineInRegistry) + Tr(QlConsts::ForFilesMask) + ext);
}

void TfmSetup::CheckListBox1Click()
{
    CommLineShow();
    ApplyRemoveRule();
}

void TfmSetup::CheckListBox1ClickCheck()
{
    BitBtn3->setEnabled(IsChecked());
    ApplyRemoveRule();
    CheckListBox1->viewport()->update();
}

void TfmSetup::BitBtn5Click()
{
    const std::optional<QString> text =
        CurrentPrompter().InputBox(Tr(QlConsts::ExtensionInputCaption), Tr(QlConsts::EnterNewExtension), QString());
    if (!text)
        return;
    const QString ext = NormalizeExtension(*text);
    if (ext.isEmpty() || ExtExist(ext))
        return;
    if (!IsValidExtension(ext)) {
        ErrorBox(Tr(QlConsts::InvalidExtension) + ext);
        return;
    }
    bool own = false;
    try {
        TRegistry reg(platform::HKEY_CLASSES_ROOT);
        own = TFileAssociations(reg, ProgramPath()).ListedAsOwn(ext.toStdString());
    } catch (const platform::RegistryError& error) {
        ReportRegistryError(error);
    }
    AddListItem(ext, own);
    CheckListBox1->setCurrentRow(CheckListBox1->count() - 1);
    CommLineShow();
    ListChanged = true;
    BitBtn3->setEnabled(true);
    ApplyRemoveRule();
}

void TfmSetup::BitBtn7Click()
{
    if (!IsCanDelete()) {
        BitBtn7->setEnabled(false);
        return;
    }
    const int row = CheckListBox1->currentRow();
    const QString ext = ExtAt(row);
    if (ConfirmationBox(Tr(QlConsts::RemoveExtension) + ext + Tr(QlConsts::RemoveExtensionEnd),
                        MsgButton::Yes | MsgButton::No)
        != MsgButton::Yes)
        return;
    loadingList = true;
    delete CheckListBox1->takeItem(row);
    loadingList = false;
    OldChecked.erase(OldChecked.begin() + row);
    ListChanged = true;
    BitBtn3->setEnabled(true);
    ApplyRemoveRule();
    CommLineShow();
}

void TfmSetup::BitBtn3Click()
{
    if (!IsChecked())
        return;
    std::vector<std::string> listed;
    std::vector<bool> checked;
    for (int row = 0; row < CheckListBox1->count(); ++row) {
        listed.push_back(ExtAt(row).toStdString());
        checked.push_back(CheckListBox1->Checked(row));
    }
    const bool saved = Saved([&] {
        ChangeShellIntegration([&](TRegistry& reg) {
            TFileAssociations associations(reg, ProgramPath());
            for (std::size_t i = 0; i < listed.size(); ++i) {
                if (checked[i] == OldChecked[i])
                    associations.KeepBookkeeping(listed[i]);
                else if (checked[i])
                    associations.TakeOver(listed[i]);
                else
                    associations.DeleteAssociation(listed[i]);
            }
            associations.DeleteLostExts(listed);
        });
    });
    if (!saved)
        return;
    // Only a stored change becomes the saved state of the marks.
    OldChecked = checked;
    CommLineShow();
    ListChanged = false;
    CheckListBox1->viewport()->update();
    ApplyRemoveRule();
    BitBtn3->setEnabled(false);
    InformationBox(Tr(QlConsts::OptionsSaved));
}
