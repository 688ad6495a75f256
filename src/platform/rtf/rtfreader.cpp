// SPDX-License-Identifier: GPL-3.0-or-later
// Reading RTF into a QTextDocument at a cursor.
#include "rtfreader.h"

#include "rtfreaderengine.h"

#include <QTextCursor>

namespace platform {

bool ReadRtf(const QByteArray& data, QTextCursor& cursor)
{
    if (!data.startsWith("{\\rtf") || cursor.isNull())
        return false;
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    RtfReaderEngine engine(data, cursor);
    engine.Read();
    cursor.endEditBlock();
    return true;
}

} // namespace platform
