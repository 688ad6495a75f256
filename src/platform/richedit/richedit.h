// SPDX-License-Identifier: GPL-3.0-or-later
// The rich-edit control: a QTextEdit over a QTextDocument offering each operation
// the editor relies on, as typed methods named after the control's messages.
#pragma once

#include "embeddedobject.h"
#include "richeditconsts.h"

#include <QString>
#include <QTextEdit>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPainter;
class QPaintDevice;

namespace platform {

// EDITSTREAM: the control calls pfnCallback for each block. Streaming in, the
// callback fills up to cb bytes of buffer and sets *pcb to the count (0 = end);
// streaming out, the control hands cb bytes and the callback sets *pcb to the
// count it took. A non-zero return stops the stream and is left in dwError.
using EditStreamCallback = std::uint32_t (*)(std::uintptr_t cookie, std::uint8_t* buffer,
                                             std::int32_t cb, std::int32_t* pcb);
struct EDITSTREAM {
    std::uintptr_t dwCookie = 0;
    std::uint32_t dwError = 0;
    EditStreamCallback pfnCallback = nullptr;
};

// dwError of a stream-in whose data the chosen format cannot read (SF_RTF given
// bytes that are not RTF). Callback failures leave the callback's own value.
constexpr std::uint32_t StreamErrorBadData = 0x0000000D;

// EN_LINK: the mouse message that touched a link and the link's range.
enum class LinkMessage { MouseMove, LeftButtonDown, LeftButtonUp, LeftButtonDoubleClick, RightButtonDown, RightButtonUp };
struct ENLINK {
    LinkMessage msg = LinkMessage::MouseMove;
    CHARRANGE chrg;
};

// A rectangle in twips (1/1440 inch).
struct RECT {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// EM_FORMATRANGE: what to lay out and where. The text is laid out for the
// resolution of hdcTarget (hdc's own device when none is given) and drawn on hdc,
// whose coordinates are that device's pixels. rc is the text's area in twips from
// the device's origin; chrg the characters to print, cpMax -1 meaning the end.
// monochrome draws all text in black, as a device without colours would.
struct FORMATRANGE {
    QPainter* hdc = nullptr;
    const QPaintDevice* hdcTarget = nullptr;
    RECT rc;
    RECT rcPage;
    CHARRANGE chrg;
    bool monochrome = false;
};

class RichEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit RichEdit(QWidget* parent = nullptr);
    ~RichEdit() override;

    // Streaming (EM_STREAMIN / EM_STREAMOUT). format: SF_TEXT (Windows-1251 bytes),
    // SF_TEXT | SF_UNICODE (UTF-16LE), SF_RTF; each optionally | SFF_SELECTION.
    // Answers the number of characters read or written. A whole-text stream-in
    // replaces the text and empties the undo buffer; a selection stream-in replaces
    // the selection. A stream whose callback fails changes nothing at all.
    std::int32_t StreamIn(unsigned format, EDITSTREAM& stream);
    std::int32_t StreamOut(unsigned format, EDITSTREAM& stream);

    // Text (SetWindowText / WM_GETTEXTLENGTH / EM_GETTEXTRANGE). Positions count one
    // per UTF-16 unit and one per paragraph end.
    void SetText(const QString& text);
    std::int32_t GetTextLength() const;
    QString GetTextRange(std::int32_t cpMin, std::int32_t cpMax) const;

    // Selection
    CHARRANGE ExGetSel() const;
    void ExSetSel(CHARRANGE range);            // cpMin 0, cpMax -1 selects all
    void SetSel(std::int32_t start, std::int32_t end);
    void ReplaceSel(const QString& text, bool undoable);
    QString GetSelText() const;
    // Replaces the selection, as an undoable edit, by a text of the same length
    // that differs from it only in letters (another letter case): each character
    // keeps its format, objects and paragraph and table marks stay where they are.
    // The selection stays. False when the lengths differ or the text is protected.
    bool ReplaceSelSameLength(const QString& text);
    // Replace All: from the text's start, each match of find (FR_MATCHCASE as given;
    // always down, whole words not asked) that accept agrees to is replaced by text,
    // and the search goes on after the inserted text. One undo step; the caret stays
    // where it was, moved with the text; what changed is laid out again in the
    // background. progress, when given, hears (position, text length) now and then.
    // Answers the number of replacements.
    int ReplaceEach(const QString& find, const QString& text, unsigned flags,
                    const std::function<bool(const QString& matched)>& accept,
                    const std::function<void(int position, int length)>& progress = {});
    unsigned SelectionType() const;            // SEL_* bits
    void HideSelection(bool hide);
    void ScrollCaret();

    // Lines as displayed: with word wrap a paragraph may be several lines.
    std::int32_t GetLineCount() const;
    std::int32_t LineIndex(std::int32_t line) const;     // -1 = the caret's line; -1 past the last
    std::int32_t LineLength(std::int32_t charPos) const; // length of the line holding charPos, without its end
    QString GetLine(std::int32_t line) const;            // with its paragraph end as "\r" when it has one
    std::int32_t ExLineFromChar(std::int32_t charPos) const; // -1 = the caret's line
    // Where the display line holding charPos starts (-1: the caret's), found
    // without counting the lines above it.
    std::int32_t LineStartFromChar(std::int32_t charPos) const;
    // Whether ExLineFromChar(charPos) answers at once. With word wrap the lines
    // of a long text are counted as they are needed; when those above charPos are
    // not, they are counted while the program is idle, and OnLinesCounted is
    // called once every line is.
    bool LineKnown(std::int32_t charPos) const;

    // Formats
    CHARFORMAT2 GetCharFormat(unsigned scf) const;   // SCF_SELECTION or SCF_DEFAULT; varying properties clear their mask bit
    bool SetCharFormat(unsigned scf, const CHARFORMAT2& format);
    PARAFORMAT2 GetParaFormat() const;
    bool SetParaFormat(const PARAFORMAT2& format);

    // Undo and modified state
    bool Undo();
    bool Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    void EmptyUndoBuffer();
    std::int32_t SetUndoLimit(std::int32_t limit);   // answers the limit accepted
    int GetUndoName() const;                          // UID_*
    int GetRedoName() const;
    bool GetModify() const;
    void SetModify(bool modified);
    // Every edit until the matching end is one undo step, and the change and
    // selection notifications wait for the end. Groups nest; the outermost counts.
    void BeginUndoGroup();
    void EndUndoGroup();

    // Clipboard
    void Cut();
    void Copy();
    void Paste();
    void Clear();
    bool CanPaste() const;

    // Embedded objects (one object-replacement character each). Inserting replaces
    // the selection as one undoable step and selects the object; false when the
    // control refuses the edit (read-only, protected, full).
    bool InsertObject(const EmbeddedObject& object);
    std::optional<EmbeddedObject> ObjectAt(std::int32_t pos) const;
    // The position of the one object the selection holds exactly, else -1.
    std::int32_t SelectedObject() const;
    // The selected object, or with an empty selection the object just after the
    // caret, else the one just before it; -1 when there is none.
    std::int32_t CurrentObject() const;
    std::vector<std::int32_t> ObjectPositions() const;
    // Every object and picture, others' objects kept as RTF included: what plain
    // text has no place for (a replacement character typed as text is not one).
    std::int32_t DrawnObjectCount() const;
    // The position of the object drawn under a point of the viewport, else -1.
    std::int32_t ObjectUnder(QPoint viewportPos) const;
    // Replaces the object at pos (another view, new data) as an undoable step,
    // keeping the rest of the character's format.
    bool SetObjectAt(std::int32_t pos, const EmbeddedObject& object);
    // Puts the object at pos on the clipboard: whole for pastes here, as RTF for
    // other programs, and as a picture when it shows one.
    bool CopyObject(std::int32_t pos);

    // Search (EM_FINDTEXTEX): FR_DOWN searches from cpMin to cpMax (cpMax -1 = end),
    // otherwise backwards from cpMin down to cpMax. Answers the match start or -1;
    // found receives the match range.
    std::int32_t FindTextEx(CHARRANGE range, const QString& text, unsigned flags, CHARRANGE* found = nullptr) const;

    // Notifications, each gated by the event mask (ENM_*). EN_LINK and EN_PROTECTED
    // are sent when their mask bit is set.
    std::uint32_t SetEventMask(std::uint32_t mask);  // answers the previous mask
    std::uint32_t GetEventMask() const;
    std::function<void()> OnChange;                               // EN_CHANGE
    std::function<void()> OnSelChange;                            // EN_SELCHANGE
    std::function<void(const QRect&)> OnRequestResize;            // EN_REQUESTRESIZE
    std::function<bool(std::int32_t, std::int32_t)> OnProtected;  // EN_PROTECTED: true allows the change
    std::function<void(const ENLINK&)> OnLink;                    // EN_LINK
    std::function<bool(int objects, int chars)> OnSaveClipboard;  // EN_SAVECLIPBOARD: true keeps the clipboard
    std::function<void()> OnLinesCounted;                         // see LineKnown
    // Once: work on the next whole text streamed in, before it is shown (a change
    // to a shown document lays it out at once). What it throws fails the stream,
    // and the text shown stays.
    std::function<void(QTextDocument&)> BeforeShowingNext;
    // Once: when the next whole plain text streamed in has taken afterMs, its
    // first screenful is drawn over the view until the whole text is shown, if
    // allowed (asked then) says it will look the same and the caret put at caretAt
    // after the stream leaves the view at the text's start. Nothing of it reaches
    // the text, and a stream that fails leaves the old text shown.
    struct PreviewRequest {
        int afterMs = 200;
        std::int32_t caretAt = 0;
        std::function<bool()> allowed;
        // Runs once the preview is on screen, for what else the window shows now.
        std::function<void()> shown = nullptr;
    };
    std::optional<PreviewRequest> PreviewNext;

    // Display
    void SetBkgndColor(bool useSystemColor, COLORREF color);
    void SetRect(const QRect& rect);
    void ExLimitText(std::int32_t limit);
    void SetReadOnly(bool readOnly);
    void SetRedraw(bool redraw);                  // WM_SETREDRAW
    void VScrollLines(int lines);                 // WM_VSCROLL SB_LINEUP / SB_LINEDOWN steps
    void AutoUrlDetect(bool on);
    bool GetAutoUrlDetect() const;
    void SetWordWrap(bool wrap);
    bool WordWrap() const;
    void SetScrollBars(bool horizontal, bool vertical); // a wrapping control never shows a horizontal bar
    bool Overwrite() const;
    void SetOverwrite(bool overwrite);            // the Insert key toggles it too

    // Page layout (EM_FORMATRANGE): lays the text out from chrg.cpMin into rc,
    // draws that page part when render is set, and answers the first position that
    // did not fit (the range's end once all of it did). Successive pages of one run
    // reuse one layout; a null range releases it.
    std::int32_t FormatRange(const FORMATRANGE* range, bool render);

    // The document that holds the text (replaced by every whole-text stream-in).
    QTextDocument* Document() const;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;
    QMimeData* MimeDataFor(const QTextCursor& range) const;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public:
    struct Impl;

private slots:
    // What Qt's text control asks to show and to repaint, corrected for paragraphs
    // laid out in pieces, where Qt finds no lines of its own.
    void ShowRequested(const QRectF& rect);
    void RepaintRequested(const QRectF& rect);

private:
    void PrepareFresh(QTextDocument& fresh);
    std::unique_ptr<Impl> d;
};

} // namespace platform
