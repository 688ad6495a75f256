// SPDX-License-Identifier: GPL-3.0-or-later
// Listing the printers.
#include "printerlist.h"

#include <QPrinterInfo>

namespace platform {

QString PdfPrinterName()
{
    return QStringLiteral("PDF");
}

std::vector<PrinterEntry> InstalledPrinters()
{
    std::vector<PrinterEntry> printers;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        printers.push_back({name, false});
    if (qEnvironmentVariableIsEmpty("QUILLET_NO_PDF_PRINTER"))
        printers.push_back({PdfPrinterName(), true});
    return printers;
}

int DefaultPrinterIndex(const std::vector<PrinterEntry>& printers)
{
    const QString system = QPrinterInfo::defaultPrinterName();
    int pdf = -1;
    for (int i = 0; i < int(printers.size()); ++i) {
        if (!printers[i].pdf && !system.isEmpty() && printers[i].name == system)
            return i;
        if (printers[i].pdf)
            pdf = i;
    }
    if (pdf >= 0)
        return pdf;
    return printers.empty() ? -1 : 0;
}

} // namespace platform
