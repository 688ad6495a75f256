// The numbers of numbered paragraphs: the text a paragraph shows before it, and
// drawing the numbers Qt does not draw itself (lists that start elsewhere than 1).
#pragma once

#include <QString>

class QBrush;
class QPainter;
class QRectF;
class QTextBlock;
class QTextDocument;

namespace platform {

// "5.", "(e)", "iv)", a bullet, or empty for a paragraph without a number.
QString ListNumberText(const QTextBlock& block);

// Draws the numbers of the lists that carry PropListStart, for the paragraphs
// that meet the exposed rectangle (document coordinates; the painter draws in
// them too), where and as Qt draws the numbers of its own lists. text is the
// colour of text without one of its own.
void DrawListNumbers(QPainter& painter, const QTextDocument& document, const QRectF& exposed, const QBrush& text);

} // namespace platform
