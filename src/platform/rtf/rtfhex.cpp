// SPDX-License-Identifier: GPL-3.0-or-later
// Linear hex encoding and decoding for pictures and objects.
#include "rtfhex.h"

namespace platform {

namespace {

constexpr char Digits[] = "0123456789abcdef";

} // namespace

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void AppendHexLines(QByteArray& out, const QByteArray& bytes, int lineLength)
{
    const qsizetype digits = bytes.size() * 2;
    const qsizetype lines = lineLength > 0 ? (digits + lineLength - 1) / lineLength : 0;
    const qsizetype start = out.size();
    out.resize(start + digits + lines * 2);
    char* to = out.data() + start;
    const auto* from = reinterpret_cast<const unsigned char*>(bytes.constData());
    int onLine = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        *to++ = Digits[from[i] >> 4];
        *to++ = Digits[from[i] & 15];
        onLine += 2;
        if (onLine >= lineLength) {
            *to++ = '\r';
            *to++ = '\n';
            onLine = 0;
        }
    }
    if (onLine > 0) {
        *to++ = '\r';
        *to++ = '\n';
    }
    out.resize(to - out.constData());
}

void AppendHexDigits(QByteArray& out, const char* begin, const char* end, int& pendingNibble)
{
    // No reserve here: runs arrive a line at a time, and growing to an exact size
    // per line would copy the whole buffer each time; append grows geometrically.
    for (const char* p = begin; p < end; ++p) {
        const int v = HexValue(*p);
        if (v < 0)
            continue;
        if (pendingNibble < 0) {
            pendingNibble = v;
        } else {
            out.append(char(pendingNibble * 16 + v));
            pendingNibble = -1;
        }
    }
}

} // namespace platform
