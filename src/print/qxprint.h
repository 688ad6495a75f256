// SPDX-License-Identifier: GPL-3.0-or-later
// TqxPrinter: lays the editor's text out on printer pages between margins, with
// header and footer rows and border lines, and prints it or records the same
// pages for the print preview.
#pragma once

#include "editortypes.h"
#include "measureunit.h"
#include "pagemetafile.h"
#include "printer.h"
#include "printerrors.h"
#include "registryerror.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QPainter;
class TqxEditor;
class TPreviewForm;

namespace platform {
struct FORMATRANGE;
}

using platform::TPrinterOrientation;

enum class TPageBorder { pbTop, pbBottom, pbLeft, pbRight };
using TPageBorders = TSet<TPageBorder>;

class TqxPrinter;
// Progress of a run: a status text (empty once the run is over) and the share
// done, Position / Size.
using TqxPrinterPageEvent =
    std::function<void(TqxPrinter* sender, const QString& mess, int size, int position)>;

class TqxPrinter {
public:
    explicit TqxPrinter(platform::Printer& printer = platform::SystemPrinter());
    ~TqxPrinter();
    TqxPrinter(const TqxPrinter&) = delete;
    TqxPrinter& operator=(const TqxPrinter&) = delete;

    // Margins are distances from the paper's edges, in MeasureUnit, kept on the
    // paper: between the unprintable strip of their side and the paper less the
    // opposite strip. Setting one while a job prints raises ELinePrinter.
    double MarginTop() const { return marginTop; }
    double MarginBottom() const { return marginBottom; }
    double MarginLeft() const { return marginLeft; }
    double MarginRight() const { return marginRight; }
    void SetMarginTop(double value);
    void SetMarginBottom(double value);
    void SetMarginLeft(double value);
    void SetMarginRight(double value);
    // The unit of every length; changing it converts nothing.
    TMeasureUnit MeasureUnit() const { return measureUnit; }
    void SetMeasureUnit(TMeasureUnit value) { measureUnit = value; }
    // The printer object's orientation and job title.
    TPrinterOrientation Orientation() const;
    void SetOrientation(TPrinterOrientation value);
    QString Title() const;
    void SetTitle(const QString& value);
    // The font of header and footer rows; white is printed black.
    const TFont& Font_HeaderFooter() const { return headerFooterFont; }
    void SetFont_HeaderFooter(const TFont& value);

    // Header and footer rows: columns separated by "|", with macros; their column
    // formats ("^160", ">10", "<40|>20").
    QString Header = QStringLiteral("{$TITLE}");
    QString HeaderFormat = QStringLiteral("^160");
    QString Footer = QStringLiteral("{$PAGE}");
    QString FooterFormat = QStringLiteral("^160");
    TPageBorders PageBorders;
    double BorderOffset = 2.0;
    // Print all text in black.
    bool BlackFont = false;
    TqxPrinterPageEvent OnPage;

    // The unprintable strips of the paper, in MeasureUnit.
    double GutterTop() const;
    double GutterBottom() const;
    double GutterLeft() const;
    double GutterRight() const;

    // Prints the editor's selection, or its whole text when nothing is selected;
    // pages are numbered from startNumber. Raises ELinePrinter (or EConvertError
    // for a bad column format) after the editor is as it was; a failed job leaves
    // nothing behind.
    void Print(TqxEditor* editor, int startNumber);
    // Records the pages, numbered from the configured start number, and shows them
    // in the preview window until it closes. A failure removes the pages recorded
    // so far and is shown in a message box.
    void Preview(TqxEditor* editor);
    // Reads the print options (key Pages) and the page setup (key Marges). A value
    // that cannot be used takes its default; the first such failure is raised as
    // a RegistryError once every other value is read and applied.
    void LoadSettings();

    // Settings of the numbering, as LoadSettings leaves them.
    int BeginNumber() const { return FBeginNumber; }
    bool NoNumbers() const { return FNoNumbers; }
    bool SkipFirstNumber() const { return FSkipFirstNumber; }
    void SetSkipFirstNumber(bool value) { FSkipFirstNumber = value; }

    // Page geometry: lengths in MeasureUnit, offsets and sizes in printer pixels
    // from the printable area's top-left corner.
    double PhysicalWidth() const;
    double PhysicalHeight() const;
    double PrintableWidth() const;
    double PrintableHeight() const;
    int UnitsToPixelsX(double value) const;
    int UnitsToPixelsY(double value) const;
    double PixelsToUnitsX(int pixels) const;
    double PixelsToUnitsY(int pixels) const;
    int LeftOffset() const;
    int RightOffset() const;
    int TopOffset() const;
    int BottomOffset() const;
    int TextAreaWidth() const;
    int TextAreaHeight() const;

    // Paper height over paper width, as the last preview took it.
    double PageAspect() const { return pageAspect; }
    platform::Printer& PrinterObject() const { return printer; }

    // The row writer of the page decorations.
    static void SplitColumns(const QString& text, QStringList& list);
    // Alignment 0 left, 1 right, 2 centre; the width in MeasureUnit.
    void ParseColumnFormat(const QString& format, int& alignment, double& width) const;
    QString ExpandMacros(const QString& text) const;
    static QString ReplaceTag(const QString& tag, const QString& value, const QString& text);
    // The longest prefix of text no wider than width pixels (at least one character).
    QString FitText(const QString& text, int width) const;

private:
    // The run.
    void BeginPrinting();
    int NewPage();
    void EndPrinting();
    void FillFormatRange(platform::FORMATRANGE& range) const;
    void PrepareBlackWhite();
    void RestoreColors();
    void AbortRun();
    void Page(const QString& mess, int size, int position);

    // Preview recording.
    void StartPreviewPage();
    void FinishPreviewPage(bool last);
    void DeletePreviewPages();

    // Decorations.
    void DrawPageDecorations();
    void WriteRow(const QString& text);
    void DrawBorders();
    void UpdateLineMetrics();
    void AdjustFontToDevice();
    int TextWidth(const QString& text) const;

    // Settings.
    void LoadMargins(std::optional<platform::RegistryError>& error);

    // Device values with the fallback resolution when the printer cannot answer.
    int DpiX() const;
    int DpiY() const;
    QSize PaperPixels() const;
    QPoint OffsetPixels() const;
    QSize PrintablePixels() const;
    double ClampMargin(double value, double current, double low, double high) const;
    void RequireIdle() const;

    platform::Printer& printer;
    double marginTop = 30.0;
    double marginBottom = 25.0;
    double marginLeft = 25.0;
    double marginRight = 15.0;
    TMeasureUnit measureUnit = TMeasureUnit::muMillimeters;
    TFont headerFooterFont;
    QFont canvasFont;            // the header and footer font, sized for the surface
    bool monochrome = false;     // the run prints all text black
    double pageAspect = 0.0;
    platform::PageMetafile previewPage;
    std::unique_ptr<TPreviewForm> previewForm;

    QPainter* FCanvas = nullptr;
    int FStartNumber = 1;
    int FLine = 0;
    QString FCurrentFormat;
    bool FPreview = false;
    TqxEditor* FEditor = nullptr;
    int FX = 0;
    int FY = 0;
    int FLineHeight = 0;
    double FDefaultColumnWidth = 0.0;
    int FPageNumber = 0;
    int FBeginNumber = 1;
    bool FNoNumbers = false;
    bool FSkipFirstNumber = true;
};
