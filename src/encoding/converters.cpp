// SPDX-License-Identifier: GPL-3.0-or-later
// The converter tables, derived at compile time from the letter positions.
#include "converters.h"

#include "codepages.h"
#include "letterpositions.h"

#include <array>
#include <cstring>

using namespace encoding_detail;

namespace {

using TByteTable = std::array<std::uint8_t, 256>;

constexpr TByteTable LettersOnly(const TLetterPositions& from, const TLetterPositions& to)
{
    TByteTable t{};
    for (int b = 0; b < 256; ++b)
        t[b] = std::uint8_t(b);
    for (int k = 0; k < 33; ++k) {
        t[from.Capital[k]] = to.Capital[k];
        t[from.Small[k]] = to.Small[k];
    }
    return t;
}

constexpr TByteTable DosToWinTable = LettersOnly(DosLetters, WinLetters);
constexpr TByteTable WinToDosTable = LettersOnly(WinLetters, DosLetters);
constexpr TByteTable KoiToWinTable = LettersOnly(KoiLetters, WinLetters);
constexpr TByteTable WinToKoiTable = LettersOnly(WinLetters, KoiLetters);
constexpr TByteTable MacToWinTable = LettersOnly(MacLetters, WinLetters);
constexpr TByteTable WinToMacTable = LettersOnly(WinLetters, MacLetters);
constexpr TByteTable IsoToWinTable = LettersOnly(IsoLetters, WinLetters);
constexpr TByteTable WinToIsoTable = LettersOnly(WinLetters, IsoLetters);

// Four independent loads per step keep the loop free of a dependency chain; the
// compiler unrolls it into straight table lookups.
inline void Translate(const TByteTable& t, std::uint8_t* buf, std::size_t n)
{
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        const std::uint8_t a = t[buf[i]], b = t[buf[i + 1]], c = t[buf[i + 2]], d = t[buf[i + 3]];
        buf[i] = a;
        buf[i + 1] = b;
        buf[i + 2] = c;
        buf[i + 3] = d;
    }
    for (; i < n; ++i)
        buf[i] = t[buf[i]];
}

} // namespace

void DosToWin(std::uint8_t* buf, std::size_t n) { Translate(DosToWinTable, buf, n); }
void WinToDos(std::uint8_t* buf, std::size_t n) { Translate(WinToDosTable, buf, n); }
void KoiToWin(std::uint8_t* buf, std::size_t n) { Translate(KoiToWinTable, buf, n); }
void WinToKoi(std::uint8_t* buf, std::size_t n) { Translate(WinToKoiTable, buf, n); }
void MacToWin(std::uint8_t* buf, std::size_t n) { Translate(MacToWinTable, buf, n); }
void WinToMac(std::uint8_t* buf, std::size_t n) { Translate(WinToMacTable, buf, n); }
void IsoToWin(std::uint8_t* buf, std::size_t n) { Translate(IsoToWinTable, buf, n); }
void WinToIso(std::uint8_t* buf, std::size_t n) { Translate(WinToIsoTable, buf, n); }

void OemToWin(std::uint8_t* buf, std::size_t n) { platform::OemToAnsi(buf, n); }
void WinToOem(std::uint8_t* buf, std::size_t n) { platform::AnsiToOem(buf, n); }

void SwapUnicodeBytes(std::uint8_t* buf, std::size_t n)
{
    // Through a 16-bit value so that the compiler turns the loop into vector shuffles.
    const std::size_t units = n / 2;
    for (std::size_t i = 0; i < units; ++i) {
        std::uint16_t u;
        std::memcpy(&u, buf + 2 * i, 2);
        u = std::uint16_t((u >> 8) | (u << 8));
        std::memcpy(buf + 2 * i, &u, 2);
    }
}

void DosToUnicode(const std::uint8_t* src, std::size_t n, std::uint8_t* dst)
{
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t u = platform::Cp866ToUnicode[src[i]];
        dst[2 * i] = std::uint8_t(u & 0xFF);
        dst[2 * i + 1] = std::uint8_t(u >> 8);
    }
}

namespace {

// The converter pairs of each setting: reading turns the file's bytes into
// Windows-1251, writing does the reverse; UTF-16 only ever changes byte order.
struct TConverterPair {
    TConverter Read;
    TConverter Write;
};

TConverterPair ConvertersFor(TEnc enc, TDosAdd dosAdd, TUniType uniType)
{
    switch (enc) {
    case Dos:
        return dosAdd == daOEM || dosAdd == daTBL ? TConverterPair{OemToWin, WinToOem}
                                                  : TConverterPair{DosToWin, WinToDos};
    case Koi:
        return {KoiToWin, WinToKoi};
    case Mac:
        return {MacToWin, WinToMac};
    case Iso:
        return {IsoToWin, WinToIso};
    case Uni:
        return uniType == Big ? TConverterPair{SwapUnicodeBytes, SwapUnicodeBytes} : TConverterPair{};
    case Win:
    case Rtf:
    case None:
        break;
    case Utf8:
        // A UTF-8 text changes length on the way: no in-place converter can take
        // it, the block codecs of utf8.h do.
        break;
    }
    return {};
}

} // namespace

TConverter ReadConverter(TEnc enc, TDosAdd dosAdd, TUniType uniType)
{
    return ConvertersFor(enc, dosAdd, uniType).Read;
}

TConverter WriteConverter(TEnc enc, TDosAdd dosAdd, TUniType uniType)
{
    return ConvertersFor(enc, dosAdd, uniType).Write;
}
