// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF that stands in for one DOS pseudo-graphic table: a row per table row,
// a column per cell after the first, boundaries from the separators' positions.
#pragma once

#include "dostables.h"

#include <QByteArray>
#include <QStringView>

#include <cstdint>

// The width in pixels of one character of a font of this point size.
std::int32_t TableCharWidth(std::int32_t pointSize);
// The right edge in twips of a cell closed by a separator at this character position.
std::int64_t TableCellBoundary(std::int64_t sepPos, std::int32_t charWidth);
QByteArray DosTableRtf(const table& t, std::int32_t charWidth);
// The rows of that RTF alone, to stand inside a larger text; rows without a
// column are left out.
void AppendTableRows(QByteArray& rtf, const table& t, std::int32_t charWidth);
// Appends text as RTF: "\r" ends a paragraph, other characters stand for themselves.
void AppendPlainText(QByteArray& rtf, QStringView text);
