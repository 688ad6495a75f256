// SPDX-License-Identifier: GPL-3.0-or-later
// What the control draws, read back from pixels: links in the palette's link
// colour and underlined, hidden text not drawn and taking no room, each underline
// kind as it is, and list numbers that start where the paragraph says and
// scroll with their text.
#include "layout/documentlayout.h"
#include "richedit.h"
#include "rtftableinsert.h"
#include "testsupport.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <set>

using namespace platform;
using namespace platform::test;

namespace {

const QColor LinkColour(200, 0, 200);

// A control with a large font and a link colour no text has.
void Prepare(RichEdit& edit, int points = 20)
{
    edit.setFont(QFont(u"Liberation Mono"_qs, points));
    QPalette palette = edit.palette();
    palette.setColor(QPalette::Link, LinkColour);
    edit.setPalette(palette);
    edit.resize(600, 300);
}

QImage Render(RichEdit& edit)
{
    const CHARRANGE selection = edit.ExGetSel();
    edit.SetSel(selection.cpMax, selection.cpMax);
    const QImage image = Grab(edit);
    edit.ExSetSel(selection);
    return image;
}

bool Ink(QRgb pixel)
{
    return qGray(pixel) < 160;
}

// The pixels where two images differ.
QImage Difference(const QImage& a, const QImage& b)
{
    QImage out(a.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                out.setPixel(x, y, qRgb(0, 0, 0));
    return out;
}

// The rows holding ink, grouped into bands of touching rows: {first, last}.
std::vector<std::pair<int, int>> Bands(const QImage& image)
{
    std::vector<std::pair<int, int>> bands;
    for (int y = 0; y < image.height(); ++y) {
        if (Pixels(image, Ink, QRect(0, y, image.width(), 1)) == 0)
            continue;
        if (!bands.empty() && bands.back().second == y - 1)
            bands.back().second = y;
        else
            bands.push_back({y, y});
    }
    return bands;
}

int InkIn(const QImage& image, int x1, int x2)
{
    return x2 > x1 ? Pixels(image, Ink, QRect(x1, 0, x2 - x1, image.height())) : 0;
}

// The first and last columns with ink, or {-1, -1}.
std::pair<int, int> InkColumns(const QImage& image)
{
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x)
        if (InkIn(image, x, x + 1) > 0) {
            first = first < 0 ? x : first;
            last = x;
        }
    return {first, last};
}

// The x of a character position on the first line of the first paragraph.
int XOf(RichEdit& edit, int pos)
{
    const QTextBlock block = edit.Document()->firstBlock();
    const qreal left = edit.Document()->documentLayout()->blockBoundingRect(block).left();
    return int(left + block.layout()->lineAt(0).cursorToX(pos)) - edit.horizontalScrollBar()->value();
}

TEST(Drawing, LinksFromFieldsAndFromDetectionAreInTheLinkColourAndUnderlined)
{
    const QByteArray rtf = "{\\rtf1\\ansi plain {\\field{\\*\\fldinst HYPERLINK \"http://a.example/\"}"
                           "{\\fldrslt FIELD}} plain\\par www.example.org plain}";
    RichEdit edit;
    Prepare(edit);
    edit.AutoUrlDetect(true);
    StreamIn(edit, SF_RTF, rtf);
    const QImage image = Render(edit);

    // Count link-coloured pixels per paragraph; plain text has none.
    const auto link = [](QRgb p) { return Near(p, LinkColour); };
    const int middle = int(edit.Document()->lastBlock().layout()->position().y());
    EXPECT_GT(Pixels(image, link, QRect(0, 0, image.width(), middle)), 50) << "the field is not drawn as a link";
    EXPECT_GT(Pixels(image, link, QRect(0, middle, image.width(), image.height())), 50)
        << "the detected address is not drawn as a link";

    // Underlined: some row holds a long run of the link colour.
    int longest = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = Near(image.pixel(x, y), LinkColour) ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    EXPECT_GT(longest, 40);

    // Another link colour redraws the links, and changes no text.
    int changes = 0;
    edit.OnChange = [&] { ++changes; };
    edit.SetEventMask(ENM_CHANGE);
    QPalette palette = edit.palette();
    palette.setColor(QPalette::Link, QColor(0, 160, 0));
    edit.setPalette(palette);
    const QImage green = Render(edit);
    EXPECT_GT(Pixels(green, [](QRgb p) { return Near(p, QColor(0, 160, 0)); }), 100);
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(edit.GetModify());
}

TEST(Drawing, HiddenTextIsNotDrawnTakesNoRoomAndKeepsItsPositions)
{
    RichEdit hidden;
    Prepare(hidden);
    StreamIn(hidden, SF_RTF, "{\\rtf1\\ansi AAAA{\\v WWWWWWWW}BBBB}");
    RichEdit shown;
    Prepare(shown);
    StreamIn(shown, SF_RTF, "{\\rtf1\\ansi AAAABBBB}");

    EXPECT_EQ(hidden.GetTextLength(), 16);
    EXPECT_EQ(hidden.GetTextRange(4, 12), u"WWWWWWWW"_qs);
    const auto [left, right] = InkColumns(Render(hidden));
    const auto [shownLeft, shownRight] = InkColumns(Render(shown));
    EXPECT_EQ(left, shownLeft);
    EXPECT_NEAR(right, shownRight, 1);

    // The caret does not stop where it could not be seen to move.
    hidden.SetSel(4, 4);
    QTest::keyClick(&hidden, Qt::Key_Right);
    EXPECT_EQ(hidden.ExGetSel(), (CHARRANGE{13, 13}));
    QTest::keyClick(&hidden, Qt::Key_Left);
    QTest::keyClick(&hidden, Qt::Key_Left);
    EXPECT_EQ(hidden.ExGetSel(), (CHARRANGE{3, 3}));

    // Hidden with CFE_HIDDEN through the format record too, and shown again.
    RichEdit edit;
    Prepare(edit);
    edit.SetText(u"AAAAWWWWWWWWBBBB"_qs);
    const int full = InkColumns(Render(edit)).second;
    edit.SetSel(4, 12);
    CHARFORMAT2 hide;
    hide.dwMask = CFM_HIDDEN;
    hide.dwEffects = CFE_HIDDEN;
    edit.SetCharFormat(SCF_SELECTION, hide);
    EXPECT_NEAR(InkColumns(Render(edit)).second, shownRight, 1);
    hide.dwEffects = 0;
    edit.SetCharFormat(SCF_SELECTION, hide);
    EXPECT_EQ(InkColumns(Render(edit)).second, full);
}

// The underline of a kind alone: the text underlined minus the text without it.
QImage UnderlineOf(std::uint8_t kind)
{
    auto render = [](std::uint8_t type) {
        RichEdit edit;
        Prepare(edit);
        edit.SetText(u"word   word"_qs);
        edit.SetSel(0, -1);
        CHARFORMAT2 format;
        format.dwMask = CFM_UNDERLINETYPE;
        format.bUnderlineType = type;
        edit.SetCharFormat(SCF_SELECTION, format);
        edit.SetSel(0, 0);
        return Render(edit);
    };
    return Difference(render(kind), render(CFU_UNDERLINENONE));
}

TEST(Drawing, EachUnderlineKindIsDrawnAsItIs)
{
    const QImage single = UnderlineOf(CFU_UNDERLINE);
    const auto singleBands = Bands(single);
    ASSERT_EQ(singleBands.size(), 1u);
    const int singleThickness = singleBands[0].second - singleBands[0].first + 1;

    const auto doubleBands = Bands(UnderlineOf(CFU_UNDERLINEDOUBLE));
    ASSERT_EQ(doubleBands.size(), 2u) << "a double underline is two separated lines";
    EXPECT_GE(doubleBands[1].first - doubleBands[0].second, 2);

    const auto thickBands = Bands(UnderlineOf(CFU_UNDERLINETHICK));
    ASSERT_EQ(thickBands.size(), 1u);
    EXPECT_GT(thickBands[0].second - thickBands[0].first + 1, singleThickness);

    // Word underline: ink under the words, none under the blanks between them.
    RichEdit probe;
    Prepare(probe);
    probe.SetText(u"word   word"_qs);
    Render(probe);
    const int blankFrom = XOf(probe, 4) + 2;
    const int blankTo = XOf(probe, 7) - 2;
    const QImage word = UnderlineOf(CFU_UNDERLINEWORD);
    EXPECT_EQ(InkIn(word, blankFrom, blankTo), 0);
    EXPECT_GT(InkIn(word, XOf(probe, 0), XOf(probe, 4)), 10);
    EXPECT_GT(InkIn(single, blankFrom, blankTo), 0);

    // Dotted, dashes and wave: each its own line, none of them the single one.
    std::vector<QImage> kinds{single};
    for (std::uint8_t kind : {CFU_UNDERLINEDOTTED, CFU_UNDERLINEDASH, CFU_UNDERLINEDASHDOT, CFU_UNDERLINEDASHDOTDOT,
                              CFU_UNDERLINEWAVE}) {
        const QImage image = UnderlineOf(kind);
        EXPECT_FALSE(Bands(image).empty()) << int(kind);
        for (const QImage& other : kinds)
            EXPECT_NE(image, other) << "underline kind " << int(kind) << " is drawn as another kind";
        kinds.push_back(image);
    }
}

// The strip just left of the text of paragraph number index (from 0), where
// its number is drawn.
QImage NumberStrip(RichEdit& edit, const QImage& image, int index)
{
    constexpr int Width = 24; // the least room a number is given, 360 twips
    const QTextBlock block = edit.Document()->findBlockByNumber(index);
    const QRectF rect = edit.Document()->documentLayout()->blockBoundingRect(block);
    const QTextLine line = block.layout()->lineAt(0);
    const int textLeft = int(rect.left() + line.naturalTextRect().left());
    EXPECT_GE(textLeft, Width);
    return image.copy(textLeft - Width, int(rect.top()), Width, int(line.height()));
}

PARAFORMAT2 Numbering(std::uint16_t start, int startIndent = 0)
{
    PARAFORMAT2 format;
    format.dwMask = PFM_NUMBERING | PFM_NUMBERINGSTART | PFM_NUMBERINGSTYLE | PFM_STARTINDENT | PFM_OFFSET;
    format.wNumbering = PFN_ARABIC;
    format.wNumberingStyle = PFNS_PERIOD;
    format.wNumberingStart = start;
    format.dxStartIndent = startIndent;
    return format;
}

TEST(Drawing, ListNumbersStartWhereTheParagraphSaysAndIndentsShow)
{
    // A list starting at 5 shows "5." where a list from 1 shows it on its fifth item.
    RichEdit fromFive;
    Prepare(fromFive, 12);
    fromFive.SetText(u"x"_qs);
    fromFive.SetSel(0, -1);
    fromFive.SetParaFormat(Numbering(5));
    RichEdit fromOne;
    Prepare(fromOne, 12);
    fromOne.SetText(u"a\rb\rc\rd\rx"_qs);
    fromOne.SetSel(0, -1);
    fromOne.SetParaFormat(Numbering(1));
    const QImage five = NumberStrip(fromFive, Render(fromFive), 0);
    const QImage fifth = NumberStrip(fromOne, Render(fromOne), 4);
    EXPECT_GT(InkIn(five, 0, five.width()), 0);
    EXPECT_EQ(five, fifth);

    // Back to 1: the number follows.
    fromFive.SetParaFormat(Numbering(1));
    const QImage one = NumberStrip(fromFive, Render(fromFive), 0);
    EXPECT_EQ(one, NumberStrip(fromOne, Render(fromOne), 0));

    // A start indent moves the paragraph, number and text, to the right.
    RichEdit indented;
    Prepare(indented, 12);
    indented.SetText(u"x"_qs);
    indented.SetSel(0, -1);
    indented.SetParaFormat(Numbering(1, 1440));
    const int plainLeft = InkColumns(Render(fromFive)).first;
    const int indentedLeft = InkColumns(Render(indented)).first;
    EXPECT_GE(indentedLeft - plainLeft, 90);   // 1440 twips: an inch, 96 pixels
}

TEST(Drawing, NumbersOfAListFromFiveScrollWithTheirTextAsThoseFromOneDo)
{
    const auto shown = [](int start) {
        QByteArray rtf = "{\\rtf1\\ansi";
        for (int i = 0; i < 40; ++i)
            rtf += "{\\*\\pn\\pnlvlbody\\pndec\\pnstart" + QByteArray::number(start) + "{\\pntxta .}}\\fi-360\\li720 item\\par";
        RichEdit edit;
        edit.resize(300, 120);
        edit.SetScrollBars(false, true);
        edit.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&edit));
        StreamIn(edit, SF_RTF, rtf + "}");
        QApplication::processEvents();
        edit.verticalScrollBar()->setValue(100);
        QApplication::processEvents();
        return edit.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(0, 0, 50, 100);
    };
    const QImage fromOne = shown(1);
    const QImage fromFive = shown(5);
    // Scrolled, the numbers stand beside the same lines as Qt's own would.
    for (int y = 0; y < 100; ++y)
        EXPECT_EQ(InkIn(fromFive.copy(0, y, 50, 1), 0, 50) > 0, InkIn(fromOne.copy(0, y, 50, 1), 0, 50) > 0) << "row " << y;
    EXPECT_NE(fromFive, fromOne);
}

QByteArray LongTableUnderADoubleUnderline(int rows)
{
    QByteArray rtf = "{\\rtf1\\ansi\\deff0 {\\uldb word} word\\par ";
    for (int r = 0; r < rows; ++r)
        rtf += "\\trowd\\cellx1500\\cellx3000\\pard\\intbl r" + QByteArray::number(r) + "\\cell x\\cell\\row\r";
    return rtf + "\\pard end\\par}";
}

} // namespace

TEST(Drawing, ALongTableIsLaidOutAScreenAtATimeKeepsTheFirstScreensDecorationsAndHasNoSeams)
{
    RichEdit lazy;
    Prepare(lazy);
    lazy.show();
    StreamIn(lazy, SF_RTF, LongTableUnderADoubleUnderline(4000));
    const QImage first = Render(lazy);
    // Drawing the first screen, the double underline included, laid out only
    // the start: the end of the text is not laid out yet.
    EXPECT_EQ(lazy.Document()->lastBlock().layout()->lineCount(), 0);

    RichEdit whole;
    Prepare(whole);
    whole.show();
    StreamIn(whole, SF_RTF, LongTableUnderADoubleUnderline(4000));
    whole.Document()->documentLayout()->documentSize();   // everything laid out
    ASSERT_GT(whole.Document()->lastBlock().layout()->lineCount(), 0);
    // The same picture, but for the caret at the left edge, which may be mid-blink.
    const QImage second = Render(whole);
    const QRect right(8, 0, first.width() - 8, first.height());
    EXPECT_EQ(first.copy(right), second.copy(right));

    // The blocks the rows are held in meet without a seam.
    const QString text = whole.Document()->toRawText();
    auto top = [&](int row) {
        const QTextBlock block = whole.Document()->findBlock(int(text.indexOf(u'r' + QString::number(row))));
        return whole.Document()->documentLayout()->blockBoundingRect(block).top();
    };
    const int last = int(RowsPerTableBlock) - 1;
    EXPECT_EQ(top(last + 1) - top(last), top(last) - top(last - 1)) << "rows across the blocks' meeting";
}

TEST(Drawing, LinesFarWiderThanTheViewLookTheSameDrawnFromTheirVisiblePart)
{
    // Paragraphs of a few thousand characters without word wrap, one with a
    // link, one folded in pieces; seen from the start, the middle and the end of
    // their lines, with selections that start, end or lie in view.
    QString text;
    for (int p = 0; p < 6; ++p) {
        for (int w = 0; w < 400; ++w)
            text += (w == 200 && p == 1 ? u"http://example.org/x "_qs : u"слово word "_qs);
        text += u'\r';
    }
    for (int w = 0; w < 10000; ++w)
        text += u"долгий "_qs;
    RichEdit edit;
    Prepare(edit, 12);
    edit.SetWordWrap(false);
    edit.SetScrollBars(true, true);
    edit.AutoUrlDetect(true);
    edit.SetText(text);
    auto* layout = qobject_cast<DocumentLayout*>(edit.Document()->documentLayout());
    ASSERT_NE(layout, nullptr);
    // The caret blinks between two pictures on a busy machine: it is left out.
    edit.setCursorWidth(0);
    const auto both = [&](const char* step) {
        layout->SetDrawWhole(true);
        const QImage whole = Grab(edit);
        layout->SetDrawWhole(false);
        const QImage sliced = Grab(edit);
        EXPECT_EQ(Pixels(Difference(whole, sliced), Ink), 0) << step;
        EXPECT_GT(Pixels(sliced, Ink), 1000) << step;
    };
    const int line = 4400;   // characters in each of the first paragraphs, and its end
    QScrollBar* across = edit.horizontalScrollBar();
    for (const double share : {0.0, 0.37, 1.0}) {
        across->setValue(int(across->maximum() * share));
        edit.SetSel(line + 1000, line + 1000);
        both("no selection");
        edit.SetSel(5, 3 * line);   // over whole lines
        both("across lines");
        const int from = edit.cursorForPosition(QPoint(edit.viewport()->width() / 3, 5)).position();
        edit.SetSel(from, from + 40);   // within the view
        both("within");
        edit.SetSel(from, 2 * line + 3);
        both("from the view on");
        edit.SetSel(line - 30, from + 50);
        both("up to the view");
    }
    // The folded paragraph, scrolled down to it.
    edit.SetSel(text.size() - 10, text.size() - 10);
    edit.ScrollCaret();
    edit.SetSel(text.size() - 9000, text.size() - 100);
    both("folded");
}
