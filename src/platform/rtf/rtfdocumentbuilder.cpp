// The RTF document builder: runs are merged while the format stays the same and
// inserted a paragraph at a time; table rows are gathered until \row.
#include "rtfdocumentbuilder.h"

#include "richeditconsts.h"
#include "textproperties.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

#include <algorithm>

namespace platform {

namespace {

constexpr double TwipsPerPixel = 15.0;

bool SameNumbering(const RtfNumbering& a, const RtfNumbering& b)
{
    return a.numbering == b.numbering && a.style == b.style && a.start == b.start;
}

} // namespace

RtfDocumentBuilder::RtfDocumentBuilder(QTextCursor& cursor, const RtfFormatTables& tables)
    : cursor_(cursor), tables_(tables)
{
    originalBlockFormat_ = cursor_.blockFormat();
    originalBlockEmpty_ = cursor_.block().length() <= 1;
}

void RtfDocumentBuilder::StartRun(const RtfCharState& state)
{
    CloseRun();
    runState_ = state;
    runFormat_ = tables_.CharFormat(state);
    haveRun_ = true;
}

void RtfDocumentBuilder::CloseRun()
{
    if (runText_.isEmpty())
        return;
    std::vector<Run>& runs = paragraph_.runs;
    // A state that came back to an earlier format continues that run.
    if (!runs.empty() && runs.back().format == runFormat_)
        runs.back().text += runText_;
    else
        runs.push_back({runText_, runFormat_});
    runText_.clear();
}

void RtfDocumentBuilder::AppendObject(const QTextCharFormat& format)
{
    CloseRun();
    paragraph_.runs.push_back({QString(QChar::ObjectReplacementCharacter), format});
}

RtfDocumentBuilder::Paragraph RtfDocumentBuilder::TakeParagraph(const RtfParaState& para)
{
    CloseRun();
    Paragraph p = std::move(paragraph_);
    paragraph_ = Paragraph();
    p.format = tables_.BlockFormat(para);
    p.numbering = tables_.Numbering(para);
    return p;
}

void RtfDocumentBuilder::EndParagraph(const RtfParaState& para)
{
    if (para.inTable) {
        openCell_.push_back(TakeParagraph(para));
        return;
    }
    if (!cells_.empty() || !openCell_.empty())
        EmitRow(lastRow_);
    FlushEnded();
    ended_ = TakeParagraph(para);
    haveEnded_ = true;
}

// A \par followed by more of the text is a paragraph break.
void RtfDocumentBuilder::FlushEnded()
{
    if (!haveEnded_)
        return;
    haveEnded_ = false;
    InsertBody(ended_, true);
    ended_ = Paragraph();
}

void RtfDocumentBuilder::EndCell(const RtfParaState& para)
{
    openCell_.push_back(TakeParagraph(para));
    cells_.push_back(std::move(openCell_));
    openCell_.clear();
}

void RtfDocumentBuilder::EndRow(const RtfRowState& row, const RtfParaState& para)
{
    if (!ParagraphEmpty() || !openCell_.empty())
        EndCell(para);
    lastRow_ = row;
    haveLastRow_ = true;
    EmitRow(row);
}

void RtfDocumentBuilder::Finish(const RtfParaState& para)
{
    if (para.inTable || !cells_.empty() || !openCell_.empty()) {
        if (!ParagraphEmpty() || !openCell_.empty())
            EndCell(para);
        if (!cells_.empty())
            EmitRow(lastRow_);
    }
    if (!ParagraphEmpty()) {
        FlushEnded();
        Paragraph p = TakeParagraph(para);
        InsertBody(p, false);
    } else if (haveEnded_) {
        // The text's last \par closes its last paragraph, as every writer ends a
        // document; it adds no empty paragraph after it. So text that ends with
        // an empty line is written with one \par more, and comes back the same.
        haveEnded_ = false;
        InsertBody(ended_, false);
    }
}

void RtfDocumentBuilder::InsertRuns(QTextCursor& c, const Paragraph& p)
{
    for (const Run& run : p.runs)
        c.insertText(run.text, run.format);
}

void RtfDocumentBuilder::InsertBody(Paragraph& p, bool terminated)
{
    if (pendingBreak_) {
        cursor_.insertBlock(originalBlockFormat_);
        pendingBreak_ = false;
    }
    lastTable_ = nullptr;
    InsertRuns(cursor_, p);
    // An unterminated last paragraph keeps the mark, and so the format, of the
    // paragraph it was read into, unless that paragraph was empty.
    if (terminated || (originalBlockEmpty_ && cursor_.atBlockEnd())) {
        cursor_.setBlockFormat(p.format);
        ApplyList(p);
    }
    pendingBreak_ = terminated;
}

void RtfDocumentBuilder::ApplyList(const Paragraph& p)
{
    const RtfNumbering& n = p.numbering;
    if (n.numbering == PFN_NONE) {
        list_ = nullptr;
        return;
    }
    if ((n.style & 0xff00) == PFNS_NONUMBER)
        return;   // continues the list without a number of its own
    if (list_ && SameNumbering(n, listNumbering_)) {
        list_->add(cursor_.block());
        return;
    }
    list_ = cursor_.createList(ListFormatFor(n));
    listNumbering_ = n;
}

// A table inserted at the start of a paragraph leaves an empty paragraph before
// it; joining that to the paragraph above keeps the text as it was.
void RtfDocumentBuilder::DropEmptyBlockBefore(QTextTable* table)
{
    QTextDocument* document = cursor_.document();
    const int frameStart = table->firstPosition() - 1;
    const QTextBlock empty = document->findBlock(frameStart);
    if (empty.length() != 1 || empty.position() != frameStart || frameStart < 1)
        return;
    if (document->characterAt(frameStart - 1) != QChar::ParagraphSeparator)
        return;
    QTextCursor c(document);
    c.setPosition(frameStart - 1);
    c.deleteChar();
}

void RtfDocumentBuilder::EmitRow(const RtfRowState& row)
{
    FlushEnded();
    std::vector<Cell> cells = std::move(cells_);
    cells_.clear();
    if (!openCell_.empty()) {
        cells.push_back(std::move(openCell_));
        openCell_.clear();
    }
    int columns = std::max<int>(row.cellCount, int(cells.size()));
    columns = std::min(columns, RtfRowState::MaxCells);
    if (columns == 0)
        return;
    // Cells past the last column the control can hold join the last one.
    if (int(cells.size()) > columns) {
        Cell& last = cells[size_t(columns - 1)];
        for (size_t i = size_t(columns); i < cells.size(); ++i)
            for (Paragraph& p : cells[i])
                last.push_back(std::move(p));
        cells.resize(size_t(columns));
    }

    // After a finished paragraph the table simply follows it; inside a paragraph
    // begun by other text, Qt's table insertion splits off an empty paragraph.
    const bool afterFinishedParagraph = pendingBreak_;
    pendingBreak_ = false;
    QTextTable* table = nullptr;
    if (lastTable_ && row == lastTableRow_ && columns == lastTableColumns_
        && cursor_.position() == lastTable_->lastPosition() + 1) {
        table = lastTable_;
        table->appendRows(1);
    } else {
        QTextTableFormat format;
        format.setCellPadding(std::max(0, row.gap) / TwipsPerPixel);
        format.setCellSpacing(0);
        format.setBorder(1);
        format.setBorderCollapse(true);
        format.setProperty(PropTableLeftTwips, row.left);
        format.setProperty(PropTableGapTwips, row.gap);
        if (row.alignment == 1)
            format.setAlignment(Qt::AlignRight);
        else if (row.alignment == 2)
            format.setAlignment(Qt::AlignHCenter);
        QList<QTextLength> widths;
        int previous = row.left;
        for (int i = 0; i < columns; ++i) {
            if (i < row.cellCount) {
                const int right = row.cellRight[size_t(i)];
                widths.append(QTextLength(QTextLength::FixedLength, std::max(0, right - previous) / TwipsPerPixel));
                previous = right;
            } else {
                widths.append(QTextLength());
            }
        }
        format.setColumnWidthConstraints(widths);
        const bool atBlockStart = cursor_.atBlockStart();
        table = cursor_.insertTable(1, columns, format);
        if (atBlockStart && !afterFinishedParagraph)
            DropEmptyBlockBefore(table);
        lastTable_ = table;
        lastTableRow_ = row;
        lastTableColumns_ = columns;
    }
    const int r = table->rows() - 1;
    for (int i = 0; i < int(cells.size()); ++i) {
        QTextCursor c = table->cellAt(r, i).firstCursorPosition();
        bool first = true;
        for (const Paragraph& p : cells[size_t(i)]) {
            if (!first)
                c.insertBlock();
            first = false;
            InsertRuns(c, p);
            c.setBlockFormat(p.format);
        }
    }
    cursor_.setPosition(table->lastPosition() + 1);
    list_ = nullptr;
}

} // namespace platform
