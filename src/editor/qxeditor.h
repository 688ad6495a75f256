// SPDX-License-Identifier: GPL-3.0-or-later
// TqxEditor: the program's own component around the rich-edit control. It owns the
// control (created on demand), applies its properties to it, turns the control's
// notifications into events and carries the encoding state of the stream path.
#pragma once

#include "editortypes.h"
#include "enctypes.h"
#include "linkopener.h"
#include "openfile.h"
#include "paraattributes.h"
#include "qxeditorstrings.h"
#include "tempstream.h"
#include "textattributes.h"

#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class TObjectCopies;

namespace platform {
class RichEdit;
struct ENLINK;
}

class TqxEditor;
using TNotifyEvent = std::function<void(TqxEditor* sender)>;
using TqxEditorStreamEvent = std::function<void(TqxEditor* sender, std::int64_t size, std::int64_t position)>;
using TqxEditorResizeEvent = std::function<void(TqxEditor* sender, const QRect& rect)>;
using TqxEditorProtectChange = std::function<void(TqxEditor* sender, std::int32_t startPos, std::int32_t endPos, bool& allowChange)>;
using TqxEditorSaveClipboard = std::function<void(TqxEditor* sender, int numObjects, int numChars, bool& saveClipboard)>;

class TqxEditor : public QWidget {
    Q_OBJECT
public:
    explicit TqxEditor(QWidget* parent = nullptr);
    ~TqxEditor() override;

    // The control. Window() creates it when it does not exist yet.
    bool HandleAllocated() const { return window != nullptr; }
    platform::RichEdit* Window();

    // Operations
    void Clear();
    void Reset();
    bool Modified() const;
    void SetModified(bool value);
    bool CanUndo() const;
    bool CanRedo() const;
    int UndoName() const;
    int RedoName() const;
    void Undo();
    void Redo();
    void ClearUndo();
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void SelectAll();
    QString SelText() const;
    void SetSelText(const QString& value);
    void SetSelTextBuf(const QString& value) { SetSelText(value); }
    std::int32_t SelStart() const;
    void SetSelStart(std::int32_t value);
    std::int32_t SelLength() const;
    void SetSelLength(std::int32_t value);
    TCaretPos CaretPos() const;
    bool IsEmpty() const;
    void SetEditRect();
    std::int32_t FindText(const QString& searchStr, std::int32_t startPos, std::int32_t length, TSearchTypes options);
    TSelectionType SelectionType() const;
    // The whole text, and setting it by program (fires OnChange once).
    QString Text() const;
    void SetText(const QString& value);

    TTextAttributes* SelAttributes() { return &selAttributes; }
    TTextAttributes* DefAttributes() { return &defAttributes; }
    TParaAttributes* Paragraph() { return &paragraph; }
    TqxEditorStrings* Lines() { return &lines; }
    void SetLines(const QStringList& value) { lines.Assign(value); }
    TTempStream* TempStream() { return &tempStream; }

    // Properties of the stream path; stored in Lines.
    TEnc Encoding() const { return lines.Encoding; }
    void SetEncoding(TEnc value) { lines.Encoding = value; }
    TDosAdd DosAdd() const { return lines.DosAdd; }
    void SetDosAdd(TDosAdd value) { lines.DosAdd = value; }
    TUniType UniType() const { return lines.UniType; }
    void SetUniType(TUniType value) { lines.UniType = value; }
    bool Selection() const { return lines.Selection; }
    void SetSelection(bool value) { lines.Selection = value; }
    bool AutoEncoding() const { return lines.AutoEncoding; }
    void SetAutoEncoding(bool value) { lines.AutoEncoding = value; }

    // Published properties
    bool AllowInPlace() const { return allowInPlace; }
    void SetAllowInPlace(bool value) { allowInPlace = value; }
    bool AllowObjects() const { return allowObjects; }
    void SetAllowObjects(bool value);
    bool AutoVerbMenu() const { return autoVerbMenu; }
    void SetAutoVerbMenu(bool value);
    TAlignment Alignment() const { return alignment; }
    void SetAlignment(TAlignment value);
    TBorderStyle BorderStyle() const { return borderStyle; }
    void SetBorderStyle(TBorderStyle value);
    bool HideSelection() const { return hideSelection; }
    void SetHideSelection(bool value);
    bool HideScrollBars() const { return hideScrollBars; }
    void SetHideScrollBars(bool value);
    std::int32_t MaxLength() const { return maxLength; }
    void SetMaxLength(std::int32_t value);
    bool ReadOnly() const { return readOnly; }
    void SetReadOnly(bool value);
    TScrollStyle ScrollBars() const { return scrollBars; }
    void SetScrollBars(TScrollStyle value);
    std::int32_t UndoLimit() const { return undoLimit; }
    void SetUndoLimit(std::int32_t value);
    bool AutoURLDetect() const;
    void SetAutoURLDetect(bool value);
    bool WantTabs() const { return wantTabs; }
    void SetWantTabs(bool value);
    bool WantReturns() const { return wantReturns; }
    void SetWantReturns(bool value) { wantReturns = value; }
    bool WordWrap() const { return wordWrap; }
    void SetWordWrap(bool value);
    TColor Color() const { return color; }
    void SetColor(TColor value);
    const TFont& Font() const { return font; }
    void SetFont(const TFont& value);

    bool Overwrite() const;
    void SetOverwrite(bool value);
    // The context menu shown on a right click in the text; none gives the control's own.
    QMenu* PopupMenu() const { return popupMenu; }
    void SetPopupMenu(QMenu* value);

    // Public state of the stream path and of link notifications.
    bool LoadedDosAsUnicode = false;
    // Byte sequences the last read from a stream found not to be UTF-8 and shows
    // as U+FFFD; 0 for every other encoding.
    std::uint64_t LoadedInvalidUtf8 = 0;
    bool ExceptMac = false;
    QString LinkText;

    // The most characters the control can hold: MaxLength, and what its document
    // can address and this machine's memory can carry. Larger files are refused.
    std::int64_t Capacity() const;

    // Opening links is replaceable, so that tests never start a browser.
    TLinkOpener LinkOpener = DefaultLinkOpener;

    // Embedded objects (qxeditorobjects.cpp). The dialogs answer whether an object
    // was inserted, or the properties dialog ended with OK. With AllowObjects off
    // inserting and pasting objects are refused with a message.
    bool InsertObjectDialog();
    bool ObjectPropertiesDialog();
    bool PasteAsObject();
    bool InsertObjectFile(const QString& path, bool link, bool asIcon);
    // The object next to the caret (or the one selected); copying it with an
    // empty selection puts it on the clipboard.
    bool HasCurrentObject() const;
    bool CopyCurrentObject();
    // Runs a verb of the selected object: 0 opens it in the desktop's program
    // (an embedded one as a temporary copy, a linked one as its source).
    bool DoVerb(int verb);
    // Changes saved to opened objects flow back; runs whenever the program
    // becomes active again.
    void CheckOpenedObjects();
    // The popup-menu query: the context menu with the selected object's verbs
    // and properties added, or none for the control's own menu.
    QMenu* ObjectPopupMenu();
    // Opening objects is replaceable, so that tests never start a program.
    std::function<platform::OpenFileResult(const QString& path, const QString& mimeType)> ObjectOpener =
        platform::OpenLocalFile;

    TNotifyEvent OnChange;
    TNotifyEvent OnSelectionChange;
    // The display lines of a long wrapped text, counted while the program was idle, are all known.
    TNotifyEvent OnLinesCounted;
    TqxEditorStreamEvent OnStream;
    TqxEditorResizeEvent OnResizeRequest;
    TqxEditorProtectChange OnProtectChange;
    TqxEditorSaveClipboard OnSaveClipboard;

protected:
    virtual void CreateWnd();
    virtual void DestroyWnd();
    virtual void RequestSize(const QRect& rect);
    virtual void Change();
    virtual void SelectionChange();
    virtual bool ProtectChange(std::int32_t startPos, std::int32_t endPos);
    virtual bool SaveClipboard(int numObjects, int numChars);
    virtual void LinkNotify(const platform::ENLINK& link);

    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TqxEditorStrings;
    void ApplyStyle();
    void ApplyAlignment();
    void ApplyPopupMenu();
    bool creating = false;

    platform::RichEdit* window = nullptr;
    std::int32_t maxLength = 2147483647;
    TBorderStyle borderStyle = TBorderStyle::bsSingle;
    bool readOnly = false;
    TAlignment alignment = TAlignment::taLeftJustify;
    TScrollStyle scrollBars = TScrollStyle::ssNone;
    bool wordWrap = true;
    bool wantReturns = true;
    bool wantTabs = false;
    bool hideScrollBars = true;
    bool hideSelection = true;
    bool modifiedCache = false;
    std::int32_t undoLimit = 2147483647;
    bool autoURLDetect = true;
    bool overwrite = false;
    bool allowObjects = true;
    bool allowInPlace = true;
    bool autoVerbMenu = true;
    TColor color = clWindow;
    TFont font;
    QMenu* popupMenu = nullptr;
    std::unique_ptr<TObjectCopies> objectCopies;
    QPointer<QMenu> verbMenu;
    std::vector<QPointer<QAction>> verbItems;
    bool OpenObjectAt(std::int32_t pos);
    bool ObjectsRefused() const;
    void ClearVerbMenu();

    TTextAttributes selAttributes;
    TTextAttributes defAttributes;
    TParaAttributes paragraph;
    TqxEditorStrings lines;
    TTempStream tempStream;
};
