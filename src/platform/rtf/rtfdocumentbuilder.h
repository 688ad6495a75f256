// SPDX-License-Identifier: GPL-3.0-or-later
// Puts what the RTF reader decoded into a QTextDocument through one cursor:
// merged character runs, paragraphs with their formats, lists, and tables with
// the tables nested in their cells.
#pragma once

#include "rtfdocumentparts.h"
#include "rtfformats.h"
#include "rtfstate.h"
#include "rtftablenesting.h"

#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>

#include <map>
#include <utility>
#include <vector>

class QTextList;
class QTextTable;

namespace platform {

class RtfDocumentBuilder {
public:
    RtfDocumentBuilder(QTextCursor& cursor, const RtfFormatTables& tables);

    // The text buffer of the run drawn in the given state; text appended to it
    // joins the paragraph being read.
    QString& Text(const RtfCharState& state)
    {
        if (!haveRun_ || !(state == runState_))
            StartRun(state);
        return runText_;
    }
    // One object-replacement character drawn with its own format (image, kept object).
    void AppendObject(const QTextCharFormat& format);

    void EndParagraph(const RtfParaState& para);                      // \par
    void EndCell(const RtfParaState& para);                           // \cell
    void EndRow(const RtfRowState& row, const RtfParaState& para);    // \row
    void EndNestedCell(const RtfParaState& para);                     // \nestcell
    void EndNestedRow(const RtfRowState& row, const RtfParaState& para);   // \nestrow
    void Finish(const RtfParaState& para);                            // end of data

private:
    void StartRun(const RtfCharState& state);
    void CloseRun();
    bool ParagraphEmpty() const { return paragraph_.runs.empty() && runText_.isEmpty(); }
    RtfParagraph TakeParagraph(const RtfParaState& para);
    void FlushEnded();
    void InsertBody(RtfParagraph& p, bool terminated);
    bool JoinsBatch(const RtfParagraph& p) const;
    void FlushBatch();
    void ApplyList(const RtfParagraph& p);
    void InsertRows(std::vector<RtfRow> rows);
    void DropEmptyBlockBefore(QTextTable* table);

    QTextCursor& cursor_;
    const RtfFormatTables& tables_;
    QTextBlockFormat originalBlockFormat_;
    bool originalBlockEmpty_ = false;
    bool pendingBreak_ = false;

    bool haveRun_ = false;
    RtfCharState runState_;
    QTextCharFormat runFormat_;
    QString runText_;
    RtfParagraph paragraph_;
    // The paragraph the last \par ended: whether that mark breaks the text or
    // only closes its last paragraph is known when the next thing comes.
    RtfParagraph ended_;
    bool haveEnded_ = false;

    // Ended paragraphs of one format, no list and plain text, joined by paragraph
    // separators: one insertion puts thousands of them in at once.
    bool haveBatch_ = false;
    QString batchText_;
    QTextCharFormat batchFormat_;
    QTextBlockFormat batchBlockFormat_;

    RtfTableNesting nesting_;
    RtfRowState lastRow_;

    QTextList* list_ = nullptr;
    RtfNumbering listNumbering_;
    int listStart_ = 1;
    std::map<std::pair<int, int>, int> nextNumber_;   // (\ls, level) -> the number of its next item
};

} // namespace platform
