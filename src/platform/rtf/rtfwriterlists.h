// SPDX-License-Identifier: GPL-3.0-or-later
// Paragraph numbering written the way the control itself writes it: a {\*\pn}
// group, and a {\pntext} group with the shown number for readers without \pn.
#pragma once

#include <QByteArray>

class QTextBlock;

namespace platform {

// The numbering of a paragraph from its properties, or from the Qt list it is in.
struct RtfWrittenNumbering {
    int numbering = 0;   // PFN_*
    int style = 0;       // PFNS_*
    int start = 0;
    int tab = 0;
};
RtfWrittenNumbering NumberingOf(const QTextBlock& block);

// {\*\pn...} for the paragraph, empty when it has no numbering.
QByteArray NumberingWords(const RtfWrittenNumbering& n);

// {\pntext ...\tab} with the paragraph's number (listNumber, the text its list
// shows for it), empty when it shows none.
QByteArray NumberText(const RtfWrittenNumbering& n, const QString& listNumber);

} // namespace platform
