// SPDX-License-Identifier: GPL-3.0-or-later
// Address detection for automatic links.
#include "urldetect.h"

#include <QString>

#include <array>

namespace platform {

namespace {

struct Scheme {
    QStringView prefix;
    int minTail;     // characters needed after the prefix to be an address
};

constexpr std::array<Scheme, 6> Schemes{{
    {u"http://", 1}, {u"https://", 1}, {u"ftp://", 1}, {u"mailto:", 1}, {u"file:", 1}, {u"www.", 1},
}};

bool EndsUrl(QChar c)
{
    return c.isSpace() || c == u'<' || c == u'>' || c == u'"' || c.unicode() < 0x20 || c == QChar::ObjectReplacementCharacter;
}

bool IsTrailingPunctuation(QChar c)
{
    return c == u'.' || c == u',' || c == u';' || c == u':' || c == u'!' || c == u'?' || c == u'\'' || c == u')'
        || c == u']' || c == u'}';
}

} // namespace

void FindUrls(QStringView text, int base, std::vector<UrlRange>& out)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode() | 0x20;
        if (c != u'h' && c != u'f' && c != u'm' && c != u'w')
            continue;
        if (i > 0 && (text[i - 1].isLetterOrNumber() || text[i - 1] == u'_'))
            continue;
        for (const Scheme& scheme : Schemes) {
            const QStringView rest = text.mid(i);
            if (!rest.startsWith(scheme.prefix, Qt::CaseInsensitive))
                continue;
            // An address goes on with a letter, a digit or a slash; checked before
            // the scan, so that a long run that is no address is not read again
            // from each of its prefixes.
            const qsizetype after = i + scheme.prefix.size();
            if (after >= n || !(text[after].isLetterOrNumber() || text[after] == u'/'))
                break;
            qsizetype end = after;
            while (end < n && !EndsUrl(text[end]))
                ++end;
            // Keep a closing bracket that closes one opened inside the address
            // (counted once: a run of brackets must not cost its square).
            qsizetype open = 0;
            qsizetype close = 0;
            for (qsizetype k = i; k < end; ++k) {
                open += text[k] == u'(' ? 1 : 0;
                close += text[k] == u')' ? 1 : 0;
            }
            while (end > i && IsTrailingPunctuation(text[end - 1])) {
                const QChar last = text[end - 1];
                if (last == u')' && open >= close)
                    break;
                if (last == u')')
                    --close;
                --end;
            }
            const qsizetype tail = end - i - scheme.prefix.size();
            if (tail >= scheme.minTail
                && (text[i + scheme.prefix.size()].isLetterOrNumber() || text[i + scheme.prefix.size()] == u'/')) {
                out.push_back({int(base + i), int(end - i)});
                i = end - 1;
            }
            break;
        }
    }
}

void FindUrlMarks(QStringView text, int base, std::vector<int>& out)
{
    const qsizetype n = text.size();
    const char16_t* p = text.utf16();
    auto endsWith = [&](qsizetype end, QStringView word) {
        return end >= word.size() && text.sliced(end - word.size(), word.size()).compare(word, Qt::CaseInsensitive) == 0;
    };
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] == u':') {
            if ((i + 2 < n && p[i + 1] == u'/' && p[i + 2] == u'/') || endsWith(i, u"mailto") || endsWith(i, u"file"))
                out.push_back(int(base + i));
        } else if (p[i] == u'.' && endsWith(i, u"www")) {
            out.push_back(int(base + i));
        }
    }
}

QString UrlTarget(QStringView url)
{
    if (url.startsWith(u"www.", Qt::CaseInsensitive))
        return QStringLiteral("http://") + url.toString();
    return url.toString();
}

} // namespace platform
