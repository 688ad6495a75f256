// SPDX-License-Identifier: GPL-3.0-or-later
// The Language menu: the language files beside the executable, the override stored
// for this executable, applied at the next start.
#include "view.h"

#include "languagefiles.h"
#include "languageoverride.h"
#include "qlconsts.h"
#include "registrymessages.h"
#include "shell.h"
#include "sysbib.h"


void TfmView::FillLangMenu()
{
    QMenu* language = Menu(QStringLiteral("meLang"));
    const QString executable = platform::SelfExecutable();
    QString current;
    try {
        current = ReadLanguageOverride(executable).left(2).toUpper();
    } catch (const platform::RegistryError&) {
        // Read as no choice; the store's trouble is told where settings are read.
    }
    const QString user = UserLanguageCode();

    // Everything after "Default" and its separator is rebuilt.
    const QList<QAction*> actions = language->actions();
    for (qsizetype i = 2; i < actions.size(); ++i) {
        language->removeAction(actions[i]);
        // Later: the item may be the one whose choice is running.
        actions[i]->deleteLater();
    }
    QAction* byDefault = Item(QStringLiteral("meDef"));
    byDefault->setCheckable(true);
    byDefault->setChecked(current.isEmpty());
    byDefault->setEnabled(!byDefault->isChecked());

    QList<QAction*> added;
    bool anyChecked = false;
    for (const LanguageFile& file : LanguageFiles(executable)) {
        QAction* item = language->addAction(file.Name);
        item->setObjectName(QStringLiteral("meLang") + file.Code);
        item->setData(file.Code);
        item->setCheckable(true);
        item->setChecked(file.Code == current);
        anyChecked = anyChecked || item->isChecked();
        const QString code = file.Code;
        connect(item, &QAction::triggered, this, [this, code] { SetLocalOverrides(code); });
        added << item;
    }
    if (!anyChecked)
        for (QAction* item : std::as_const(added))
            item->setChecked(item->data().toString() == user);
}

void TfmView::SetLocalOverrides(const QString& code)
{
    try {
        WriteLanguageOverride(platform::SelfExecutable(), code);
    } catch (const platform::RegistryError& error) {
        ReportRegistryError(error);
        return;
    }
    InformationBox(Tr(QlConsts::LanguageAtNextStart));
}

void TfmView::meDefClick()
{
    try {
        if (!DeleteLanguageOverride(platform::SelfExecutable()))
            return;
    } catch (const platform::RegistryError& error) {
        ReportRegistryError(error);
        return;
    }
    InformationBox(Tr(QlConsts::LanguageAtNextStart));
}

void TfmView::WireLanguageCommands()
{
    connect(Menu(QStringLiteral("meLang")), &QMenu::aboutToShow, this, &TfmView::FillLangMenu);
    connect(Item(QStringLiteral("meDef")), &QAction::triggered, this, &TfmView::meDefClick);
}
