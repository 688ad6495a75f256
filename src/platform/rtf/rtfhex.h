// SPDX-License-Identifier: GPL-3.0-or-later
// Hexadecimal data of RTF pictures and objects, both ways in one pass: embedded
// files run to tens of megabytes, so nothing here may grow by repeated appends.
#pragma once

#include <QByteArray>

namespace platform {

// The value of one hex digit of either case; -1 for anything else.
int HexValue(char c);

// The bytes as lower-case hex, a line end after every lineLength digits.
void AppendHexLines(QByteArray& out, const QByteArray& bytes, int lineLength = 128);

// Decodes hex digits from [begin, end), skipping anything else (line ends,
// spaces). pendingNibble carries an odd digit from one run to the next (-1: none).
void AppendHexDigits(QByteArray& out, const char* begin, const char* end, int& pendingNibble);

} // namespace platform
