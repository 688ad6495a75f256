// SPDX-License-Identifier: GPL-3.0-or-later
// A text with very long paragraphs: loaded into a control no one sees, nothing
// is laid out; shown without word wrap, a long paragraph is folded so that a
// repaint draws a part of it, while the lines the control reports are still
// its paragraphs; an address read across the edge of two stream blocks is one
// link. (How long things take is measured in bench/, not here.)
#include "layout/documentlayout.h"
#include "richedit.h"
#include "testsupport.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

using namespace platform;
using namespace platform::test;

namespace {

// Words and spaces, no line break.
QByteArray OneLine(qsizetype length)
{
    QByteArray line;
    line.reserve(length);
    while (line.size() < length)
        line += "word ";
    line.truncate(length);
    return line;
}

TEST(LongLine, HiddenControlLaysNothingOutUntilShownOrAsked)
{
    RichEdit edit;
    edit.SetWordWrap(true);
    StreamIn(edit, SF_TEXT, OneLine(200000));
    const QTextBlock block = edit.Document()->firstBlock();
    EXPECT_EQ(block.layout()->lineCount(), 0);
    EXPECT_EQ(edit.GetTextLength(), 200000);
    EXPECT_EQ(edit.GetTextRange(199995, 200000), u"word "_qs);
    EXPECT_EQ(StreamOut(edit, SF_TEXT), OneLine(200000));

    // Lines as displayed need the text measured at the control's width.
    edit.resize(400, 200);
    EXPECT_GT(edit.GetLineCount(), 100);

    RichEdit shown;
    shown.SetWordWrap(false);
    StreamIn(shown, SF_TEXT, OneLine(200000));
    EXPECT_EQ(shown.Document()->firstBlock().layout()->lineCount(), 0);
    shown.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&shown));
    EXPECT_GT(shown.Document()->firstBlock().layout()->lineCount(), 0);
}

TEST(LongLine, WithoutWrapALongParagraphIsFoldedButStaysOneLine)
{
    RichEdit edit;
    edit.SetWordWrap(false);
    edit.SetScrollBars(true, true);
    edit.resize(500, 300);
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    StreamIn(edit, SF_TEXT, "short\r\n" + OneLine(100000) + "\r\nshort");
    QApplication::processEvents();

    // Lines are paragraphs: three of them, the long one whole.
    EXPECT_EQ(edit.GetLineCount(), 3);
    EXPECT_EQ(edit.LineIndex(2), 100007);
    EXPECT_EQ(edit.LineLength(10), 100000);
    EXPECT_EQ(edit.GetLine(1).size(), 100001);

    // On screen the long one is folded into lines no wider than a repaint can
    // afford; the short ones stay as they are.
    const QTextBlock long_ = edit.Document()->findBlockByNumber(1);
    const auto linesOf = [](const QTextBlock& block) {
        const auto* own = qobject_cast<const DocumentLayout*>(block.document()->documentLayout());
        return own ? own->LaidOut(block) : block.layout();
    };
    const QTextLayout* layout = linesOf(long_);
    ASSERT_GT(layout->lineCount(), 1);
    for (int i = 0; i < layout->lineCount(); ++i)
        EXPECT_LT(layout->lineAt(i).naturalTextWidth(), 20000.0) << i;
    EXPECT_EQ(linesOf(edit.Document()->firstBlock())->lineCount(), 1);
    EXPECT_LT(edit.horizontalScrollBar()->maximum(), 20000);

    // Text typed into a text of short lines becomes long: folded from then on.
    RichEdit typed;
    typed.SetWordWrap(false);
    typed.resize(500, 300);
    typed.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&typed));
    typed.SetText(u"a"_qs);
    typed.SetSel(1, 1);
    typed.ReplaceSel(QString::fromLatin1(OneLine(30000)), true);
    QApplication::processEvents();
    EXPECT_GT(linesOf(typed.Document()->firstBlock())->lineCount(), 1);
    EXPECT_EQ(typed.GetLineCount(), 1);
}

TEST(LongLine, AddressAcrossTheEdgeOfTwoStreamBlocksIsOneLink)
{
    RichEdit edit;
    edit.AutoUrlDetect(true);
    // The control reads in blocks of at most what the source hands it: an
    // address split between two of them is still one address.
    ByteSource source;
    source.data = OneLine(1000) + " http://example.org/path/page.html tail";
    source.blockLimit = 1010;
    StreamIn(edit, SF_TEXT, source);
    edit.SetSel(1001, 1034);
    const CHARFORMAT2 format = edit.GetCharFormat(SCF_SELECTION);
    EXPECT_TRUE((format.dwMask & CFM_LINK) && (format.dwEffects & CFE_LINK));
    EXPECT_EQ(edit.GetSelText(), u"http://example.org/path/page.html"_qs);
}

} // namespace
