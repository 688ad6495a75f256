// SPDX-License-Identifier: GPL-3.0-or-later
// The numbers of numbered paragraphs: where a list starts counting and the text
// each paragraph shows before it. The writer's \pntext and the control's drawing
// of the numbers Qt cannot draw both ask here, so they never disagree.
#pragma once

#include <QString>

class QTextBlock;
class QTextList;

namespace platform {

// The number of the list's first item: the list's PropListStart, else the first
// paragraph's PropNumberingStart, else the list's; 0 (never set) counts as 1.
int ListStartNumber(const QTextList& list);

// "5.", "(e)", "iv)", a bullet, or empty for a paragraph that shows no number.
QString ListNumberText(const QTextBlock& block);
// The same for the paragraph that is its list's itemNumber-th item (from 0), for
// callers that walk a list in order: finding an item's place costs the list's length.
QString ListNumberText(const QTextBlock& block, int itemNumber);

} // namespace platform
