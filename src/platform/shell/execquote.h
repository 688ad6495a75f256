// SPDX-License-Identifier: GPL-3.0-or-later
// How the program's path goes into the command lines of desktop entries,
// file-manager actions and shell scripts, so that no character of it is ever
// read as syntax by the desktop or a shell.
#pragma once

#include <QString>

namespace platform {

// An absolute path without control characters: one that every format below can
// carry exactly.
bool IsQuotablePath(const QString& path);

// An argument of an Exec key, before the key file's own escaping. It stays bare
// when it holds no reserved character, because some readers take the first word
// of the key as it stands; otherwise, or when asked, it goes in double quotes
// with '"', '`', '$' and '\' escaped by a backslash. A percent sign is doubled
// so that it is not read as a field code. The double-quoted form is also what
// g_shell_parse_argv and a POSIX shell read back as the one argument.
QString ExecArgument(const QString& argument, bool alwaysQuote = false);

// The argument in double quotes for a POSIX shell script.
QString ShellArgument(const QString& argument);

// A string as the value of a key file: backslash, newline, tab and carriage
// return escaped, and a leading blank written as \s.
QString KeyFileValue(const QString& value);

// The program an Exec key starts, from the key's value as it stands in the file:
// the key file's escapes undone, then the first argument unquoted.
QString ExecProgram(const QString& keyValue);

} // namespace platform
