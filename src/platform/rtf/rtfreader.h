// SPDX-License-Identifier: GPL-3.0-or-later
// Reading RTF into a QTextDocument, following the format rules of textproperties.h.
#pragma once

#include <QByteArray>

class QTextCursor;

namespace platform {

// Reads RTF bytes into the cursor's document at the cursor, replacing its
// selection. Answers false and inserts nothing when the data does not begin
// with "{\rtf"; otherwise reads what can be read and answers true.
bool ReadRtf(const QByteArray& data, QTextCursor& cursor);

} // namespace platform
