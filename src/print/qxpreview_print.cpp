// SPDX-License-Identifier: GPL-3.0-or-later
// Printing from the preview: a range of the recorded pages, played onto the
// printer as one job.
#include "qxpreview.h"

#include "pdftarget.h"
#include "printer.h"
#include "qlconsts.h"
#include "sysbib.h"

#include <QApplication>
#include <QPainter>

void TPreviewForm::sbPrintClick()
{
    PrintRangeRequest request;
    request.printer = printer.Name();
    request.minPage = 1;
    request.fromPage = 1;
    request.maxPage = LastPage + 1;
    request.toPage = LastPage + 1;
    const std::optional<PrintRangeAnswer> answer = CurrentPrompter().PrintDialog(request);
    if (!answer)
        return;
    if (answer->range == PrintRange::AllPages) {
        PrintFrom = 1;
        PrintTo = request.maxPage;
    } else if (answer->range == PrintRange::PageRange) {
        PrintFrom = std::clamp(answer->fromPage, 1, request.maxPage);
        PrintTo = std::clamp(answer->toPage, PrintFrom, request.maxPage);
    }
    if (printer.IsPdf()) {
        const std::optional<QString> target = AskPdfTarget(TextName);
        if (!target)
            return;
        printer.SetOutputFileName(*target);
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    PrintPages(PrintFrom, PrintTo);
    QApplication::restoreOverrideCursor();
}

// The pages go out as one job, so that a PDF holds them all; a page whose file
// cannot be read is left out.
void TPreviewForm::PrintPages(int from, int to)
{
    int printed = 0;
    try {
        printer.BeginDoc();
        QPainter* canvas = printer.Canvas();
        // Pages were recorded from the paper's corner, at the resolution of the
        // printer of the preview; the job's canvas starts at the printable area.
        const double scale = double(printer.LogPixelsY()) / (PrinterDpi > 0 ? PrinterDpi : 600);
        const QRectF target(-printer.PhysicalOffsetX(), -printer.PhysicalOffsetY(), PagePixelWidth * scale,
                            PagePixelHeight * scale);
        for (int i = from - 1; i <= to - 1; ++i) {
            PageIndex = i;
            DrawPage();
            QPicture page;
            if (!platform::LoadPage(PageFile(i), page))
                continue;
            if (printed > 0)
                printer.NewPage();
            platform::PlayPage(*canvas, page, QSize(PagePixelWidth, PagePixelHeight), target);
            ++printed;
        }
        ButtonsUpdate();
        if (printed == 0) {
            printer.Abort();
            return;
        }
        printer.EndDoc();
    } catch (const platform::EInOutError& error) {
        printer.Abort();
        QApplication::restoreOverrideCursor();
        ErrorBox(Tr(QlConsts::CannotWriteFile).arg(error.File, error.Reason));
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } catch (const platform::EPrinter&) {
        const bool begun = printer.Printing();
        printer.Abort();
        QApplication::restoreOverrideCursor();
        ErrorBox(Tr(!begun && printed == 0 ? QlConsts::CannotBeginPrinting
                 : begun                   ? QlConsts::CannotPrintPreparedPage
                                           : QlConsts::CannotEndPrinting));
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
}
