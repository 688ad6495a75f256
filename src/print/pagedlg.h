// SPDX-License-Identifier: GPL-3.0-or-later
// TPageSetupDialog: the page setup dialog. Edits the four margins in millimetres
// or inches, the paper, the orientation and the printer; applies paper,
// orientation and printer to the printer object and keeps margins, unit and
// orientation in the registry key it is given.
#pragma once

#include "measureunit.h"
#include "printer.h"

#include <QString>

class TPageSetupDialog {
public:
    explicit TPageSetupDialog(platform::Printer& printer = platform::SystemPrinter());

    // The key of the margins under HKEY_CURRENT_USER, and whether Execute reads
    // and writes it.
    QString RegPath;
    bool SaveMargins = false;
    // Changing the unit converts the margins.
    TMeasureUnit MeasureUnit() const { return measureUnit; }
    void SetMeasureUnit(TMeasureUnit value);
    double MarginTop = 25.4;
    double MarginBottom = 25.4;
    double MarginLeft = 25.4;
    double MarginRight = 25.4;
    platform::TPrinterOrientation Orientation() const { return printer.Orientation(); }
    void SetOrientation(platform::TPrinterOrientation value) { printer.SetOrientation(value); }

    // Shows the dialog; true when the user confirmed it. A cancelled dialog
    // changes nothing. Raises ELinePrinter "None of installed printer" when there
    // is no printer to set up.
    bool Execute();

private:
    void LoadFromRegistry();
    void SaveToRegistry() const;

    platform::Printer& printer;
    TMeasureUnit measureUnit = TMeasureUnit::muMillimeters;
};
