// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing of HYPERLINK field instructions: a quoted or bare address, and the \l switch.
#include "rtfhyperlink.h"

namespace platform {

namespace {

// The next argument at i: a quoted string or a run up to white space.
QString Argument(const QString& s, int& i)
{
    while (i < s.size() && s[i].isSpace())
        ++i;
    if (i >= s.size())
        return {};
    QString out;
    if (s[i] == u'"') {
        ++i;
        while (i < s.size() && s[i] != u'"') {
            if (s[i] == u'\\' && i + 1 < s.size())
                ++i;
            out += s[i++];
        }
        ++i;
        return out;
    }
    while (i < s.size() && !s[i].isSpace())
        out += s[i++];
    return out;
}

} // namespace

QString HyperlinkTarget(const QString& instruction)
{
    const QString s = instruction.trimmed();
    static const QLatin1String keyword("HYPERLINK");
    if (!s.startsWith(keyword, Qt::CaseInsensitive))
        return {};
    int i = keyword.size();
    QString address;
    QString bookmark;
    while (i < s.size()) {
        const QString a = Argument(s, i);
        if (a.isEmpty())
            continue;
        if (a == QLatin1String("\\l")) {
            bookmark = Argument(s, i);
        } else if (a.startsWith(u'\\')) {
            if (a.size() == 2 && (a[1] == u'o' || a[1] == u't'))
                Argument(s, i);   // the switch's own argument
        } else if (address.isEmpty()) {
            address = a;
        }
    }
    if (!bookmark.isEmpty())
        address += u'#' + bookmark;
    return address;
}

} // namespace platform
