// SPDX-License-Identifier: GPL-3.0-or-later
// QlConsts of unsaved-text recovery and of files changed on disk, in the same
// translation context as the rest.
#pragma once

#include <QtGlobal>

namespace QlConsts {

inline constexpr const char* RecoveryFound = QT_TRANSLATE_NOOP(
    "QlConsts", "A text that was not saved was kept for recovery:\n\n%1\nkept %2, %3 characters\n\n%4\n\n"
                "Recover it (Yes), discard it (No), or decide later (Cancel)?");
inline constexpr const char* RecoveryUntitled = QT_TRANSLATE_NOOP("QlConsts", "untitled");
inline constexpr const char* RecoveryDiskChanged = QT_TRANSLATE_NOOP(
    "QlConsts", "The file %1 changed on disk after the text was kept.\n\n"
                "Open the recovered text as a new untitled text (Yes), or under the file's name (No)?");
inline constexpr const char* RecoveryRefused =
    QT_TRANSLATE_NOOP("QlConsts", "A recovery journal cannot be used and is left as it is:\n");
inline constexpr const char* FileChangedOnDisk = QT_TRANSLATE_NOOP(
    "QlConsts", "The file %1 was changed on disk by another program.\n\n"
                "Reload it (Yes; the text shown is kept for recovery), or keep the text shown (No)?");
inline constexpr const char* FileDeletedOnDisk =
    QT_TRANSLATE_NOOP("QlConsts", "The file %1 was deleted or moved away on disk. The text shown is kept.");
inline constexpr const char* SaveOverChanged = QT_TRANSLATE_NOOP(
    "QlConsts", "The file %1 was changed on disk since it was loaded or saved here.\n\nSave over it all the same?");
inline constexpr const char* SaveRecreates =
    QT_TRANSLATE_NOOP("QlConsts", "The file %1 no longer exists on disk.\n\nSave it again under this name?");

} // namespace QlConsts
