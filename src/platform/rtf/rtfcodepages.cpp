// SPDX-License-Identifier: GPL-3.0-or-later
// Code-page tables for RTF decoding: Windows-1251 from the program's own table,
// every other code page built once from the C library's iconv.
#include "rtfcodepages.h"

#include "codepages.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <map>
#include <memory>
#include <mutex>

namespace platform {

namespace {

struct CodePageTable {
    std::array<char16_t, 256> units{};
    std::array<bool, 256> lead{};
    bool doubleByte = false;
    QByteArray iconvName;
};

QByteArray IconvName(int codePage)
{
    switch (codePage) {
    case 10000: return "MACINTOSH";
    case 10007: return "MAC-CYRILLIC";
    case 1361: return "JOHAB";
    default: return "CP" + QByteArray::number(codePage);
    }
}

bool IsDoubleByte(int codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 || codePage == 1361;
}

// One unit for the given bytes, or U+FFFD; answers false when the bytes are an
// incomplete sequence (a lead byte).
bool ConvertWithIconv(iconv_t cd, const char* bytes, size_t n, char16_t& unit)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char in[2] = {bytes[0], n > 1 ? bytes[1] : char(0)};
    char out[8];
    char* inPtr = in;
    char* outPtr = out;
    size_t inLeft = n;
    size_t outLeft = sizeof out;
    const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    if (r == size_t(-1) && errno == EINVAL)
        return false;
    if (r == size_t(-1) || outPtr - out < 2)
        unit = u'\uFFFD';
    else
        unit = char16_t(std::uint8_t(out[0]) | (std::uint8_t(out[1]) << 8));
    return true;
}

std::unique_ptr<CodePageTable> BuildTable(int codePage)
{
    auto table = std::make_unique<CodePageTable>();
    table->iconvName = IconvName(codePage);
    table->doubleByte = IsDoubleByte(codePage);
    iconv_t cd = iconv_open("UTF-16LE", table->iconvName.constData());
    for (int b = 0; b < 256; ++b)
        table->units[b] = b < 0x80 ? char16_t(b) : u'\uFFFD';
    if (cd == iconv_t(-1))
        return table;   // an unknown code page reads as ASCII with U+FFFD for the rest
    for (int b = 0x80; b < 256; ++b) {
        const char byte = char(b);
        char16_t unit;
        if (!ConvertWithIconv(cd, &byte, 1, unit)) {
            table->lead[b] = table->doubleByte;
            unit = u'\uFFFD';
        }
        table->units[b] = unit;
    }
    iconv_close(cd);
    return table;
}

const CodePageTable& TableFor(int codePage)
{
    static std::mutex mutex;
    static std::map<int, std::unique_ptr<CodePageTable>> tables;
    std::lock_guard lock(mutex);
    auto& slot = tables[codePage];
    if (!slot)
        slot = BuildTable(codePage);
    return *slot;
}

char16_t DecodePair(int codePage, std::uint8_t lead, std::uint8_t trail)
{
    const CodePageTable& table = TableFor(codePage);
    iconv_t cd = iconv_open("UTF-16LE", table.iconvName.constData());
    char16_t unit = u'\uFFFD';
    if (cd != iconv_t(-1)) {
        const char bytes[2] = {char(lead), char(trail)};
        if (!ConvertWithIconv(cd, bytes, 2, unit))
            unit = u'\uFFFD';
        iconv_close(cd);
    }
    return unit;
}

} // namespace

int CodePageForCharset(int charset)
{
    switch (charset) {
    case 0: return 1252;
    case 2: return 1252;     // symbol fonts: bytes kept as Latin-1 characters
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0;
    }
}

void RtfByteDecoder::SetCodePage(int codePage)
{
    if (codePage == codePage_ && table_)
        return;
    codePage_ = codePage;
    pendingLead_ = -1;
    leadBytes_ = nullptr;
    if (codePage == 1251) {
        table_ = Cp1251ToUnicode;
        return;
    }
    const CodePageTable& table = TableFor(codePage);
    table_ = table.units.data();
    if (table.doubleByte)
        leadBytes_ = table.lead.data();
}

void RtfByteDecoder::Append(const char* bytes, int n, QString& out)
{
    if (!table_)
        SetCodePage(DefaultAnsiCodePage);
    if (!leadBytes_ && pendingLead_ < 0) {
        const qsizetype start = out.size();
        out.resize(start + n);
        char16_t* dst = reinterpret_cast<char16_t*>(out.data()) + start;
        for (int i = 0; i < n; ++i)
            dst[i] = table_[std::uint8_t(bytes[i])];
        return;
    }
    for (int i = 0; i < n; ++i)
        Append(std::uint8_t(bytes[i]), out);
}

void RtfByteDecoder::Append(std::uint8_t byte, QString& out)
{
    if (!table_)
        SetCodePage(DefaultAnsiCodePage);
    if (pendingLead_ >= 0) {
        out.append(QChar(DecodePair(codePage_, std::uint8_t(pendingLead_), byte)));
        pendingLead_ = -1;
        return;
    }
    if (leadBytes_ && leadBytes_[byte]) {
        pendingLead_ = byte;
        return;
    }
    out.append(QChar(table_[byte]));
}

} // namespace platform
