// The editor's own user-visible texts. They are resource strings of the program:
// a language file may replace them, so code refers to them only by name.
#pragma once

namespace editor_strings {

inline constexpr const char* SLoadStreamError = "Text loading problems from memory ";
inline constexpr const char* SSaveStreamError = "Text saving error to memory ";
inline constexpr const char* SCannotOpenForWriting = "Can not open file for writing";
inline constexpr const char* SFileWriteError = "File writting error";

// Loading errors that name the file: %1 is the file name, %2 the system's reason.
inline constexpr const char* SCannotOpenFile = "Cannot open file \"%1\". %2";
inline constexpr const char* SNotRegularFile = "Cannot open \"%1\": it is not a regular file";
inline constexpr const char* SFileTooLarge = "The file \"%1\" is too large to load (%2 characters; the editor holds at most %3)";
inline constexpr const char* SFileReadError = "Error reading file \"%1\". %2";
inline constexpr const char* SFileChanged = "The file \"%1\" changed while it was being read";

} // namespace editor_strings
