// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a QTextDocument, or a range of it, as RTF: paragraphs, runs, tables,
// pictures and kept objects, in document order.
#include "rtfwriter.h"

#include "rtfpictureout.h"
#include "rtfwriterformats.h"
#include "rtfwriterlists.h"
#include "rtfwriterlisttable.h"
#include "textproperties.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

constexpr double TwipsPerPixel = 15.0;
constexpr int DefaultColumnTwips = 1440;
// Qt's marks of a frame's (table's) beginning and end in the document text.
constexpr char16_t FrameStart = 0xFDD0;
constexpr char16_t FrameEnd = 0xFDD1;
constexpr char CellBorders[] = "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10";

class RtfWriterEngine {
public:
    RtfWriterEngine(const QTextDocument& document, int from, int to)
        : document_(document), from_(from), to_(to), tables_(document.defaultFont())
    {
    }

    QByteArray Write()
    {
        body_.reserve(to_ - from_ + 1024);
        if (document_.rootFrame()->childFrames().isEmpty()) {
            // Without tables only the paragraphs the range touches matter: a
            // few words of a large text cost those words, not every paragraph.
            for (QTextBlock b = RangeStart(); b.isValid() && b.position() <= to_; b = b.next())
                CollectBlock(b);
            for (QTextBlock b = RangeStart(); b.isValid() && b.position() <= to_; b = b.next())
                WriteBlock(b, 0, false);
        } else {
            // Also with tables only what the range touches is visited: a word
            // in a large text costs its paragraph or its table.
            VisitRange([this](const QTextBlock& b) { CollectBlock(b); }, [this](QTextFrame* f) { CollectFrame(f); });
            VisitRange([this](const QTextBlock& b) { WriteBlock(b, 0, false); },
                       [this](QTextFrame* f) { WriteChild(f); });
        }
        if (!closedLast_)
            body_ += "\\pard\\par\r\n";   // the range ended inside a table
        QByteArray out = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\uc1";
        out += tables_.Header();
        out += lists_.Header();
        out += body_;
        out += "}\r\n";
        return out;
    }

private:
    bool Intersects(int lo, int hi) const { return lo < to_ && hi > from_; }

    // The paragraph holding the range's first character; those before it end before it.
    QTextBlock RangeStart() const { return document_.findBlock(from_); }

    void CollectFrame(QTextFrame* frame)
    {
        for (auto it = frame->begin(); !it.atEnd(); ++it) {
            if (QTextFrame* child = it.currentFrame())
                CollectFrame(child);
            else
                CollectBlock(it.currentBlock());
        }
    }

    void CollectBlock(const QTextBlock& block)
    {
        if (!Intersects(block.position(), block.position() + block.length()))
            return;
        lists_.Collect(block);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (Intersects(fragment.position(), fragment.position() + fragment.length()))
                tables_.Collect(fragment.charFormat());
        }
    }

    // The text's own paragraphs and frames (tables) from the one holding the
    // range's first character to the one holding its end, in order, as the
    // root frame's iterator gives them. A table's opening mark is a paragraph
    // of the text; the paragraph after its closing mark follows the table.
    template <typename OnBlock, typename OnFrame>
    void VisitRange(OnBlock onBlock, OnFrame onFrame) const
    {
        const QList<QTextFrame*> frames = document_.rootFrame()->childFrames();
        qsizetype next = 0;
        for (QTextBlock b = RangeStart(); b.isValid() && b.position() <= to_;) {
            const int at = b.position();
            while (next < frames.size() && frames[next]->lastPosition() < at)
                ++next;
            if (next < frames.size() && frames[next]->firstPosition() <= at) {
                QTextFrame* frame = frames[next++];
                onFrame(frame);
                const QTextBlock after = document_.findBlock(frame->lastPosition() + 1);
                if (!after.isValid() || after.position() <= at)
                    break;
                b = after;
                continue;
            }
            onBlock(b);
            b = b.next();
        }
    }

    void WriteChild(QTextFrame* child)
    {
        if (auto* table = qobject_cast<QTextTable*>(child))
            WriteTable(table, 1);
        else
            WriteFrame(child);
    }

    void WriteFrame(QTextFrame* frame)
    {
        for (auto it = frame->begin(); !it.atEnd(); ++it) {
            if (QTextFrame* child = it.currentFrame())
                WriteChild(child);
            else
                WriteBlock(it.currentBlock(), 0, false);
        }
    }

    // A paragraph whose mark is inside the range ends with \par (or \cell). So
    // does the paragraph the range ends in, empty or not: as in every writer's
    // RTF, the last \par closes the last paragraph, and a reader takes it as
    // that and not as a paragraph break. The document's own last paragraph, which
    // Qt always keeps and plain text ends without a line end, is that one.
    // tableLevel: 0 in the text, 1 in a table's cell, 2 and more in nested tables.
    void WriteBlock(const QTextBlock& block, int tableLevel, bool lastInCell)
    {
        const bool inTable = tableLevel > 0;
        const int start = block.position();
        const int mark = start + block.length() - 1;
        const bool markIn = mark >= from_ && mark < to_;
        const bool last = !inTable && start <= to_ && to_ <= mark;
        if (!inTable && !markIn && !last && !Intersects(start, mark))
            return;
        if (!inTable && !last && QtsOwnBlockBeforeTable(block))
            return;
        body_ += ParagraphWords(block.blockFormat(), tableLevel);
        body_ += ' ';
        const RtfWrittenNumbering numbering = NumberingOf(block);
        body_ += NumberingWords(numbering);
        body_ += lists_.ParagraphWords(block);
        if (!inTable && start >= from_)
            body_ += NumberText(numbering, lists_.NumberTextOf(block));
        WriteRuns(block);
        CloseLink();
        if (inTable && lastInCell)
            body_ += tableLevel > 1 ? "\\nestcell " : "\\cell ";
        else if (inTable)
            body_ += "\\par\r\n";
        else if (markIn || last)
            body_ += "\\par\r\n";
        closedLast_ = closedLast_ || last;
    }

    void WriteRuns(const QTextBlock& block)
    {
        // Fragments whose formats differ only in what RTF does not say are one
        // run: how the text came to be split must not show in what is written.
        QByteArray runWords;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int lo = std::max(fragment.position(), from_);
            const int hi = std::min(fragment.position() + fragment.length(), to_);
            if (lo >= hi)
                continue;
            const QTextCharFormat format = fragment.charFormat();
            QString text = fragment.text().mid(lo - fragment.position(), hi - lo);
            // A UTF-16 byte-order mark kept as the text's first character belongs
            // to the plain file it came from; RTF has none.
            if (lo == 0 && text.startsWith(QChar(QChar::ByteOrderMark)))
                text.remove(0, 1);
            if (text.isEmpty())
                continue;
            // An address detected in the text is the text itself, not a field.
            const bool field = format.isAnchor() && !format.boolProperty(PropAutoLinkMark);
            const QString href = field ? format.anchorHref() : QString();
            if (href != openLink_) {
                CloseLink();
                runWords.clear();
                if (!href.isEmpty()) {
                    body_ += "{\\field{\\*\\fldinst{HYPERLINK \"";
                    QString escaped = href;
                    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
                    AppendRtfText(body_, escaped, false);   // \uN reads the same in any font
                    body_ += "\"}}{\\fldrslt{";
                    openLink_ = href;
                }
            }
            const bool scripted = RtfWriterTables::Scripted(format);
            const bool object = format.isImageFormat() || format.hasProperty(PropEmbeddedObject);
            if (scripted)
                body_ += '{';
            const QByteArray words = tables_.CharacterWords(format);
            if (scripted || object || words != runWords)
                body_ += words;
            runWords = scripted || object ? QByteArray() : words;
            const bool cp1251 = tables_.Cp1251Font(format);
            if (object) {
                for (QChar c : text) {
                    if (c == QChar::ObjectReplacementCharacter)
                        body_ += ObjectRtf(document_, format);
                    else
                        AppendRtfText(body_, QString(c), cp1251);
                }
            } else {
                AppendRtfText(body_, text, cp1251);
            }
            if (scripted)
                body_ += '}';
        }
    }

    void CloseLink()
    {
        if (!openLink_.isEmpty()) {
            body_ += "}}}";
            openLink_.clear();
        }
    }

    // Before a table at the start of the text or of a cell, Qt keeps an empty
    // paragraph of its own; in RTF the rows simply come first. Between two tables
    // the paragraph is the text's own, and ends the first table for every reader,
    // unless the second only goes on the rows of the first (PropTableContinued).
    bool QtsOwnBlockBeforeTable(const QTextBlock& block) const
    {
        const int start = block.position();
        if (block.length() != 1 || document_.characterAt(start) != QChar(FrameStart))
            return false;
        // The mark must begin a table, not the next cell of the table the block is in.
        QTextCursor at(const_cast<QTextDocument*>(&document_));
        at.setPosition(start + 1);
        const QTextFrame* frame = at.currentFrame();
        if (!frame || frame->firstPosition() != start + 1)
            return false;
        if (start == 0)
            return true;
        const QChar before = document_.characterAt(start - 1);
        if (before == QChar(FrameEnd))
            return frame->format().boolProperty(PropTableContinued);
        return before == QChar(FrameStart);
    }

    // \trowd and the cell boundaries of a table's row.
    static QByteArray RowDefinition(const QTextTable* table, int row)
    {
        const QTextTableFormat format = table->format();
        const int gap = format.hasProperty(PropTableGapTwips) ? format.property(PropTableGapTwips).toInt()
                                                              : int(std::lround(format.cellPadding() * TwipsPerPixel));
        const int left = format.property(PropTableLeftTwips).toInt();
        const QList<QTextLength> widths = format.columnWidthConstraints();
        QByteArray out = "\\trowd";
        out += "\\trgaph" + QByteArray::number(gap);
        out += "\\trleft" + QByteArray::number(left);
        if (row < format.headerRowCount())
            out += "\\trhdr";
        const Qt::Alignment a = format.alignment();
        if (a & Qt::AlignHCenter)
            out += "\\trqc";
        else if (a & Qt::AlignRight)
            out += "\\trqr";
        double sum = 0;
        for (int c = 0; c < table->columns(); ++c) {
            double w = DefaultColumnTwips / TwipsPerPixel;
            if (c < widths.size() && widths[c].type() == QTextLength::FixedLength)
                w = widths[c].rawValue();
            sum += w;
            // The control draws every cell's frame; so do other programs.
            if (format.border() > 0)
                out += CellBorders;
            out += "\\cellx" + QByteArray::number(left + std::lround(sum * TwipsPerPixel));
        }
        return out;
    }

    // Rows of the text's tables say what they are before their cells; rows of
    // nested tables after them, in the group readers without nested tables skip,
    // with a paragraph end for those readers instead.
    void WriteTable(QTextTable* table, int level)
    {
        const int columns = table->columns();
        for (int r = 0; r < table->rows(); ++r) {
            const int rowStart = table->cellAt(r, 0).firstPosition();
            const int rowEnd = table->cellAt(r, columns - 1).lastPosition() + 1;
            if (!Intersects(rowStart, rowEnd))
                continue;
            const QByteArray definition = RowDefinition(table, r);
            if (level == 1)
                body_ += definition + "\r\n";
            for (int c = 0; c < columns; ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                if (cell.row() != r || cell.column() != c) {
                    body_ += EmptyCell(level);   // covered by a merged cell
                    continue;
                }
                WriteCell(cell, level);
            }
            if (level == 1)
                body_ += "\\row\r\n";
            else
                body_ += "{\\*\\nesttableprops" + definition + "\\nestrow}{\\nonesttables\\par}\r\n";
        }
    }

    static QByteArray EmptyCell(int level)
    {
        if (level == 1)
            return "\\pard\\intbl\\cell ";
        return "\\pard\\intbl\\itap" + QByteArray::number(level) + "\\nestcell ";
    }

    void WriteCell(const QTextTableCell& cell, int level)
    {
        // The cell's paragraphs and tables in order; its last paragraph ends the cell.
        std::vector<std::pair<QTextBlock, QTextTable*>> items;
        for (auto it = cell.begin(); !it.atEnd(); ++it) {
            if (QTextFrame* child = it.currentFrame()) {
                if (auto* nested = qobject_cast<QTextTable*>(child))
                    items.emplace_back(QTextBlock(), nested);
            } else if (!QtsOwnBlockBeforeTable(it.currentBlock())) {
                items.emplace_back(it.currentBlock(), nullptr);
            }
        }
        size_t lastBlock = items.size();
        for (size_t i = 0; i < items.size(); ++i)
            if (!items[i].second)
                lastBlock = i;
        if (lastBlock == items.size()) {
            body_ += EmptyCell(level);
            return;
        }
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i].second)
                WriteTable(items[i].second, level + 1);
            else
                WriteBlock(items[i].first, level, i == lastBlock);
        }
    }

    const QTextDocument& document_;
    int from_;
    int to_;
    RtfWriterTables tables_;
    RtfWriterListTable lists_;
    QByteArray body_;
    QString openLink_;
    bool closedLast_ = false;
};

} // namespace

QByteArray WriteRtf(const QTextDocument& document, int from, int to)
{
    const int end = document.characterCount() - 1;
    if (to < 0 || to > end)
        to = end;
    from = std::clamp(from, 0, end);
    if (to < from)
        to = from;
    return RtfWriterEngine(document, from, to).Write();
}

} // namespace platform
