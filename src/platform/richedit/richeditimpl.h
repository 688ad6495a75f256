// SPDX-License-Identifier: GPL-3.0-or-later
// The rich-edit control's inner state, shared by the files that implement its
// operations (streaming, lines, formats, undo, search, notifications).
#pragma once

#include "richedit.h"

#include <QElapsedTimer>
#include <QFont>
#include <QPointer>
#include <QTextCharFormat>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <climits>
#include <memory>
#include <vector>

#include "displayformats.h"
#include "layout/documentlayout.h"
#include "urldetect.h"

#include <QKeySequence>
#include <QMimeData>

namespace platform {

class LoadPreview;
struct PrintLayout;

// Text lengths above this make Qt 6.4's layout lose its progress count, so the
// scroll bar comes late and the view re-lays out everything when it does.
constexpr int LayoutProgressOverflowChars = 21474836;

// Qt lays a paragraph out whole, and draws a line whole whatever part of it is
// visible. Without word wrap, a paragraph longer than this is folded into lines
// FoldWidthPx wide, so that a repaint (a caret blink) draws a few thousand
// characters, not the whole paragraph; and the vertical scroll bar stays on, so
// that its coming does not lay the paragraph out again. A long paragraph's layout
// keeps its glyphs (some 40 bytes a character, as much as laying it out takes
// anyway): without them every repaint of any part of it, each caret blink,
// itemizes the whole paragraph again.
constexpr int LongParagraphChars = 10000;
constexpr int FoldWidthPx = 16384;

struct RichEdit::Impl {
    explicit Impl(RichEdit* owner) : q(owner) {}

    RichEdit* q;
    QTextDocument* doc = nullptr;           // owned by q; replaced by whole-text stream-in

    // Notifications
    std::uint32_t eventMask = 0;
    int notifyDepth = 0;                    // operations in progress; notifications wait for the outermost
    bool changePending = false;
    CHARRANGE lastSel;

    // Undo: the name of each step, by the document's undo state after the step
    // (Qt counts commands there, and a step may hold several).
    struct UndoStep {
        int state;
        int name;
    };
    std::vector<UndoStep> undoSteps;
    int pendingUndoName = UID_UNKNOWN;
    int undoFloor = 0;                      // states at or below this are beyond the undo limit
    std::int32_t undoLimit = 100;
    QTextCursor undoGroup;                  // holds the edit block of an open undo group
    int undoGroupDepth = 0;

    // Display
    bool wordWrap = true;
    bool longParagraph = false;             // the text holds a paragraph of LongParagraphChars or more
    bool foldPending = false;               // a change made one: fold when the operation ends
    mutable bool layoutDeferred = false;    // long paragraphs wait, hidden from Qt's layout, until shown
    mutable bool relayingOut = false;
    QTextDocument* placeholder = nullptr;   // shown while the view changes its wrap between two documents
    bool horizontalBar = false;
    bool verticalBar = false;
    bool hideSelection = true;
    bool autoUrlDetect = false;
    std::int32_t textLimit = INT_MAX;
    QTextCharFormat defaultFormat;          // user properties of SCF_DEFAULT; the font lives in q->font()

    // Automatic link detection waits for the end of a typed word.
    int dirtyFrom = -1;
    int dirtyTo = -1;
    bool deferLinks = false;
    bool markingLinks = false;

    QPointer<QMimeData> ownClipboard;       // what this control last put on the clipboard
    std::shared_ptr<PrintLayout> printLayout; // the pages of the print run under way (FormatRange)

    // Display formats over the block layouts (links, hidden text, underline kinds).
    DisplayFormats display;
    QColor shownLink;                       // the link colour the display formats use
    int changes = 0;                        // counts changes of the text, its formats and their display
    QColor LinkColor() const;
    // With onlyAt, target is a fresh document in which only the blocks holding
    // those positions may need display formats.
    void RestyleAll(QTextDocument* target, bool relayout, const std::vector<int>* onlyAt = nullptr);

    // With word wrap: the number of the first display line of each paragraph,
    // counted from the top as far as it was asked for, kept while the width, the
    // font and the display formats stay; an edit keeps what lies before it.
    struct WrappedLines {
        const QTextDocument* doc = nullptr;
        const QAbstractTextDocumentLayout* layout = nullptr;
        int restyles = -1;
        qreal width = -2;
        QFont font;
        std::vector<int> firstLine;   // firstLine[i]: lines before block i; one more entry than blocks counted
    };
    mutable WrappedLines wrappedLines;
    int restyles = 0;                       // counts changes of the display formats
    // The map, counted at least through block number upTo (-1: every block).
    const WrappedLines& WrappedLineMap(int upTo) const;
    // The map, counted at least until it holds display line number line.
    const WrappedLines& WrappedLineMapFor(int line) const;
    // The block's layout with its lines, laid out now if it was not.
    const QTextLayout* LinesOf(const QTextBlock& block) const;

    // The shown document's own layout, when it has one (documents with tables or
    // lists keep Qt's).
    DocumentLayout* ViewLayout() const;
    void InstallViewLayout(QTextDocument* target);
    void LeaveViewLayout();
    // Lays out what the viewport shows and what lies a screen around it.
    void PrepareView();
    void KeepShiftedView();

    // Document
    QTextDocument* NewDocument() const;     // detached, configured like the shown one
    // The start of a text being streamed in, on screen now; null when it would
    // not look as the whole text will.
    std::unique_ptr<LoadPreview> ShowPreview(const QString& head, const RichEdit::PreviewRequest& request);
    void AttachDocument(QTextDocument* fresh, const std::vector<int>* styledAt = nullptr);
    void ConnectDocument();
    void ApplyScrollBars();
    void ApplyWrap();
    QTextEdit::LineWrapMode WantedWrap() const;
    Qt::ScrollBarPolicy VerticalPolicy() const;
    void NoteLongParagraphs(const QTextDocument* target, int from, int to);
    void DeferLongParagraphs(QTextDocument* target);
    void LayOutDeferred() const;
    std::int32_t TextLength() const { return doc->characterCount() - 1; }
    QString RawText(int from, int to) const;            // paragraph ends as U+2029
    // Characters from..to of a block (document positions), without copying the
    // rest of a long one.
    static QString BlockText(const QTextBlock& block, int from, int to);
    // The whole raw text, for one search through a long span.
    QString WholeRawText() const;
    QString PlainText(int from, int to) const;          // RawText with table marks as TAB and U+2029
    QTextCursor Cursor(int anchor, int position) const;
    int Clamp(int pos) const;

    // Notifications
    void OnContentsChange(int position, int removed, int added);
    void CheckSelection();
    void Flush();

    // Undo
    void OnUndoCommandAdded();
    void ClearUndoNames();
    static void EndStep(QTextCursor& cursor);              // ends an edit block as a step of its own

    // Replaces [from, to) by text of the same shape between the table marks;
    // false (nothing done) when the range holds no table or the shapes differ.
    bool ReplaceKeepingTables(int from, int to, const QString& text);

    // Protection
    bool HasProtected(int from, int to) const;
    void StepOverHidden(int before);         // after a caret move from before
    // Paragraphs laid out in pieces: Qt's cursor finds no lines in them, so the
    // caret keys, the reach of Delete and what is scrolled into view are ours.
    void HookTextControl();
    bool InPieces(int pos) const;
    // Sets the caret and selection as setTextCursor does. When the caret goes into
    // a paragraph in pieces, Qt is not asked where it is: after an edit Qt would
    // analyse the whole paragraph again to answer.
    void PlaceCaret(int anchor, int position);
    // Where a click at a point of the viewport puts the caret; -1: nowhere.
    int CaretAt(QPoint viewportPos) const;
    // Undo or redo of one step, the caret placed as Qt's own does.
    void StepUndo(bool undo);
    bool MoveInPieces(QKeyEvent* event);
    int ReachInPieces(int pos, QKeySequence::StandardKey key) const;
    int VerticalStep(int pos, double x, bool down) const;
    double stickyX = -1;                     // where Up and Down aim while they repeat
    int stickyPos = -1;
    int shownCaret = -1;                     // the caret and anchor the view was last drawn for
    int shownAnchor = -1;
    // Typing and deleting there are ours too: after an edit Qt's cursor and control
    // ask the paragraph's own layout for the caret's line, and Qt splits the whole
    // paragraph into runs again to answer. Text replaces from..to; "\r" splits
    // the paragraph; mayJoin lets the edit join the step of the edit before it.
    void EditInPieces(int from, int to, const QString& text, bool mayJoin);
    struct PieceEdit {
        int revision = -1;                   // the document's revision after it; -1: joins nothing
        int from = 0;
        int to = 0;                          // where the caret was left
        bool deleting = false;
    };
    PieceEdit lastPieceEdit;
    // The caret blinks by our own timer there: Qt's blink asks for the caret's line too.
    QObject* textControl = nullptr;
    bool caretOff = false;
    bool BlinkInPieces(QEvent* event);
    void ShowCaret();
    bool AllowEdit(int from, int to);

    // Mouse: plain clicks and drags that place the caret or select are ours (Qt's
    // text control looks through every paragraph for a check box on each press).
    bool PressPlainly(QMouseEvent* event);
    // False when the move is not part of a press of ours.
    bool DragPlainly(QMouseEvent* event);
    void DragTo(QPoint viewportPos);
    void ScrollWhileDragging();
    void ReleasePlainly();
    QTimer* dragScroll = nullptr;            // scrolls while a drag of ours is held outside the view
    QPoint dragAt;                           // where that drag's pointer last was, in the viewport
    void PressedByQt(QMouseEvent* event, bool hadSelection);
    bool mouseSelecting = false;             // a press of ours is held: moves extend the selection
    QElapsedTimer doubleClicked;             // Qt remembers the word; its next plain press forgets it
    bool qtMayDrag = false;                  // Qt's last press was in a selection

    // Links
    void MarkDirty(int from, int to);
    void DetectLinks(QTextDocument* target, int from, int to, bool joinUndo);
    // Detection in a document with no links yet, only in the blocks holding the
    // marks FindUrlMarks gave; answers a position in each block it marked.
    std::vector<int> DetectLinksAt(QTextDocument* target, std::vector<int> marks);
    // The same over a whole document with no links yet, whose text is all there:
    // one pass over its characters finds the blocks to read.
    void DetectLinksInFresh(QTextDocument* target);
    void RunPendingLinks(bool joinUndo = true);
    bool MayHoldLinks(const QTextBlock& block, int pos) const;
    bool LinkAt(int pos, CHARRANGE& range) const;
    int CharAt(QPoint viewportPos) const;              // the character under a point, or -1
    void MouseOnLink(QPoint viewportPos, LinkMessage message);

    // Formats
    QTextCharFormat DefaultCharFormat() const;          // the document default with user properties
    QTextCharFormat CharFormatAt(int pos) const;        // of the character at pos, defaults merged
    QTextCharFormat OverDefault(const QTextCharFormat& own) const; // a run's own format over the default

    // Clipboard
    void InsertMime(QTextCursor& cursor, const QMimeData* source);
};

// Marks found addresses as automatic links, with no undo step.
void MarkLinks(QTextDocument* target, const std::vector<UrlRange>& links);

// Groups the notifications of one operation: EN_CHANGE and EN_SELCHANGE are sent
// once, when the outermost operation ends, if the text or the selection changed.
class NotifyScope {
public:
    static constexpr int KeepName = -1;
    explicit NotifyScope(RichEdit::Impl& impl, int undoName = KeepName);
    ~NotifyScope();
    NotifyScope(const NotifyScope&) = delete;
    NotifyScope& operator=(const NotifyScope&) = delete;

private:
    RichEdit::Impl& d;
    int savedName;
};

} // namespace platform
