// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF of a DOS pseudo-graphic table, with the column boundaries derived from
// the separators' character positions and the font size.
#include "dostablertf.h"

#include <algorithm>

namespace {

// Far beyond any page, yet far from overflowing the integers an RTF reader keeps.
constexpr std::int64_t MaxBoundaryTwips = std::int64_t(1) << 24;

void AppendCellText(QByteArray& rtf, const std::string& text)
{
    for (const char ch : text) {
        const auto b = static_cast<std::uint8_t>(ch);
        // A brace or backslash in a cell is text, not RTF.
        if (ch == '\\' || ch == '{' || ch == '}') {
            rtf += '\\';
            rtf += ch;
        } else if (ch == '\t') {
            rtf += "\\tab ";
        } else if (b < 0x20) {
            rtf += "\\'" + QByteArray::number(b, 16).rightJustified(2, '0');
        } else {
            rtf += ch;
        }
    }
}

} // namespace

std::int32_t TableCharWidth(std::int32_t pointSize)
{
    return pointSize - (pointSize - 1) / 4;
}

std::int64_t TableCellBoundary(std::int64_t sepPos, std::int32_t charWidth)
{
    // Character cells to points as a mouse position is turned into points, then twips.
    const std::int64_t boundary = ((9 * sepPos * charWidth - 14) / 12) * 20;
    return std::clamp<std::int64_t>(boundary, -MaxBoundaryTwips, MaxBoundaryTwips);
}

void AppendTableRows(QByteArray& rtf, const table& t, std::int32_t charWidth)
{
    for (const line& row : t.Rows) {
        // The first cell is what stands before the first separator: never a column.
        if (row.size() < 2)
            continue;
        rtf += "\\trowd\\trgaph50\\trleft-50";
        for (std::size_t k = 1; k < row.size(); ++k)
            rtf += "\\cellx" + QByteArray::number(TableCellBoundary(row[k].SepPos, charWidth));
        rtf += "\\pard\\intbl";
        for (std::size_t k = 1; k < row.size(); ++k) {
            rtf += "\\f1 ";
            AppendCellText(rtf, row[k].Text);
            rtf += "\\f0\\cell";
        }
        rtf += "\\row";
        rtf += '\r';
    }
}

QByteArray DosTableRtf(const table& t, std::int32_t charWidth)
{
    QByteArray rtf = "{\\rtf1\\ansi\\deff0";
    AppendTableRows(rtf, t, charWidth);
    rtf += '}';
    return rtf;
}

void AppendPlainText(QByteArray& rtf, QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\r') {
            rtf += "\\par\r\n";
        } else if (u == u'\\' || u == u'{' || u == u'}') {
            rtf += '\\';
            rtf += char(u);
        } else if (u == u'\t') {
            rtf += "\\tab ";
        } else if (u >= 0x20 && u < 0x80) {
            rtf += char(u);
        } else {
            // Any other character by its number: no code page can change it.
            rtf += "\\u" + QByteArray::number(std::int16_t(u)) + '?';
        }
    }
}
