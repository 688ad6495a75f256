// Undo and redo with the names of the actions, the undo limit and the modify flag.
#include "richeditimpl.h"

namespace platform {

void RichEdit::Impl::OnUndoCommandAdded()
{
    const int steps = doc->availableUndoSteps();
    // Link marking joins the step it follows and keeps that step's name.
    if (markingLinks && int(undoNames.size()) >= steps) {
        undoNames.resize(std::size_t(steps));
        return;
    }
    undoNames.resize(std::size_t(std::max(0, steps - 1)), UID_UNKNOWN);
    undoNames.push_back(pendingUndoName);
    if (steps - undoFloor > undoLimit)
        undoFloor = steps - undoLimit;
}

void RichEdit::Impl::ClearUndoNames()
{
    undoNames.clear();
    undoFloor = 0;
}

bool RichEdit::Undo()
{
    if (!CanUndo())
        return false;
    NotifyScope scope(*d);
    const int before = d->doc->availableUndoSteps();
    undo();
    // What the step restores already carries its links.
    d->dirtyFrom = d->dirtyTo = -1;
    return d->doc->availableUndoSteps() < before;
}

bool RichEdit::Redo()
{
    if (!CanRedo())
        return false;
    NotifyScope scope(*d);
    const int before = d->doc->availableRedoSteps();
    redo();
    d->dirtyFrom = d->dirtyTo = -1;
    return d->doc->availableRedoSteps() < before;
}

bool RichEdit::CanUndo() const
{
    return d->doc->isUndoAvailable() && d->doc->availableUndoSteps() > d->undoFloor;
}

bool RichEdit::CanRedo() const
{
    return d->doc->isRedoAvailable();
}

void RichEdit::EmptyUndoBuffer()
{
    d->doc->clearUndoRedoStacks();
    d->ClearUndoNames();
}

std::int32_t RichEdit::SetUndoLimit(std::int32_t limit)
{
    limit = std::max<std::int32_t>(0, limit);
    d->undoLimit = limit;
    if (limit == 0) {
        d->doc->setUndoRedoEnabled(false);
        d->ClearUndoNames();
    } else {
        if (!d->doc->isUndoRedoEnabled())
            d->doc->setUndoRedoEnabled(true);
        d->undoFloor = std::max(d->undoFloor, d->doc->availableUndoSteps() - limit);
    }
    return limit;
}

int RichEdit::GetUndoName() const
{
    if (!CanUndo())
        return UID_UNKNOWN;
    const std::size_t index = std::size_t(d->doc->availableUndoSteps() - 1);
    return index < d->undoNames.size() ? d->undoNames[index] : UID_UNKNOWN;
}

int RichEdit::GetRedoName() const
{
    if (!CanRedo())
        return UID_UNKNOWN;
    const std::size_t index = std::size_t(d->doc->availableUndoSteps());
    return index < d->undoNames.size() ? d->undoNames[index] : UID_UNKNOWN;
}

bool RichEdit::GetModify() const
{
    return d->doc->isModified();
}

void RichEdit::SetModify(bool modified)
{
    d->doc->setModified(modified);
}

} // namespace platform
