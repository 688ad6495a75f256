// SPDX-License-Identifier: GPL-3.0-or-later
// The printing tests' harness.
#include "testsupport.h"

#include "printer.h"
#include "qxprint.h"
#include "streams.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

namespace {

class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "print-tests";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app.reset(); }

private:
    std::unique_ptr<QApplication> app;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace

void PrintTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    qputenv("QUILLET_REGISTRY", dir.filePath(QStringLiteral("registry.db")).toLocal8Bit());
    qunsetenv("QUILLET_NO_PDF_PRINTER");
    scopedPrompter = std::make_unique<ScopedPrompter>(prompter);
    platform::Printer& printer = platform::SystemPrinter();
    printer.Refresh();
    for (int i = 0; i < int(printer.Printers().size()); ++i)
        if (printer.Printers()[std::size_t(i)].pdf)
            printer.SetPrinterIndex(i);
    printer.SetPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    printer.SetTitle(QString());
}

void PrintTest::TearDown()
{
    editor.reset();
    scopedPrompter.reset();
    EXPECT_TRUE(prompter.Problems().isEmpty()) << prompter.Problems().join(QStringLiteral("; ")).toStdString();
}

TqxEditor& PrintTest::Editor()
{
    if (!editor) {
        editor = std::make_unique<TqxEditor>();
        TFont font;
        font.Name = QStringLiteral("Courier New");
        font.Size = 10;
        font.Color = clBlack;
        editor->SetFont(font);
        editor->SetWordWrap(false);
        editor->resize(600, 400);
        editor->Window();
    }
    return *editor;
}

void PrintTest::PrintToPdf(TqxPrinter& printer, const QString& file, int startNumber)
{
    printer.PrinterObject().SetOutputFileName(file);
    printer.Print(&Editor(), startNumber);
}

void LoadRtf(TqxEditor& editor, const QByteArray& rtf)
{
    TMemoryStream stream(std::vector<std::uint8_t>(rtf.begin(), rtf.end()));
    editor.SetEncoding(Rtf);
    editor.Lines()->LoadFromStream(stream);
    editor.SetEncoding(Win);
}

QString RussianLines(int count)
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += QStringLiteral("Строка %1 съешь же ещё этих мягких французских булок\r\n").arg(i);
    return text;
}

QByteArray RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

int PdfPageCount(const QString& file)
{
    const QString info = QString::fromUtf8(RunTool(QStringLiteral("pdfinfo"), {file}));
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString PdfText(const QString& file, int page)
{
    QStringList args{QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    args << file << QStringLiteral("-");
    return QString::fromUtf8(RunTool(QStringLiteral("pdftotext"), args));
}

std::vector<PdfWord> PdfWords(const QString& file)
{
    const QString html = QString::fromUtf8(
        RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                              file, QStringLiteral("-")}));
    std::vector<PdfWord> words;
    static const QRegularExpression pageTag(QStringLiteral("<page "));
    static const QRegularExpression wordTag(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    int page = 0;
    qsizetype pos = 0;
    while (pos < html.size()) {
        const QRegularExpressionMatch nextPage = pageTag.match(html, pos);
        const QRegularExpressionMatch nextWord = wordTag.match(html, pos);
        if (!nextWord.hasMatch())
            break;
        if (nextPage.hasMatch() && nextPage.capturedStart() < nextWord.capturedStart()) {
            ++page;
            pos = nextPage.capturedEnd();
            continue;
        }
        PdfWord word;
        word.page = page;
        word.text = nextWord.captured(5).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        const double x0 = nextWord.captured(1).toDouble();
        const double y0 = nextWord.captured(2).toDouble();
        word.box = QRectF(x0, y0, nextWord.captured(3).toDouble() - x0, nextWord.captured(4).toDouble() - y0);
        words.push_back(word);
        pos = nextWord.capturedEnd();
    }
    return words;
}

std::vector<PdfPage> PdfPages(const QString& file)
{
    const QString html = QString::fromUtf8(
        RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")}));
    std::vector<PdfPage> pages;
    static const QRegularExpression pageTag(QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">"));
    for (auto it = pageTag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        pages.push_back({m.captured(1).toDouble(), m.captured(2).toDouble()});
    }
    return pages;
}

QImage PdfPageImage(const QString& file, int page, int dpi)
{
    QTemporaryDir out;
    const QString prefix = out.filePath(QStringLiteral("page"));
    RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                         QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                         QString::number(page), QStringLiteral("-singlefile"), file, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

QStringList FilesIn(const QString& folder, const QString& pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System);
}
