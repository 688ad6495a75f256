// SPDX-License-Identifier: GPL-3.0-or-later
// The printer object: the current printer of the process, its page and device
// capabilities (resolution, paper, unprintable strips) and its print job. The PDF
// printer writes its file only once the job ends well.
#pragma once

#include "pagedevice.h"
#include "printererrors.h"
#include "printerlist.h"

#include <QPageLayout>
#include <QRect>
#include <QString>

#include <memory>
#include <vector>

class QPainter;
class QPdfWriter;
class QPrinter;

namespace platform {

class WholeFile;

enum class TPrinterOrientation { poPortrait, poLandscape };

class Printer {
public:
    Printer();
    ~Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    // The printer list, read when the object is made and again by Refresh (which
    // keeps the current printer when it is still listed).
    const std::vector<PrinterEntry>& Printers() const { return printers; }
    void Refresh();
    int PrinterIndex() const { return index; }
    // Raises EPrinter for an index not in the list and while a job is open.
    void SetPrinterIndex(int value);
    bool IsPdf() const;
    QString Name() const;

    // Paper and orientation; the layout's margins are the strips the printer
    // cannot print on (none for the PDF printer). Setting keeps those strips.
    QPageLayout PageLayout() const { return layout; }
    void SetPageLayout(const QPageLayout& value);
    TPrinterOrientation Orientation() const;
    void SetOrientation(TPrinterOrientation value);
    QString Title() const { return title; }
    void SetTitle(const QString& value) { title = value; }
    // Where the PDF printer writes; asked of the user before each job.
    QString OutputFileName() const { return outputFileName; }
    void SetOutputFileName(const QString& value) { outputFileName = value; }

    // Device capabilities in device pixels. The origin of the job's canvas is the
    // top-left corner of the printable area. Raise EPrinter without a printer.
    int LogPixelsX() const;
    int LogPixelsY() const;
    int PhysicalWidth() const;
    int PhysicalHeight() const;
    int PhysicalOffsetX() const;
    int PhysicalOffsetY() const;
    int HorzRes() const;
    int VertRes() const;
    // A device with the printer's resolution and paper, for measuring text and
    // recording pages while no job is open.
    const QPaintDevice& ReferenceDevice() const { return reference; }

    // The print job. BeginDoc raises EInOutError when the PDF file cannot be made
    // and EPrinter when the job cannot start; NewPage and EndDoc raise EPrinter
    // (EndDoc EInOutError when the PDF file cannot be completed). Abort drops a
    // job: the PDF printer then leaves the target as it was.
    bool Printing() const { return painter != nullptr; }
    void BeginDoc();
    void NewPage();
    void EndDoc();
    void Abort();
    // The job's canvas while printing, else nullptr.
    QPainter* Canvas() const { return painter.get(); }

private:
    void Select(int value);
    void UpdateReference();
    void RequireIdle(const char* what) const;
    void RequirePrinter() const;
    void CloseJob();
    QSize PaperPixels() const;
    QRect PrintablePixels() const;

    std::vector<PrinterEntry> printers;
    int index = -1;
    std::unique_ptr<QPrinter> device;   // the current print-system printer
    QPageLayout layout;
    int resolution = 600;
    QString title;
    QString outputFileName;
    PageDevice reference;

    std::unique_ptr<WholeFile> pdfFile;
    std::unique_ptr<QPdfWriter> pdfWriter;
    std::unique_ptr<QPainter> painter;
};

// The process's printer object, made on first use.
Printer& SystemPrinter();

} // namespace platform
