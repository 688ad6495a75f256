// SPDX-License-Identifier: GPL-3.0-or-later
// Page layout for printing: pages cover the text once and in order, a selection
// prints only its range, no page is made of blank lines, drawing stays inside
// the area, and the layout follows edits between runs.
#include "richedit.h"
#include "testsupport.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

namespace {

constexpr int Dpi = 150;
constexpr int AreaInches = 2;

// A page-sized image at the printer's resolution: 2 x 2 inches of text area
// with a quarter inch round it.
QImage PageImage()
{
    const int side = Dpi * AreaInches + Dpi / 2;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMeter = int(std::lround(Dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

FORMATRANGE Area(QPainter* painter, const QImage& target, CHARRANGE range = {0, -1})
{
    FORMATRANGE fr;
    fr.hdc = painter;
    fr.hdcTarget = &target;
    fr.rc = {360, 360, 360 + AreaInches * 1440, 360 + AreaInches * 1440};
    fr.rcPage = fr.rc;
    fr.chrg = range;
    return fr;
}

// The page loop of a print run: render a page, measure the next one, go on
// while something fits. Answers the first position of every page and, last, the
// position where printing stopped.
std::vector<std::int32_t> RunPages(RichEdit& edit, FORMATRANGE fr)
{
    std::vector<std::int32_t> starts;
    const std::int32_t length = edit.GetTextLength();
    edit.FormatRange(nullptr, false);
    std::int32_t pos = fr.chrg.cpMin;
    std::int32_t next = 0;
    do {
        starts.push_back(pos);
        fr.chrg.cpMin = pos;
        next = edit.FormatRange(&fr, true);
        if (next < length && next != -1) {
            fr.chrg.cpMin = next;
            if (edit.FormatRange(&fr, false) <= next)
                break;
        }
        pos = next;
        if (starts.size() > 10000)
            break;
    } while (next < length && next != -1);
    edit.FormatRange(nullptr, false);
    starts.push_back(next);
    return starts;
}

QString Lines(int count, const QString& prefix = QStringLiteral("Строка"))
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += prefix + QStringLiteral(" %1 мягких булок\r").arg(i);
    return text;
}

void UseFixedFont(RichEdit& edit)
{
    edit.setFont(QFont(QStringLiteral("Liberation Mono"), 10));
}

TEST(FormatRange, PagesCoverTheTextOnceInOrderAtLineStarts)
{
    RichEdit edit;
    UseFixedFont(edit);
    edit.SetText(Lines(300));
    QImage image = PageImage();
    QPainter painter(&image);
    const std::vector<std::int32_t> pages = RunPages(edit, Area(&painter, image));
    ASSERT_GT(pages.size(), 3u);
    EXPECT_EQ(pages.front(), 0);
    EXPECT_EQ(pages.back(), edit.GetTextLength());
    const QString text = edit.GetTextRange(0, -1);
    std::vector<int> linesPerPage;
    for (std::size_t i = 1; i + 1 < pages.size(); ++i) {
        ASSERT_GT(pages[i], pages[i - 1]);
        EXPECT_EQ(text[pages[i] - 1], u'\r') << "page " << i << " starts inside a line";
        linesPerPage.push_back(int(text.mid(pages[i - 1], pages[i] - pages[i - 1]).count(u'\r')));
    }
    // Equal lines fill every page but the last alike.
    for (int n : linesPerPage)
        EXPECT_EQ(n, linesPerPage.front());
    // Measuring, without a device to draw on, answers what drawing did.
    FORMATRANGE measure = Area(nullptr, image, {pages[1], -1});
    edit.FormatRange(nullptr, false);
    EXPECT_EQ(edit.FormatRange(&measure, false), pages[2]);
}

// Each page drawn into a PDF of its own page, read back as text: a line drawn on
// two pages, even clipped away on one, would be there twice.
TEST(FormatRange, EveryLineIsDrawnOnExactlyOnePage)
{
    RichEdit edit;
    UseFixedFont(edit);
    edit.SetText(Lines(200));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("pages.pdf"));
    {
        QPdfWriter writer(file);
        writer.setResolution(Dpi);
        writer.setPageLayout(QPageLayout(QPageSize(QSizeF(2.5, 2.5), QPageSize::Inch), QPageLayout::Portrait,
                                         QMarginsF()));
        QPainter painter(&writer);
        FORMATRANGE fr;
        fr.hdc = &painter;
        fr.rc = {360, 360, 360 + AreaInches * 1440, 360 + AreaInches * 1440};
        fr.chrg = {0, -1};
        const std::int32_t length = edit.GetTextLength();
        std::int32_t next = 0;
        while (true) {
            next = edit.FormatRange(&fr, true);
            if (next >= length)
                break;
            writer.newPage();
            fr.chrg.cpMin = next;
        }
    }
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), file,
                                                  QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    std::vector<int> numbers;
    static const QRegularExpression line(QStringLiteral("Строка (\\d+) мягких булок"));
    for (auto it = line.globalMatch(text); it.hasNext();)
        numbers.push_back(it.next().captured(1).toInt());
    ASSERT_EQ(numbers.size(), 200u);
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(numbers[std::size_t(i)], i);
}

TEST(FormatRange, TextEndingExactlyAtAPageEndMakesNoBlankPage)
{
    RichEdit edit;
    UseFixedFont(edit);
    edit.SetText(Lines(200, QStringLiteral("x")));
    QImage image = PageImage();
    QPainter painter(&image);
    FORMATRANGE fr = Area(&painter, image);
    const QString firstPage = edit.GetTextRange(0, edit.FormatRange(&fr, false));
    const int perPage = int(firstPage.count(u'\r'));
    ASSERT_GT(perPage, 2);
    // Two full pages, then nothing but paragraph ends and blanks.
    for (const QString& tail : {QString(), QStringLiteral("\r"), QStringLiteral("\r\r \r\t\r")}) {
        edit.SetText(Lines(2 * perPage, QStringLiteral("x")) + tail);
        const std::vector<std::int32_t> pages = RunPages(edit, Area(&painter, image));
        EXPECT_EQ(pages.size(), 3u) << "tail of " << tail.size() << " characters";
        EXPECT_EQ(pages.back(), edit.GetTextLength());
    }
}

TEST(FormatRange, SelectionLaysOutOnlyItsRange)
{
    RichEdit edit;
    UseFixedFont(edit);
    const QString text = Lines(200);
    edit.SetText(text);
    QImage image = PageImage();
    QPainter painter(&image);
    // From inside line 10 to inside line 150.
    const int from = int(text.indexOf(QStringLiteral("Строка 10 "))) + 3;
    const int to = int(text.indexOf(QStringLiteral("Строка 150 "))) + 5;
    const std::vector<std::int32_t> pages = RunPages(edit, Area(&painter, image, {from, to}));
    ASSERT_GT(pages.size(), 2u);
    EXPECT_EQ(pages.front(), from);
    EXPECT_EQ(pages.back(), to);
    for (std::size_t i = 1; i < pages.size(); ++i)
        EXPECT_GT(pages[i], pages[i - 1]);

    // The same characters as a text of their own make the same pages.
    RichEdit alone;
    UseFixedFont(alone);
    alone.SetText(text.mid(from, to - from));
    const std::vector<std::int32_t> own = RunPages(alone, Area(&painter, image));
    ASSERT_EQ(own.size(), pages.size());
    for (std::size_t i = 0; i < own.size(); ++i)
        EXPECT_EQ(own[i] + from, pages[i]);
}

// Dark pixels inside and outside a rectangle of the image.
std::pair<int, int> InkInsideOutside(const QImage& image, const QRect& area, QRgb* sample = nullptr)
{
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qGray(pixel) > 200)
                continue;
            (area.contains(x, y) ? inside : outside)++;
            if (sample && qRed(pixel) > qGreen(pixel) + 60)
                *sample = pixel;
        }
    }
    return {inside, outside};
}

TEST(FormatRange, DrawsInsideTheAreaAndInBlackWhenMonochrome)
{
    RichEdit edit;
    UseFixedFont(edit);
    edit.SetText(Lines(300));
    CHARFORMAT2 red;
    red.dwMask = CFM_COLOR;
    red.crTextColor = RgbColor(255, 0, 0);
    edit.ExSetSel({0, -1});
    edit.SetCharFormat(SCF_SELECTION, red);
    edit.ExSetSel({0, 0});
    const QRect area(Dpi / 4, Dpi / 4, Dpi * AreaInches, Dpi * AreaInches);

    for (bool monochrome : {false, true}) {
        QImage image = PageImage();
        {
            QPainter painter(&image);
            FORMATRANGE fr = Area(&painter, image);
            fr.monochrome = monochrome;
            edit.FormatRange(nullptr, false);
            // The second page: drawing must not leak the first or the third.
            fr.chrg.cpMin = edit.FormatRange(&fr, false);
            edit.FormatRange(&fr, true);
        }
        QRgb reddish = 0;
        const auto [inside, outside] = InkInsideOutside(image, area, &reddish);
        EXPECT_GT(inside, 1000);
        EXPECT_EQ(outside, 0);
        EXPECT_EQ(reddish != 0, !monochrome) << "monochrome " << monochrome;
    }
}

// Hidden text and underline kinds print as they show: a hidden run leaves no ink
// and no gap, a double underline draws a second line.
TEST(FormatRange, PrintsHiddenTextAndUnderlineKindsAsTheyShow)
{
    const auto ink = [](const QString& text, int hiddenFrom, int hiddenTo, std::uint8_t underline) {
        RichEdit edit;
        UseFixedFont(edit);
        edit.SetText(text);
        if (hiddenTo > hiddenFrom) {
            CHARFORMAT2 hidden;
            hidden.dwMask = CFM_HIDDEN;
            hidden.dwEffects = CFE_HIDDEN;
            edit.ExSetSel({hiddenFrom, hiddenTo});
            edit.SetCharFormat(SCF_SELECTION, hidden);
        }
        if (underline) {
            CHARFORMAT2 under;
            under.dwMask = CFM_UNDERLINETYPE;
            under.bUnderlineType = underline;
            edit.ExSetSel({0, -1});
            edit.SetCharFormat(SCF_SELECTION, under);
        }
        edit.ExSetSel({0, 0});
        QImage image = PageImage();
        {
            QPainter painter(&image);
            FORMATRANGE fr = Area(&painter, image);
            edit.FormatRange(nullptr, false);
            edit.FormatRange(&fr, true);
            edit.FormatRange(nullptr, false);
        }
        return InkInsideOutside(image, QRect(0, 0, image.width(), image.height())).first;
    };
    const QString plain = QStringLiteral("AAAA BBBB");
    // Equal but for anti-aliasing: the hidden run still shifts by a fraction of a pixel.
    const int shown = ink(plain, 0, 0, 0);
    EXPECT_NEAR(ink(QStringLiteral("AAAA WWWWWWWW BBBB"), 5, 14, 0), shown, shown / 10);
    EXPECT_GT(ink(plain, 0, 0, CFU_UNDERLINEDOUBLE), ink(plain, 0, 0, CFU_UNDERLINE));
}

TEST(FormatRange, AnswersForEmptyAreasRangesAndEnds)
{
    RichEdit edit;
    UseFixedFont(edit);
    edit.SetText(Lines(10));
    QImage image = PageImage();
    FORMATRANGE fr = Area(nullptr, image);
    fr.rc.bottom = fr.rc.top;
    fr.chrg = {5, -1};
    EXPECT_EQ(edit.FormatRange(&fr, false), 5);   // nothing fits in no room
    fr = Area(nullptr, image, {edit.GetTextLength(), -1});
    EXPECT_EQ(edit.FormatRange(&fr, false), edit.GetTextLength());
    fr = Area(nullptr, image, {7, 7});
    EXPECT_EQ(edit.FormatRange(&fr, false), 7);
    fr = Area(nullptr, image, {0, -1});
    EXPECT_EQ(edit.FormatRange(&fr, false), edit.GetTextLength());  // ten lines fit on one page
    EXPECT_EQ(edit.FormatRange(nullptr, false), 0);
}

TEST(FormatRange, EditsBetweenRunsAreLaidOutAfresh)
{
    RichEdit edit;
    UseFixedFont(edit);
    const QString text = Lines(100);
    edit.SetText(text);
    QImage image = PageImage();
    FORMATRANGE fr = Area(nullptr, image);
    const std::int32_t before = edit.FormatRange(&fr, false);
    const int perPage = int(text.left(before).count(u'\r'));
    // Without the release call: three short lines put in front push three lines
    // of the old first page onto the second.
    edit.SetSel(0, 0);
    edit.ReplaceSel(QStringLiteral("x\rx\rx\r"), true);
    int end = 0;
    for (int line = 0; line < perPage - 3; ++line)
        end = int(text.indexOf(u'\r', end)) + 1;
    EXPECT_EQ(edit.FormatRange(&fr, false), 6 + end);
}

TEST(FormatRange, TablesAndOversizedLinesStillMoveOnPageByPage)
{
    RichEdit edit;
    UseFixedFont(edit);
    // Rows of a table, then a paragraph of one letter taller than a page.
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Liberation Mono;}}\\f0\\fs20 before\\par ";
    for (int r = 0; r < 120; ++r)
        rtf += "\\trowd\\cellx1000\\cellx2000\\cellx3000\\intbl r" + QByteArray::number(r) + "c0\\cell r"
               + QByteArray::number(r) + "c1\\cell r" + QByteArray::number(r) + "c2\\cell\\row ";
    rtf += "\\pard\\fs800 B\\par\\fs20 after}";
    test::StreamIn(edit, SF_RTF, rtf);
    ASSERT_TRUE(edit.GetTextRange(0, -1).contains(QStringLiteral("r119c2")));

    QImage image = PageImage();
    QPainter painter(&image);
    const std::vector<std::int32_t> pages = RunPages(edit, Area(&painter, image));
    ASSERT_GT(pages.size(), 3u);
    for (std::size_t i = 1; i < pages.size(); ++i)
        EXPECT_GT(pages[i], pages[i - 1]);
    EXPECT_EQ(pages.back(), edit.GetTextLength());
}

} // namespace
