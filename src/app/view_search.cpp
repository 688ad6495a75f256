// SPDX-License-Identifier: GPL-3.0-or-later
// Find, find next, replace, replace next, replace all and the bookmarks: the
// modeless search dialogs (at most one exists), their strings in the Search key,
// and the F3/F4 keys in the editor and in the dialogs.
#include "view.h"

#include "casemap.h"
#include "finddialog.h"
#include "qlconsts.h"
#include "registrymessages.h"
#include "richedit.h"
#include "searchstrings.h"
#include "sysbib.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>

namespace {

// How often a long Replace All lets the window repaint its progress.
constexpr qint64 ReplaceAllRepaintMs = 100;

QString UpperWinText(const QString& text)
{
    const std::u16string upper = UpperWin(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                              std::size_t(text.size())));
    return QString(reinterpret_cast<const QChar*>(upper.data()), qsizetype(upper.size()));
}

// Whether a text equals the dialog's find text: exactly when case is to match,
// else after both are upper-cased by the Windows-1251 rule.
bool MatchesFindText(const TFindDialog& dialog, const QString& text)
{
    const QString find = dialog.FindText();
    return dialog.MatchCase() ? text == find : UpperWinText(text) == UpperWinText(find);
}

SearchStrings ReadStrings()
{
    try {
        return ReadSearchStrings();
    } catch (const platform::RegistryError& error) {
        ReportRegistryError(error);
        return {};
    }
}

} // namespace

void TfmView::WireSearchCommands()
{
    auto on = [this](const char* name, auto method) {
        QAction* item = Item(QString::fromLatin1(name));
        item->setEnabled(true);
        connect(item, &QAction::triggered, this, method);
    };
    on("N21", &TfmView::sbFindClick);
    on("N22", &TfmView::F3Key);
    on("N23", &TfmView::sbReplClick);
    on("N32", &TfmView::F4Key);
    on("N24", &TfmView::N24Click);
    on("N25", &TfmView::N25Click);
    Item(QStringLiteral("N25"))->setEnabled(false);
    for (QToolButton* b : {sbFind, sbRepl})
        b->setEnabled(true);
    connect(sbFind, &QToolButton::clicked, this, &TfmView::sbFindClick);
    connect(sbRepl, &QToolButton::clicked, this, &TfmView::sbReplClick);
    OnMenuOpening(Menu(QStringLiteral("N20")), &TfmView::N20Click, &TfmView::SearchShortcutRule);
}

void TfmView::DiscardDialog(QPointer<TFindDialog>& dialog)
{
    if (!dialog)
        return;
    // What was typed into a showing dialog is kept, as when it is closed.
    dialog->CloseDialog();
    dialog->disconnect(this);
    dialog->deleteLater();
    dialog = nullptr;
}

void TfmView::OkFindDialog()
{
    if (!FindDialog1) {
        FindDialog1 = new TFindDialog(TFindDialog::TKind::Find, this);
        FindDialog1->SetDown(true);
        connect(FindDialog1, &TFindDialog::Find, this, &TfmView::FindNew);
        connect(FindDialog1, &TFindDialog::Closed, this, &TfmView::FindDialog1Close);
        TFindDialog* dialog = FindDialog1;
        connect(FindDialog1, &TFindDialog::FunctionKey, this, [this, dialog](int key) { DialogKey(dialog, key); });
    }
    DiscardDialog(ReplaceDialog1);
    const SearchStrings strings = ReadStrings();
    if (strings.findStr)
        FindDialog1->SetFindText(*strings.findStr);
}

void TfmView::OkReplaceDialog()
{
    if (!ReplaceDialog1) {
        ReplaceDialog1 = new TFindDialog(TFindDialog::TKind::Replace, this);
        ReplaceDialog1->SetDown(true);
        ReplaceDialog1->SetMatchCase(true);
        connect(ReplaceDialog1, &TFindDialog::Find, this, &TfmView::FindNew);
        connect(ReplaceDialog1, &TFindDialog::Replace, this, &TfmView::ReplaceDialog1Replace);
        connect(ReplaceDialog1, &TFindDialog::Closed, this, &TfmView::ReplaceDialog1Close);
        TFindDialog* dialog = ReplaceDialog1;
        connect(ReplaceDialog1, &TFindDialog::FunctionKey, this, [this, dialog](int key) { DialogKey(dialog, key); });
    }
    DiscardDialog(FindDialog1);
    const SearchStrings strings = ReadStrings();
    if (strings.findReplStr)
        ReplaceDialog1->SetFindText(*strings.findReplStr);
    if (strings.replStr)
        ReplaceDialog1->SetReplaceText(*strings.replStr);
}

void TfmView::sbFindClick()
{
    OkFindDialog();
    FindDialog1->Execute();
}

void TfmView::sbReplClick()
{
    OkReplaceDialog();
    ReplaceDialog1->Execute();
}

void TfmView::FindDialog1Close()
{
    if (!FindDialog1)
        return;
    try {
        WriteSearchStrings({FindDialog1->FindText(), std::nullopt, std::nullopt});
    } catch (const platform::RegistryError& error) {
        ReportRegistryError(error);
    }
}

void TfmView::ReplaceDialog1Close()
{
    if (!ReplaceDialog1)
        return;
    try {
        WriteSearchStrings({std::nullopt, ReplaceDialog1->FindText(), ReplaceDialog1->ReplaceText()});
    } catch (const platform::RegistryError& error) {
        ReportRegistryError(error);
    }
}

void TfmView::CloseDialogs()
{
    if (FindDialog1)
        FindDialog1->CloseDialog();
    if (ReplaceDialog1)
        ReplaceDialog1->CloseDialog();
}

bool TfmView::OkCanClose() const
{
    return !(FindDialog1 && FindDialog1->isVisible()) && !(ReplaceDialog1 && ReplaceDialog1->isVisible());
}

void TfmView::FindNew()
{
    TFindDialog* source = ReplaceDialog1 ? ReplaceDialog1.data() : FindDialog1.data();
    if (!source)
        return;
    const QString text = source->FindText();
    TSearchTypes options;
    if (!source->Down())
        options.Include(TSearchType::stBackward);
    if (source->MatchCase())
        options.Include(TSearchType::stMatchCase);
    if (source->WholeWord())
        options.Include(TSearchType::stWholeWord);
    std::int32_t start = 0;
    std::int32_t length = 0;
    if (source->Down()) {
        start = GEditor->SelStart() + GEditor->SelLength();
        length = GEditor->Window()->GetTextLength() - start + 1;
    } else {
        start = GEditor->SelStart();
        length = start;
    }
    const std::int32_t found = text.isEmpty() ? -1 : GEditor->FindText(text, start, length, options);
    if (found < 0) {
        const QPointer<TFindDialog> dialog(source);
        CurrentPrompter().Message(MsgKind::Information, Tr(QlConsts::InformationCaption),
                                  Tr(QlConsts::SubstringNotFound) + QLatin1Char('"') + text + QLatin1Char('"'),
                                  MsgButton::Ok);
        // The desktop hands the focus back to the main window when the box goes;
        // the user goes on in the dialog, so it takes the focus again.
        if (dialog && dialog->isVisible()) {
            dialog->raise();
            dialog->activateWindow();
        }
        return;
    }
    GEditor->Window()->setFocus();
    GEditor->Window()->SetSel(found, found + std::int32_t(text.size()));
    GEditor->Window()->ScrollCaret();
    // The dialog comes forward again, so that Find Next can be pressed again.
    TFindDialog* dialog = FindDialog1 ? FindDialog1.data() : ReplaceDialog1.data();
    if (dialog && dialog->isVisible())
        dialog->activateWindow();
}

bool TfmView::ReplaceNew()
{
    if (!ReplaceDialog1)
        return false;
    const QString find = ReplaceDialog1->FindText();
    // An empty find text matches nothing: it would insert the replacement at the caret.
    if (find.isEmpty() || GEditor->ReadOnly())
        return false;
    if (!MatchesFindText(*ReplaceDialog1, GEditor->SelText()))
        return false;
    GEditor->Window()->ReplaceSel(ReplaceDialog1->ReplaceText(), true);
    if (ReplaceDialog1->isVisible())
        ReplaceDialog1->activateWindow();
    return true;
}

void TfmView::ReplaceDialog1Replace(bool all)
{
    if (!ReplaceDialog1)
        return;
    if (!all) {
        ReplaceNew();
        return;
    }
    TextReady = false;
    ReplaceDialog1->CloseDialog();
    const QString find = ReplaceDialog1->FindText();
    const QString replacement = ReplaceDialog1->ReplaceText();
    platform::RichEdit* control = GEditor->Window();
    int count = 0;
    if (!GEditor->ReadOnly()) {
        // The editor draws once, at the end, while the status bar shows how far the
        // replacing has come; no key or click reaches the text meanwhile.
        ShowRichEdit(false);
        control->clearFocus();
        QElapsedTimer sinceRepaint;
        sinceRepaint.start();
        const TFindDialog& dialog = *ReplaceDialog1;
        count = control->ReplaceEach(
            find, replacement, dialog.MatchCase() ? platform::FR_MATCHCASE : 0u,
            [&dialog](const QString& matched) { return MatchesFindText(dialog, matched); },
            [&](int position, int length) {
                if (sinceRepaint.elapsed() < ReplaceAllRepaintMs)
                    return;
                ProgressMode = 1;
                Progress = std::uint8_t(std::min<std::int64_t>(99, std::int64_t(position) * 100 / std::max(1, length)));
                RepaintProgress();
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                sinceRepaint.restart();
            });
        EndProgress();
        ShowRichEdit(true);
        control->ScrollCaret();
    }
    CurrentPrompter().Message(MsgKind::Information, Tr(QlConsts::InformationCaption),
                              QString::number(count) + Tr(QlConsts::ReplacementsDone) + find + Tr(QlConsts::ReplacedBy)
                                  + replacement,
                              MsgButton::Ok);
    TextReady = true;
    GEditorChange();
    GEditorSelectionChange();
}

void TfmView::F3Key()
{
    if (!FindDialog1 && !ReplaceDialog1) {
        sbFindClick();
        return;
    }
    CloseDialogs();
    FindNew();
}

void TfmView::F4Key()
{
    if (!ReplaceDialog1) {
        sbReplClick();
        return;
    }
    CloseDialogs();
    ReplaceNew();
}

void TfmView::DialogKey(TFindDialog* dialog, int key)
{
    if (key == Qt::Key_F3)
        FindNew();
    else if (key == Qt::Key_F4 && dialog == ReplaceDialog1)
        ReplaceNew();
    else
        return;
    CloseDialogs();
}

void TfmView::N20Click()
{
    OkFindDialog();
    Item(QStringLiteral("N22"))->setEnabled(!FindDialog1->FindText().isEmpty());
    OkReplaceDialog();
    Item(QStringLiteral("N32"))->setEnabled(!ReplaceDialog1->FindText().isEmpty()
                                            && !ReplaceDialog1->ReplaceText().isEmpty());
    Item(QStringLiteral("N25"))->setEnabled(Bookmark >= 0);
}

void TfmView::SearchShortcutRule()
{
    // Opening the menu readies both dialogs and so leaves only the Replace one; a
    // bookmark key must not throw away the Find dialog that F3 searches with.
    Item(QStringLiteral("N25"))->setEnabled(Bookmark >= 0);
}

void TfmView::N24Click()
{
    Bookmark = GEditor->SelStart();
}

void TfmView::N25Click()
{
    if (Bookmark < 0)
        return;
    GEditor->Window()->SetSel(Bookmark, Bookmark);
    GEditor->Window()->ScrollCaret();
}
