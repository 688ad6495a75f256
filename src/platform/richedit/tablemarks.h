// SPDX-License-Identifier: GPL-3.0-or-later
// The marks QTextDocument keeps for tables (U+FDD0 before each cell, U+FDD1 after
// the table) as the text the control hands out: a TAB between the cells of a row,
// a paragraph end before each row and after the table, one character per mark.
#pragma once

#include <QString>

class QTextDocument;

namespace platform {

constexpr char16_t CellMark = 0xFDD0;
constexpr char16_t TableEndMark = 0xFDD1;

// Replaces the marks in text, which holds the document's characters from
// position from on, by TAB or U+2029 (a paragraph end).
void ReplaceTableMarks(const QTextDocument& doc, int from, QString& text);

// Whether text holds a table mark.
bool HasTableMarks(QStringView text);

} // namespace platform
