// SPDX-License-Identifier: GPL-3.0-or-later
// The editor component: the control's life, properties, operations and notifications.
#include "qxeditor.h"

#include "objectcopies.h"
#include "richedit.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <unistd.h>

using namespace platform;

namespace {

// QTextDocument counts positions in int, but long before that a document becomes
// unusable: filling and laying it out takes about eleven bytes per character, and
// 256 M characters already need some 3 GB and minutes of layout. Below that, the
// memory of the machine decides, with half of it left to everything else.
constexpr std::int64_t DocumentCharacterLimit = std::int64_t(1) << 28;
constexpr std::int64_t BytesPerCharacter = 2 * 12;

std::int64_t MemoryCharacterLimit()
{
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0)
        return DocumentCharacterLimit;
    return std::int64_t(pages) * pageSize / BytesPerCharacter;
}

} // namespace

TqxEditor::TqxEditor(QWidget* parent)
    : QWidget(parent),
      selAttributes(this, TTextAttributes::atSelected),
      defAttributes(this, TTextAttributes::atDefaultText),
      paragraph(this),
      lines(this),
      tempStream(this)
{
    resize(185, 89);
    setFocusPolicy(Qt::StrongFocus);
    // Objects opened in other programs are looked at again when the user comes back.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            CheckOpenedObjects();
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    font.Name = QWidget::font().family();
    font.Size = std::max(1, QWidget::font().pointSize());
}

TqxEditor::~TqxEditor()
{
    if (window) {
        // The control may still notify while it goes; this object is half gone by then.
        window->OnChange = nullptr;
        window->OnSelChange = nullptr;
        window->OnRequestResize = nullptr;
        window->OnProtected = nullptr;
        window->OnLink = nullptr;
        window->OnSaveClipboard = nullptr;
        window->OnLinesCounted = nullptr;
        delete window;
        window = nullptr;
    }
}

RichEdit* TqxEditor::Window()
{
    if (!window)
        CreateWnd();
    return window;
}

void TqxEditor::CreateWnd()
{
    creating = true;
    window = new RichEdit(this);
    layout()->addWidget(window);
    window->installEventFilter(this);
    setFocusProxy(window);
    creating = false;

    window->ExLimitText(maxLength);
    const bool modified = modifiedCache;
    window->SetOverwrite(overwrite);
    window->OnChange = [this] {
        if (!creating)
            Change();
    };
    window->OnSelChange = [this] { SelectionChange(); };
    window->OnRequestResize = [this](const QRect& rect) { RequestSize(rect); };
    window->OnProtected = [this](std::int32_t start, std::int32_t end) { return ProtectChange(start, end); };
    window->OnLink = [this](const ENLINK& link) { LinkNotify(link); };
    window->OnSaveClipboard = [this](int objects, int chars) { return SaveClipboard(objects, chars); };
    window->OnLinesCounted = [this] {
        if (OnLinesCounted)
            OnLinesCounted(this);
    };
    window->SetEventMask(ENM_CHANGE | ENM_REQUESTRESIZE | ENM_SELCHANGE | ENM_PROTECTED | ENM_LINK);
    window->SetBkgndColor(false, ColorToRGB(color));
    undoLimit = window->SetUndoLimit(undoLimit);
    window->AutoUrlDetect(autoURLDetect);
    ApplyStyle();
    ApplyPopupMenu();
    connect(window, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (!window)
            return;
        const QPoint where = window->viewport()->mapToGlobal(pos);
        if (QMenu* menu = ObjectPopupMenu())
            menu->popup(where);
        else
            window->createStandardContextMenu(where)->popup(where);
    });
    defAttributes.Assign(font);
    window->SetModify(modified);
    if (isVisible())
        window->show();
}

void TqxEditor::DestroyWnd()
{
    if (!window)
        return;
    modifiedCache = window->GetModify();
    overwrite = window->Overwrite();
    RichEdit* old = window;
    window = nullptr;
    old->OnChange = nullptr;
    old->OnSelChange = nullptr;
    old->OnRequestResize = nullptr;
    old->OnProtected = nullptr;
    old->OnLink = nullptr;
    old->OnSaveClipboard = nullptr;
    old->OnLinesCounted = nullptr;
    delete old;
}

// What the control's window styles were: applied in place, so that the text, its
// formats, the modified flag and overwrite mode stay exactly as they are.
void TqxEditor::ApplyStyle()
{
    window->SetWordWrap(wordWrap);
    const bool vertical = scrollBars == TScrollStyle::ssVertical || scrollBars == TScrollStyle::ssBoth;
    // A word-wrapping editor never has a horizontal bar.
    const bool horizontal = (scrollBars == TScrollStyle::ssHorizontal || scrollBars == TScrollStyle::ssBoth) && !wordWrap;
    window->SetScrollBars(horizontal, vertical);
    if (!hideScrollBars) {
        if (vertical)
            window->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        if (horizontal)
            window->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    window->setFrameShape(borderStyle == TBorderStyle::bsSingle ? QFrame::StyledPanel : QFrame::NoFrame);
    window->SetReadOnly(readOnly);
    window->HideSelection(hideSelection);
    window->setTabChangesFocus(!wantTabs);
    ApplyAlignment();
}

void TqxEditor::ApplyAlignment()
{
    if (!window)
        return;
    QTextDocument* document = window->document();
    QTextOption option = document->defaultTextOption();
    Qt::Alignment align = Qt::AlignLeft;
    if (alignment == TAlignment::taRightJustify)
        align = Qt::AlignRight;
    else if (alignment == TAlignment::taCenter)
        align = Qt::AlignHCenter;
    if (layoutDirection() == Qt::RightToLeft && alignment != TAlignment::taCenter)
        align = align == Qt::AlignLeft ? Qt::AlignRight : Qt::AlignLeft;
    if (option.alignment() != align) {
        option.setAlignment(align);
        document->setDefaultTextOption(option);
    }
}

void TqxEditor::showEvent(QShowEvent* event)
{
    if (!window)
        CreateWnd();
    QWidget::showEvent(event);
}

bool TqxEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window && event->type() == QEvent::KeyPress && !wantReturns) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
            // The key belongs to the dialog around the editor, not to the text.
            key->ignore();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Operations

void TqxEditor::Clear()
{
    if (window)
        window->SetText(QString());
    SetModified(false);
}

void TqxEditor::Reset()
{
    Clear();
    if (window) {
        DestroyWnd();
        CreateWnd();
    }
}

bool TqxEditor::Modified() const
{
    return window ? window->GetModify() : modifiedCache;
}

void TqxEditor::SetModified(bool value)
{
    if (window)
        window->SetModify(value);
    else
        modifiedCache = value;
}

bool TqxEditor::CanUndo() const { return window && window->CanUndo(); }
bool TqxEditor::CanRedo() const { return window && window->CanRedo(); }
int TqxEditor::UndoName() const { return window ? window->GetUndoName() : 0; }
int TqxEditor::RedoName() const { return window ? window->GetRedoName() : 0; }
void TqxEditor::Undo() { Window()->Undo(); }
void TqxEditor::Redo() { Window()->Redo(); }
void TqxEditor::ClearUndo() { Window()->EmptyUndoBuffer(); }
void TqxEditor::ClearSelection() { Window()->Clear(); }
void TqxEditor::CopyToClipboard() { Window()->Copy(); }
void TqxEditor::CutToClipboard() { Window()->Cut(); }
void TqxEditor::PasteFromClipboard() { Window()->Paste(); }
void TqxEditor::SelectAll() { Window()->SetSel(0, -1); }

QString TqxEditor::SelText() const
{
    return window ? window->GetSelText() : QString();
}

void TqxEditor::SetSelText(const QString& value)
{
    Window()->ReplaceSel(value, true);
}

std::int32_t TqxEditor::SelStart() const
{
    return window ? window->ExGetSel().cpMin : 0;
}

void TqxEditor::SetSelStart(std::int32_t value)
{
    Window()->ExSetSel({value, value});
}

std::int32_t TqxEditor::SelLength() const
{
    if (!window)
        return 0;
    const CHARRANGE range = window->ExGetSel();
    return range.cpMax - range.cpMin;
}

void TqxEditor::SetSelLength(std::int32_t value)
{
    RichEdit* control = Window();
    CHARRANGE range = control->ExGetSel();
    range.cpMax = range.cpMin + value;
    control->ExSetSel(range);
    control->ScrollCaret();
}

TCaretPos TqxEditor::CaretPos() const
{
    if (!window)
        return {};
    // The line that holds the start of the selection, as the control answers for -1.
    const CHARRANGE range = window->ExGetSel();
    TCaretPos pos;
    pos.Line = window->ExLineFromChar(range.cpMin);
    pos.Column = range.cpMin - window->LineIndex(pos.Line);
    return pos;
}

bool TqxEditor::IsEmpty() const
{
    if (!window)
        return true;
    // Empty means no character at all: a lone paragraph mark is empty, a text of
    // one character is not.
    const std::int32_t length = window->GetTextLength();
    return length == 0 || (length == 1 && window->GetLine(0) == QLatin1String("\r"));
}

void TqxEditor::SetEditRect()
{
    Window()->SetRect(QRect(0, 0, width(), height()));
}

std::int32_t TqxEditor::FindText(const QString& searchStr, std::int32_t startPos, std::int32_t length,
                                 TSearchTypes options)
{
    const bool backward = options.Contains(TSearchType::stBackward);
    CHARRANGE range;
    range.cpMin = startPos;
    range.cpMax = backward ? startPos - length : startPos + length;
    unsigned flags = backward ? 0 : FR_DOWN;
    if (options.Contains(TSearchType::stWholeWord))
        flags |= FR_WHOLEWORD;
    if (options.Contains(TSearchType::stMatchCase))
        flags |= FR_MATCHCASE;
    return Window()->FindTextEx(range, searchStr, flags);
}

TSelectionType TqxEditor::SelectionType() const
{
    TSelectionType result;
    if (!window)
        return result;
    const unsigned bits = window->SelectionType();
    if (bits & SEL_TEXT)
        result.Include(TSelectionTypeItem::stText);
    if (bits & SEL_OBJECT)
        result.Include(TSelectionTypeItem::stObject);
    if (bits & SEL_MULTICHAR)
        result.Include(TSelectionTypeItem::stMultiChar);
    if (bits & SEL_MULTIOBJECT)
        result.Include(TSelectionTypeItem::stMultiObject);
    return result;
}

QString TqxEditor::Text() const
{
    return window ? window->GetTextRange(0, window->GetTextLength()) : QString();
}

void TqxEditor::SetText(const QString& value)
{
    Window()->SetText(value);
    Change();
}

std::int64_t TqxEditor::Capacity() const
{
    return std::min({std::int64_t(maxLength), DocumentCharacterLimit, MemoryCharacterLimit()});
}

// Properties

void TqxEditor::SetAllowObjects(bool value)
{
    allowObjects = value;
    ApplyPopupMenu();
}

void TqxEditor::SetAutoVerbMenu(bool value)
{
    autoVerbMenu = value;
    ApplyPopupMenu();
}

void TqxEditor::SetAlignment(TAlignment value)
{
    alignment = value;
    if (window)
        ApplyStyle();
}

void TqxEditor::SetBorderStyle(TBorderStyle value)
{
    borderStyle = value;
    if (window)
        ApplyStyle();
}

void TqxEditor::SetHideSelection(bool value)
{
    hideSelection = value;
    if (window)
        window->HideSelection(value);
}

void TqxEditor::SetHideScrollBars(bool value)
{
    hideScrollBars = value;
    if (window)
        ApplyStyle();
}

void TqxEditor::SetMaxLength(std::int32_t value)
{
    maxLength = value;
    if (window)
        window->ExLimitText(value);
}

void TqxEditor::SetReadOnly(bool value)
{
    readOnly = value;
    if (window)
        window->SetReadOnly(value);
}

void TqxEditor::SetScrollBars(TScrollStyle value)
{
    scrollBars = value;
    if (window)
        ApplyStyle();
}

void TqxEditor::SetUndoLimit(std::int32_t value)
{
    undoLimit = value;
    if (window)
        undoLimit = window->SetUndoLimit(value);
}

bool TqxEditor::AutoURLDetect() const
{
    return window ? window->GetAutoUrlDetect() : autoURLDetect;
}

void TqxEditor::SetAutoURLDetect(bool value)
{
    autoURLDetect = value;
    if (window)
        window->AutoUrlDetect(value);
}

void TqxEditor::SetWantTabs(bool value)
{
    wantTabs = value;
    if (window)
        window->setTabChangesFocus(!value);
}

void TqxEditor::SetWordWrap(bool value)
{
    wordWrap = value;
    if (window)
        ApplyStyle();
}

void TqxEditor::SetColor(TColor value)
{
    color = value;
    if (window)
        window->SetBkgndColor(false, ColorToRGB(value));
}

void TqxEditor::SetFont(const TFont& value)
{
    font = value;
    if (window)
        defAttributes.Assign(font);
}

void TqxEditor::SetPopupMenu(QMenu* value)
{
    popupMenu = value;
    ApplyPopupMenu();
}

void TqxEditor::ApplyPopupMenu()
{
    if (window)
        window->setContextMenuPolicy(popupMenu || (allowObjects && autoVerbMenu) ? Qt::CustomContextMenu
                                                                                 : Qt::DefaultContextMenu);
}

bool TqxEditor::Overwrite() const
{
    return window ? window->Overwrite() : overwrite;
}

void TqxEditor::SetOverwrite(bool value)
{
    overwrite = value;
    if (window)
        window->SetOverwrite(value);
}

// Notifications

void TqxEditor::Change()
{
    if (OnChange)
        OnChange(this);
}

void TqxEditor::SelectionChange()
{
    if (OnSelectionChange)
        OnSelectionChange(this);
}

void TqxEditor::RequestSize(const QRect& rect)
{
    if (OnResizeRequest)
        OnResizeRequest(this, rect);
}

bool TqxEditor::ProtectChange(std::int32_t startPos, std::int32_t endPos)
{
    // Without a handler, protected text stays as it is.
    bool allowChange = false;
    if (OnProtectChange)
        OnProtectChange(this, startPos, endPos, allowChange);
    return allowChange;
}

bool TqxEditor::SaveClipboard(int numObjects, int numChars)
{
    bool saveClipboard = true;
    if (OnSaveClipboard)
        OnSaveClipboard(this, numObjects, numChars, saveClipboard);
    return saveClipboard;
}

void TqxEditor::LinkNotify(const ENLINK& link)
{
    LinkText = window->GetTextRange(link.chrg.cpMin, link.chrg.cpMax);
    if (link.msg != LinkMessage::LeftButtonUp)
        return;
    // A click that ends a selection over the link is selecting, not following it.
    const CHARRANGE sel = window->ExGetSel();
    if (sel.cpMin != sel.cpMax && sel.cpMax >= link.chrg.cpMin && sel.cpMin <= link.chrg.cpMax)
        return;
    if (LinkText.isEmpty() || !LinkOpener)
        return;
    const QUrl url = LinkUrl(LinkText);
    if (IsSafeLink(url))
        LinkOpener(url);
}
