// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the printer component's settings: print options from the key Pages,
// margins, unit and orientation from the key Marges.
#include "qxprint.h"

#include "registrylayout.h"
#include "storedprintkey.h"

#include <QLocale>

#include <algorithm>
#include <optional>
#include <tuple>

namespace {

// The page-number column spans about the text width of the paper's side:
// 160 mm across an upright sheet, 230 mm across a lying one.
constexpr double PortraitNumberColumn = 160.0;
constexpr double LandscapeNumberColumn = 230.0;

// The margins a new printer component has, in millimetres.
constexpr double DefaultMarginLeft = 25.0;
constexpr double DefaultMarginTop = 30.0;
constexpr double DefaultMarginBottom = 25.0;
constexpr double DefaultMarginRight = 15.0;

} // namespace

// Every value is read on its own: one that cannot be used gets its built-in
// default and the others still count. The first such failure is raised once all
// is read, so that the caller can tell it and print with what was read.
void TqxPrinter::LoadSettings()
{
    std::optional<platform::RegistryError> error;
    LoadMargins(error);

    // The column width is written in millimetres; in inch mode it is converted,
    // so that the column is as wide on paper in both units.
    const double millimetres =
        Orientation() == TPrinterOrientation::poLandscape ? LandscapeNumberColumn : PortraitNumberColumn;
    const QString widthWord =
        QLocale::system().toString(ConvertLength(millimetres, TMeasureUnit::muMillimeters, measureUnit), 'g', 6);

    StoredPrintKey pages(RegistryKeys::Pages, error);
    if (pages.Found()) {
        const auto printN = pages.Integer(PagesValue::PrintN);
        const auto firstPageN = pages.Integer(PagesValue::FirstPageN);
        const auto beginN = pages.Integer(PagesValue::BeginN);
        const auto position = pages.Integer(PagesValue::Position);
        const auto allign = pages.Integer(PagesValue::Allign);
        FNoNumbers = printN && *printN == 0;
        FSkipFirstNumber = !firstPageN || *firstPageN == 0;
        // Beyond its range the number would run past the largest integer.
        FBeginNumber = std::clamp(beginN.value_or(1), PagesValue::BeginNMin, PagesValue::BeginNMax);
        if (position && *position == 0) {
            Header = QStringLiteral("{$PAGE}");
            Footer.clear();
        } else {
            Header.clear();
            Footer = QStringLiteral("{$PAGE}");
        }
        if (allign) {
            QString& format = Header.isEmpty() ? FooterFormat : HeaderFormat;
            switch (*allign) {
            case 0: format = QStringLiteral(">10"); break;
            case 1: format = QStringLiteral("^") + widthWord; break;
            case 2: format = QStringLiteral(">") + widthWord; break;
            default: break;
            }
        } else {
            FooterFormat = QStringLiteral("^") + widthWord;
        }
        PageBorders = {};
        const std::pair<const char*, TPageBorder> borders[] = {{PagesValue::TopBorder, TPageBorder::pbTop},
                                                               {PagesValue::BottomBorder, TPageBorder::pbBottom},
                                                               {PagesValue::LeftBorder, TPageBorder::pbLeft},
                                                               {PagesValue::RightBorder, TPageBorder::pbRight}};
        for (const auto& [name, border] : borders)
            if (pages.Integer(name) == 1)
                PageBorders.Include(border);
        BlackFont = pages.Integer(PagesValue::BlackWhite) == 1;
    } else {
        FNoNumbers = false;
        FSkipFirstNumber = true;
        FBeginNumber = 1;
        Header.clear();
        Footer = QStringLiteral("{$PAGE}");
        FooterFormat = QStringLiteral("^") + widthWord;
        PageBorders = {};
        BlackFont = false;
    }
    if (FNoNumbers) {
        Header.clear();
        Footer.clear();
    }
    if (error)
        throw *error;
}

void TqxPrinter::LoadMargins(std::optional<platform::RegistryError>& error)
{
    StoredPrintKey marges(RegistryKeys::Marges, error);
    if (!marges.Found())
        return;
    // The unit and the orientation first: the margins are stored in that unit,
    // and they are kept on the paper as it lies.
    // Margins not stored (the settings dialog writes only the unit) and the gap of
    // the border lines keep their length on paper in the new unit.
    if (const auto unit = marges.Integer(MargesValue::CodeMeasurement)) {
        const TMeasureUnit stored = *unit == 1 ? TMeasureUnit::muInches : TMeasureUnit::muMillimeters;
        for (double* margin : {&marginTop, &marginBottom, &marginLeft, &marginRight, &BorderOffset})
            *margin = ConvertLength(*margin, measureUnit, stored);
        measureUnit = stored;
    }
    if (const auto direction = marges.Integer(MargesValue::CodeDirection))
        SetOrientation(*direction == 1 ? TPrinterOrientation::poPortrait : TPrinterOrientation::poLandscape);
    const std::tuple<const char*, double, void (TqxPrinter::*)(double)> margins[] = {
        {MargesValue::MarginLeft, DefaultMarginLeft, &TqxPrinter::SetMarginLeft},
        {MargesValue::MarginTop, DefaultMarginTop, &TqxPrinter::SetMarginTop},
        {MargesValue::MarginBottom, DefaultMarginBottom, &TqxPrinter::SetMarginBottom},
        {MargesValue::MarginRight, DefaultMarginRight, &TqxPrinter::SetMarginRight}};
    for (const auto& [name, fallback, set] : margins)
        if (!marges.Exists(name))
            return;
    for (const auto& [name, fallback, set] : margins) {
        const std::optional<double> stored = marges.Length(name);
        (this->*set)(stored ? *stored : ConvertLength(fallback, TMeasureUnit::muMillimeters, measureUnit));
    }
}
