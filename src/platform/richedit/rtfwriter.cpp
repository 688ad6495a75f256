// Placeholder writer: an empty RTF document.
#include "rtfwriter.h"

#include <QTextDocument>

namespace platform {

QByteArray WriteRtf(const QTextDocument&, int, int)
{
    return QByteArrayLiteral("{\\rtf1\\ansi\\ansicpg1251\\deff0\n}");
}

} // namespace platform
