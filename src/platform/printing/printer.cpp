// SPDX-License-Identifier: GPL-3.0-or-later
// The printer object over Qt's printing: a QPrinter for a print-system printer,
// a QPdfWriter into a WholeFile for the PDF printer.
#include "printer.h"

#include "wholefile.h"

#include <QCoreApplication>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>

namespace platform {

namespace {

// The PDF printer's resolution: that of a common laser printer, so pages and
// their decorations come out as they would on paper.
constexpr int PdfResolution = 600;

int MillimetresToPixels(double mm, int dpi)
{
    return int(std::lround(mm / 25.4 * dpi));
}

QPageSize DefaultPaper()
{
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize(QPageSize::Letter)
                                                                               : QPageSize(QPageSize::A4);
}

QPageLayout PdfLayout(const QPageSize& paper, QPageLayout::Orientation orientation)
{
    return QPageLayout(paper, orientation, QMarginsF(), QPageLayout::Millimeter, QMarginsF());
}

// A print-system printer's layout with the margins at the strips it cannot print.
void UseUnprintableMargins(QPrinter& printer)
{
    QPageLayout layout = printer.pageLayout();
    layout.setMargins(layout.minimumMargins());
    printer.setPageLayout(layout);
}

} // namespace

Printer::Printer() : layout(PdfLayout(DefaultPaper(), QPageLayout::Portrait)), reference(PdfResolution, PdfResolution, {})
{
    printers = InstalledPrinters();
    Select(DefaultPrinterIndex(printers));
}

Printer::~Printer()
{
    Abort();
}

void Printer::Refresh()
{
    if (Printing())
        return;
    const QString current = Name();
    const bool wasPdf = IsPdf();
    printers = InstalledPrinters();
    for (int i = 0; i < int(printers.size()); ++i) {
        if (printers[i].name == current && printers[i].pdf == wasPdf) {
            index = i;
            return;
        }
    }
    Select(DefaultPrinterIndex(printers));
}

void Printer::SetPrinterIndex(int value)
{
    RequireIdle("change the printer");
    if (value < 0 || value >= int(printers.size()))
        throw EPrinter(QStringLiteral("There is no printer number %1").arg(value));
    if (value != index)
        Select(value);
}

void Printer::Select(int value)
{
    const QPageSize paper = layout.pageSize();
    const QPageLayout::Orientation orientation = layout.orientation();
    index = value;
    device.reset();
    if (index < 0 || printers[index].pdf) {
        layout = PdfLayout(paper, orientation);
        resolution = PdfResolution;
    } else {
        device = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(printers[index].name), QPrinter::HighResolution);
        device->setFullPage(false);
        // The paper chosen so far stays when this printer has it.
        device->setPageSize(paper);
        device->setPageOrientation(orientation);
        UseUnprintableMargins(*device);
        layout = device->pageLayout();
        resolution = device->resolution() > 0 ? device->resolution() : PdfResolution;
    }
    UpdateReference();
}

bool Printer::IsPdf() const
{
    return index >= 0 && printers[index].pdf;
}

QString Printer::Name() const
{
    return index >= 0 ? printers[index].name : QString();
}

void Printer::SetPageLayout(const QPageLayout& value)
{
    RequireIdle("change the paper");
    if (device) {
        device->setPageSize(value.pageSize());
        device->setPageOrientation(value.orientation());
        UseUnprintableMargins(*device);
        layout = device->pageLayout();
    } else {
        layout = PdfLayout(value.pageSize(), value.orientation());
    }
    UpdateReference();
}

TPrinterOrientation Printer::Orientation() const
{
    return layout.orientation() == QPageLayout::Landscape ? TPrinterOrientation::poLandscape
                                                          : TPrinterOrientation::poPortrait;
}

void Printer::SetOrientation(TPrinterOrientation value)
{
    QPageLayout changed = layout;
    changed.setOrientation(value == TPrinterOrientation::poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (changed.orientation() != layout.orientation())
        SetPageLayout(changed);
}

void Printer::UpdateReference()
{
    reference.Set(resolution, resolution, PaperPixels());
}

void Printer::RequireIdle(const char* what) const
{
    if (Printing())
        throw EPrinter(QStringLiteral("Cannot %1 while printing").arg(QLatin1String(what)));
}

void Printer::RequirePrinter() const
{
    if (index < 0)
        throw EPrinter(QStringLiteral("No printer is installed"));
}

int Printer::LogPixelsX() const
{
    RequirePrinter();
    return resolution;
}

int Printer::LogPixelsY() const
{
    RequirePrinter();
    return resolution;
}

int Printer::PhysicalWidth() const
{
    RequirePrinter();
    return PaperPixels().width();
}

int Printer::PhysicalHeight() const
{
    RequirePrinter();
    return PaperPixels().height();
}

int Printer::PhysicalOffsetX() const
{
    RequirePrinter();
    return PrintablePixels().left();
}

int Printer::PhysicalOffsetY() const
{
    RequirePrinter();
    return PrintablePixels().top();
}

int Printer::HorzRes() const
{
    RequirePrinter();
    return PrintablePixels().width();
}

int Printer::VertRes() const
{
    RequirePrinter();
    return PrintablePixels().height();
}

// Pixels from the paper's exact size: Qt's own pixel rectangles go through
// whole points and come out a pixel or three off at printer resolutions.
QSize Printer::PaperPixels() const
{
    const QSizeF mm = layout.fullRect(QPageLayout::Millimeter).size();
    return {MillimetresToPixels(mm.width(), resolution), MillimetresToPixels(mm.height(), resolution)};
}

QRect Printer::PrintablePixels() const
{
    const QRectF mm = layout.paintRect(QPageLayout::Millimeter);
    const int left = MillimetresToPixels(mm.left(), resolution);
    const int top = MillimetresToPixels(mm.top(), resolution);
    return QRect(left, top, MillimetresToPixels(mm.right(), resolution) - left,
                 MillimetresToPixels(mm.bottom(), resolution) - top);
}

void Printer::BeginDoc()
{
    RequirePrinter();
    RequireIdle("start another job");
    auto canvas = std::make_unique<QPainter>();
    if (IsPdf()) {
        if (outputFileName.isEmpty())
            throw EInOutError(outputFileName, QStringLiteral("No file is named for the PDF printer"));
        auto file = std::make_unique<WholeFile>(outputFileName);
        if (!file->Open())
            throw EInOutError(outputFileName, file->ErrorText());
        auto writer = std::make_unique<QPdfWriter>(file.get());
        writer->setResolution(resolution);
        writer->setPageLayout(layout);
        writer->setTitle(title);
        writer->setCreator(QCoreApplication::applicationName());
        if (!canvas->begin(writer.get())) {
            file->Discard();
            throw EPrinter(QStringLiteral("The PDF printer cannot start a job"));
        }
        pdfFile = std::move(file);
        pdfWriter = std::move(writer);
    } else {
        device->setDocName(title);
        device->setPageLayout(layout);
        if (!canvas->begin(device.get()))
            throw EPrinter(QStringLiteral("The printer %1 cannot start a job").arg(Name()));
    }
    painter = std::move(canvas);
}

void Printer::NewPage()
{
    if (!painter)
        throw EPrinter(QStringLiteral("No print job is open"));
    const bool ok = pdfWriter ? pdfWriter->newPage() : device->newPage();
    if (!ok)
        throw EPrinter(QStringLiteral("The printer cannot begin a new page"));
}

void Printer::EndDoc()
{
    if (!painter)
        throw EPrinter(QStringLiteral("No print job is open"));
    const bool ended = painter->end();
    painter.reset();
    if (!pdfWriter) {
        if (!ended)
            throw EPrinter(QStringLiteral("The printer %1 cannot end the job").arg(Name()));
        return;
    }
    pdfWriter.reset();
    std::unique_ptr<WholeFile> file = std::move(pdfFile);
    if (!ended) {
        file->Discard();
        throw EPrinter(QStringLiteral("The PDF printer cannot end the job"));
    }
    if (!file->Commit())
        throw EInOutError(outputFileName, file->ErrorText());
}

void Printer::Abort()
{
    if (!painter)
        return;
    if (!pdfFile && device)
        device->abort();
    painter->end();
    if (pdfFile)
        pdfFile->Discard();
    CloseJob();
}

void Printer::CloseJob()
{
    painter.reset();
    pdfWriter.reset();
    // A file never committed leaves the target as it was.
    pdfFile.reset();
}

namespace {

std::unique_ptr<Printer>& Instance()
{
    static std::unique_ptr<Printer> instance;
    return instance;
}

} // namespace

Printer& SystemPrinter()
{
    std::unique_ptr<Printer>& instance = Instance();
    if (!instance) {
        instance = std::make_unique<Printer>();
        // Qt's printing must not outlive the application object.
        qAddPostRoutine([] { Instance().reset(); });
    }
    return *instance;
}

} // namespace platform
