// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a QTextDocument, or a range of it, as RTF.
#pragma once

#include <QByteArray>

class QTextDocument;

namespace platform {

// The characters [from, to) of the document as a complete RTF document.
// to = -1 means the end of the text (the final paragraph mark excluded).
QByteArray WriteRtf(const QTextDocument& document, int from = 0, int to = -1);

} // namespace platform
