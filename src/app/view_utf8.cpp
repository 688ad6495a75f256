// SPDX-License-Identifier: GPL-3.0-or-later
// Bytes of a UTF-8 file that are not UTF-8: shown as U+FFFD, said once after the
// load, and never written over without the user's word.
#include "view.h"

#include "filenames.h"
#include "qlconsts.h"
#include "sysbib.h"

void TfmView::NoteInvalidUtf8(const QString& name)
{
    invalidUtf8Unreported = GEditor->LoadedInvalidUtf8;
    if (invalidUtf8Unreported > 0)
        InvalidUtf8File = name;
    else if (name == InvalidUtf8File)
        InvalidUtf8File.clear();   // read again as it is, nothing of it is lost
}

void TfmView::ReportInvalidUtf8()
{
    // Once the text is on screen, so that the user sees what the message speaks of.
    if (invalidUtf8Unreported == 0)
        return;
    // A view request's sender waits for its answer, and a box would hold it and
    // every later request until someone clicks; the text shows U+FFFD where the
    // bytes were, and saving over the file still asks first.
    if (quietErrors) {
        invalidUtf8Unreported = 0;
        return;
    }
    const QString count = QString::number(invalidUtf8Unreported);
    invalidUtf8Unreported = 0;
    InformationBox(Tr(QlConsts::InvalidUtf8Shown).arg(platform::DisplayFileName(InvalidUtf8File), count));
}

bool TfmView::MaySaveOver(const QString& target)
{
    if (InvalidUtf8File.isEmpty() || target != InvalidUtf8File)
        return true;
    return ConfirmationBox(Tr(QlConsts::InvalidUtf8SaveOver).arg(platform::DisplayFileName(target)),
                           MsgButton::Yes | MsgButton::No) == MsgButton::Yes;
}
