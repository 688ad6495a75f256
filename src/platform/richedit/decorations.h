// SPDX-License-Identifier: GPL-3.0-or-later
// What the control draws over Qt's own drawing of a document: double and thick
// underlines, and (under Qt's own layout) the list numbers Qt cannot draw. Screen and printer alike call
// it after the document is drawn.
#pragma once

class QColor;
class QPainter;
class QPalette;
class QRectF;
class QTextDocument;

namespace platform {

// painter draws in document coordinates; area is the part of the document drawn.
void PaintDecorations(QPainter& painter, const QTextDocument& doc, const QRectF& area, const QPalette& palette,
                      const QColor& link);

} // namespace platform
