// SPDX-License-Identifier: GPL-3.0-or-later
// The print commands: print, print preview, page setup, the printer list on the
// print button, and the run's progress in the caption and the status bar.
#include "view.h"

#include "pagedlg.h"
#include "pdftarget.h"
#include "qlconsts.h"
#include "qxprint.h"
#include "registrylayout.h"
#include "registrymessages.h"
#include "sysbib.h"

#include <QMenu>
#include <QPushButton>

#include <cmath>

void TfmView::WirePrintCommands()
{
    connect(Item(QStringLiteral("N13")), &QAction::triggered, this, &TfmView::sbPrintClick);
    connect(Item(QStringLiteral("mPreview")), &QAction::triggered, this, &TfmView::mPreviewClick);
    connect(Item(QStringLiteral("N5")), &QAction::triggered, this, &TfmView::mPageClick);
    connect(sbPrint, &QToolButton::clicked, this, &TfmView::sbPrintClick);
    connect(sbPreview, &QToolButton::clicked, this, &TfmView::mPreviewClick);
    // The printer list is the print button's context menu.
    sbPrint->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sbPrint, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu3->popup(sbPrint->mapToGlobal(pos)); });
    connect(PopupMenu3, &QMenu::aboutToShow, this, &TfmView::PopupMenu3Popup);
}

void TfmView::EnablePrintCommands()
{
    const bool hasText = !GEditor->IsEmpty();
    sbPrint->setEnabled(hasText);
    sbPreview->setEnabled(hasText);
    // The menu items carry the shortcuts; they follow the buttons.
    Item(QStringLiteral("N13"))->setEnabled(hasText);
    Item(QStringLiteral("mPreview"))->setEnabled(hasText);
}

bool TfmView::PrinterOk()
{
    if (ThePrinter)
        return true;
    platform::Printer& printer = platform::SystemPrinter();
    printer.Refresh();
    if (printer.Printers().empty())
        return false;
    ThePrinter = std::make_shared<TqxPrinter>(printer);
    ThePrinter->OnPage = [this](TqxPrinter*, const QString& mess, int size, int position) {
        PrintPage(mess, size, position);
    };
    PageSetup = std::make_shared<TPageSetupDialog>(printer);
    PageSetup->RegPath = QString::fromLatin1(RegistryKeys::Marges);
    PageSetup->SaveMargins = true;
    return true;
}

void TfmView::PrintPage(const QString& mess, int size, int position)
{
    if (!mess.isEmpty())
        WaitCaption(mess);
    else
        FillCaption();
    ProgressMode = 1;
    const auto progress = std::uint8_t(size >= 1 ? std::lround(double(position) / size * 100.0) : 0);
    if (progress != Progress.load()) {
        Progress = progress;
        RepaintProgress();
    }
}

void TfmView::RunPrintCommand(bool preview)
{
    if (GEditor->IsEmpty())
        return;
    if (!PrinterOk()) {
        ShowError(Tr(QlConsts::NoPrinterInstalled));
        return;
    }
    if (preview && IndentStep == 0)
        bbRight->hide();
    platform::Printer& printer = ThePrinter->PrinterObject();
    // Printing straight to the PDF printer needs its file; the preview asks when
    // its pages are printed.
    if (!preview && printer.IsPdf()) {
        const std::optional<QString> target = AskPdfTarget(CurFileName);
        if (!target)
            return;
        printer.SetOutputFileName(*target);
    }
    TextReady = false;
    QString failure;
    try {
        ThePrinter->SetTitle(CurFileName);
        try {
            ThePrinter->LoadSettings();
        } catch (const platform::RegistryError& error) {
            // Unreadable settings are told, and the pages made with what is known.
            ReportRegistryError(error);
        }
        if (preview)
            ThePrinter->Preview(GEditor);
        else
            ThePrinter->Print(GEditor, 1);
    } catch (const std::exception& error) {
        failure = QString::fromStdString(error.what());
    }
    TextReady = true;
    Progress = 0;
    RepaintProgress();
    FillCaption();
    if (!failure.isEmpty())
        ShowError(failure);
}

void TfmView::sbPrintClick()
{
    // Direct printing always numbers from 1; the start number is the preview's.
    RunPrintCommand(false);
}

void TfmView::mPreviewClick()
{
    RunPrintCommand(true);
}

void TfmView::mPageClick()
{
    if (!PrinterOk()) {
        ShowError(Tr(QlConsts::NoPrinterInstalled));
        return;
    }
    try {
        PageSetup->Execute();
    } catch (const platform::RegistryError& error) {
        ReportRegistryError(error);
    } catch (const std::exception& error) {
        ShowError(QString::fromStdString(error.what()));
    }
}

void TfmView::FillPrintersMenu()
{
    PopupMenu3->clear();
    platform::Printer& printer = ThePrinter ? ThePrinter->PrinterObject() : platform::SystemPrinter();
    printer.Refresh();
    QList<QAction*> actions;
    for (int i = 0; i < int(printer.Printers().size()); ++i) {
        auto* action = new QAction(printer.Printers()[std::size_t(i)].name, PopupMenu3);
        action->setCheckable(true);
        action->setChecked(i == printer.PrinterIndex());
        connect(action, &QAction::triggered, this, [this, i] { PrintersMenuClick(i); });
        actions << action;
    }
    PopupMenu3->addActions(actions);
}

void TfmView::PopupMenu3Popup()
{
    FillPrintersMenu();
}

void TfmView::PrintersMenuClick(int index)
{
    platform::Printer& printer = ThePrinter ? ThePrinter->PrinterObject() : platform::SystemPrinter();
    try {
        printer.SetPrinterIndex(index);
    } catch (const platform::EPrinter&) {
        // The list changed under the menu; the printer stays as it was.
    }
}
