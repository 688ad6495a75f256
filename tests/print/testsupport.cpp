// SPDX-License-Identifier: GPL-3.0-or-later
// The printing tests' harness.
#include "testsupport.h"

#include "printer.h"
#include "qxprint.h"
#include "streams.h"

#include <QApplication>
#include <QDir>
#include <QImage>

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

QStringList FilesIn(const QString& folder, const QString& pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System);
}
