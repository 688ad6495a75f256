// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF document builder: runs are merged while the format stays the same and
// inserted a paragraph at a time, or many plain paragraphs of one format at a
// time; table rows wait until the text goes on after them, and go in a table at a time.
#include "rtfdocumentbuilder.h"

#include "richeditconsts.h"
#include "rtftableinsert.h"
#include "textproperties.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

#include <algorithm>

namespace platform {

namespace {

bool SameNumbering(const RtfNumbering& a, const RtfNumbering& b)
{
    return a.numbering == b.numbering && a.style == b.style && a.start == b.start && a.listOverride == b.listOverride
        && a.level == b.level;
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
    std::vector<RtfRun>& runs = paragraph_.runs;
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

RtfParagraph RtfDocumentBuilder::TakeParagraph(const RtfParaState& para)
{
    CloseRun();
    RtfParagraph p = std::move(paragraph_);
    paragraph_ = RtfParagraph();
    p.format = tables_.BlockFormat(para);
    p.numbering = tables_.Numbering(para);
    return p;
}

void RtfDocumentBuilder::EndParagraph(const RtfParaState& para)
{
    if (para.tableLevel > 0) {
        nesting_.AddParagraph(para.tableLevel, TakeParagraph(para));
        return;
    }
    InsertRows(nesting_.TakeRows(lastRow_));
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
    ended_ = RtfParagraph();
}

void RtfDocumentBuilder::EndCell(const RtfParaState& para)
{
    nesting_.EndCell(1, TakeParagraph(para));
}

void RtfDocumentBuilder::EndRow(const RtfRowState& row, const RtfParaState& para)
{
    if (!ParagraphEmpty() || nesting_.HasOpenCell(1))
        EndCell(para);
    nesting_.EndRow(1, row);
    lastRow_ = row;
}

void RtfDocumentBuilder::EndNestedCell(const RtfParaState& para)
{
    nesting_.EndCell(std::max(2, para.tableLevel), TakeParagraph(para));
}

void RtfDocumentBuilder::EndNestedRow(const RtfRowState& row, const RtfParaState& para)
{
    const int level = std::max(2, para.tableLevel);
    if (!ParagraphEmpty())
        nesting_.EndCell(level, TakeParagraph(para));
    nesting_.EndRow(level, row);
}

void RtfDocumentBuilder::Finish(const RtfParaState& para)
{
    if (para.tableLevel > 0 && !ParagraphEmpty())
        nesting_.EndCell(para.tableLevel, TakeParagraph(para));
    InsertRows(nesting_.TakeRows(lastRow_));
    if (!ParagraphEmpty()) {
        FlushEnded();
        RtfParagraph p = TakeParagraph(para);
        InsertBody(p, false);
    } else if (haveEnded_) {
        // The text's last \par closes its last paragraph, as every writer ends a
        // document; it adds no empty paragraph after it. So text that ends with
        // an empty line is written with one \par more, and comes back the same.
        haveEnded_ = false;
        InsertBody(ended_, false);
    }
    FlushBatch();
}

// A paragraph that, put in with the batch's one insertion, ends up exactly as
// inserting it on its own would leave it: a batch begins with text, so that
// every paragraph mark in it takes the batch's character format, as the mark
// after a run or after an empty paragraph following one does.
bool RtfDocumentBuilder::JoinsBatch(const RtfParagraph& p) const
{
    if (p.numbering.numbering != PFN_NONE || p.runs.size() > 1 || (p.runs.empty() && !haveBatch_))
        return false;
    if (haveBatch_ && (p.format != batchBlockFormat_ || (!p.runs.empty() && p.runs.front().format != batchFormat_)))
        return false;
    if (p.runs.empty())
        return true;
    // Characters that the insertion would take for paragraph or frame marks, and objects.
    const QString& text = p.runs.front().text;
    return std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        const char16_t u = c.unicode();
        return u == u'\n' || u == u'\r' || u == QChar::ParagraphSeparator || u == 0xFDD0 || u == 0xFDD1
            || u == QChar::ObjectReplacementCharacter;
    });
}

void RtfDocumentBuilder::FlushBatch()
{
    if (!haveBatch_)
        return;
    haveBatch_ = false;
    if (pendingBreak_)
        cursor_.insertBlock(originalBlockFormat_);
    // The blocks the insertion makes take the format of the block it starts in.
    cursor_.setBlockFormat(batchBlockFormat_);
    cursor_.insertText(batchText_, batchFormat_);
    batchText_.clear();
    list_ = nullptr;
    pendingBreak_ = true;
}

void RtfDocumentBuilder::InsertBody(RtfParagraph& p, bool terminated)
{
    if (terminated && JoinsBatch(p)) {
        if (!haveBatch_) {
            haveBatch_ = true;
            batchFormat_ = p.runs.front().format;
            batchBlockFormat_ = p.format;
            batchText_ = p.runs.front().text;
        } else {
            batchText_ += QChar::ParagraphSeparator;
            if (!p.runs.empty())
                batchText_ += p.runs.front().text;
        }
        return;
    }
    FlushBatch();
    if (pendingBreak_) {
        cursor_.insertBlock(originalBlockFormat_);
        pendingBreak_ = false;
    }
    for (const RtfRun& run : p.runs)
        cursor_.insertText(run.text, run.format);
    // An unterminated last paragraph keeps the mark, and so the format, of the
    // paragraph it was read into, unless that paragraph was empty.
    if (terminated || (originalBlockEmpty_ && cursor_.atBlockEnd())) {
        cursor_.setBlockFormat(p.format);
        ApplyList(p);
    }
    pendingBreak_ = terminated;
}

void RtfDocumentBuilder::ApplyList(const RtfParagraph& p)
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
    } else {
        listStart_ = n.start > 0 ? n.start : 1;
        // A Word list goes on counting after paragraphs of other kinds between
        // its items, and after items of its deeper levels.
        if (n.listOverride > 0 && n.numbering != PFN_BULLET) {
            const auto next = nextNumber_.find({n.listOverride, n.level});
            if (next != nextNumber_.end())
                listStart_ = next->second;
        }
        list_ = cursor_.createList(ListFormatFor(n, listStart_));
        listNumbering_ = n;
    }
    if (n.listOverride > 0) {
        nextNumber_[{n.listOverride, n.level}] = listStart_ + list_->count();
        // Its deeper levels count from their start again under this item.
        auto deeper = nextNumber_.upper_bound({n.listOverride, n.level});
        while (deeper != nextNumber_.end() && deeper->first.first == n.listOverride)
            deeper = nextNumber_.erase(deeper);
    }
    // The paragraph names the number its run of items starts from, as a \pn
    // group does, so that what is written says what is shown.
    if (n.numbering != PFN_BULLET && n.start != listStart_) {
        QTextBlockFormat start;
        start.setProperty(PropNumberingStart, listStart_);
        cursor_.mergeBlockFormat(start);
    }
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

void RtfDocumentBuilder::InsertRows(std::vector<RtfRow> rows)
{
    if (rows.empty())
        return;
    FlushEnded();
    FlushBatch();
    ForEachTable(rows, [&](size_t first, size_t last, const QTextTableFormat& format) {
        // After a finished paragraph the table simply follows it; inside a paragraph
        // begun by other text, Qt's table insertion splits off an empty paragraph.
        const bool afterFinishedParagraph = pendingBreak_;
        pendingBreak_ = false;
        const bool atBlockStart = cursor_.atBlockStart();
        QTextTable* table = cursor_.insertTable(int(last - first), format.columns(), format);
        if (atBlockStart && !afterFinishedParagraph)
            DropEmptyBlockBefore(table);
        FillTable(table, rows, first, last);
        cursor_.setPosition(table->lastPosition() + 1);
    });
    list_ = nullptr;
}

} // namespace platform
