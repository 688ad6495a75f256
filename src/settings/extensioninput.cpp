// SPDX-License-Identifier: GPL-3.0-or-later
// Normalising and checking a typed extension.
#include "extensioninput.h"

#include "casemap.h"
#include "codepages.h"
#include "mimepackage.h"

QString NormalizeExtension(const QString& text)
{
    QString ext = text.trimmed();
    if (ext.startsWith(QLatin1String("*.")))
        ext.remove(0, 2);
    else if (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    QString upper;
    for (const QChar c : std::as_const(ext)) {
        std::uint8_t byte = 0;
        if (platform::UnicodeToCp1251(c.unicode(), byte))
            upper += QChar(platform::Cp1251ToUnicode[static_cast<unsigned char>(UpCaseWin(char(byte)))]);
        else
            upper += c;
    }
    return upper;
}

bool IsValidExtension(const QString& extension)
{
    return platform::IsMirrorableExtension(extension) && !extension.contains(QLatin1Char('\\'));
}
