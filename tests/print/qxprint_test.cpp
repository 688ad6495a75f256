// SPDX-License-Identifier: GPL-3.0-or-later
// The printer component on the PDF printer, read back with poppler: every
// character once and in order, page numbers and header rows where they belong, a
// selection alone, no blank last page, black-and-white printing that leaves the
// text as it was, settings from the registry, and runs that fail leaving nothing.
#include "testsupport.h"

#include "qxprint.h"
#include "registry.h"
#include "registrylayout.h"
#include "richedit.h"
#include "streams.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <functional>
#include <numeric>
#include <tuple>
#include <variant>

#include <cmath>
#include <csignal>
#include <sys/resource.h>

namespace {

constexpr double PointsPerMm = 72.0 / 25.4;
constexpr double A4WidthPt = 210.0 * PointsPerMm;
constexpr double A4HeightPt = 297.0 * PointsPerMm;

// The numbers of the "Строка N" lines in the printed text, in printed order.
std::vector<int> LineNumbers(const QString& text)
{
    std::vector<int> numbers;
    static const QRegularExpression line(QStringLiteral("Строка (\\d+) съешь же ещё этих мягких французских булок"));
    for (auto it = line.globalMatch(text); it.hasNext();)
        numbers.push_back(it.next().captured(1).toInt());
    return numbers;
}

// Words standing alone in the bottom margin of a page (below 272 mm).
std::vector<PdfWord> FooterWords(const std::vector<PdfWord>& words, int page)
{
    std::vector<PdfWord> found;
    for (const PdfWord& w : words)
        if (w.page == page && w.box.top() > 272.0 * PointsPerMm)
            found.push_back(w);
    return found;
}

// Writes values into a key of the settings: integers, floats or strings as given.
void Store(const char* key, std::initializer_list<std::pair<const char*, std::variant<int, double, const char*>>> values)
{
    platform::TRegistry reg;
    reg.OpenKey(key, true);
    for (const auto& [name, value] : values) {
        if (const int* number = std::get_if<int>(&value))
            reg.WriteInteger(name, *number);
        else if (const double* real = std::get_if<double>(&value))
            reg.WriteFloat(name, *real);
        else
            reg.WriteString(name, std::get<const char*>(value));
    }
}

// Pixels of a part of an image whose colour passes a test.
int Pixels(const QImage& image, const QRect& part, const std::function<bool(QColor)>& pass)
{
    int count = 0;
    for (int y = part.top(); y <= part.bottom(); ++y)
        for (int x = part.left(); x <= part.right(); ++x)
            count += pass(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

QString RtfOf(TqxEditor& editor)
{
    TMemoryStream stream;
    const TEnc saved = editor.Encoding();
    editor.SetEncoding(Rtf);
    editor.Lines()->SaveToStream(stream);
    editor.SetEncoding(saved);
    return QString::fromLatin1(reinterpret_cast<const char*>(stream.Bytes().data()), qsizetype(stream.Bytes().size()));
}

TEST_F(PrintTest, EveryLinePrintsOnceInOrderAndPagesCarryCentredNumbersFromWhereAsked)
{
    Editor().SetText(RussianLines(200));
    TqxPrinter printer;
    printer.LoadSettings();   // no settings stored: numbers centred at the foot, none on page 1
    const QString pdf = Path(QStringLiteral("all.pdf"));
    PrintToPdf(printer, pdf);

    const int pages = PdfPageCount(pdf);
    ASSERT_GE(pages, 3);
    std::vector<int> expected(200);
    std::iota(expected.begin(), expected.end(), 1);
    EXPECT_EQ(LineNumbers(PdfText(pdf)), expected);

    const std::vector<PdfWord> words = PdfWords(pdf);
    EXPECT_TRUE(FooterWords(words, 1).empty()) << "page 1 goes without its number";
    for (int page = 2; page <= pages; ++page) {
        const std::vector<PdfWord> footer = FooterWords(words, page);
        ASSERT_EQ(footer.size(), 1u) << "page " << page;
        EXPECT_EQ(footer[0].text, QString::number(page));
        // Centred in a 160 mm column from the 25 mm left margin: at 105 mm.
        EXPECT_NEAR(footer[0].box.center().x(), 105.0 * PointsPerMm, 2.0);
        // In the 25 mm bottom margin, about its middle.
        EXPECT_NEAR(footer[0].box.center().y(), A4HeightPt - 12.5 * PointsPerMm, 4.0);
    }
    const std::vector<PdfPage> sizes = PdfPages(pdf);
    ASSERT_FALSE(sizes.empty());
    EXPECT_NEAR(sizes[0].width, A4WidthPt, 1.0);
    EXPECT_NEAR(sizes[0].height, A4HeightPt, 1.0);

    // Numbers start where asked, and only page one may go without its number.
    PrintToPdf(printer, pdf, 7);
    const std::vector<PdfWord> from7 = PdfWords(pdf);
    for (int page = 1; page <= PdfPageCount(pdf); ++page) {
        const std::vector<PdfWord> footer = FooterWords(from7, page);
        ASSERT_EQ(footer.size(), 1u) << "page " << page;
        EXPECT_EQ(footer[0].text, QString::number(page + 6));
    }
    printer.SetSkipFirstNumber(false);
    PrintToPdf(printer, pdf, 1);
    const std::vector<PdfWord> numbered = PdfWords(pdf);
    ASSERT_EQ(FooterWords(numbered, 1).size(), 1u);
    EXPECT_EQ(FooterWords(numbered, 1)[0].text, QStringLiteral("1"));
}

TEST_F(PrintTest, HeaderColumnsExpandTitleAndDateInTheTopMargin)
{
    Editor().SetText(RussianLines(20));
    TqxPrinter printer;
    printer.LoadSettings();
    printer.SetTitle(QStringLiteral("Записка.txt"));
    printer.Header = QStringLiteral("{$TITLE}|{$DATE}|лишняя колонка");
    printer.HeaderFormat = QStringLiteral("<80|>80");
    printer.Footer.clear();
    printer.SetSkipFirstNumber(false);
    const QString pdf = Path(QStringLiteral("header.pdf"));
    PrintToPdf(printer, pdf);

    const QString date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    std::vector<PdfWord> header;
    for (const PdfWord& w : PdfWords(pdf))
        if (w.page == 1 && w.box.bottom() < 30.0 * PointsPerMm)
            header.push_back(w);
    ASSERT_FALSE(header.empty());
    EXPECT_EQ(header.front().text, QStringLiteral("Записка.txt"));
    // Left column: starts at the left margin, moved in by the inset (6 pixels at 600 dpi).
    EXPECT_NEAR(header.front().box.left(), 25.0 * PointsPerMm + 6 * 72.0 / 600, 1.0);
    // Right column: ends at 25 + 80 + 80 mm, less the inset.
    EXPECT_NEAR(header.back().box.right(), 185.0 * PointsPerMm - 6 * 72.0 / 600, 1.5);
    QStringList texts;
    for (const PdfWord& w : header)
        texts << w.text;
    EXPECT_EQ(texts.join(u' '), QStringLiteral("Записка.txt ") + date);   // the third column has no format
    EXPECT_FALSE(PdfText(pdf, 1).contains(QStringLiteral("лишняя")));
}

TEST_F(PrintTest, LeftAlignedNumbersSitInATenMillimetreColumnAndWhiteRowsPrintBlack)
{
    Store(RegistryKeys::Pages, {{PagesValue::Allign, 0}, {PagesValue::FirstPageN, 1}});
    Editor().SetText(RussianLines(10));
    TqxPrinter printer;
    printer.LoadSettings();
    EXPECT_EQ(printer.FooterFormat, QStringLiteral(">10"));
    TFont white = printer.Font_HeaderFooter();
    white.Color = clWhite;
    printer.SetFont_HeaderFooter(white);
    const QString pdf = Path(QStringLiteral("left.pdf"));
    PrintToPdf(printer, pdf);
    const std::vector<PdfWord> footer = FooterWords(PdfWords(pdf), 1);
    ASSERT_EQ(footer.size(), 1u);
    // Right-aligned in the column from 25 to 35 mm, less the inset.
    EXPECT_NEAR(footer[0].box.right(), 35.0 * PointsPerMm - 6 * 72.0 / 600, 1.0);
    const QImage page = PdfPageImage(pdf, 1, 100);
    const QRect number(int(footer[0].box.left() * 100 / 72), int(footer[0].box.top() * 100 / 72),
                       int(footer[0].box.width() * 100 / 72) + 1, int(footer[0].box.height() * 100 / 72) + 1);
    EXPECT_GT(Pixels(page, number, [](QColor c) { return qGray(c.rgb()) < 100; }), 5) << "the number is to be seen";
}

// Rows of a rendered page that are dark across most of a span of columns.
std::vector<int> DarkRows(const QImage& image, int from, int to)
{
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y)
        if (Pixels(image, QRect(from, y, to - from, 1), [](QColor c) { return qGray(c.rgb()) < 200; }) > (to - from) * 9 / 10)
            rows.push_back(y);
    return rows;
}

TEST_F(PrintTest, BorderLinesFrameTheTextAreaAtTheirOffset)
{
    Editor().SetText(RussianLines(10));
    TqxPrinter printer;
    printer.LoadSettings();
    printer.PageBorders = {TPageBorder::pbTop, TPageBorder::pbBottom, TPageBorder::pbLeft, TPageBorder::pbRight};
    const QString pdf = Path(QStringLiteral("borders.pdf"));
    PrintToPdf(printer, pdf);
    constexpr int Dpi = 100;
    const QImage page = PdfPageImage(pdf, 1, Dpi);
    ASSERT_FALSE(page.isNull());
    auto px = [](double mm) { return int(std::lround(mm / 25.4 * Dpi)); };
    // Two millimetres outside the text area: 23 and 197 mm across, 28 and 274 mm down.
    const std::vector<int> rows = DarkRows(page, px(30), px(190));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_NEAR(rows[0], px(28), 1);
    EXPECT_NEAR(rows[1], px(274), 1);
    // Turned a quarter clockwise, the page's columns are the rows.
    const QImage turned = page.transformed(QTransform().rotate(90));
    const std::vector<int> columns = DarkRows(turned, px(40), px(260));
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_NEAR(columns[0], px(23), 1);
    EXPECT_NEAR(columns[1], px(197), 1);
}

TEST_F(PrintTest, ASelectionPrintsExactlyItsRange)
{
    const QString text = RussianLines(150);
    Editor().SetText(text);
    const QString plain = Editor().Window()->GetTextRange(0, -1);
    const int from = int(plain.indexOf(QStringLiteral("Строка 40 "))) + 7;    // inside line 40
    const int to = int(plain.indexOf(QStringLiteral("Строка 120 "))) + 9;     // inside line 120
    Editor().Window()->ExSetSel({from, to});
    TqxPrinter printer;
    printer.LoadSettings();
    const QString pdf = Path(QStringLiteral("selection.pdf"));
    PrintToPdf(printer, pdf);

    QStringList printed;
    for (const PdfWord& w : PdfWords(pdf))
        if (w.box.top() < 272.0 * PointsPerMm)
            printed << w.text;
    const QStringList selected = plain.mid(from, to - from).split(QRegularExpression(QStringLiteral("\\s+")),
                                                                   Qt::SkipEmptyParts);
    EXPECT_EQ(printed, selected);
    // The selection is left as it was.
    EXPECT_EQ(std::pair(Editor().Window()->ExGetSel().cpMin, Editor().Window()->ExGetSel().cpMax), std::pair(from, to));
}

TEST_F(PrintTest, TextEndingAtAPageEndMakesNoBlankLastPage)
{
    TqxPrinter printer;
    printer.LoadSettings();
    Editor().SetText(RussianLines(200));
    const QString probe = Path(QStringLiteral("probe.pdf"));
    PrintToPdf(printer, probe);
    const int perPage = int(LineNumbers(PdfText(probe, 1)).size());
    ASSERT_GT(perPage, 10);

    Editor().SetText(RussianLines(2 * perPage) + QStringLiteral("\r\n\r\n"));
    const QString pdf = Path(QStringLiteral("exact.pdf"));
    PrintToPdf(printer, pdf);
    EXPECT_EQ(PdfPageCount(pdf), 2);
    EXPECT_EQ(LineNumbers(PdfText(pdf, 2)).size(), std::size_t(perPage));
}

TEST_F(PrintTest, PicturesAndLinksOfTheTextArePrinted)
{
    QFile sample(QStringLiteral(QUILLET_TEST_DATA "/rtf/hyperlink_and_picture.rtf"));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    LoadRtf(Editor(), sample.readAll());
    TqxPrinter printer;
    printer.LoadSettings();
    const QString pdf = Path(QStringLiteral("picture.pdf"));
    PrintToPdf(printer, pdf);
    const QString images = QString::fromUtf8(RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}));
    EXPECT_GE(images.split(u'\n', Qt::SkipEmptyParts).size(), 3) << images.toStdString();   // two heading lines, then the images
}

// Pixels clearly coloured (not grey) in a rendered page.
int ColouredPixels(const QImage& image)
{
    return Pixels(image, image.rect(), [](QColor c) {
        return std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 80;
    });
}

TEST_F(PrintTest, BlackAndWhitePrintsBlackAndLeavesTheTextAsItWas)
{
    TqxEditor& editor = Editor();
    editor.SetText(RussianLines(80));
    // Three colours in the text.
    const std::pair<std::pair<int, int>, TColor> runs[] = {{{0, 400}, TColor(0x0000FF)},
                                                   {{400, 900}, TColor(0x00A000)},
                                                   {{900, 1500}, TColor(0xFF0000)}};
    for (const auto& [range, colour] : runs) {
        editor.Window()->ExSetSel({range.first, range.second});
        editor.SelAttributes()->SetColor(colour);
    }
    editor.Window()->ExSetSel({5, 17});
    for (bool modified : {true, false}) {
        editor.SetModified(modified);
        const QString before = RtfOf(editor);
        const bool couldUndo = editor.CanUndo();
        TqxPrinter printer;
        printer.LoadSettings();
        printer.BlackFont = true;
        editor.Window()->ExSetSel({0, 0});
        const QString pdf = Path(QStringLiteral("black.pdf"));
        PrintToPdf(printer, pdf);
        EXPECT_EQ(ColouredPixels(PdfPageImage(pdf, 1, 50)), 0);
        EXPECT_EQ(RtfOf(editor), before);
        EXPECT_EQ(editor.Modified(), modified);
        EXPECT_EQ(editor.CanUndo(), couldUndo);

        printer.BlackFont = false;
        PrintToPdf(printer, pdf);
        EXPECT_GT(ColouredPixels(PdfPageImage(pdf, 1, 50)), 100) << "colours print when not asked otherwise";
    }
}

TEST_F(PrintTest, SettingsComeFromPagesAndMarges)
{
    Store(RegistryKeys::Pages, {{PagesValue::Position, 0}, {PagesValue::Allign, 2}, {PagesValue::BeginN, 12},
                                {PagesValue::FirstPageN, 1}, {PagesValue::TopBorder, 1}, {PagesValue::RightBorder, 1},
                                {PagesValue::BlackWhite, 1}});
    Store(RegistryKeys::Marges, {{MargesValue::MarginLeft, 1.0}, {MargesValue::MarginTop, 1.5}, {MargesValue::MarginBottom, 0.5},
                                 {MargesValue::MarginRight, 0.75}, {MargesValue::CodeMeasurement, 1},
                                 {MargesValue::CodeDirection, 0}});
    TqxPrinter printer;
    printer.LoadSettings();
    EXPECT_EQ(std::tuple(printer.Header, printer.Footer, printer.HeaderFormat),
              std::tuple(QStringLiteral("{$PAGE}"), QString(), QStringLiteral(">") + QLocale::system().toString(230.0 / 25.4, 'g', 6)));
    EXPECT_EQ(std::tuple(printer.BeginNumber(), printer.SkipFirstNumber(), printer.BlackFont), std::tuple(12, false, true));
    EXPECT_TRUE(printer.PageBorders.Contains(TPageBorder::pbTop) && printer.PageBorders.Contains(TPageBorder::pbRight)
                && !printer.PageBorders.Contains(TPageBorder::pbLeft));
    EXPECT_EQ(std::pair(printer.MeasureUnit(), printer.Orientation()),
              std::pair(TMeasureUnit::muInches, TPrinterOrientation::poLandscape));
    // Stored in inches, read as inches: not taken for millimetres first.
    EXPECT_EQ(std::tuple(printer.MarginLeft(), printer.MarginTop(), printer.MarginBottom(), printer.MarginRight()),
              std::tuple(1.0, 1.5, 0.5, 0.75));

    Editor().SetText(RussianLines(10));
    const QString pdf = Path(QStringLiteral("landscape.pdf"));
    PrintToPdf(printer, pdf, printer.BeginNumber());
    const std::vector<PdfPage> sizes = PdfPages(pdf);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_NEAR(sizes[0].width, A4HeightPt, 1.0);
    // The number row, right-aligned, is in the 1.5 inch top margin.
    std::vector<PdfWord> top;
    for (const PdfWord& w : PdfWords(pdf))
        if (w.box.bottom() < 1.5 * 72)
            top.push_back(w);
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(top[0].text, QStringLiteral("12"));

    // Numbering switched off empties both rows.
    Store(RegistryKeys::Pages, {{PagesValue::PrintN, 0}});
    printer.LoadSettings();
    EXPECT_TRUE(printer.Header.isEmpty());
    EXPECT_TRUE(printer.Footer.isEmpty());
}

TEST_F(PrintTest, ABadValueTakesItsDefaultAndEveryOtherValueCounts)
{
    Store(RegistryKeys::Pages, {{PagesValue::Position, 0}, {PagesValue::BeginN, "twelve"}, {PagesValue::Allign, 2},
                                {PagesValue::TopBorder, 1}, {PagesValue::BlackWhite, 1}});
    Store(RegistryKeys::Marges, {{MargesValue::MarginLeft, 40}, {MargesValue::MarginTop, std::nan("")},
                                 {MargesValue::MarginBottom, 20.0}, {MargesValue::MarginRight, 10.0},
                                 {MargesValue::CodeDirection, 0}});
    TqxPrinter printer;
    printer.SetMarginLeft(50.0);   // left from an earlier run: not kept either
    try {
        printer.LoadSettings();
        ADD_FAILURE() << "the bad values went unreported";
    } catch (const platform::RegistryError& error) {
        EXPECT_EQ(error.Kind(), platform::RegistryErrorKind::WrongKind);
        EXPECT_EQ(error.Name(), "MarginLeft");
    }
    EXPECT_EQ(printer.Header, QStringLiteral("{$PAGE}"));
    EXPECT_TRUE(printer.HeaderFormat.startsWith(QLatin1Char('>')));
    EXPECT_TRUE(printer.PageBorders.Contains(TPageBorder::pbTop) && printer.BlackFont);
    EXPECT_EQ(printer.BeginNumber(), 1);
    EXPECT_EQ(printer.Orientation(), TPrinterOrientation::poLandscape);
    EXPECT_EQ(std::tuple(printer.MarginLeft(), printer.MarginTop(), printer.MarginBottom(), printer.MarginRight()),
              std::tuple(25.0, 30.0, 20.0, 10.0));
    printer.SetMarginTop(std::nan(""));
    EXPECT_DOUBLE_EQ(printer.MarginTop(), 30.0);

    // The first page's number stays in its range, whatever is stored.
    for (const auto& [stored, used] : {std::pair{-5, 1}, std::pair{0, 1}, std::pair{2147483647, 2000000000},
                                       std::pair{2000000000, 2000000000}}) {
        Store(RegistryKeys::Pages, {{PagesValue::BeginN, stored}});
        Store(RegistryKeys::Marges, {{MargesValue::MarginLeft, 25.0}, {MargesValue::MarginTop, 30.0}});
        EXPECT_NO_THROW(printer.LoadSettings());
        EXPECT_EQ(printer.BeginNumber(), used) << stored;
    }
}

TEST_F(PrintTest, MarginsStayOnThePaperAndUnitsConvertAtThePrinterResolution)
{
    // A unit stored alone keeps the margins where they are on paper.
    Store(RegistryKeys::Marges, {{MargesValue::CodeMeasurement, 1}});
    TqxPrinter inches;
    const int before = inches.LeftOffset();
    inches.LoadSettings();
    EXPECT_EQ(inches.MeasureUnit(), TMeasureUnit::muInches);
    EXPECT_NEAR(inches.MarginLeft(), 25.0 / 25.4, 1e-9);
    EXPECT_EQ(inches.LeftOffset(), before);

    TqxPrinter printer;
    EXPECT_EQ(printer.UnitsToPixelsX(25.4), 600);
    EXPECT_DOUBLE_EQ(printer.PixelsToUnitsY(600), 25.4);
    printer.SetMarginTop(0);
    EXPECT_DOUBLE_EQ(printer.MarginTop(), printer.GutterTop());
    printer.SetMarginLeft(1000);
    EXPECT_DOUBLE_EQ(printer.MarginLeft(), printer.PhysicalWidth() - printer.GutterRight());
    printer.SetMarginBottom(-5);
    EXPECT_DOUBLE_EQ(printer.MarginBottom(), printer.GutterBottom());
    printer.SetMeasureUnit(TMeasureUnit::muInches);
    EXPECT_EQ(printer.UnitsToPixelsY(1.0), 600);
    EXPECT_NEAR(printer.PhysicalHeight(), 297.0 / 25.4, 0.01);
}

// A failed run leaves the text, its selection and flag, and the files as they were.
class FailedRunTest : public PrintTest {
protected:
    void ExpectEditorUnchanged()
    {
        EXPECT_EQ(Editor().Window()->GetTextRange(0, -1), textBefore);
        EXPECT_EQ(std::tuple(Editor().Window()->ExGetSel().cpMin, Editor().Window()->ExGetSel().cpMax, Editor().Modified()),
                  std::tuple(3, 3, true));
        EXPECT_TRUE(Editor().Window()->viewport()->updatesEnabled());
    }
    void Prepare(int lines)
    {
        Editor().SetText(RussianLines(lines));
        Editor().Window()->ExSetSel({3, 3});
        Editor().SetModified(true);
        textBefore = Editor().Window()->GetTextRange(0, -1);
    }
    // The printer's refusal, or "(printed)" when the run went through.
    QString Refusal(TqxPrinter& printer)
    {
        try {
            printer.Print(&Editor(), 1);
        } catch (const ELinePrinter& error) {
            return QString::fromStdString(error.what());
        }
        return QStringLiteral("(printed)");
    }
    QByteArray Contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void Put(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QString textBefore;
};

TEST_F(FailedRunTest, AnUnwritableTargetOrMarginsLeavingNoRoomAreReportedBeforeAnyPage)
{
    Prepare(20);
    TqxPrinter printer;
    printer.LoadSettings();
    for (const QString& target : {QStringLiteral("/nonexistent-folder/x.pdf"), dir.path()}) {
        printer.PrinterObject().SetOutputFileName(target);
        const QString refusal = Refusal(printer);
        EXPECT_TRUE(refusal.startsWith(QStringLiteral("Can not write the file \""))) << refusal.toStdString();
        ExpectEditorUnchanged();
        EXPECT_FALSE(printer.PrinterObject().Printing());
    }
    printer.SetMarginTop(200);
    printer.SetMarginBottom(200);
    printer.PrinterObject().SetOutputFileName(Path(QStringLiteral("none.pdf")));
    EXPECT_EQ(Refusal(printer), QStringLiteral("The margins leave no room for the text on the page"));
    ExpectEditorUnchanged();
    EXPECT_EQ(FilesIn(dir.path(), QStringLiteral("*.pdf*")), QStringList());
}

TEST_F(FailedRunTest, ARunStoppedHalfwayLeavesTheOldPdfAsItWas)
{
    Prepare(300);
    const QString pdf = Path(QStringLiteral("old.pdf"));
    Put(pdf, "old contents");
    TqxPrinter printer;
    printer.LoadSettings();
    int pagesSeen = 0;
    printer.OnPage = [&](TqxPrinter*, const QString& mess, int, int) {
        if (mess.contains(QStringLiteral(": 3")))
            throw std::runtime_error("stopped");
        ++pagesSeen;
    };
    printer.PrinterObject().SetOutputFileName(pdf);
    EXPECT_THROW(printer.Print(&Editor(), 1), std::runtime_error);
    EXPECT_GT(pagesSeen, 0);
    EXPECT_EQ(Contents(pdf), QByteArray("old contents"));
    ExpectEditorUnchanged();
    EXPECT_EQ(FilesIn(dir.path(), QStringLiteral("*old*")), QStringList{QStringLiteral("old.pdf")});
}

TEST_F(FailedRunTest, AJobThatCannotEndReportsItAndLeavesNoFile)
{
    Prepare(150);
    const QString pdf = Path(QStringLiteral("late.pdf"));
    TqxPrinter printer;
    printer.LoadSettings();
    // Something else takes the name while the pages are made.
    printer.OnPage = [&](TqxPrinter*, const QString&, int, int) { QDir().mkpath(pdf); };
    printer.PrinterObject().SetOutputFileName(pdf);
    const QString refusal = Refusal(printer);
    EXPECT_TRUE(refusal.contains(pdf)) << refusal.toStdString();
    ExpectEditorUnchanged();
    EXPECT_TRUE(QDir(pdf).isEmpty());
    EXPECT_EQ(FilesIn(dir.path(), QStringLiteral("*late*")), QStringList());
}

// The file size limit of the process stands in for a disk that fills: writes
// beyond it fail as on a full disk, without needing a file system of our own.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
    }

private:
    rlimit saved {};
    void (*oldHandler)(int) = nullptr;
};

TEST_F(FailedRunTest, AFullDiskIsReportedAndTheOldPdfStays)
{
    Prepare(150);
    TqxPrinter printer;
    printer.LoadSettings();
    const QString good = Path(QStringLiteral("good.pdf"));
    PrintToPdf(printer, good);
    const qint64 size = QFileInfo(good).size();
    ASSERT_GT(size, 4000);
    Editor().SetModified(true);

    const QString pdf = Path(QStringLiteral("old.pdf"));
    Put(pdf, "old contents");
    // The disk fills at the very last bytes, half way, and at once.
    for (const qint64 room : {size - 8, size / 2, qint64(0)}) {
        printer.PrinterObject().SetOutputFileName(pdf);
        QString refusal;
        {
            FileSizeLimit limit{rlim_t(room)};
            refusal = Refusal(printer);
        }
        EXPECT_TRUE(refusal.contains(pdf)) << "room for " << room << " of " << size << " bytes: " << refusal.toStdString();
        EXPECT_EQ(Contents(pdf), QByteArray("old contents")) << room;
        ExpectEditorUnchanged();
        EXPECT_FALSE(printer.PrinterObject().Printing());
    }
    EXPECT_EQ(FilesIn(dir.path(), QStringLiteral("*.pdf*")), (QStringList{QStringLiteral("good.pdf"), QStringLiteral("old.pdf")}));
    EXPECT_EQ(FilesIn(dir.path(), QStringLiteral(".*")), QStringList());
}

} // namespace
