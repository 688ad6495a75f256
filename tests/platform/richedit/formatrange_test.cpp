// SPDX-License-Identifier: GPL-3.0-or-later
// Page layout for printing: pages cover the text once and in order, no page is
// made of blank lines, a line taller than a page still moves on, hidden text and
// underlines print as shown, and the layout follows edits between runs. Reading
// the printed pages back is the print tests' part.
#include "richedit.h"
#include "testsupport.h"

#include <QImage>
#include <QPainter>
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
    return platform::test::PageImage(QSize(side, side), Dpi);
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

    // Two full pages, then nothing but paragraph ends and blanks: no third page.
    for (const QString& tail : {QString(), QStringLiteral("\r"), QStringLiteral("\r\r \r\t\r")}) {
        edit.SetText(Lines(2 * linesPerPage.front()) + tail);
        const std::vector<std::int32_t> two = RunPages(edit, Area(&painter, image));
        EXPECT_EQ(two.size(), 3u) << "tail of " << tail.size() << " characters";
        EXPECT_EQ(two.back(), edit.GetTextLength());
    }
}

TEST(FormatRange, ALineTallerThanAPageStillMovesOnPageByPage)
{
    RichEdit edit;
    UseFixedFont(edit);
    test::StreamIn(edit, SF_RTF, "{\\rtf1\\ansi{\\fonttbl{\\f0 Liberation Mono;}}\\f0\\fs20 before\\par\\fs800 B\\par\\fs20 after}");
    QImage image = PageImage();
    QPainter painter(&image);
    const std::vector<std::int32_t> pages = RunPages(edit, Area(&painter, image));
    ASSERT_GE(pages.size(), 2u);
    for (std::size_t i = 1; i < pages.size(); ++i)
        EXPECT_GT(pages[i], pages[i - 1]);
    EXPECT_EQ(pages.back(), edit.GetTextLength());
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
        return platform::test::Pixels(image, [](QRgb p) { return qGray(p) <= 200; });
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

} // namespace
