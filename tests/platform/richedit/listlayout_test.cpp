// SPDX-License-Identifier: GPL-3.0-or-later
// Lists in the viewport-first layout: nested bullets and numbers, a list the
// control numbers from five, a right-to-left item, an empty last item and an item
// cut into pieces sit, hit, place the caret and draw their markers exactly where
// Qt's own document layout does on a copy of the same document.
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
    Item(cursor, u"с пяти"_qs, &fromFive);
    Item(cursor, u"שלום עולם, פסקה מימין לשמאל"_qs, &decimal, Qt::RightToLeft);
    if (!longItem.isEmpty())
        Item(cursor, longItem, &disc);
    Item(cursor, u"шесть"_qs);
    Item(cursor, QString());   // an empty last item
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

} // namespace

TEST(ListLayout, ListsSitHitTakeTheCaretAndDrawTheirMarkersAsInQtsLayout)
{
    TwoLayouts two;
    QAbstractTextDocumentLayout* qt = two.theirs->documentLayout();
    ASSERT_TRUE(FitsDocumentLayout(*two.ours));
    ASSERT_EQ(qobject_cast<DocumentLayout*>(qt), nullptr);
    EXPECT_EQ(two.layout->documentSize().height(), qt->documentSize().height());
    for (QTextBlock a = two.ours->begin(), b = two.theirs->begin(); a.isValid(); a = a.next(), b = b.next()) {
        EXPECT_EQ(two.layout->blockBoundingRect(a).top(), qt->blockBoundingRect(b).top()) << a.text().toStdString();
        EXPECT_EQ(two.layout->LineCount(a), b.layout()->lineCount()) << a.text().toStdString();
    }
    for (int pos = 0; pos < two.ours->characterCount(); ++pos) {
        const QRectF caret = two.layout->CaretRect(pos);
        const QRectF expected = QtCaret(*two.theirs, pos);
        EXPECT_EQ(caret.topLeft(), expected.topLeft()) << pos;
        EXPECT_EQ(caret.height(), expected.height()) << pos;
    }
    // Points in the upper part of pixel rows, the margins around the text included.
    const double height = qt->documentSize().height();
    for (double y = 1.25; y < height; y += 3)
        for (double x = 0; x < Width; x += 9)
            ASSERT_EQ(two.layout->hitTest({x, y}, Qt::FuzzyHit), qt->hitTest({x, y}, Qt::FuzzyHit)) << x << "," << y;
    // Bullets, circles, squares, Qt's numbers and the control's, on the left and
    // on the right of a right-to-left item: the same pixels.
    EXPECT_EQ(two.Draw(*two.ours), two.Draw(*two.theirs));
}

TEST(ListLayout, AListItemCutIntoPiecesKeepsItsMarkerAndFirstLine)
{
    QString text;
    while (text.size() < 3000)
        text += u"слово "_qs;
    TwoLayouts two(text);
    QTextBlock ours = two.ours->begin();
    QTextBlock theirs = two.theirs->begin();
    while (ours.text() != text)
        ours = ours.next(), theirs = theirs.next();
    ASSERT_TRUE(two.layout->IsLong(ours));
    const QRectF rect = two.theirs->documentLayout()->blockBoundingRect(theirs);
    EXPECT_EQ(two.layout->Placed(ours).top(), rect.top());
    const QTextLine first = theirs.layout()->lineAt(0);
    for (int pos : {0, 7, first.textLength() - 1}) {
        EXPECT_EQ(two.layout->CaretRect(ours.position() + pos).topLeft(), QtCaret(*two.theirs, theirs.position() + pos).topLeft());
        const QPointF inside(QtCaret(*two.theirs, theirs.position() + pos).center());
        EXPECT_EQ(two.layout->hitTest(inside, Qt::FuzzyHit), two.theirs->documentLayout()->hitTest(inside, Qt::FuzzyHit));
    }
    // Everything above the item, and its first line with the bullet before it.
    const int bottom = int(rect.top() + first.y() + first.height());
    EXPECT_EQ(two.Draw(*two.ours).copy(0, 0, Width, bottom), two.Draw(*two.theirs).copy(0, 0, Width, bottom));
}
