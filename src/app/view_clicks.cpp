// SPDX-License-Identifier: GPL-3.0-or-later
// The keys of the formatting, editing and search commands that no menu item
// carries, and the clicks made while F2, F11 or F12 is held: first-line and right
// indents where the mouse points, and table rows from clicked column stops.
#include "view.h"

#include "richedit.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

namespace {

// The X server repeats a held key as a release and a press with one timestamp,
// and Qt flags the pair as a repeat only when the press is already queued when
// the release is handled, which it often is not. A release of a held-key command
// is therefore acted on only when no such press follows within this time.
constexpr int RepeatPairMs = 60;

bool IsHeldKey(int key)
{
    return key == Qt::Key_F2 || key == Qt::Key_F11 || key == Qt::Key_F12;
}

Qt::KeyboardModifiers ExactState(const QKeyEvent* event)
{
    return event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

} // namespace

int TfmView::PixelsToPoints(int x)
{
    // Integer division truncates toward zero, also for a click left of the text.
    return (9 * x - 14) / 12;
}

bool TfmView::HeldKeyRepeats(const QKeyEvent* event)
{
    if (!IsHeldKey(event->key()))
        return false;
    if (heldKeyRelease && heldKeyRelease->isActive()) {
        if (event->key() == releasedKey && event->timestamp() == releasedAt) {
            // The second half of a repeat: the key was never let go.
            heldKeyRelease->stop();
            return true;
        }
        // Another key, or the same one pressed anew: the release was real.
        heldKeyRelease->stop();
        HeldKeyReleased(releasedKey);
    }
    return event->isAutoRepeat() && ClickMode != 0;
}

void TfmView::HeldKeyReleased(int key)
{
    ClickMode = 0;
    if (key != Qt::Key_F2)
        return;
    F2Held = false;
    if (!ColumnStops.empty())
        InsertTableRow();
}

bool TfmView::FormatKeyDown(QKeyEvent* event)
{
    const Qt::KeyboardModifiers state = ExactState(event);
    const Qt::KeyboardModifiers ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
    const bool keypad = (event->modifiers() & Qt::KeypadModifier) != 0;
    // A repeat of a held key changes nothing: the hold goes on.
    if (HeldKeyRepeats(event))
        return true;
    switch (event->key()) {
    case Qt::Key_Z:
        // The control's own undo would leave the alignment buttons as they were.
        if (state == Qt::ControlModifier) {
            mBackClick();
            return true;
        }
        break;
    case Qt::Key_Y:
        if (state == Qt::ControlModifier) {
            DeleteLine();
            return true;
        }
        break;
    case Qt::Key_Plus:
    case Qt::Key_Minus:
        if (!keypad)
            break;
        if (state == Qt::ControlModifier) {
            ChangeFontSize(event->key() == Qt::Key_Plus ? 1 : -1);
            return true;
        }
        if (state == Qt::AltModifier) {
            CaseChange(event->key() == Qt::Key_Plus);
            return true;
        }
        break;
    case Qt::Key_F2:
        if (state == Qt::NoModifier) {
            ClickMode = 3;
            if (!F2Held) {
                ColumnStops.clear();
                F2Held = true;
            }
            return true;
        }
        break;
    case Qt::Key_F3:
        if (state == Qt::NoModifier) {
            F3Key();
            return true;
        }
        break;
    case Qt::Key_F4:
        if (state == Qt::NoModifier) {
            F4Key();
            return true;
        }
        break;
    case Qt::Key_F5:
        ToggleStyle(TFontStyle::fsBold);
        return true;
    case Qt::Key_F6:
        ToggleStyle(TFontStyle::fsItalic);
        return true;
    case Qt::Key_F11:
    case Qt::Key_F12:
        if (state == Qt::NoModifier) {
            ClickMode = event->key() == Qt::Key_F11 ? 1 : 2;
            return true;
        }
        break;
    case Qt::Key_F:
        if (state == Qt::ControlModifier) {
            sbFindClick();
            return true;
        }
        break;
    case Qt::Key_R:
        if (state == Qt::ControlModifier) {
            sbReplClick();
            return true;
        }
        break;
    case Qt::Key_V:
        if (state == ctrlAlt) {
            N7Click();
            return true;
        }
        break;
    case Qt::Key_I:
        // With objects off the item is disabled; its key says why instead of nothing.
        if (state == Qt::ControlModifier && !GEditor->AllowObjects()) {
            GEditor->InsertObjectDialog();
            return true;
        }
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (state == ctrlAlt) {
            if (GEditor->SelLength() != 0)
                ChangeOffset(event->key() == Qt::Key_Up ? 1 : -1);
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}

bool TfmView::FormatKeyUp(QKeyEvent* event)
{
    const int key = event->key();
    if (!IsHeldKey(key))
        return false;
    if (event->isAutoRepeat())
        return true;
    if (!heldKeyRelease) {
        heldKeyRelease = new QTimer(this);
        heldKeyRelease->setSingleShot(true);
        connect(heldKeyRelease, &QTimer::timeout, this, [this] { HeldKeyReleased(releasedKey); });
    } else if (heldKeyRelease->isActive() && releasedKey != key) {
        heldKeyRelease->stop();
        HeldKeyReleased(releasedKey);
    }
    releasedKey = key;
    releasedAt = event->timestamp();
    heldKeyRelease->start(RepeatPairMs);
    return true;
}

bool TfmView::GEditorMouseDown(QMouseEvent* event)
{
    if (ClickMode == 0 || event->button() != Qt::LeftButton || event->buttons() != Qt::LeftButton
        || (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
        return false;
    platform::RichEdit* control = GEditor->Window();
    const QPoint at = event->position().toPoint();
    // The click places the caret first: the paragraph clicked is the one changed.
    control->setTextCursor(control->cursorForPosition(at));
    TParaAttributes* para = GEditor->Paragraph();
    switch (ClickMode) {
    case 1:
        if (!para->InTable()) {
            const int points = PixelsToPoints(at.x());
            para->SetFirstIndent(points);
            para->SetLeftIndent(-points);
            StrCount();
        }
        break;
    case 2:
        para->SetRightIndent(PixelsToPoints(control->viewport()->width() - at.x()));
        StrCount();
        break;
    case 3:
        if (!para->InTable())
            ColumnStops.push_back(PixelsToPoints(at.x()) * 20);
        break;
    default:
        return false;
    }
    return true;
}

void TfmView::InsertTableRow()
{
    QByteArray rtf = "{\\rtf1\\ansi\\deff0\\trowd\\trgaph50\\trleft-50";
    for (const std::int32_t stop : ColumnStops)
        rtf += "\\cellx" + QByteArray::number(stop);
    rtf += "\\pard\\intbl\\row}";

    TTempStream* snapshot = GEditor->TempStream();
    snapshot->Invalidate();
    const bool selection = GEditor->Selection();
    const TEnc encoding = GEditor->Encoding();
    const TqxEditorStreamEvent onStream = GEditor->OnStream;
    snapshot->Memory.Write(reinterpret_cast<const std::uint8_t*>(rtf.constData()), std::size_t(rtf.size()));
    snapshot->Memory.SetPosition(0);
    GEditor->SetEncoding(Rtf);
    GEditor->SetSelection(true);
    GEditor->OnStream = nullptr;
    try {
        GEditor->Lines()->LoadFromStream(snapshot->Memory);
    } catch (const std::exception&) {
        // The row could not be read in: the text stays as it was.
    }
    snapshot->Invalidate();
    GEditor->SetSelection(selection);
    GEditor->SetEncoding(encoding);
    GEditor->OnStream = onStream;
}
