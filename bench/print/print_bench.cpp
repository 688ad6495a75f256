// SPDX-License-Identifier: GPL-3.0-or-later
// Printing 1 MB of Russian text (about 250 pages) to the PDF printer, and Qt's own
// QTextDocument::print of the same text to a PDF QPrinter in the same run; the
// preview of the same text and of a 10-page one, to the first page shown. Sizes of
// a quarter and a half megabyte show how the cost grows with the pages. The machine
// may be shared: --benchmark_repetitions=5 gives medians.
#include "qxeditor.h"
#include "qxpreview.h"
#include "qxprint.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

constexpr qsizetype Megabyte = 1024 * 1024;

QString RussianText(qsizetype size)
{
    const QString line = QStringLiteral(
        "Широкая электрификация южных губерний даст мощный толчок подъёму сельского хозяйства. "
        "Съешь же ещё этих мягких французских булок, да выпей чаю.\r\n");
    QString text;
    text.reserve(size + line.size());
    while (text.size() < size)
        text += line;
    return text;
}

QTemporaryDir& Folder()
{
    static QTemporaryDir dir;
    return dir;
}

std::unique_ptr<TqxEditor> editor;

int PdfPages(const QString& file)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {file});
    info.waitForFinished(60000);
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromUtf8(info.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

// Pages and milliseconds per page of the last iteration.
void CountPages(benchmark::State& state, const QString& file, double milliseconds)
{
    const int pages = PdfPages(file);
    state.counters["pages"] = pages;
    state.counters["ms_per_page"] = pages > 0 ? milliseconds / pages : 0.0;
}

TqxEditor& EditorWith(qsizetype size)
{
    static qsizetype loaded = -1;
    if (!editor) {
        editor = std::make_unique<TqxEditor>();
        TFont font;
        font.Name = QStringLiteral("Courier New");
        font.Size = 10;
        editor->SetFont(font);
        editor->Window();
    }
    if (loaded != size) {
        editor->SetText(RussianText(size));
        loaded = size;
    }
    return *editor;
}

TqxPrinter& Printer()
{
    static TqxPrinter printer;
    static bool ready = false;
    if (!ready) {
        platform::Printer& device = printer.PrinterObject();
        for (int i = 0; i < int(device.Printers().size()); ++i)
            if (device.Printers()[std::size_t(i)].pdf)
                device.SetPrinterIndex(i);
        device.SetPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        printer.Header.clear();
        printer.Footer = QStringLiteral("{$PAGE}");
        // Qt's own printing puts 2 cm round the text; so do we, for the same pages.
        printer.SetMarginLeft(20);
        printer.SetMarginTop(20);
        printer.SetMarginRight(20);
        printer.SetMarginBottom(20);
        ready = true;
    }
    return printer;
}

void BM_PrintToPdf(benchmark::State& state)
{
    TqxEditor& editor = EditorWith(state.range(0));
    TqxPrinter& printer = Printer();
    const QString file = Folder().filePath(QStringLiteral("quillet.pdf"));
    printer.PrinterObject().SetOutputFileName(file);
    double milliseconds = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        printer.Print(&editor, 1);
        milliseconds = double(clock.nsecsElapsed()) / 1e6;
    }
    CountPages(state, file, milliseconds);
}
BENCHMARK(BM_PrintToPdf)->Arg(Megabyte / 4)->Arg(Megabyte / 2)->Arg(Megabyte)->Unit(benchmark::kMillisecond)
    ->Iterations(1)->UseRealTime();

// Qt's own printing of a document that holds the same text with the same font,
// on the same paper; Qt keeps 2 cm of margin on every side itself.
void BM_QtDocumentPrint(benchmark::State& state)
{
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Courier New"), 10));
    document.setPlainText(RussianText(state.range(0)));
    document.documentLayout();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Folder().filePath(QStringLiteral("qt.pdf")));
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(),
                                      QPageLayout::Millimeter));
    double milliseconds = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        document.print(&printer);
        milliseconds = double(clock.nsecsElapsed()) / 1e6;
    }
    CountPages(state, printer.outputFileName(), milliseconds);
}
BENCHMARK(BM_QtDocumentPrint)->Arg(Megabyte / 4)->Arg(Megabyte / 2)->Arg(Megabyte)->Unit(benchmark::kMillisecond)
    ->Iterations(1)->UseRealTime();

// From the preview command to its first page on screen.
void BM_PreviewFirstPage(benchmark::State& state)
{
    TqxEditor& editor = EditorWith(state.range(0));
    TqxPrinter& printer = Printer();
    printer.OnPage = nullptr;
    int pages = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        double seconds = 0;
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<TPreviewForm*>(QApplication::activeModalWidget());
            seconds = clock.elapsed() / 1000.0;
            if (form) {
                pages = form->StoredPages();
                form->BitBtn1->click();
            }
        });
        clock.start();
        printer.Preview(&editor);
        state.SetIterationTime(seconds);
    }
    state.counters["pages"] = pages;
}
// 43000 characters make 10 pages here.
BENCHMARK(BM_PreviewFirstPage)->Arg(43000)->Arg(Megabyte / 4)->Arg(Megabyte)->Unit(benchmark::kMillisecond)
    ->Iterations(1)->UseManualTime();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    editor.reset();
    return 0;
}
