// SPDX-License-Identifier: GPL-3.0-or-later
// With Qt's private headers this writes the document's trees of runs and
// paragraphs itself, through the node layout those headers declare; the Debian
// package pins the exact Qt they come from.
#include "plainfill.h"

#if QUILLET_QT_PRIVATE
#include <QtGui/private/qfragmentmap_p.h>
#include <QtGui/private/qtextdocument_p.h>
#include <QtGui/private/qtextformat_p.h>
#endif

#include <QTextDocument>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <type_traits>
#include <utility>

namespace platform {

#if QUILLET_QT_PRIVATE

namespace {

constexpr char16_t ParagraphEnd = 0x2029;

// What a cursor's insertText takes for a paragraph end.
bool IsBreak(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == ParagraphEnd || c == 0xFDD0 || c == 0xFDD1;
}

// Every paragraph end of the piece becomes the document's own, "\r\n" one.
void MarkBreaks(QString& piece)
{
    char16_t* text = reinterpret_cast<char16_t*>(piece.data());
    const qsizetype size = piece.size();
    qsizetype kept = 0;
    for (qsizetype i = 0; i < size; ++i) {
        char16_t c = text[i];
        if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n')
            continue;
        if (c < 0x20 || c >= ParagraphEnd)
            c = IsBreak(c) ? ParagraphEnd : c;
        text[kept++] = c;
    }
    piece.truncate(kept);
}

// The node colours of Qt's red-black trees, in the order its enum gives them.
constexpr quint32 Red = 0;
constexpr quint32 Black = 1;

template <class Node>
Node*& NodesOf(QFragmentMap<Node>& map)
{
    // The map holds nothing but the pointer to its nodes, node 0 being its header.
    static_assert(std::is_standard_layout_v<QFragmentMap<Node>> && sizeof(QFragmentMap<Node>) == sizeof(Node*));
    return *reinterpret_cast<Node**>(&map);
}

// Links nodes 1..count, in order and with their own sizes set, into a balanced
// tree. Halving makes every level full but the deepest; colouring that level red
// and the rest black gives every path the same number of black nodes.
template <class Node>
class BalancedTree {
public:
    static constexpr int Fields = Node::size_array_max;

    BalancedTree(Node* nodes, quint32 count) : nodes(nodes)
    {
        while ((quint64(2) << fullLevels) - 1 <= count)
            ++fullLevels;
        quint32 sums[Fields];
        root = Build(1, count + 1, 0, 0, sums);
    }

    quint32 Root() const { return root; }

private:
    // Builds the nodes [from, to) under parent; answers the subtree's root.
    quint32 Build(quint32 from, quint32 to, quint32 parent, int depth, quint32 (&sums)[Fields])
    {
        if (from >= to) {
            std::fill(std::begin(sums), std::end(sums), 0u);
            return 0;
        }
        const quint32 middle = from + (to - from) / 2;
        quint32 left[Fields];
        quint32 right[Fields];
        Node& node = nodes[middle];
        node.parent = parent;
        node.left = Build(from, middle, middle, depth + 1, left);
        node.right = Build(middle + 1, to, middle, depth + 1, right);
        node.color = depth >= fullLevels ? Red : Black;
        for (int field = 0; field < Fields; ++field) {
            node.size_left_array[field] = left[field];
            sums[field] = left[field] + node.size_array[field] + right[field];
        }
        return middle;
    }

    Node* nodes;
    int fullLevels = 0;
    quint32 root = 0;
};

// Puts nodes 1..count, linked, in place of the map's nodes.
template <class Node>
void Install(QFragmentMap<Node>& map, Node* nodes, quint32 count)
{
    using Header = typename QFragmentMapData<Node>::Header;
    static_assert(sizeof(Header) <= sizeof(Node));
    const BalancedTree<Node> tree(nodes, count);
    Node*& slot = NodesOf(map);
    auto* head = reinterpret_cast<Header*>(nodes);
    head->tag = reinterpret_cast<const Header*>(slot)->tag;
    head->root = tree.Root();
    head->node_count = count;
    // No free node: the next insertion grows the array, as Qt's own does.
    head->allocated = count + 1;
    head->freelist = count + 1;
    std::free(slot);
    slot = nodes;
}

template <class Node>
Node* Allocate(quint32 count)
{
    static_assert(std::is_trivially_copyable_v<Node>);
    // Qt frees and grows the array with free() and realloc().
    return static_cast<Node*>(std::malloc((std::size_t(count) + 1) * sizeof(Node)));
}

} // namespace

struct PlainFill::Trees {
    QTextDocumentPrivate* p;
    int charFormat;
    int blockFormat;
    // Where the added text begins in the document's buffer.
    qsizetype start;

    // Builds the trees of the text added since start, which holds its paragraph
    // ends in place and sits before the document's closing paragraph end.
    void Build(int revision) const
    {
        const QString buffer = p->buffer();
        const char16_t* text = reinterpret_cast<const char16_t*>(buffer.constData());
        const qsizetype end = buffer.size();
        quint32 breaks = 0;
        quint32 runs = 0;
        for (qsizetype i = start, from = start; i <= end; ++i) {
            if (i < end && text[i] != ParagraphEnd)
                continue;
            runs += i > from ? 1 : 0;
            breaks += i < end ? 1 : 0;
            from = i + 1;
        }
        const quint32 fragmentCount = runs + breaks + 1;
        const quint32 blockCount = breaks + 1;

        QTextDocumentPrivate::FragmentMap& fragmentMap = p->fragmentMap();
        QTextDocumentPrivate::BlockMap& blockMap = p->blockMap();
        // The document's closing paragraph end stays last and its first paragraph
        // first, with what they hold, as they do under a cursor.
        const QTextFragmentData closing = *std::as_const(fragmentMap).last().value();
        const QTextBlockData first = *blockMap.fragment(blockMap.firstNode());

        QTextFragmentData* fragments = Allocate<QTextFragmentData>(fragmentCount);
        QTextBlockData* blocks = Allocate<QTextBlockData>(blockCount);
        if (!fragments || !blocks) {
            std::free(fragments);
            std::free(blocks);
            throw std::bad_alloc();
        }

        // A cursor's paragraph end keeps the revision of the paragraph it ends
        // unless that is empty, and gives the one it opens the document's
        // revision unless it opens it at the start of the paragraph.
        int carried = first.revision;
        quint32 fragment = 0;
        quint32 block = 0;
        qsizetype from = start;
        for (qsizetype i = start;; ++i) {
            const bool last = i == end;
            if (!last && text[i] != ParagraphEnd)
                continue;
            const auto length = quint32(i - from);
            if (length > 0) {
                QTextFragmentData& run = fragments[++fragment];
                run.size_array[0] = length;
                run.stringPosition = int(from);
                run.format = charFormat;
            }
            QTextBlockData& paragraph = blocks[++block];
            if (block == 1) {
                paragraph = first;
            } else {
                paragraph.initialize();
                paragraph.format = blockFormat;
            }
            paragraph.size_array[0] = length + 1;
            paragraph.size_array[1] = 1;
            paragraph.size_array[2] = 1;
            if (last) {
                paragraph.revision = carried;
                fragments[++fragment] = closing;
                break;
            }
            QTextFragmentData& paragraphEnd = fragments[++fragment];
            paragraphEnd.size_array[0] = 1;
            paragraphEnd.stringPosition = int(i);
            paragraphEnd.format = charFormat;
            paragraph.revision = length > 0 ? carried : revision;
            carried = length > 0 ? revision : carried;
            from = i + 1;
        }
        Install(fragmentMap, fragments, fragmentCount);
        Install(blockMap, blocks, blockCount);
    }
};

#else

struct PlainFill::Trees {};

#endif

PlainFill::PlainFill(QTextDocument& doc) : doc(doc)
{
#if QUILLET_QT_PRIVATE
    QTextDocumentPrivate* p = QTextDocumentPrivate::get(&doc);
    // Only an empty document, free of undo (whose steps would name the pieces)
    // and of a layout (which would hold on to paragraphs), is filled directly.
    if (!doc.isUndoRedoEnabled() && !p->layout() && p->length() == 1 && p->fragmentMap().numNodes() == 1
        && p->blockMap().numNodes() == 1) {
        const QTextCursor typing(&doc);
        QTextFormatCollection& formats = *p->formatCollection();
        trees = std::make_unique<Trees>(Trees{p, formats.indexForFormat(typing.charFormat()),
                                              formats.indexForFormat(typing.blockFormat()), p->buffer().size()});
        p->beginEditBlock();
        return;
    }
#endif
    cursor = QTextCursor(&doc);
    cursor.movePosition(QTextCursor::End);
    position = cursor.position();
    cursor.beginEditBlock();
}

void PlainFill::Add(QString& piece)
{
    if (finished || piece.isEmpty())
        return;
#if QUILLET_QT_PRIVATE
    if (trees) {
        MarkBreaks(piece);
        trees->p->insert(position, piece, trees->charFormat);
        position += int(piece.size());
        return;
    }
#endif
    cursor.insertText(piece);
    position = cursor.position();
}

void PlainFill::Finish()
{
    if (finished)
        return;
    finished = true;
#if QUILLET_QT_PRIVATE
    if (trees) {
        trees->Build(doc.revision());
        trees->p->endEditBlock();
        return;
    }
#endif
    cursor.endEditBlock();
}

PlainFill::~PlainFill() = default;

} // namespace platform
