// SPDX-License-Identifier: GPL-3.0-or-later
// Lists in the viewport-first layout: nested bullets and numbers, a list the
// control numbers from five, a right-to-left item, an item with tab stops, an
// empty last item and an item cut into pieces sit, hit, place the caret and draw
// their markers exactly where Qt's own document layout does on a copy of the
// same document.
#include "decorations.h"
#include "layout/documentlayout.h"
#include "listmarkers.h"
#include "textproperties.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>
#include <gtest/gtest.h>

#include <memory>

using namespace platform;

namespace {

constexpr int Width = 420;

QTextListFormat List(QTextListFormat::Style style, int indent, const QString& prefix = {}, const QString& suffix = u"."_qs)
{
    QTextListFormat format;
    format.setStyle(style);
    format.setIndent(indent);
    format.setNumberPrefix(prefix);
    format.setNumberSuffix(suffix);
    return format;
}

// Appends a paragraph, in a new list when format is given, else in the list of
// the paragraph before it (or in none).
void Item(QTextCursor& cursor, const QString& text, const QTextListFormat* format = nullptr,
          Qt::LayoutDirection direction = Qt::LeftToRight)
{
    cursor.insertBlock();
    QTextBlockFormat block;
    block.setLayoutDirection(direction);
    cursor.mergeBlockFormat(block);
    if (format)
        cursor.createList(*format);
    cursor.insertText(text);
}

std::unique_ptr<QTextDocument> Lists(const QString& longItem)
{
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(QFont(u"Liberation Serif"_qs, 12));
    QTextCursor cursor(doc.get());
    cursor.insertText(u"Перечень"_qs);
    const QString wraps = u"пункт, который не помещается в одну строку и переносится на вторую и третью"_qs;
    const QTextListFormat disc = List(QTextListFormat::ListDisc, 1);
    const QTextListFormat circle = List(QTextListFormat::ListCircle, 2);
    const QTextListFormat square = List(QTextListFormat::ListSquare, 3);
    const QTextListFormat decimal = List(QTextListFormat::ListDecimal, 1, u"("_qs, u")"_qs);
    const QTextListFormat alpha = List(QTextListFormat::ListLowerAlpha, 2);
    const QTextListFormat roman = List(QTextListFormat::ListUpperRoman, 3);
    QTextListFormat fromFive = List(QTextListFormat::ListDecimal, 1);
    fromFive.setProperty(PropListStart, 5);
    Item(cursor, u"первый "_qs + wraps, &disc);
    Item(cursor, u"вложенный"_qs, &circle);
    Item(cursor, u"глубже"_qs, &square);
    Item(cursor, u"номер "_qs + wraps, &decimal);
    Item(cursor, u"буква"_qs, &alpha);
    Item(cursor, u"римская"_qs, &roman);
    Item(cursor, u"вторая римская"_qs);
    QTextBlockFormat tabs;   // tab stops of its own
    tabs.setTabPositions({QTextOption::Tab(150, QTextOption::LeftTab), QTextOption::Tab(300, QTextOption::RightTab)});
    cursor.mergeBlockFormat(tabs);
    cursor.insertText(u"\tстоп\tсправа"_qs);
    Item(cursor, u"с пяти"_qs, &fromFive);
    Item(cursor, u"שלום עולם, פסקה מימין לשמאל"_qs, &decimal, Qt::RightToLeft);
    Item(cursor, u"шесть"_qs);
    Item(cursor, QString());   // an empty last item
    if (!longItem.isEmpty())
        Item(cursor, longItem, &disc);
    SyncListMarkers(*doc, 0, doc->characterCount());
    return doc;
}

// The same document twice: one shown by our layout, one by Qt's.
struct TwoLayouts {
    std::unique_ptr<QTextDocument> ours;
    std::unique_ptr<QTextDocument> theirs;
    DocumentLayout* layout = nullptr;
    explicit TwoLayouts(const QString& longItem = {}) : ours(Lists(longItem)), theirs(ours->clone())
    {
        layout = new DocumentLayout(ours.get());
        ours->setDocumentLayout(layout);
        if (!longItem.isEmpty())
            layout->SetPieceLimits(1000, 300);
        for (QTextDocument* doc : {ours.get(), theirs.get()}) {
            doc->setDefaultFont(ours->defaultFont());
            doc->setPageSize(QSizeF(Width, 100000));
        }
        layout->SetViewport(0, 2000);
    }
    QImage Draw(QTextDocument& doc) const
    {
        const QSizeF size = doc.documentLayout()->documentSize();
        QImage image(Width, int(std::ceil(size.height())), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(image.rect());
        // A selection over some items draws their markers in its colours.
        QAbstractTextDocumentLayout::Selection selection{QTextCursor(&doc), {}};
        selection.cursor.setPosition(40);
        selection.cursor.setPosition(150, QTextCursor::KeepAnchor);
        selection.format.setBackground(Qt::darkBlue);
        selection.format.setForeground(Qt::yellow);
        context.selections.append(selection);
        doc.documentLayout()->draw(&painter, context);
        PaintDecorations(painter, doc, context.clip, context.palette, Qt::blue);
        return image;
    }
};

// Where Qt's layout puts the caret at a position, in document coordinates.
QRectF QtCaret(const QTextDocument& doc, int position)
{
    const QTextBlock block = doc.findBlock(position);
    doc.documentLayout()->blockBoundingRect(block);
    const QTextLayout* lines = block.layout();
    const QTextLine line = lines->lineForTextPosition(position - block.position());
    return {lines->position().x() + line.cursorToX(position - block.position()), lines->position().y() + line.y(), 1,
            line.height()};
}

// Our layout against Qt's down to bottom (document coordinates): where each
// block starts, the caret at each position, hits (in the upper part of pixel
// rows, the margins included) and the pixels drawn.
void ExpectAsInQt(const TwoLayouts& two, double bottom)
{
    QAbstractTextDocumentLayout* qt = two.theirs->documentLayout();
    for (QTextBlock a = two.ours->begin(), b = two.theirs->begin(); a.isValid(); a = a.next(), b = b.next()) {
        EXPECT_EQ(two.layout->blockBoundingRect(a).top(), qt->blockBoundingRect(b).top()) << a.blockNumber();
        for (int pos = a.position(); pos < a.position() + a.length(); ++pos) {
            const QRectF expected = QtCaret(*two.theirs, pos);
            if (expected.bottom() > bottom)
                break;
            const QRectF caret = two.layout->CaretRect(pos);
            EXPECT_EQ(caret.topLeft(), expected.topLeft()) << pos;
            EXPECT_EQ(caret.height(), expected.height()) << pos;
        }
    }
    for (double y = 1.25; y < bottom; y += 3)
        for (double x = 0; x < Width; x += 9)
            ASSERT_EQ(two.layout->hitTest({x, y}, Qt::FuzzyHit), qt->hitTest({x, y}, Qt::FuzzyHit)) << x << "," << y;
    const int rows = int(bottom);
    EXPECT_EQ(two.Draw(*two.ours).copy(0, 0, Width, rows), two.Draw(*two.theirs).copy(0, 0, Width, rows));
}

} // namespace

TEST(ListLayout, ListsSitHitTakeTheCaretAndDrawTheirMarkersAsInQtsLayout)
{
    // Bullets, circles, squares, Qt's numbers and the control's, on the left and
    // on the right of a right-to-left item.
    const TwoLayouts lists;
    ASSERT_TRUE(FitsDocumentLayout(*lists.ours));
    ASSERT_EQ(qobject_cast<DocumentLayout*>(lists.theirs->documentLayout()), nullptr);
    const double height = lists.theirs->documentLayout()->documentSize().height();
    EXPECT_EQ(lists.layout->documentSize().height(), height);
    ExpectAsInQt(lists, height);

    // A last item cut into pieces: all above it, and its first line with its bullet.
    QString text;
    while (text.size() < 3000)
        text += u"слово "_qs;
    const TwoLayouts pieces(text);
    const QTextBlock last = pieces.theirs->lastBlock();
    ASSERT_TRUE(pieces.layout->IsLong(pieces.ours->lastBlock()));
    const double top = pieces.theirs->documentLayout()->blockBoundingRect(last).top();
    const QTextLine first = last.layout()->lineAt(0);
    ExpectAsInQt(pieces, top + first.y() + first.height());
}
