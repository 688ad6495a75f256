// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo with the names of the actions, the undo limit and the modify flag.
#include "richeditimpl.h"

#include <QAbstractUndoItem>

#include <algorithm>

namespace platform {

namespace {

// Ends a step: Qt merges typing into a preceding insertion even when that was
// an edit block of its own, so each step ends with an item nothing merges into.
class StepEnd : public QAbstractUndoItem {
public:
    void undo() override {}
    void redo() override {}
};

} // namespace

void RichEdit::Impl::EndStep(QTextCursor& cursor)
{
    QTextDocument* document = cursor.document();
    if (document->isUndoRedoEnabled())
        document->appendUndoItem(new StepEnd);
    cursor.endEditBlock();
}

void RichEdit::Impl::OnUndoCommandAdded()
{
    const int state = doc->availableUndoSteps();
    // Link marking joins the step it follows and keeps that step's name.
    if (markingLinks && !undoSteps.empty()) {
        undoSteps.back().state = state;
        return;
    }
    while (!undoSteps.empty() && undoSteps.back().state >= state)
        undoSteps.pop_back();
    undoSteps.push_back({state, pendingUndoName});
    const int steps = int(std::count_if(undoSteps.begin(), undoSteps.end(),
                                        [this](const UndoStep& s) { return s.state > undoFloor; }));
    if (steps > undoLimit)
        undoFloor = undoSteps[undoSteps.size() - std::size_t(undoLimit) - 1].state;
}

void RichEdit::Impl::ClearUndoNames()
{
    undoSteps.clear();
    undoFloor = 0;
}

bool RichEdit::Undo()
{
    // Undoing is editing: a read-only text keeps what it shows.
    if (isReadOnly() || !CanUndo())
        return false;
    NotifyScope scope(*d);
    const int before = d->doc->availableUndoSteps();
    d->StepUndo(true);
    // What the step restores already carries its links.
    d->dirtyFrom = d->dirtyTo = -1;
    return d->doc->availableUndoSteps() < before;
}

bool RichEdit::Redo()
{
    if (isReadOnly() || !CanRedo())
        return false;
    NotifyScope scope(*d);
    const int before = d->doc->availableRedoSteps();
    d->StepUndo(false);
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
        const int current = d->doc->availableUndoSteps();
        std::vector<int> below;
        for (const auto& step : d->undoSteps)
            if (step.state > d->undoFloor && step.state <= current)
                below.push_back(step.state);
        if (int(below.size()) > limit)
            d->undoFloor = below[below.size() - std::size_t(limit) - 1];
    }
    return limit;
}

int RichEdit::GetUndoName() const
{
    if (!CanUndo())
        return UID_UNKNOWN;
    const int current = d->doc->availableUndoSteps();
    for (const auto& step : d->undoSteps)
        if (step.state == current)
            return step.name;
    return UID_UNKNOWN;
}

int RichEdit::GetRedoName() const
{
    if (!CanRedo())
        return UID_UNKNOWN;
    const int current = d->doc->availableUndoSteps();
    for (const auto& step : d->undoSteps)
        if (step.state > current)
            return step.name;
    return UID_UNKNOWN;
}

void RichEdit::BeginUndoGroup()
{
    if (d->undoGroupDepth++ > 0)
        return;
    ++d->notifyDepth;
    d->undoGroup = QTextCursor(d->doc);
    d->undoGroup.beginEditBlock();
}

void RichEdit::EndUndoGroup()
{
    if (d->undoGroupDepth == 0 || --d->undoGroupDepth > 0)
        return;
    {
        // The group is one step with no name of its own, like a formatting change.
        NotifyScope scope(*d, UID_UNKNOWN);
        if (d->undoGroup.document() == d->doc)
            d->EndStep(d->undoGroup);
        else
            d->undoGroup.endEditBlock();
        d->undoGroup = QTextCursor();
        --d->notifyDepth;
    }
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
