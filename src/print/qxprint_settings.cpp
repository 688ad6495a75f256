// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the printer component's settings: print options from the key Pages,
// margins, unit and orientation from the key Marges.
#include "qxprint.h"

#include "registry.h"
#include "registrylayout.h"

#include <QLocale>

#include <optional>

using platform::TRegistry;

namespace {

// The page-number column spans about the text width of the paper's side:
// 160 mm across an upright sheet, 230 mm across a lying one.
constexpr double PortraitNumberColumn = 160.0;
constexpr double LandscapeNumberColumn = 230.0;

std::optional<int> Int(TRegistry& reg, const char* name)
{
    return reg.ValueExists(name) ? std::optional<int>(reg.ReadInteger(name)) : std::nullopt;
}

} // namespace

void TqxPrinter::LoadSettings()
{
    LoadMargins();

    // The column width is written in millimetres; in inch mode it is converted,
    // so that the column is as wide on paper in both units.
    const double millimetres =
        Orientation() == TPrinterOrientation::poLandscape ? LandscapeNumberColumn : PortraitNumberColumn;
    const QString widthWord =
        QLocale::system().toString(ConvertLength(millimetres, TMeasureUnit::muMillimeters, measureUnit), 'g', 6);

    TRegistry reg(platform::HKEY_CURRENT_USER);
    if (reg.OpenKeyReadOnly(RegistryKeys::Pages)) {
        const auto printN = Int(reg, PagesValue::PrintN);
        const auto firstPageN = Int(reg, PagesValue::FirstPageN);
        const auto beginN = Int(reg, PagesValue::BeginN);
        const auto position = Int(reg, PagesValue::Position);
        const auto allign = Int(reg, PagesValue::Allign);
        FNoNumbers = printN && *printN == 0;
        FSkipFirstNumber = !firstPageN || *firstPageN == 0;
        FBeginNumber = beginN.value_or(1);
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
            if (Int(reg, name) == 1)
                PageBorders.Include(border);
        BlackFont = Int(reg, PagesValue::BlackWhite) == 1;
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
}

void TqxPrinter::LoadMargins()
{
    TRegistry reg(platform::HKEY_CURRENT_USER);
    if (!reg.OpenKeyReadOnly(RegistryKeys::Marges))
        return;
    // The unit and the orientation first: the margins are stored in that unit,
    // and they are kept on the paper as it lies.
    // Margins not stored (the settings dialog writes only the unit) and the gap of
    // the border lines keep their length on paper in the new unit.
    if (const auto unit = Int(reg, MargesValue::CodeMeasurement)) {
        const TMeasureUnit stored = *unit == 1 ? TMeasureUnit::muInches : TMeasureUnit::muMillimeters;
        for (double* margin : {&marginTop, &marginBottom, &marginLeft, &marginRight, &BorderOffset})
            *margin = ConvertLength(*margin, measureUnit, stored);
        measureUnit = stored;
    }
    if (const auto direction = Int(reg, MargesValue::CodeDirection))
        SetOrientation(*direction == 1 ? TPrinterOrientation::poPortrait : TPrinterOrientation::poLandscape);
    const char* names[] = {MargesValue::MarginLeft, MargesValue::MarginTop, MargesValue::MarginBottom,
                           MargesValue::MarginRight};
    for (const char* name : names)
        if (!reg.ValueExists(name))
            return;
    SetMarginLeft(reg.ReadFloat(MargesValue::MarginLeft));
    SetMarginTop(reg.ReadFloat(MargesValue::MarginTop));
    SetMarginBottom(reg.ReadFloat(MargesValue::MarginBottom));
    SetMarginRight(reg.ReadFloat(MargesValue::MarginRight));
}
