// SPDX-License-Identifier: GPL-3.0-or-later
// A document filled in pieces must be the document a cursor typing the same
// pieces makes, and stay so under every later edit; with Qt's private headers
// the trees built in one pass must also be sound red-black trees with true sizes.
#include "plainfill.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextStream>
#include <gtest/gtest.h>

#if QUILLET_QT_PRIVATE
#include <QtGui/private/qtextdocument_p.h>
#endif

#include <functional>
#include <memory>
#include <random>
#include <vector>

using namespace platform;

namespace {

QStringList Pieces(const QString& text, int size)
{
    QStringList pieces;
    for (qsizetype at = 0; at < text.size(); at += size)
        pieces << text.mid(at, size);
    return pieces;
}

void Fill(QTextDocument& doc, const QStringList& pieces, bool expectTrees)
{
    PlainFill fill(doc);
    EXPECT_EQ(fill.BuildsTrees(), expectTrees && QUILLET_QT_PRIVATE);
    for (QString piece : pieces) {
        fill.Add(piece);
        ASSERT_EQ(fill.Position(), doc.characterCount() - 1);
    }
    fill.Finish();
}

void Type(QTextDocument& doc, const QStringList& pieces)
{
    QTextCursor cursor(&doc);
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    for (const QString& piece : pieces)
        cursor.insertText(piece);
    cursor.endEditBlock();
}

// Everything a reader of the document can tell: paragraphs with their formats
// and revisions, and the runs within them.
QString Anatomy(const QTextDocument& doc)
{
    QString out;
    QTextStream s(&out);
    s << doc.characterCount() << " chars, " << doc.blockCount() << " blocks\n";
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        s << block.blockNumber() << "@" << block.position() << "+" << block.length() << " rev " << block.revision()
          << " state " << block.userState() << " line " << block.firstLineNumber() << " bf "
          << block.blockFormat().properties().size() << " cf " << block.charFormat().properties().size() << ":";
        for (auto it = block.begin(); !it.atEnd(); ++it)
            s << " [" << it.fragment().position() << " " << it.fragment().text() << " "
              << it.fragment().charFormat().properties().size() << "]";
        s << "\n";
    }
    return out;
}

QTextDocument* Fresh()
{
    auto* doc = new QTextDocument;
    doc->setUndoRedoEnabled(false);
    return doc;
}

#if QUILLET_QT_PRIVATE
// Walks a tree of Qt's: links, colours, black heights and the sizes of left
// subtrees must all agree, and the nodes must be as many as the map says.
template <class Map>
void ExpectSoundTree(const Map& map, int fields)
{
    int nodes = 0;
    std::function<int(quint32, quint32, std::vector<quint64>&)> walk = [&](quint32 n, quint32 parent,
                                                                           std::vector<quint64>& sums) -> int {
        sums.assign(fields, 0);
        if (!n)
            return 1;
        ++nodes;
        const auto* node = map.fragment(n);
        EXPECT_EQ(node->parent, parent);
        if (node->color == 0) {   // red
            EXPECT_TRUE(!node->left || map.fragment(node->left)->color != 0);
            EXPECT_TRUE(!node->right || map.fragment(node->right)->color != 0);
        }
        std::vector<quint64> left, right;
        const int leftBlack = walk(node->left, n, left);
        const int rightBlack = walk(node->right, n, right);
        EXPECT_EQ(leftBlack, rightBlack);
        for (int f = 0; f < fields; ++f) {
            EXPECT_EQ(node->size_left_array[f], left[f]);
            sums[f] = left[f] + node->size_array[f] + right[f];
        }
        return leftBlack + (node->color == 0 ? 0 : 1);
    };
    std::vector<quint64> sums;
    const quint32 root = map.numNodes() ? quint32(map.last().n) : 0;
    quint32 top = root;
    while (top && map.fragment(top)->parent)
        top = map.fragment(top)->parent;
    ASSERT_TRUE(!top || map.fragment(top)->color != 0);
    walk(top, 0, sums);
    EXPECT_EQ(nodes, map.numNodes());
    EXPECT_EQ(sums[0], quint64(map.length()));
}

void ExpectSoundTrees(QTextDocument& doc)
{
    const QTextDocumentPrivate* p = QTextDocumentPrivate::get(&doc);
    ExpectSoundTree(p->fragmentMap(), 1);
    ExpectSoundTree(p->blockMap(), 3);
}
#else
void ExpectSoundTrees(QTextDocument&) {}
#endif

// The same edits on two documents, checked to leave them alike after each.
void EditAlike(QTextDocument& a, QTextDocument& b, unsigned seed, int edits)
{
    std::mt19937 random(seed);
    const QStringList inserts{u"x"_qs, u"\n"_qs, u"слово\nещё"_qs, u"\n\n"_qs, QString(300, u'w')};
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    for (int i = 0; i < edits; ++i) {
        const int length = a.characterCount() - 1;
        const int at = int(random() % unsigned(length + 1));
        const int span = std::min(length - at, int(random() % 40));
        const unsigned kind = random() % 4;
        const QString& insert = inserts[int(random() % unsigned(inserts.size()))];
        for (QTextDocument* doc : {&a, &b}) {
            QTextCursor cursor(doc);
            cursor.setPosition(at);
            cursor.setPosition(at + span, QTextCursor::KeepAnchor);
            if (kind == 0)
                cursor.removeSelectedText();
            else if (kind == 1)
                cursor.mergeCharFormat(bold);
            else
                cursor.insertText(insert);
        }
        ASSERT_EQ(a.toPlainText(), b.toPlainText()) << "edit " << i;
    }
    EXPECT_EQ(Anatomy(a), Anatomy(b));
}

} // namespace

TEST(PlainFill, EveryShapeOfTextInAnyPiecesIsWhatACursorTypes)
{
    const QString longLine(70000, u'ж');
    const QStringList texts{
        {},
        u"a"_qs,
        u"\n"_qs,
        u"a\n"_qs,
        u"\n\na\n\n"_qs,
        u"один\r\nдва\rтри\nчетыре"_qs,
        u"x\r"_qs,
        u"p\u2029q\uFDD0r\uFDD1s\u2028t"_qs,
        longLine + u"\n"_qs + longLine,
        u"строка\n"_qs.repeated(3000),
    };
    for (const QString& text : texts) {
        for (int size : {1, 2, 7, 4096, int(std::max<qsizetype>(1, text.size()))}) {
            if (size < 4 && text.size() > 1000)
                continue;
            const QStringList pieces = Pieces(text, size);
            std::unique_ptr<QTextDocument> filled(Fresh());
            std::unique_ptr<QTextDocument> typed(Fresh());
            Fill(*filled, pieces, true);
            Type(*typed, pieces);
            SCOPED_TRACE(text.left(40).toStdString() + " in pieces of " + std::to_string(size));
            EXPECT_EQ(filled->toPlainText(), typed->toPlainText());
            EXPECT_EQ(Anatomy(*filled), Anatomy(*typed));
            EXPECT_EQ(filled->revision(), typed->revision());
            ExpectSoundTrees(*filled);
        }
    }
}

TEST(PlainFill, FilledDocumentTakesEditsAndUndoAsATypedOne)
{
    QString text;
    std::mt19937 random(7);
    for (int line = 0; line < 5000; ++line)
        text += QString(int(random() % 90), QChar(u'а' + int(random() % 32))) + u"\n"_qs;
    const QStringList pieces = Pieces(text, 65536);
    std::unique_ptr<QTextDocument> filled(Fresh());
    std::unique_ptr<QTextDocument> typed(Fresh());
    Fill(*filled, pieces, true);
    Type(*typed, pieces);
    ExpectSoundTrees(*filled);
    EditAlike(*filled, *typed, 11, 400);
    ExpectSoundTrees(*filled);

    // With undo on, every edit can be taken back to the filled text.
    filled->setUndoRedoEnabled(true);
    typed->setUndoRedoEnabled(true);
    const QString before = filled->toPlainText();
    EditAlike(*filled, *typed, 12, 100);
    while (filled->isUndoAvailable())
        filled->undo();
    EXPECT_EQ(filled->toPlainText(), before);
    ExpectSoundTrees(*filled);
}

TEST(PlainFill, TellsOfTheChangeOnceAtTheEndAsACursorDoes)
{
    const QStringList pieces = Pieces(u"ab\ncd\n\nef"_qs.repeated(100), 9);
    std::unique_ptr<QTextDocument> filled(Fresh());
    std::unique_ptr<QTextDocument> typed(Fresh());
    QSignalSpy filledChanges(filled.get(), &QTextDocument::contentsChanged);
    QSignalSpy typedChanges(typed.get(), &QTextDocument::contentsChanged);
    QSignalSpy filledCounts(filled.get(), &QTextDocument::blockCountChanged);
    QSignalSpy typedCounts(typed.get(), &QTextDocument::blockCountChanged);
    {
        PlainFill fill(*filled);
        for (QString piece : pieces)
            fill.Add(piece);
        EXPECT_EQ(filledChanges.count(), 0);
        fill.Finish();
    }
    Type(*typed, pieces);
    EXPECT_EQ(filledChanges.count(), 1);
    EXPECT_EQ(typedChanges.count(), 1);
    EXPECT_EQ(filledCounts, typedCounts);
    // Laid out, the two take the same room.
    EXPECT_EQ(filled->documentLayout()->documentSize(), typed->documentLayout()->documentSize());
}

TEST(PlainFill, DocumentWithTextUndoOrLayoutIsTypedInto)
{
    const QStringList pieces{u"one\ntwo"_qs, u"\nthree"_qs};
    auto check = [&](auto prepare) {
        std::unique_ptr<QTextDocument> filled(Fresh());
        std::unique_ptr<QTextDocument> typed(Fresh());
        prepare(*filled);
        prepare(*typed);
        Fill(*filled, pieces, false);
        Type(*typed, pieces);
        EXPECT_EQ(Anatomy(*filled), Anatomy(*typed));
    };
    check([](QTextDocument& doc) { QTextCursor(&doc).insertText(u"before\n"_qs); });
    check([](QTextDocument& doc) { doc.setUndoRedoEnabled(true); });
    check([](QTextDocument& doc) { doc.documentLayout(); });
}
