// SPDX-License-Identifier: GPL-3.0-or-later
// Paragraph numbers that Qt 6.4 cannot draw: its lists always count from one and
// always show the number. Lists that start elsewhere or show no number are
// marked so that Qt draws no number for them (a list style of none on their
// paragraphs) and the control draws the right one where Qt would have.
#pragma once

#include <QString>

class QPainter;
class QPalette;
class QPointF;
class QTextBlock;
class QTextCharFormat;
class QTextDocument;
class QTextLayout;

namespace platform {

// Marks or unmarks the paragraphs of every list that [from, to] touches, as
// their numbering asks. Changes block formats: inside an edit of its own or of
// the caller's.
void SyncListMarkers(QTextDocument& doc, int from, int to);

// Whether the control draws the number of this paragraph.
bool ControlDrawsNumber(const QTextBlock& block);

// Draws the marker of a list paragraph (a bullet, or a number of Qt's or of the
// control's) beside the first line of lines, whose origin is at origin, where and
// as Qt's document layout draws its own. selection: the format of a selection
// that runs into the paragraph from before it.
void DrawListMarker(QPainter& painter, const QTextBlock& block, const QTextLayout& lines, const QPointF& origin,
                    const QPalette& palette, const QTextCharFormat* selection = nullptr);

} // namespace platform
