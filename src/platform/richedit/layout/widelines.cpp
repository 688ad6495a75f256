// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing only the characters of a wide line that are in view.
#include "widelines.h"

#include <QPainter>
#include <QRectF>
#include <QTextBlock>
#include <QTextOption>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace platform {

namespace {

// A line is wide when it is this many times the width drawn.
constexpr double WideFactor = 3;
// Drawn past each side of the clip, so that what a glyph overhangs is there.
constexpr double SlackPx = 64;
// How far from the clip's edges a slice may reach to start and end between words.
constexpr int WordReach = 200;

// Characters whose shape never depends on a neighbour across a space and that
// run left to right: Latin, Greek, Cyrillic and the common punctuation. Anything
// else (tabs, right-to-left or joining scripts, direction marks) is left to Qt.
bool Plain(QChar c)
{
    const char16_t u = c.unicode();
    if (u == u'\t' || u < 0x20)
        return false;
    if (u < 0x0590)
        return true;
    return (u >= 0x2010 && u <= 0x2027) || (u >= 0x2030 && u <= 0x205E) || u == 0x00A0 || (u >= 0x1E00 && u <= 0x1FFF);
}

struct Slice {
    int from;
    int to;
};

// The characters of the line that the clip shows, widened to whole words; empty
// when none is in view; nothing when Qt must draw the line.
std::optional<Slice> VisibleSlice(const QString& text, const QTextLine& line, double left, double right)
{
    const int start = line.textStart();
    const int end = start + line.textLength();
    if (line.textLength() == 0)
        return std::nullopt;
    if (line.x() + line.naturalTextWidth() < left)
        return Slice{end, end};
    int from = std::max(start, line.xToCursor(left, QTextLine::CursorBetweenCharacters));
    int to = std::min(end, line.xToCursor(right, QTextLine::CursorBetweenCharacters));
    const int fromLimit = std::max(start, from - WordReach);
    while (from > fromLimit && !text.at(from - 1).isSpace())
        --from;
    if (from > start && !text.at(from - 1).isSpace())
        return std::nullopt;
    const int toLimit = std::min(end, to + WordReach);
    while (to < toLimit && !text.at(to).isSpace())
        ++to;
    if (to < end && !text.at(to).isSpace())
        return std::nullopt;
    for (int i = from; i < to; ++i) {
        if (!Plain(text.at(i)))
            return std::nullopt;
    }
    return Slice{from, std::max(from, to)};
}

// Ranges shifted to start at from and cut to [from, to); a range running past to
// runs on past the slice only where the line itself ends its paragraph.
QList<QTextLayout::FormatRange> Clipped(const QList<QTextLayout::FormatRange>& ranges, Slice slice, bool pastEnd)
{
    QList<QTextLayout::FormatRange> out;
    for (const QTextLayout::FormatRange& range : ranges) {
        const int a = std::max(slice.from, range.start);
        int b = std::min(slice.to, range.start + range.length);
        if (pastEnd && range.start + range.length > slice.to)
            b = slice.to + 1;
        if (b > a)
            out.append({a - slice.from, b - a, range.format});
    }
    return out;
}

// A layout of the slice of the line, to be drawn where the slice stands in the
// line; null when it would not look the same as the line drawn whole.
struct Part {
    std::unique_ptr<QTextLayout> layout;
    QPointF at;
    QList<QTextLayout::FormatRange> selections;
};

std::optional<Part> SliceOf(const QTextLayout& layout, const QString& text, const QTextLine& line, const QPointF& origin,
                            const QList<QTextLayout::FormatRange>& selections, const QRectF& clip)
{
    const std::optional<Slice> slice =
        VisibleSlice(text, line, clip.left() - SlackPx - origin.x(), clip.right() + SlackPx - origin.x());
    if (!slice)
        return std::nullopt;
    if (slice->to == slice->from)
        return Part{};
    const bool lastLine = line.lineNumber() + 1 == layout.lineCount();
    const bool endsLine = slice->to == line.textStart() + line.textLength();
    auto part = std::make_unique<QTextLayout>(text.mid(slice->from, slice->to - slice->from), layout.font());
    QTextOption option = layout.textOption();
    option.setWrapMode(QTextOption::NoWrap);
    part->setTextOption(option);
    part->setFormats(Clipped(layout.formats(), *slice, false));
    part->beginLayout();
    QTextLine only = part->createLine();
    only.setPosition(QPointF(0, 0));
    part->endLayout();
    if (!only.isValid() || only.ascent() != line.ascent() || only.height() != line.height())
        return std::nullopt;
    const QPointF at = origin + QPointF(line.cursorToX(slice->from), line.y());
    return Part{std::move(part), at, Clipped(selections, *slice, lastLine && endsLine)};
}

bool Simple(const QTextLayout& layout, const QList<QTextLayout::FormatRange>& selections)
{
    if (!layout.preeditAreaText().isEmpty() || layout.textOption().textDirection() == Qt::RightToLeft)
        return false;
    const Qt::Alignment align = layout.textOption().alignment() & Qt::AlignHorizontal_Mask;
    if (align & (Qt::AlignRight | Qt::AlignHCenter | Qt::AlignJustify))
        return false;
    return std::none_of(selections.begin(), selections.end(), [](const QTextLayout::FormatRange& range) {
        return range.format.hasProperty(QTextFormat::FullWidthSelection);
    });
}

} // namespace

void DrawClipped(QPainter& painter, const QTextLayout& layout, const QTextBlock& block, const QPointF& offset,
                 const QList<QTextLayout::FormatRange>& selections, const QRectF& clip, bool whole)
{
    const QPointF origin = offset + layout.position();
    const auto shown = [&](const QTextLine& line) {
        const double top = origin.y() + line.y();
        return top <= clip.bottom() && top + line.height() >= clip.top();
    };
    bool anyWide = false;
    for (int i = 0; i < layout.lineCount() && !anyWide && !whole; ++i) {
        const QTextLine line = layout.lineAt(i);
        anyWide = shown(line) && line.naturalTextWidth() > WideFactor * clip.width();
    }
    if (!anyWide || !Simple(layout, selections)) {
        layout.draw(&painter, offset, selections, clip);
        return;
    }
    // A paragraph's own layout reads its text from the paragraph.
    const QString text = layout.text().isEmpty() ? block.text() : layout.text();
    const QTextLine last = layout.lineAt(layout.lineCount() - 1);
    if (text.size() < last.textStart() + last.textLength()) {
        layout.draw(&painter, offset, selections, clip);
        return;
    }
    // Every line in view from a slice of its own, or all of them by Qt.
    std::vector<Part> parts;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        if (!shown(line))
            continue;
        std::optional<Part> part = SliceOf(layout, text, line, origin, selections, clip);
        if (!part) {
            layout.draw(&painter, offset, selections, clip);
            return;
        }
        if (part->layout)
            parts.push_back(std::move(*part));
    }
    for (const Part& part : parts)
        part.layout->draw(&painter, part.at, part.selections, clip);
}

} // namespace platform
