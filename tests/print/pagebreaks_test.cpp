// SPDX-License-Identifier: GPL-3.0-or-later
// Page breaks read back from the printed PDF: wrapped paragraphs in mixed sizes,
// long tables and a row taller than a page print every line once, in order,
// whole and inside the text area.
#include "testsupport.h"

#include "qxprint.h"

#include <QRegularExpression>

#include <numeric>
#include <tuple>

namespace {

constexpr double PointsPerMm = 72.0 / 25.4;
// The text area of A4 between the default margins (left 25, top 30, right 15,
// bottom 25 mm), in points; a glyph box may pass it by a rounding.
const QRectF TextArea(QPointF(25.0 * PointsPerMm, 30.0 * PointsPerMm),
                      QPointF(195.0 * PointsPerMm, 272.0 * PointsPerMm));
constexpr double Tolerance = 0.6;

class PageBreakTest : public PrintTest {
protected:
    // Prints with no header or footer row, so every word on paper is the text's.
    std::vector<PdfWord> Print(const QString& name)
    {
        TqxPrinter printer;
        printer.Header.clear();
        printer.Footer.clear();
        pdf = Path(name);
        PrintToPdf(printer, pdf);
        std::vector<PdfWord> words = PdfWords(pdf);
        for (const PdfWord& w : words)
            EXPECT_TRUE(TextArea.adjusted(-Tolerance, -Tolerance, Tolerance, Tolerance).contains(w.box))
                << w.text.toStdString() << " on page " << w.page << " at " << w.box.top() << ".." << w.box.bottom();
        return words;
    }
    QString pdf;
};

// The numbers of the words "<prefix>N", in the order given.
std::vector<int> Numbers(const QStringList& words, const QString& prefix)
{
    std::vector<int> numbers;
    const QRegularExpression word(QStringLiteral("^%1(\\d+)$").arg(prefix));
    for (const QString& w : words)
        if (const QRegularExpressionMatch m = word.match(w); m.hasMatch())
            numbers.push_back(m.captured(1).toInt());
    return numbers;
}

std::vector<int> OneTo(int count)
{
    std::vector<int> numbers(static_cast<std::size_t>(count));
    std::iota(numbers.begin(), numbers.end(), 1);
    return numbers;
}

// Words page by page, line by line, left to right.
QStringList ReadingOrder(std::vector<PdfWord> words)
{
    std::stable_sort(words.begin(), words.end(), [](const PdfWord& a, const PdfWord& b) {
        return std::make_tuple(a.page, std::lround(a.box.bottom()), a.box.left())
             < std::make_tuple(b.page, std::lround(b.box.bottom()), b.box.left());
    });
    QStringList texts;
    for (const PdfWord& w : words)
        texts << w.text;
    return texts;
}

TEST_F(PageBreakTest, WrappedParagraphsInMixedSizesPrintEveryLineOnce)
{
    // 300 paragraphs of 30 numbered words; paragraph sizes from 8 to 20 points,
    // and every seventh word larger still, so lines differ in height.
    constexpr int Paragraphs = 300, Words = 30;
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Liberation Serif;}{\\f1 Courier New;}}";
    int n = 0;
    for (int p = 0; p < Paragraphs; ++p) {
        rtf += "\\pard\\f" + QByteArray::number(p % 2) + "\\fs" + QByteArray::number(16 + (p % 7) * 4) + " ";
        for (int w = 0; w < Words; ++w) {
            ++n;
            rtf += w % 7 == 3 ? "{\\fs44 w" + QByteArray::number(n) + "} " : "w" + QByteArray::number(n) + " ";
        }
        rtf += "\\par\n";
    }
    rtf += "}";
    LoadRtf(Editor(), rtf);
    Editor().SetWordWrap(true);
    const std::vector<PdfWord> words = Print(QStringLiteral("wrapped.pdf"));
    ASSERT_GE(PdfPageCount(pdf), 20);
    // Each word once, and the pages follow the text.
    std::vector<int> pageOf(Paragraphs * Words + 1, 0);
    for (const PdfWord& w : words) {
        const std::vector<int> number = Numbers({w.text}, QStringLiteral("w"));
        ASSERT_EQ(number.size(), 1u) << w.text.toStdString();
        EXPECT_EQ(pageOf[std::size_t(number[0])], 0) << w.text.toStdString() << " printed twice";
        pageOf[std::size_t(number[0])] = w.page;
    }
    for (int n = 1; n <= Paragraphs * Words; ++n) {
        EXPECT_NE(pageOf[std::size_t(n)], 0) << "w" << n << " not printed";
        EXPECT_GE(pageOf[std::size_t(n)], pageOf[std::size_t(n) - 1]) << "w" << n << " out of order";
    }
}

TEST_F(PageBreakTest, TableRowsAndARowTallerThanAPagePrintOnce)
{
    // 3,000 rows of two cells; row 1500 holds 150 lines in its first cell.
    constexpr int Rows = 3000, TallRow = 1500, TallLines = 150;
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Courier New;}}\\f0\\fs20 ";
    for (int r = 1; r <= Rows; ++r) {
        rtf += "\\trowd\\cellx3000\\cellx6000\\intbl r" + QByteArray::number(r) + "a";
        if (r == TallRow)
            for (int t = 1; t <= TallLines; ++t)
                rtf += "\\par t" + QByteArray::number(t);
        rtf += "\\cell r" + QByteArray::number(r) + "b\\cell\\row ";
    }
    rtf += "\\pard end\\par}";
    LoadRtf(Editor(), rtf);
    const std::vector<PdfWord> words = Print(QStringLiteral("table.pdf"));
    const QStringList order = ReadingOrder(words);
    QStringList cells;
    for (const QString& w : order)
        if (w.startsWith(QLatin1Char('r')))
            cells << w;
    QStringList expected;
    for (int r = 1; r <= Rows; ++r)
        expected << QStringLiteral("r%1a").arg(r) << QStringLiteral("r%1b").arg(r);
    EXPECT_EQ(cells, expected);
    EXPECT_EQ(Numbers(order, QStringLiteral("t")), OneTo(TallLines));
    EXPECT_EQ(order.count(QStringLiteral("end")), 1);
}

} // namespace
