// SPDX-License-Identifier: GPL-3.0-or-later
// TqxPrinter: its properties, the page geometry in the measure unit and in
// printer pixels, and the print run that pages the editor's text.
#include "qxprint.h"

#include "qlconsts.h"
#include "qxeditor.h"
#include "qxpreview.h"
#include "richedit.h"

#include <QApplication>
#include <QPainter>

#include <cmath>

namespace {

constexpr int FallbackDpi = 600;
constexpr int TwipsPerInch = 1440;
// A4 at the fallback resolution, for a printer object that cannot answer.
constexpr int FallbackPaperWidth = 4961;
constexpr int FallbackPaperHeight = 7016;

// Rounds to the nearest integer, halves to even.
int RoundEven(double value)
{
    return int(std::nearbyint(value));
}

int PixelsToTwips(int pixels, int dpi)
{
    return int(std::int64_t(pixels) * TwipsPerInch / dpi);
}

} // namespace

TqxPrinter::TqxPrinter(platform::Printer& printerObject) : printer(printerObject)
{
    headerFooterFont.Name = QStringLiteral("Courier New");
    headerFooterFont.Size = 10;
    headerFooterFont.Style = {};
    SetFont_HeaderFooter(headerFooterFont);
}

TqxPrinter::~TqxPrinter() = default;

// Device values

int TqxPrinter::DpiX() const
{
    try {
        const int dpi = printer.LogPixelsX();
        return dpi > 0 ? dpi : FallbackDpi;
    } catch (const platform::EPrinter&) {
        return FallbackDpi;
    }
}

int TqxPrinter::DpiY() const
{
    try {
        const int dpi = printer.LogPixelsY();
        return dpi > 0 ? dpi : FallbackDpi;
    } catch (const platform::EPrinter&) {
        return FallbackDpi;
    }
}

QSize TqxPrinter::PaperPixels() const
{
    try {
        return {printer.PhysicalWidth(), printer.PhysicalHeight()};
    } catch (const platform::EPrinter&) {
        return {FallbackPaperWidth, FallbackPaperHeight};
    }
}

QPoint TqxPrinter::OffsetPixels() const
{
    try {
        return {printer.PhysicalOffsetX(), printer.PhysicalOffsetY()};
    } catch (const platform::EPrinter&) {
        return {};
    }
}

QSize TqxPrinter::PrintablePixels() const
{
    try {
        return {printer.HorzRes(), printer.VertRes()};
    } catch (const platform::EPrinter&) {
        return PaperPixels();
    }
}

// Units

int TqxPrinter::UnitsToPixelsX(double value) const
{
    const double inches = measureUnit == TMeasureUnit::muInches ? value : value / MillimetersPerInch;
    return RoundEven(DpiX() * inches);
}

int TqxPrinter::UnitsToPixelsY(double value) const
{
    const double inches = measureUnit == TMeasureUnit::muInches ? value : value / MillimetersPerInch;
    return RoundEven(DpiY() * inches);
}

double TqxPrinter::PixelsToUnitsX(int pixels) const
{
    const double inches = double(pixels) / DpiX();
    return measureUnit == TMeasureUnit::muInches ? inches : inches * MillimetersPerInch;
}

double TqxPrinter::PixelsToUnitsY(int pixels) const
{
    const double inches = double(pixels) / DpiY();
    return measureUnit == TMeasureUnit::muInches ? inches : inches * MillimetersPerInch;
}

// Geometry

double TqxPrinter::PhysicalWidth() const
{
    return PixelsToUnitsX(PaperPixels().width());
}

double TqxPrinter::PhysicalHeight() const
{
    return PixelsToUnitsY(PaperPixels().height());
}

double TqxPrinter::PrintableWidth() const
{
    return PixelsToUnitsX(PrintablePixels().width());
}

double TqxPrinter::PrintableHeight() const
{
    return PixelsToUnitsY(PrintablePixels().height());
}

double TqxPrinter::GutterLeft() const
{
    return PixelsToUnitsX(OffsetPixels().x());
}

double TqxPrinter::GutterTop() const
{
    return PixelsToUnitsY(OffsetPixels().y());
}

double TqxPrinter::GutterRight() const
{
    return PhysicalWidth() - PrintableWidth() - GutterLeft();
}

double TqxPrinter::GutterBottom() const
{
    return PhysicalHeight() - PrintableHeight() - GutterTop();
}

int TqxPrinter::LeftOffset() const
{
    return UnitsToPixelsX(marginLeft - GutterLeft());
}

int TqxPrinter::RightOffset() const
{
    return UnitsToPixelsX(marginRight - GutterRight());
}

int TqxPrinter::TopOffset() const
{
    return UnitsToPixelsY(marginTop - GutterTop());
}

int TqxPrinter::BottomOffset() const
{
    // A footer row always fits in the bottom margin.
    return std::max(UnitsToPixelsY(marginBottom - GutterBottom()), FLineHeight);
}

int TqxPrinter::TextAreaWidth() const
{
    return UnitsToPixelsX(PrintableWidth()) - LeftOffset() - RightOffset();
}

int TqxPrinter::TextAreaHeight() const
{
    return UnitsToPixelsY(PrintableHeight()) - TopOffset() - BottomOffset();
}

// Properties

void TqxPrinter::RequireIdle() const
{
    if (printer.Printing())
        throw ELinePrinter(Tr(QlConsts::UnableChangeWhilePrinting));
}

double TqxPrinter::ClampMargin(double value, double current, double low, double high) const
{
    // No length at all leaves the margin as it was.
    if (std::isnan(value))
        return current;
    // The upper bound wins over the lower one on paper too small for both strips.
    return std::min(std::max(value, low), high);
}

void TqxPrinter::SetMarginTop(double value)
{
    RequireIdle();
    marginTop = ClampMargin(value, marginTop, GutterTop(), PhysicalHeight() - GutterBottom());
}

void TqxPrinter::SetMarginBottom(double value)
{
    RequireIdle();
    marginBottom = ClampMargin(value, marginBottom, GutterBottom(), PhysicalHeight() - GutterTop());
}

void TqxPrinter::SetMarginLeft(double value)
{
    RequireIdle();
    marginLeft = ClampMargin(value, marginLeft, GutterLeft(), PhysicalWidth() - GutterRight());
}

void TqxPrinter::SetMarginRight(double value)
{
    RequireIdle();
    marginRight = ClampMargin(value, marginRight, GutterRight(), PhysicalWidth() - GutterLeft());
}

TPrinterOrientation TqxPrinter::Orientation() const
{
    return printer.Orientation();
}

void TqxPrinter::SetOrientation(TPrinterOrientation value)
{
    RequireIdle();
    printer.SetOrientation(value);
}

QString TqxPrinter::Title() const
{
    return printer.Title();
}

void TqxPrinter::SetTitle(const QString& value)
{
    RequireIdle();
    printer.SetTitle(value);
}

void TqxPrinter::SetFont_HeaderFooter(const TFont& value)
{
    headerFooterFont = value;
    // White rows would vanish on white paper.
    if (ColorToRGB(headerFooterFont.Color) == 0xFFFFFF)
        headerFooterFont.Color = clBlack;
    AdjustFontToDevice();
    UpdateLineMetrics();
}

// The run

void TqxPrinter::Page(const QString& mess, int size, int position)
{
    if (OnPage)
        OnPage(this, mess, size, position);
}

void TqxPrinter::FillFormatRange(platform::FORMATRANGE& range) const
{
    const int dpiX = DpiX();
    const int dpiY = DpiY();
    range.hdc = FCanvas;
    range.hdcTarget = &printer.ReferenceDevice();
    range.rc.left = PixelsToTwips(LeftOffset(), dpiX);
    range.rc.top = PixelsToTwips(TopOffset(), dpiY);
    range.rc.right = PixelsToTwips(LeftOffset() + TextAreaWidth(), dpiX);
    range.rc.bottom = PixelsToTwips(TopOffset() + TextAreaHeight(), dpiY);
    range.rcPage = range.rc;
    range.monochrome = monochrome;
}

// Black-and-white printing draws the text black on the pages only; the editor's
// document, its undo steps and its modified flag are never touched.
void TqxPrinter::PrepareBlackWhite()
{
    monochrome = true;
}

void TqxPrinter::RestoreColors()
{
    monochrome = false;
}

void TqxPrinter::AbortRun()
{
    if (FPreview)
        previewPage.Discard();
    else
        printer.Abort();
}

void TqxPrinter::Print(TqxEditor* editor, int startNumber)
{
    FEditor = editor;
    FStartNumber = startNumber;
    platform::RichEdit* control = editor->Window();
    platform::FORMATRANGE range;

    control->SetRedraw(false);
    const platform::CHARRANGE selection = control->ExGetSel();
    const bool modified = editor->Modified();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString progress = Tr(FPreview ? QlConsts::WaitPagesPreparing : QlConsts::WaitPagesPrinting);
    Page(Tr(QlConsts::WaitPreparing), 100, 1);

    auto finish = [&] {
        Page(Tr(QlConsts::WaitCompletion), 100, 99);
        if (BlackFont)
            RestoreColors();
        editor->SetModified(modified);
        control->ExSetSel(selection);
        control->SetRedraw(true);
        control->viewport()->update();
        Page(QString(), 100, 0);
        QApplication::restoreOverrideCursor();
    };

    try {
        if (BlackFont)
            PrepareBlackWhite();
        BeginPrinting();
        if (TextAreaWidth() <= 0 || TextAreaHeight() <= 0)
            throw ELinePrinter(Tr(QlConsts::NoRoomForText));
        FillFormatRange(range);
        range.chrg = selection.cpMin != selection.cpMax ? selection : platform::CHARRANGE{0, -1};
        const std::int32_t textLength = control->GetTextLength();
        control->FormatRange(nullptr, false);
        std::int32_t pos = range.chrg.cpMin;
        std::int32_t next = 0;
        do {
            range.chrg.cpMin = pos;
            next = control->FormatRange(&range, true);
            if (next < textLength && next != -1) {
                range.chrg.cpMin = next;
                const std::int32_t after = control->FormatRange(&range, false);
                // A page is begun only when at least one more character fits on it.
                if (after <= next)
                    break;
                NewPage();
                FillFormatRange(range);
                if (std::int64_t(textLength) < std::int64_t(next) * 100)
                    Page(progress + Tr(QlConsts::PageNumberSeparator) + QString::number(FPageNumber), textLength,
                         next);
            }
            pos = next;
        } while (next < textLength && next != -1);
        control->FormatRange(nullptr, false);
        EndPrinting();
    } catch (...) {
        control->FormatRange(nullptr, false);
        AbortRun();
        FCanvas = nullptr;
        finish();
        throw;
    }
    FCanvas = nullptr;
    finish();

    if (FPreview && previewForm) {
        previewForm->FirstPageShow();
        previewForm->exec();
        FPreview = false;
    }
}

void TqxPrinter::BeginPrinting()
{
    if (!FPreview) {
        try {
            printer.BeginDoc();
        } catch (const platform::EInOutError& error) {
            throw ELinePrinter(Tr(QlConsts::CannotWriteFile).arg(error.File, error.Reason));
        } catch (const platform::EPrinter&) {
            throw ELinePrinter(Tr(QlConsts::CannotBeginPrinting));
        }
        FCanvas = printer.Canvas();
    }
    SetFont_HeaderFooter(headerFooterFont);
    FLine = 0;
    FPageNumber = FStartNumber;
    DrawPageDecorations();
}

int TqxPrinter::NewPage()
{
    if (!FPreview) {
        try {
            printer.NewPage();
        } catch (const platform::EInOutError&) {
            throw ELinePrinter(Tr(QlConsts::CannotSavePageMetafile));
        } catch (const platform::EPrinter&) {
            throw ELinePrinter(Tr(QlConsts::CannotPrintPreparedPage));
        }
    }
    ++FPageNumber;
    if (FPreview)
        FinishPreviewPage(false);
    DrawPageDecorations();
    return FPageNumber;
}

void TqxPrinter::EndPrinting()
{
    if (FPreview) {
        FinishPreviewPage(true);
        return;
    }
    try {
        printer.EndDoc();
    } catch (const platform::EInOutError& error) {
        throw ELinePrinter(Tr(QlConsts::CannotWriteFile).arg(error.File, error.Reason));
    } catch (const platform::EPrinter&) {
        throw ELinePrinter(Tr(QlConsts::CannotEndPrinting));
    }
}
