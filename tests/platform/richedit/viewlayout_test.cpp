// SPDX-License-Identifier: GPL-3.0-or-later
// A long text in a shown control: only what is near the viewport is laid out,
// yet the caret, selections, search and lines far beyond it are exact, heights
// corrected above the viewport do not move what it shows, and scrolling through
// the whole text keeps memory and the number of layouts bounded.
#include "layout/documentlayout.h"
#include "richedit.h"
#include "testsupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

using namespace platform;
using namespace platform::test;

namespace {

// Paragraphs of differing lengths, some wrapping over several lines, each
// starting with its number so that any line can be told from the others.
QString Prose(int paragraphs)
{
    QString text;
    for (int i = 0; i < paragraphs; ++i) {
        text += QString::number(i) + u' ';
        for (int w = 0; w < (i * 7) % 40 + 1; ++w)
            text += u"слово "_qs;
        text += i + 1 < paragraphs ? u"\r\n"_qs : u" последнее"_qs;
    }
    return text;
}

// Bytes the heap hands out now; 0 where that is not known.
std::size_t HeapInUse()
{
#if defined(__GLIBC__)
    return mallinfo2().uordblks;
#else
    return 0;
#endif
}

int BlocksWithLines(const QTextDocument& doc)
{
    int count = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        count += block.layout() && block.layout()->lineCount() > 0 ? 1 : 0;
    return count;
}

// The first display line of each block, and the total, found by laying every block out.
std::vector<int> LaidOutFirstLines(const QTextDocument& doc)
{
    const auto* layout = qobject_cast<DocumentLayout*>(doc.documentLayout());
    std::vector<int> first{0};
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        first.push_back(first.back() + std::max(1, layout->LaidOut(block)->lineCount()));
    return first;
}

struct ShownText {
    RichEdit edit;
    explicit ShownText(int paragraphs, bool wrap = true) : ShownText(Prose(paragraphs), wrap, QSize(500, 300)) {}
    ShownText(const QString& text, bool wrap, QSize size)
    {
        edit.SetWordWrap(wrap);
        edit.SetScrollBars(true, true);
        edit.resize(size);
        StreamIn(edit, SF_TEXT | SF_UNICODE, Utf16(text));
        edit.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&edit));
        QApplication::processEvents();
    }
    QScrollBar* Bar() { return edit.verticalScrollBar(); }
    // The character drawn at a point of the viewport.
    int At(QPoint point) { return edit.cursorForPosition(point).position(); }
    bool Shows(int pos)
    {
        QTextCursor cursor(edit.Document());
        cursor.setPosition(pos);
        const QRect rect = edit.cursorRect(cursor);
        return edit.viewport()->rect().contains(rect.center());
    }
};

} // namespace

TEST(ViewLayout, CaretSearchSelectionAndLinesFarBeyondWhatIsLaidOut)
{
    ShownText shown(20000);
    RichEdit& edit = shown.edit;
    const QTextDocument& doc = *edit.Document();
    ASSERT_NE(qobject_cast<DocumentLayout*>(doc.documentLayout()), nullptr);
    // Opening lays out the first screens only, and shows the text's top margin.
    EXPECT_LT(BlocksWithLines(doc), 500);
    EXPECT_EQ(shown.Bar()->value(), 0);
    const int length = edit.GetTextLength();

    // Search selects a match on the last line and shows it where a click finds it.
    CHARRANGE found;
    const int match = edit.FindTextEx({0, -1}, u"последнее"_qs, FR_DOWN, &found);
    ASSERT_EQ(match, length - 9);
    edit.ExSetSel(found);
    edit.ScrollCaret();
    QApplication::processEvents();
    ASSERT_TRUE(shown.Shows(match));
    QTextCursor inMatch(edit.Document());
    inMatch.setPosition(match + 2);
    const QPoint point = edit.cursorRect(inMatch).center();
    EXPECT_EQ(shown.At(point), match + 2);
    QTest::mouseClick(edit.viewport(), Qt::LeftButton, {}, point);
    EXPECT_EQ(edit.ExGetSel().cpMin, match + 2);

    // Lines as displayed, there and back: the caret's line starts where its
    // paragraph's last wrapped line starts, and holds the match.
    const int line = edit.ExLineFromChar(match);
    EXPECT_EQ(line, edit.GetLineCount() - 1);
    EXPECT_TRUE(edit.GetLine(line).contains(u"последнее"_qs));
    EXPECT_LE(edit.LineIndex(line), match);

    // A selection from the top to a click far below, across what was never laid out.
    edit.SetSel(3, 3);
    edit.ScrollCaret();
    shown.Bar()->setValue(shown.Bar()->maximum() * 3 / 4);
    QApplication::processEvents();
    const QPoint middle(40, edit.viewport()->height() / 2);
    const int under = shown.At(middle);
    QTest::mouseClick(edit.viewport(), Qt::LeftButton, Qt::ShiftModifier, middle);
    EXPECT_EQ(edit.ExGetSel().cpMin, 3);
    EXPECT_EQ(edit.ExGetSel().cpMax, under);
    EXPECT_GT(under, length / 2);

    // A click in the selection places the caret when the mouse is let go (Qt
    // sees that press, it may start a drag); a drag then selects from its press
    // to its release, and moving the mouse afterwards changes nothing.
    const auto mouse = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, edit.viewport()->mapToGlobal(at), Qt::LeftButton, buttons, {});
        QApplication::sendEvent(edit.viewport(), &event);
    };
    const QPoint from(60, 20);
    const QPoint to(120, edit.viewport()->height() - 30);
    for (const QPoint at : {from, middle}) {
        QTest::mouseClick(edit.viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(edit.ExGetSel().cpMin, shown.At(at));
        EXPECT_EQ(edit.ExGetSel().cpMax, shown.At(at));
    }
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    mouse(QEvent::MouseMove, middle, Qt::LeftButton);
    mouse(QEvent::MouseMove, to, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, to, {});
    mouse(QEvent::MouseMove, from, {});
    EXPECT_EQ(edit.ExGetSel().cpMin, shown.At(from));
    EXPECT_EQ(edit.ExGetSel().cpMax, shown.At(to));

    // Going to a remembered place (a bookmark) far above shows it; Ctrl+End the end.
    const int mark = doc.findBlockByNumber(12345).position();
    edit.SetSel(mark, mark);
    edit.ScrollCaret();
    QApplication::processEvents();
    EXPECT_TRUE(shown.Shows(mark));
    EXPECT_TRUE(edit.GetLine(edit.ExLineFromChar(mark)).startsWith(u"12345 "_qs));
    QTest::keyClick(edit.viewport(), Qt::Key_End, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(edit.ExGetSel().cpMin, length);
    EXPECT_TRUE(shown.Shows(length));
    // Page Up from the end moves by about a screen, exactly by lines.
    const int before = edit.ExLineFromChar(-1);
    QTest::keyClick(edit.viewport(), Qt::Key_PageUp);
    const int after = edit.ExLineFromChar(-1);
    EXPECT_GT(before - after, 5);
    EXPECT_LT(before - after, 30);
    EXPECT_TRUE(shown.Shows(edit.ExGetSel().cpMin));
}

TEST(ViewLayout, CorrectedHeightsAboveTheViewportDoNotMoveWhatItShows)
{
    for (const bool wrap : {true, false}) {
        ShownText shown(20000, wrap);
        RichEdit& edit = shown.edit;
        // Dragged to the middle: everything above has estimated heights.
        shown.Bar()->setValue(shown.Bar()->maximum() / 2);
        QApplication::processEvents();
        const QPoint top(30, 5);
        const int shownBefore = shown.At(top);
        QTextCursor cursor(edit.Document());
        cursor.setPosition(shownBefore);
        const int yBefore = edit.cursorRect(cursor).top();

        // Counting every line, or asking where each paragraph lies, lays every
        // paragraph above out.
        EXPECT_GT(edit.GetLineCount(), 19999);
        const QTextDocument& doc = *edit.Document();
        for (QTextBlock block = doc.begin(); block.position() < shownBefore; block = block.next())
            doc.documentLayout()->blockBoundingRect(block);
        QApplication::processEvents();
        EXPECT_EQ(shown.At(top), shownBefore) << "wrap " << wrap;
        EXPECT_EQ(edit.cursorRect(cursor).top(), yBefore) << "wrap " << wrap;

        // Paragraphs put in far above (as Replace All does) do not move it either.
        const int lengthBefore = edit.GetTextLength();
        QTextCursor far(edit.Document());
        far.setPosition(10);
        far.insertText(u"\nвставка\nещё"_qs);
        QApplication::processEvents();
        EXPECT_EQ(shown.At(top), shownBefore + edit.GetTextLength() - lengthBefore);
        // Word wrap toggled: the same paragraph stays at the top.
        const int paragraph = edit.Document()->findBlock(shown.At(top)).blockNumber();
        edit.SetWordWrap(!wrap);
        QApplication::processEvents();
        EXPECT_EQ(edit.Document()->findBlock(shown.At(top)).blockNumber(), paragraph) << "wrap " << wrap;
        // It estimates the edited text as a walk through every paragraph does.
        auto* layout = qobject_cast<DocumentLayout*>(doc.documentLayout());
        const double lastTop = layout->Placed(doc.lastBlock()).top();
        layout->SetPieceLimits(DocumentLayout::LongBlockChars, 0);
        QApplication::processEvents();
        EXPECT_EQ(layout->Placed(doc.lastBlock()).top(), lastTop) << "wrap " << wrap;
    }
}

TEST(ViewLayout, AFontEnlargedFarBelowTheViewportGrowsTheEstimatedHeight)
{
    // One font throughout at first: every estimate shares its metrics.
    ShownText shown(20000, false);
    QTextDocument& doc = *shown.edit.Document();
    const double before = doc.documentLayout()->documentSize().height();
    QTextCursor far(&doc);
    far.setPosition(doc.findBlockByNumber(15000).position());
    far.setPosition(doc.findBlockByNumber(15099).position(), QTextCursor::KeepAnchor);
    QTextCharFormat large;
    large.setFontPointSize(40);
    far.mergeCharFormat(large);
    QApplication::processEvents();
    EXPECT_LT(BlocksWithLines(doc), 500);
    // 99 lines, each some 45 pixels taller.
    EXPECT_GT(doc.documentLayout()->documentSize().height() - before, 99 * 30);
}

TEST(ViewLayout, WrappedLinesAreCountedExactlyWithoutLayingOutShortParagraphs)
{
    // Mostly short lines, as in logs and verse; some just around the width where
    // a line wraps, some long, some with tabs or a second font.
    QString text;
    constexpr int Paragraphs = 6000;
    for (int i = 0; i < Paragraphs; ++i) {
        const int length = i % 97 == 0 ? 400 : (i % 41 == 0 ? 88 + i % 9 : (i * 13) % 70);
        QString line = QString::number(i) + u' ';
        while (line.size() < length)
            line += i % 53 == 0 ? u"\tсл "_qs : u"слово "_qs;
        text += line.left(std::max<qsizetype>(length, line.indexOf(u' '))) + u"\r\n"_qs;
    }
    ShownText shown(text, true, QSize(900, 300));
    RichEdit& edit = shown.edit;
    QTextCursor bold(edit.Document());
    for (int i = 3; i < Paragraphs; i += 111) {
        bold.setPosition(edit.Document()->findBlockByNumber(i).position() + 1);
        bold.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setFontWeight(QFont::Black);
        format.setFontPointSize(15);
        bold.mergeCharFormat(format);
    }
    QApplication::processEvents();
    const auto* layout = qobject_cast<DocumentLayout*>(edit.Document()->documentLayout());
    ASSERT_NE(layout, nullptr);

    const int count = edit.GetLineCount();
    const int lastLine = edit.ExLineFromChar(edit.GetTextLength());
    const int line4000 = edit.ExLineFromChar(edit.Document()->findBlockByNumber(4000).position());
    int measured = 0;
    for (int i = 0; i < Paragraphs; ++i)
        measured += layout->HeightKnown(i) ? 1 : 0;
    EXPECT_LT(measured, Paragraphs / 4) << "short paragraphs were laid out to be counted";

    // What laying every paragraph out finds.
    const std::vector<int> exact = LaidOutFirstLines(*edit.Document());
    EXPECT_EQ(count, exact.back());
    EXPECT_EQ(lastLine, exact.back() - 1);
    EXPECT_EQ(line4000, exact[4000]);
    const QTextBlock end = edit.Document()->lastBlock();
    const QTextLayout* lines = layout->LaidOut(end);
    EXPECT_EQ(edit.LineIndex(exact.back() - 1), end.position() + lines->lineAt(lines->lineCount() - 1).textStart());
    EXPECT_GT(exact.back(), Paragraphs + 60);
}

TEST(ViewLayout, WideParagraphsAreLaidOutInTheirOwnLayoutsNearTheViewOnly)
{
    // Unwrapped paragraphs of some 1,050 characters: those drawn are laid out in
    // the blocks' own layouts, which the caret's moves through them use as they
    // are, so that a Page Down does not lay a screenful out twice.
    QString text;
    constexpr int Paragraphs = DocumentLayout::KeptLayoutsLimit * 3 / 2;
    for (int i = 0; i < Paragraphs; ++i)
        text += QString::number(i) + u' ' + u"слово "_qs.repeated(174) + u"\r\n"_qs;
    ShownText shown(text, false, QSize(600, 300));
    const QTextDocument& doc = *shown.edit.Document();
    for (int number = 1; number < 8; ++number)
        EXPECT_GT(doc.findBlockByNumber(number).layout()->lineCount(), 0) << number;

    // Far from the view they let their lines go again.
    QScrollBar* bar = shown.Bar();
    for (int value = 0; value < bar->maximum(); value += bar->pageStep()) {
        bar->setValue(value);
        shown.edit.viewport()->repaint();
    }
    QApplication::processEvents();
    const auto* layout = qobject_cast<DocumentLayout*>(doc.documentLayout());
    EXPECT_LT(BlocksWithLines(doc), DocumentLayout::KeptLayoutsLimit + 200);
    EXPECT_LT(layout->KeptLayouts(), DocumentLayout::KeptLayoutsLimit + 200);
    const int last = shown.At(QPoint(10, shown.edit.viewport()->height() - 3));
    EXPECT_GT(doc.findBlock(last).blockNumber(), Paragraphs - 20);
    EXPECT_GT(doc.findBlock(last).layout()->lineCount(), 0);
}

TEST(ViewLayout, ScrollingThroughKeepsMemoryAndLayoutsBounded)
{
    ShownText shown(20000);
    const QTextDocument& doc = *shown.edit.Document();
    QScrollBar* bar = shown.Bar();
    const auto scrollTo = [&](int end) {
        for (int value = bar->value(); value < end; value += 2 * bar->pageStep()) {
            bar->setValue(value);
            shown.edit.viewport()->repaint();
        }
        QApplication::processEvents();
    };
    // Once as many layouts are kept as may be, the second half of the text takes
    // no more memory than the first left (each block Qt ever lays out keeps most
    // of a kilobyte for as long as it lives).
    scrollTo(bar->maximum() / 2);
    const std::size_t half = HeapInUse();
    scrollTo(bar->maximum());
    EXPECT_LT(double(HeapInUse()) - double(half), 1.0e6);
    const auto* layout = qobject_cast<DocumentLayout*>(doc.documentLayout());
    EXPECT_LE(layout->KeptLayouts(), DocumentLayout::KeptLayoutsLimit + 200);
    EXPECT_GT(layout->KeptLayouts(), 0);
    // What was drawn holds no lines in the blocks' own layouts; the caret's block does.
    EXPECT_LT(BlocksWithLines(doc), 50);
    // The end is shown.
    const int last = shown.At(QPoint(10, shown.edit.viewport()->height() - 3));
    EXPECT_GT(doc.findBlock(last).blockNumber(), 19000);
}

TEST(ViewLayout, ATableHandsTheDocumentToQtsLayout)
{
    ShownText shown(200);
    RichEdit& edit = shown.edit;
    edit.SetSel(0, 0);
    QTextCursor(edit.Document()).insertTable(2, 2);
    QApplication::processEvents();
    EXPECT_EQ(qobject_cast<DocumentLayout*>(edit.Document()->documentLayout()), nullptr);
    // Its lines are still counted and found.
    EXPECT_TRUE(edit.GetLine(edit.ExLineFromChar(edit.GetTextLength())).contains(u"последнее"_qs));
}

TEST(ViewLayout, WrappedLinesAreCountedWhileIdleAndRecountedAfterEdits)
{
    ShownText shown(8000);
    RichEdit& edit = shown.edit;
    QTextDocument& doc = *edit.Document();
    int counted = 0;
    edit.OnLinesCounted = [&] { ++counted; };

    // Ctrl+End: the caret's line is not known at once, and asking does not count
    // the whole text; it is counted while idle, and then answers exactly.
    QTest::keyClick(edit.viewport(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_FALSE(edit.LineKnown(-1));
    QTRY_COMPARE_WITH_TIMEOUT(counted, 1, 60000);
    EXPECT_TRUE(edit.LineKnown(-1));
    const int middle = doc.findBlockByNumber(4000).position() + 3;
    const int lineOfMiddle = edit.ExLineFromChar(middle);
    const int total = edit.GetLineCount();
    const int endLine = edit.ExLineFromChar(-1);
    std::vector<int> exact = LaidOutFirstLines(doc);
    EXPECT_EQ(total, exact.back());
    EXPECT_EQ(endLine, exact.back() - 1);
    EXPECT_EQ(lineOfMiddle, exact[4000]);
    EXPECT_GT(total, 8000 + 2000);
    EXPECT_EQ(edit.LineIndex(lineOfMiddle), middle - 3);

    // A paragraph above grows by some lines, another is split, and a large
    // insertion far above comes in: every count below follows.
    QTextCursor cursor(&doc);
    cursor.setPosition(doc.findBlockByNumber(10).position() + 2);
    cursor.insertText(u"длинное слово "_qs.repeated(40));
    cursor.setPosition(doc.findBlockByNumber(20).position() + 2);
    cursor.insertText(u"\n"_qs);
    cursor.setPosition(doc.findBlockByNumber(30).position());
    cursor.insertText(Prose(300).replace(u"\r\n"_qs, u"\n"_qs) + u'\n');
    QApplication::processEvents();
    exact = LaidOutFirstLines(doc);
    EXPECT_EQ(edit.GetLineCount(), exact.back());
    EXPECT_EQ(edit.ExLineFromChar(edit.GetTextLength()), exact.back() - 1);
    EXPECT_EQ(edit.ExLineFromChar(doc.findBlockByNumber(4000).position()), exact[4000]);
    QTextBlock wrapped = doc.findBlockByNumber(5000);
    while (wrapped.layout()->lineCount() < 2)
        wrapped = wrapped.next();
    EXPECT_EQ(edit.LineIndex(exact[std::size_t(wrapped.blockNumber())] + 1),
              wrapped.position() + wrapped.layout()->lineAt(1).textStart());
}

TEST(ViewLayout, WithoutWrapTheWidestLineInViewSetsTheHorizontalScrollBar)
{
    // Lines all as high as estimated: only their width is news to the view.
    QString text;
    for (int line = 0; line < 300; ++line) {
        for (int w = 0; w < 60; ++w)
            text += u"слово "_qs;
        text += u"\r\n"_qs;
    }
    ShownText shown(text, false, QSize(500, 300));
    QScrollBar* across = shown.edit.horizontalScrollBar();
    EXPECT_GT(across->maximum(), 1000);
    // End goes to the end of the line, and the view follows it there.
    shown.edit.SetSel(10, 10);
    QTest::keyClick(&shown.edit, Qt::Key_End);
    QApplication::processEvents();
    EXPECT_GT(across->value(), 1000);
    EXPECT_TRUE(shown.Shows(shown.edit.textCursor().position()));
}
