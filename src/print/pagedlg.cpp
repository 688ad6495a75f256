// SPDX-License-Identifier: GPL-3.0-or-later
// The page setup dialog through the prompter, and its registry values.
#include "pagedlg.h"

#include "printerrors.h"
#include "prompter.h"
#include "qlconsts.h"
#include "registry.h"
#include "registrylayout.h"
#include "registrymessages.h"
#include "storedprintkey.h"

using platform::TRegistry;

namespace {

QPageLayout::Unit LayoutUnit(TMeasureUnit unit)
{
    return unit == TMeasureUnit::muInches ? QPageLayout::Inch : QPageLayout::Millimeter;
}

} // namespace

TPageSetupDialog::TPageSetupDialog(platform::Printer& printerObject) : printer(printerObject) {}

void TPageSetupDialog::SetMeasureUnit(TMeasureUnit value)
{
    if (value == measureUnit)
        return;
    for (double* margin : {&MarginTop, &MarginBottom, &MarginLeft, &MarginRight})
        *margin = ConvertLength(*margin, measureUnit, value);
    measureUnit = value;
}

bool TPageSetupDialog::Execute()
{
    if (SaveMargins)
        LoadFromRegistry();
    if (printer.PrinterIndex() < 0)
        throw ELinePrinter(Tr(QlConsts::NoPrinterInstalled));

    PageSetupRequest request;
    for (int i = 0; i < int(printer.Printers().size()); ++i) {
        request.printers << printer.Printers()[std::size_t(i)].name;
        if (printer.Printers()[std::size_t(i)].pdf)
            request.pdfPrinter = i;
    }
    request.printerIndex = printer.PrinterIndex();
    QPageLayout paper = printer.PageLayout();
    paper.setUnits(LayoutUnit(measureUnit));
    request.layout = QPageLayout(paper.pageSize(), paper.orientation(),
                                 QMarginsF(MarginLeft, MarginTop, MarginRight, MarginBottom), LayoutUnit(measureUnit),
                                 paper.minimumMargins());

    const std::optional<PageSetupAnswer> answer = CurrentPrompter().PageSetupDialog(request);
    if (!answer)
        return false;

    if (answer->printerIndex != printer.PrinterIndex()) {
        try {
            printer.SetPrinterIndex(answer->printerIndex);
        } catch (const platform::EPrinter&) {
            throw ELinePrinter(Tr(QlConsts::NoPrinterInstalled));
        }
    }
    printer.SetPageLayout(answer->layout);
    // The unit last shown in the dialog becomes the unit of the margins; any
    // other unit Qt offers is read in the current one.
    QPageLayout chosen = answer->layout;
    if (chosen.units() == QPageLayout::Millimeter)
        measureUnit = TMeasureUnit::muMillimeters;
    else if (chosen.units() == QPageLayout::Inch)
        measureUnit = TMeasureUnit::muInches;
    chosen.setUnits(LayoutUnit(measureUnit));
    const QMarginsF margins = chosen.margins();
    MarginLeft = margins.left();
    MarginTop = margins.top();
    MarginRight = margins.right();
    MarginBottom = margins.bottom();
    if (SaveMargins)
        SaveToRegistry();
    return true;
}

void TPageSetupDialog::LoadFromRegistry()
{
    // A value that cannot be used keeps what the dialog holds; the others still
    // count, and the first failure is told before the dialog shows.
    std::optional<platform::RegistryError> error;
    StoredPrintKey reg(RegPath.toUtf8().constData(), error);
    if (reg.Found()) {
        // The stored margins are in the stored unit: the unit comes first, so that
        // converting it does not convert them.
        if (const auto unit = reg.Integer(MargesValue::CodeMeasurement))
            SetMeasureUnit(*unit != 0 ? TMeasureUnit::muInches : TMeasureUnit::muMillimeters);
        const std::pair<const char*, double*> margins[] = {{MargesValue::MarginLeft, &MarginLeft},
                                                           {MargesValue::MarginTop, &MarginTop},
                                                           {MargesValue::MarginBottom, &MarginBottom},
                                                           {MargesValue::MarginRight, &MarginRight}};
        for (const auto& [name, margin] : margins)
            if (const auto stored = reg.Length(name))
                *margin = *stored;
        if (const auto direction = reg.Integer(MargesValue::CodeDirection))
            printer.SetOrientation(*direction == 1 ? platform::TPrinterOrientation::poPortrait
                                                   : platform::TPrinterOrientation::poLandscape);
    }
    if (error)
        ReportRegistryError(*error);
}

void TPageSetupDialog::SaveToRegistry() const
{
    TRegistry reg(platform::HKEY_CURRENT_USER);
    reg.OpenKey(RegPath.toStdString(), true);
    platform::RegistryTransaction transaction(reg);
    reg.WriteFloat(MargesValue::MarginLeft, MarginLeft);
    reg.WriteFloat(MargesValue::MarginTop, MarginTop);
    reg.WriteFloat(MargesValue::MarginBottom, MarginBottom);
    reg.WriteFloat(MargesValue::MarginRight, MarginRight);
    reg.WriteInteger(MargesValue::CodeMeasurement, measureUnit == TMeasureUnit::muInches ? 1 : 0);
    reg.WriteInteger(MargesValue::CodeDirection,
                     printer.Orientation() == platform::TPrinterOrientation::poPortrait ? 1 : 0);
    transaction.Commit();
}
