// SPDX-License-Identifier: GPL-3.0-or-later
// Recording the pages of a run for the print preview, and showing them.
#include "qxprint.h"

#include "qlconsts.h"
#include "qxpreview.h"
#include "sysbib.h"

#include <QPainter>

void TqxPrinter::Preview(TqxEditor* editor)
{
    pageAspect = PhysicalWidth() > 0 ? PhysicalHeight() / PhysicalWidth() : 0.0;
    try {
        previewForm = std::make_unique<TPreviewForm>(printer);
        previewForm->PagePixelWidth = UnitsToPixelsX(PhysicalWidth());
        previewForm->PagePixelHeight = UnitsToPixelsY(PhysicalHeight());
        const double height = PhysicalHeight();
        const double inches = measureUnit == TMeasureUnit::muInches ? height : height / MillimetersPerInch;
        previewForm->PrinterDpi = inches > 0 ? int(std::lround(previewForm->PagePixelHeight / inches)) : DpiY();
        previewForm->PageAspect = pageAspect;
        previewForm->TextName = Title();
        previewForm->setWindowTitle(Tr(QlConsts::PrintPreviewCaption) + Title());
        StartPreviewPage();
        Print(editor, FBeginNumber);
    } catch (const std::exception& error) {
        // Nothing of a preview that failed is left behind; the user learns why.
        previewPage.Discard();
        FPreview = false;
        FCanvas = nullptr;
        DeletePreviewPages();
        previewForm.reset();
        ErrorBox(QString::fromStdString(error.what()));
        return;
    }
    FPreview = false;
    FCanvas = nullptr;
    previewForm.reset();
}

void TqxPrinter::StartPreviewPage()
{
    FPreview = true;
    previewPage.Begin(QSize(UnitsToPixelsX(PhysicalWidth()), UnitsToPixelsY(PhysicalHeight())));
    FCanvas = previewPage.Canvas();
    // Everything is drawn from the printable area's corner, as on paper; the
    // recorded page is the whole sheet, so the unprintable strips come first.
    FCanvas->translate(OffsetPixels());
    FCanvas->setFont(canvasFont);
}

void TqxPrinter::FinishPreviewPage(bool last)
{
    try {
        previewForm->SavePage(previewPage);
    } catch (const platform::EInOutError&) {
        throw ELinePrinter(Tr(QlConsts::CannotSavePageMetafile));
    }
    previewForm->update();
    if (!last)
        StartPreviewPage();
    else
        FCanvas = nullptr;
}

void TqxPrinter::DeletePreviewPages()
{
    if (previewForm)
        previewForm->DeletePages();
}
