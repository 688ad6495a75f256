// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt prompter's object dialogs, centred over the owner like its other boxes.
#include "objectdialogs.h"
#include "qtprompter.h"

std::optional<InsertObjectAnswer> QtPrompter::InsertObjectDialog(const InsertObjectRequest& request)
{
    TInsertObjectDialog dialog(request, Owner());
    PlaceOverOwner(&dialog, Owner());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Answer();
}

std::optional<ObjectPropertiesAnswer> QtPrompter::ObjectPropertiesDialog(const ObjectPropertiesRequest& request)
{
    TObjectPropertiesDialog dialog(request, Owner());
    PlaceOverOwner(&dialog, Owner());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Answer();
}
