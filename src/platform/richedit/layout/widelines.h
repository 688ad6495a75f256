// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing a layout whose lines may be far wider than the view (no word wrap,
// thousands of characters a line): Qt draws every glyph of a line whatever the
// clip, so such a line is drawn from a layout of the characters in view only.
#pragma once

#include <QList>
#include <QTextLayout>

class QPainter;
class QRectF;
class QTextBlock;

namespace platform {

// As QTextLayout::draw; block is the paragraph the layout shows (all or part of).
// With whole, every line is drawn by Qt in full, as a check of the same picture.
void DrawClipped(QPainter& painter, const QTextLayout& layout, const QTextBlock& block, const QPointF& offset,
                 const QList<QTextLayout::FormatRange>& selections, const QRectF& clip, bool whole = false);

} // namespace platform
