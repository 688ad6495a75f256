// SPDX-License-Identifier: GPL-3.0-or-later
// Block-wise decoding and encoding of plain text for the control's streams.
#include "plaintextcodec.h"

#include "codepages.h"

#include <QChar>

namespace platform {

namespace {

constexpr char16_t Cr = u'\r';
constexpr char16_t Lf = u'\n';
constexpr char16_t ParagraphEnd = 0x2029;
constexpr char16_t FrameStart = 0xFDD0;
constexpr char16_t FrameEnd = 0xFDD1;

// QTextDocument keeps U+FDD0 and U+FDD1 as the marks of tables and cells; as
// text they are noncharacters, so they arrive as the replacement character
// rather than as structure.
char16_t Storable(char16_t unit)
{
    return unit == FrameStart || unit == FrameEnd ? char16_t(QChar::ReplacementCharacter) : unit;
}

} // namespace

void PlainTextDecoder::Put(char16_t unit, char16_t*& dst)
{
    if (pendingCr) {
        pendingCr = false;
        *dst++ = Lf;
        if (unit == Lf)
            return;
    }
    if (unit == Cr)
        pendingCr = true;
    else
        *dst++ = unit;
}

void PlainTextDecoder::Feed(const std::uint8_t* data, std::size_t n, QString& out)
{
    const qsizetype start = out.size();
    out.resize(start + qsizetype(n) + 2);
    auto* begin = reinterpret_cast<char16_t*>(out.data()) + start;
    char16_t* dst = begin;
    if (!unicode) {
        for (std::size_t i = 0; i < n; ++i)
            Put(Cp1251ToUnicode[data[i]], dst);
    } else {
        std::size_t i = 0;
        if (pendingByte >= 0 && n > 0) {
            Put(Storable(char16_t(pendingByte | (data[0] << 8))), dst);
            pendingByte = -1;
            i = 1;
        }
        for (; i + 1 < n; i += 2)
            Put(Storable(char16_t(data[i] | (data[i + 1] << 8))), dst);
        if (i < n)
            pendingByte = data[i];
    }
    out.resize(start + (dst - begin));
}

void PlainTextDecoder::Finish(QString& out)
{
    if (pendingByte >= 0) {
        pendingByte = -1;
        char16_t buf[2];
        char16_t* dst = buf;
        Put(QChar::ReplacementCharacter, dst);
        out.append(QStringView(buf, dst - buf));
    }
    if (pendingCr) {
        pendingCr = false;
        out.append(QChar(Lf));
    }
}

std::int64_t PlainTextEncoder::Encode(QStringView text, std::vector<std::uint8_t>& out) const
{
    std::int64_t written = 0;
    out.reserve(out.size() + std::size_t(text.size()) * (unicode ? 2 : 1) + 16);
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char16_t u = p[i];
        // A line break inside a paragraph has no byte of its own in Windows-1251;
        // the marks that open and close tables and cells end paragraphs too.
        if (u == ParagraphEnd || u == FrameStart || u == FrameEnd || (u == QChar::LineSeparator && !unicode)) {
            if (unicode)
                out.insert(out.end(), {std::uint8_t(Cr), 0, std::uint8_t(Lf), 0});
            else
                out.insert(out.end(), {std::uint8_t(Cr), std::uint8_t(Lf)});
            written += 2;
            continue;
        }
        if (unicode) {
            out.push_back(std::uint8_t(u & 0xFF));
            out.push_back(std::uint8_t(u >> 8));
        } else {
            std::uint8_t b;
            if (!UnicodeToCp1251(u, b)) {
                b = '?';
                if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(p[i + 1]))
                    ++i;
            }
            out.push_back(b);
        }
        ++written;
    }
    return written;
}

} // namespace platform
