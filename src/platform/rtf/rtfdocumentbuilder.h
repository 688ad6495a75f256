// Puts what the RTF reader decoded into a QTextDocument through one cursor:
// merged character runs, paragraphs with their formats, lists, and table rows.
#pragma once

#include "rtfformats.h"
#include "rtfstate.h"

#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>

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

    void EndParagraph(const RtfParaState& para);        // \par
    void EndCell(const RtfParaState& para);             // \cell
    void EndRow(const RtfRowState& row, const RtfParaState& para);   // \row
    void Finish(const RtfParaState& para);              // end of data

private:
    struct Run {
        QString text;
        QTextCharFormat format;
    };
    struct Paragraph {
        std::vector<Run> runs;
        QTextBlockFormat format;
        RtfNumbering numbering;
    };
    using Cell = std::vector<Paragraph>;

    void StartRun(const RtfCharState& state);
    void CloseRun();
    bool ParagraphEmpty() const { return paragraph_.runs.empty() && runText_.isEmpty(); }
    Paragraph TakeParagraph(const RtfParaState& para);
    void FlushEnded();
    void InsertBody(Paragraph& p, bool terminated);
    void InsertRuns(QTextCursor& c, const Paragraph& p);
    void ApplyList(const Paragraph& p);
    void EmitRow(const RtfRowState& row);
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
    Paragraph paragraph_;
    // The paragraph the last \par ended: whether that mark breaks the text or
    // only closes its last paragraph is known when the next thing comes.
    Paragraph ended_;
    bool haveEnded_ = false;

    std::vector<Cell> cells_;     // finished cells of the row being read
    Cell openCell_;               // paragraphs of the cell being read
    RtfRowState lastRow_;
    bool haveLastRow_ = false;
    QTextTable* lastTable_ = nullptr;
    RtfRowState lastTableRow_;
    int lastTableColumns_ = 0;

    QTextList* list_ = nullptr;
    RtfNumbering listNumbering_;
};

} // namespace platform
