// SPDX-License-Identifier: GPL-3.0-or-later
// A text with very long paragraphs: loaded into a control no one sees, nothing
// is laid out; shown without word wrap, a long paragraph is folded so that a
// repaint draws a part of it, while the lines the control reports are still
// its paragraphs; a paragraph laid out in pieces puts the caret, clicks, selections and
// found text exactly where Qt's layout of the whole paragraph does. (How long
// things take is measured in bench/, not here.)
#include "layout/documentlayout.h"
#include "richedit.h"
#include "testsupport.h"

#include <QApplication>
#include <QInputMethodQueryEvent>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <vector>

#if QUILLET_QT_PRIVATE
#include <QtGui/private/qtextengine_p.h>
#endif

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
    const auto* layout = qobject_cast<DocumentLayout*>(shown.Document()->documentLayout());
    ASSERT_NE(layout, nullptr);
    EXPECT_GT(layout->LaidPieces(shown.Document()->firstBlock()), 0);
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
    const auto* layout = qobject_cast<DocumentLayout*>(edit.Document()->documentLayout());
    ASSERT_NE(layout, nullptr);
    EXPECT_GT(layout->CaretRect(100007).top(), layout->CaretRect(7).top());
    for (int pos = 7; pos <= 100007; pos += 997)
        EXPECT_LT(layout->CaretRect(pos).left(), 20000.0) << pos;
    EXPECT_EQ(layout->LaidOut(edit.Document()->firstBlock())->lineCount(), 1);
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
    const auto* typedLayout = qobject_cast<const DocumentLayout*>(typed.Document()->documentLayout());
    ASSERT_NE(typedLayout, nullptr);
    EXPECT_GT(typedLayout->LaidOut(typed.Document()->firstBlock())->lineCount(), 1);
    EXPECT_EQ(typed.GetLineCount(), 1);
}

// The same text twice, shown alike: one laid out by Qt as a whole paragraph,
// one in pieces of a given length.
struct TwoViews {
    RichEdit whole;
    RichEdit pieces;
    TwoViews(const QString& text, int pieceLines)
    {
        for (RichEdit* edit : {&whole, &pieces}) {
            edit->SetWordWrap(true);
            edit->SetScrollBars(true, true);
            edit->resize(500, 300);
            StreamIn(*edit, SF_TEXT | SF_UNICODE, Utf16(text));
            edit->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(edit));
        }
        Layout(whole).SetPieceLimits(INT_MAX, 0);
        // Every line holds the same words: pieces of whole lines start where
        // Qt's lines start, so both views must agree on every position.
        lineChars = Layout(whole).LaidOut(whole.Document()->firstBlock())->lineAt(0).textLength();
        Layout(pieces).SetPieceLimits(1000, pieceLines * lineChars);
        QApplication::processEvents();
    }
    static DocumentLayout& Layout(RichEdit& edit) { return *qobject_cast<DocumentLayout*>(edit.Document()->documentLayout()); }
    void Caret(int pos)
    {
        for (RichEdit* edit : {&whole, &pieces})
            edit->SetSel(pos, pos);
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        for (RichEdit* edit : {&whole, &pieces})
            QTest::keyClick(edit, Qt::Key(key), modifiers);
    }
    // Where each view's caret is drawn, and that it is in view.
    QPointF CaretIn(RichEdit& edit)
    {
        const int pos = edit.textCursor().position();
        const QRectF rect = &edit == &whole ? QRectF(edit.cursorRect()) : Layout(edit).CaretRect(pos).translated(0, -edit.verticalScrollBar()->value());
        EXPECT_TRUE(edit.viewport()->rect().contains(rect.center().toPoint())) << pos;
        return rect.center();
    }
    int lineChars = 0;
};

// Whether Qt has analysed the paragraph for its own layout since it last changed:
// in a paragraph of millions of characters that alone is a pause.
bool QtAnalysed(const QTextBlock& block)
{
#if QUILLET_QT_PRIVATE
    return block.layout()->engine()->layoutData != nullptr;
#else
    Q_UNUSED(block);
    return false;
#endif
}

} // namespace

TEST(LongLine, PiecesPlaceCaretClicksSelectionAndSearchAsTheWholeParagraphWould)
{
    QString text;
    while (text.size() < 200000)
        text += u"слово "_qs;
    text += u"конец"_qs;
    TwoViews views(text, 20);
    ASSERT_GT(views.lineChars, 20);
    ASSERT_FALSE(TwoViews::Layout(views.whole).HasLongBlocks());
    ASSERT_TRUE(TwoViews::Layout(views.pieces).HasLongBlocks());
    const int edge = 20 * views.lineChars;   // the first piece's end
    // Copy and Cut follow what the control says may be copied.
    bool copyable[2] = {false, false};
    QObject::connect(&views.whole, &QTextEdit::copyAvailable, [&](bool yes) { copyable[0] = yes; });
    QObject::connect(&views.pieces, &QTextEdit::copyAvailable, [&](bool yes) { copyable[1] = yes; });
    const auto same = [&](int step) {
        EXPECT_EQ(views.pieces.textCursor().position(), views.whole.textCursor().position()) << step;
        EXPECT_EQ(views.pieces.textCursor().anchor(), views.whole.textCursor().anchor()) << step;
        EXPECT_EQ(copyable[1], copyable[0]) << step;
    };
    using Keys = std::vector<std::pair<int, Qt::KeyboardModifiers>>;
    const auto press = [&](const Keys& keys) {
        for (const auto& [key, modifiers] : keys) {
            views.Key(key, modifiers);
            same(key);
        }
    };

    // Down and Up across a piece's edge, line edges beside it, paging.
    views.Caret(edge - 3);
    press({{Qt::Key_Down, {}}});
    EXPECT_GE(views.pieces.textCursor().position(), edge);
    press({{Qt::Key_End, {}}, {Qt::Key_Up, {}}, {Qt::Key_Home, {}}, {Qt::Key_Right, Qt::ShiftModifier},
           {Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier}});
    views.Caret(150000);
    press(Keys(30, {Qt::Key_Down, {}}));
    press({{Qt::Key_PageDown, {}}, {Qt::Key_PageUp, Qt::ShiftModifier}});

    // A click in the last line, and a shift-click four pieces back: both views
    // scrolled to the caret, clicked at the same place beside it.
    views.Caret(text.size());
    for (RichEdit* edit : {&views.whole, &views.pieces}) {
        edit->ScrollCaret();
        QApplication::processEvents();
        const QPointF caret = views.CaretIn(*edit);
        QTest::mouseClick(edit->viewport(), Qt::LeftButton, {}, (caret - QPointF(130, 0)).toPoint());
    }
    same(1);
    const int clicked = views.pieces.textCursor().position();
    for (RichEdit* edit : {&views.whole, &views.pieces}) {
        edit->SetSel(clicked - 4 * edge - 7, clicked - 4 * edge - 7);
        edit->ScrollCaret();
        QApplication::processEvents();
        const QPointF caret = views.CaretIn(*edit);
        const int shown = edit->verticalScrollBar()->value();
        edit->SetSel(clicked, clicked);
        edit->verticalScrollBar()->setValue(shown);
        QApplication::processEvents();
        QTest::mouseClick(edit->viewport(), Qt::LeftButton, Qt::ShiftModifier, (caret + QPointF(40, -20)).toPoint());
    }
    same(2);
    EXPECT_GT(views.pieces.textCursor().anchor() - views.pieces.textCursor().position(), 4 * edge);

    // Typing in the middle changes its piece only: the lines there follow it.
    views.Caret(100000 + 2);
    const QTextBlock block = views.pieces.Document()->firstBlock();
    for (const QString& typed : {u"x"_qs, u"xxxxxxxxxxxx "_qs}) {
        for (RichEdit* edit : {&views.whole, &views.pieces})
            QTest::keyClicks(edit, typed);
        same(0);
        press({{Qt::Key_End, {}}, {Qt::Key_Down, {}}, {Qt::Key_Delete, {}}, {Qt::Key_Backspace, Qt::ControlModifier}});
    }
    EXPECT_EQ(views.pieces.GetTextRange(0, views.pieces.GetTextLength()), views.whole.GetTextRange(0, views.whole.GetTextLength()));
    EXPECT_LT(TwoViews::Layout(views.pieces).LaidPieces(block), DocumentLayout::PiecesKept + 2);

    // An input method gets the text around the caret, not the whole paragraph,
    // and our caret's place.
    const int caret = views.pieces.textCursor().position();
    QInputMethodQueryEvent query(Qt::ImSurroundingText | Qt::ImCursorPosition | Qt::ImCursorRectangle);
    QApplication::sendEvent(&views.pieces, &query);
    const QString around = query.value(Qt::ImSurroundingText).toString();
    const int at = query.value(Qt::ImCursorPosition).toInt();
    EXPECT_LT(around.size(), 2100);
    EXPECT_EQ(around.mid(at, 30), views.pieces.GetTextRange(caret, caret + 30));
    EXPECT_EQ(around.left(at).right(30), views.pieces.GetTextRange(caret - 30, caret));
    const QRect rect = query.value(Qt::ImCursorRectangle).toRect();
    EXPECT_TRUE(views.pieces.rect().contains(rect.center())) << rect.x() << ',' << rect.y();

    // Found at the very end, the match is scrolled into view.
    views.pieces.SetSel(0, 0);
    views.pieces.ScrollCaret();
    CHARRANGE found{};
    ASSERT_EQ(views.pieces.FindTextEx({0, -1}, u"конец"_qs, FR_DOWN, &found), views.pieces.GetTextLength() - 5);
    views.pieces.ExSetSel(found);
    views.pieces.ScrollCaret();
    QApplication::processEvents();
    views.CaretIn(views.pieces);
}

TEST(LongLine, EditsInPiecesUndoAndRedoStepByStepAsQtsOwnTyping)
{
    // A link near the edits gives the paragraph display formats of its own.
    QString text;
    while (text.size() < 120000)
        text += u"слово "_qs;
    const int link = 60000 - 60000 % 6;
    text.insert(link, u"http://example.org/ "_qs);
    TwoViews views(text, 20);
    ASSERT_TRUE(TwoViews::Layout(views.pieces).HasLongBlocks());
    for (RichEdit* edit : {&views.whole, &views.pieces})
        edit->AutoUrlDetect(true);
    const auto state = [](RichEdit& edit) {
        return std::make_pair(edit.GetTextRange(0, edit.GetTextLength()), edit.textCursor().position());
    };
    const auto same = [&](const char* step) { EXPECT_EQ(state(views.pieces), state(views.whole)) << step; };

    // Typing beside the link, deleting both ways, replacing a selection, a
    // paragraph split with typing after it, and the Backspace that joins it
    // again; the same at the end of the text.
    std::vector<QString> shown{views.whole.GetTextRange(0, views.whole.GetTextLength())};
    for (const int at : {link + 30, int(text.size())}) {
        views.Caret(at);
        for (RichEdit* edit : {&views.whole, &views.pieces})
            QTest::keyClicks(edit, u"ab c"_qs);
        same("typed");
        for (const int key : {Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Left, Qt::Key_Delete, Qt::Key_Return})
            views.Key(key);
        same("deleted");
        views.Key(Qt::Key_Right, Qt::ShiftModifier);
        for (RichEdit* edit : {&views.whole, &views.pieces})
            QTest::keyClicks(edit, u"zxy"_qs);
        for (const int key : {Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Left, Qt::Key_Backspace})
            views.Key(key);
        same("split and joined");
        EXPECT_EQ(views.pieces.Document()->blockCount(), 1);
    }
    // Every step back and forth gives the same text in both.
    int steps = 0;
    while (views.whole.CanUndo() && steps < 100) {
        ASSERT_TRUE(views.pieces.CanUndo()) << steps;
        views.whole.Undo();
        views.pieces.Undo();
        EXPECT_EQ(views.pieces.GetTextRange(0, views.pieces.GetTextLength()),
                  views.whole.GetTextRange(0, views.whole.GetTextLength())) << steps;
        ++steps;
    }
    EXPECT_FALSE(views.pieces.CanUndo());
    EXPECT_EQ(views.pieces.GetTextRange(0, views.pieces.GetTextLength()), text);
    while (views.whole.CanRedo()) {
        views.whole.Redo();
        views.pieces.Redo();
        same("redone");
    }
    EXPECT_FALSE(views.pieces.CanRedo());
    // The pieces follow the edits: the caret moves over lines as Qt's layout does,
    // and neither the edits, their undoing nor the moves had Qt analyse the paragraph.
    views.Caret(link + 10);
    for (int i = 0; i < 25; ++i)
        views.Key(Qt::Key_Down);
    same("moved");
    // Shift alone, the text's ends, Select All and a drag over lines.
    const auto selected = [&](const char* step) {
        same(step);
        EXPECT_EQ(views.pieces.textCursor().anchor(), views.whole.textCursor().anchor()) << step;
    };
    for (const auto& [key, modifiers] : std::vector<std::pair<int, Qt::KeyboardModifiers>>{
             {Qt::Key_Shift, Qt::ShiftModifier}, {Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier},
             {Qt::Key_Home, Qt::ControlModifier}, {Qt::Key_A, Qt::ControlModifier}, {Qt::Key_End, Qt::ControlModifier}}) {
        views.Key(key, modifiers);
        selected("keys");
    }
    views.Caret(link);
    for (RichEdit* edit : {&views.whole, &views.pieces}) {
        edit->ScrollCaret();
        QApplication::processEvents();
        const QPoint from = views.CaretIn(*edit).toPoint();
        QTest::mousePress(edit->viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(edit->viewport(), from + QPoint(60, 40));
        QTest::mouseRelease(edit->viewport(), Qt::LeftButton, {}, from + QPoint(60, 40));
    }
    selected("dragged");
    EXPECT_GT(views.pieces.textCursor().position() - views.pieces.textCursor().anchor(), views.lineChars);
    EXPECT_FALSE(QtAnalysed(views.pieces.Document()->firstBlock()));
}
