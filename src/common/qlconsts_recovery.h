// SPDX-License-Identifier: GPL-3.0-or-later
// QlConsts of unsaved-text recovery and of files changed on disk, in the same
// translation context as the rest.
#pragma once

#include <QtGlobal>

namespace QlConsts {

inline constexpr const char* RecoveryListCaption = QT_TRANSLATE_NOOP("QlConsts", "Recover Unsaved Texts");
inline constexpr const char* RecoveryListIntro = QT_TRANSLATE_NOOP(
    "QlConsts", "These texts were not saved when their windows ended. Recover the selected one, "
                "discard it, or decide later:");
inline constexpr const char* RecoveryColumnFile = QT_TRANSLATE_NOOP("QlConsts", "File");
inline constexpr const char* RecoveryColumnTime = QT_TRANSLATE_NOOP("QlConsts", "Kept");
inline constexpr const char* RecoveryColumnSize = QT_TRANSLATE_NOOP("QlConsts", "Size");
inline constexpr const char* RecoveryCharacters = QT_TRANSLATE_NOOP("QlConsts", "%1 characters");
inline constexpr const char* RecoveryRecover = QT_TRANSLATE_NOOP("QlConsts", "&Recover");
inline constexpr const char* RecoveryDiscard = QT_TRANSLATE_NOOP("QlConsts", "&Discard");
inline constexpr const char* RecoveryLater = QT_TRANSLATE_NOOP("QlConsts", "&Later");
inline constexpr const char* RecoveryChangedOnDisk = QT_TRANSLATE_NOOP("QlConsts", " (changed on disk)");
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
