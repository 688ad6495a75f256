// SPDX-License-Identifier: GPL-3.0-or-later
// The printers a user can print to: those the print system knows (CUPS, through
// Qt), then the built-in PDF printer, present on every machine.
#pragma once

#include <QString>

#include <vector>

namespace platform {

struct PrinterEntry {
    QString name;
    bool pdf = false;   // the built-in printer that writes a PDF file
};

// The name the built-in printer is listed under.
QString PdfPrinterName();

// The print system's printers in its order, then the PDF printer. Setting
// QUILLET_NO_PDF_PRINTER in the environment leaves the PDF printer out, for
// desktops that must not write print files.
std::vector<PrinterEntry> InstalledPrinters();

// The index of the print system's default printer in that list; the PDF printer
// when there is no default; -1 for an empty list.
int DefaultPrinterIndex(const std::vector<PrinterEntry>& printers);

} // namespace platform
