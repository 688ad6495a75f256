// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 decoding, encoding and checking over a byte-at-a-time sequence state, with
// short cuts for ASCII and two-byte sequences (all of Cyrillic) inside a block.
#include "utf8.h"

namespace {

constexpr char16_t Replacement = 0xFFFD;

enum class TStep {
    Char,      // the byte completed a character (CodePoint)
    More,      // the byte began or continued a sequence
    Bad,       // the byte is not UTF-8 on its own
    BadBefore  // the sequence before the byte was cut short; the byte starts afresh
};

TStep Start(TUtf8Sequence& s, std::uint8_t b)
{
    if (b < 0x80) {
        s.CodePoint = b;
        return TStep::Char;
    }
    // 0x80-0xBF continue, C0 and C1 could only start overlong forms, and F5-FF
    // would go past U+10FFFF.
    if (b < 0xC2 || b > 0xF4)
        return TStep::Bad;
    s.Low = 0x80;
    s.High = 0xBF;
    if (b < 0xE0) {
        s.Need = 1;
        s.CodePoint = b & 0x1Fu;
    } else if (b < 0xF0) {
        s.Need = 2;
        s.CodePoint = b & 0x0Fu;
        if (b == 0xE0)
            s.Low = 0xA0;   // else overlong
        else if (b == 0xED)
            s.High = 0x9F;  // else a surrogate
    } else {
        s.Need = 3;
        s.CodePoint = b & 0x07u;
        if (b == 0xF0)
            s.Low = 0x90;   // else overlong
        else if (b == 0xF4)
            s.High = 0x8F;  // else above U+10FFFF
    }
    return TStep::More;
}

TStep Step(TUtf8Sequence& s, std::uint8_t b)
{
    if (s.Need == 0)
        return Start(s, b);
    if (b < s.Low || b > s.High) {
        s.Need = 0;
        return TStep::BadBefore;
    }
    s.CodePoint = (s.CodePoint << 6) | (b & 0x3Fu);
    s.Low = 0x80;
    s.High = 0xBF;
    return --s.Need == 0 ? TStep::Char : TStep::More;
}

inline std::uint8_t* PutUnit(std::uint8_t* out, std::uint32_t unit)
{
    out[0] = std::uint8_t(unit & 0xFF);
    out[1] = std::uint8_t(unit >> 8);
    return out + 2;
}

inline std::uint8_t* PutCodePoint(std::uint8_t* out, std::uint32_t cp)
{
    if (cp < 0x10000)
        return PutUnit(out, cp);
    cp -= 0x10000;
    out = PutUnit(out, 0xD800 + (cp >> 10));
    return PutUnit(out, 0xDC00 + (cp & 0x3FF));
}

inline std::uint8_t* PutUtf8(std::uint8_t* out, std::uint32_t cp)
{
    if (cp < 0x80) {
        *out++ = std::uint8_t(cp);
    } else if (cp < 0x800) {
        *out++ = std::uint8_t(0xC0 | (cp >> 6));
        *out++ = std::uint8_t(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out++ = std::uint8_t(0xE0 | (cp >> 12));
        *out++ = std::uint8_t(0x80 | ((cp >> 6) & 0x3F));
        *out++ = std::uint8_t(0x80 | (cp & 0x3F));
    } else {
        *out++ = std::uint8_t(0xF0 | (cp >> 18));
        *out++ = std::uint8_t(0x80 | ((cp >> 12) & 0x3F));
        *out++ = std::uint8_t(0x80 | ((cp >> 6) & 0x3F));
        *out++ = std::uint8_t(0x80 | (cp & 0x3F));
    }
    return out;
}

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u < 0xDC00; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u < 0xE000; }

} // namespace

std::size_t TUtf8Decoder::Feed(const std::uint8_t* in, std::size_t n, std::uint8_t* out)
{
    std::uint8_t* o = out;
    std::size_t i = 0;
    while (i < n) {
        if (sequence_.Need == 0) {
            // ASCII and two-byte sequences, the bulk of Russian text, in a tight loop
            // that leaves everything else to the sequence state below.
            while (i + 1 < n) {
                const std::uint8_t b = in[i];
                if (b < 0x80) {
                    o = PutUnit(o, b);
                    ++i;
                    continue;
                }
                const std::uint8_t c = in[i + 1];
                if (b < 0xC2 || b >= 0xE0 || (c & 0xC0) != 0x80)
                    break;
                o = PutUnit(o, (std::uint32_t(b & 0x1F) << 6) | (c & 0x3Fu));
                i += 2;
            }
            if (i == n)
                break;
        }
        const std::uint8_t b = in[i];
        switch (Step(sequence_, b)) {
        case TStep::Char:
            o = PutCodePoint(o, sequence_.CodePoint);
            ++i;
            break;
        case TStep::More:
            ++i;
            break;
        case TStep::Bad:
            o = PutUnit(o, Replacement);
            ++replaced_;
            ++i;
            break;
        case TStep::BadBefore:
            o = PutUnit(o, Replacement);
            ++replaced_;
            break;
        }
    }
    return std::size_t(o - out);
}

std::size_t TUtf8Decoder::Finish(std::uint8_t* out)
{
    if (sequence_.Need == 0)
        return 0;
    sequence_.Need = 0;
    ++replaced_;
    PutUnit(out, Replacement);
    return 2;
}

std::uint8_t* TUtf8Encoder::Unit(char16_t unit, std::uint8_t* out)
{
    if (high_) {
        const char16_t high = high_;
        high_ = 0;
        if (IsLowSurrogate(unit))
            return PutUtf8(out, 0x10000 + ((std::uint32_t(high) - 0xD800) << 10) + (unit - 0xDC00u));
        out = PutUtf8(out, Replacement);
        ++replaced_;
    }
    if (IsHighSurrogate(unit)) {
        high_ = unit;
        return out;
    }
    if (IsLowSurrogate(unit)) {
        ++replaced_;
        return PutUtf8(out, Replacement);
    }
    return PutUtf8(out, unit);
}

std::size_t TUtf8Encoder::Feed(const std::uint8_t* in, std::size_t n, std::uint8_t* out)
{
    std::uint8_t* o = out;
    std::size_t i = 0;
    if (oddByte_ >= 0 && n > 0) {
        o = Unit(char16_t(oddByte_ | (in[0] << 8)), o);
        oddByte_ = -1;
        i = 1;
    }
    for (; i + 1 < n; i += 2) {
        const char16_t unit = char16_t(in[i] | (in[i + 1] << 8));
        if (unit < 0x80 && !high_)
            *o++ = std::uint8_t(unit);
        else
            o = Unit(unit, o);
    }
    if (i < n)
        oddByte_ = in[i];
    return std::size_t(o - out);
}

std::size_t TUtf8Encoder::Finish(std::uint8_t* out)
{
    std::uint8_t* o = out;
    if (high_) {
        high_ = 0;
        ++replaced_;
        o = PutUtf8(o, Replacement);
    }
    if (oddByte_ >= 0) {
        oddByte_ = -1;
        ++replaced_;
        o = PutUtf8(o, Replacement);
    }
    return std::size_t(o - out);
}

void TUtf8Check::Feed(const std::uint8_t* in, std::size_t n)
{
    for (std::size_t i = 0; i < n && valid_; ++i) {
        const std::uint8_t b = in[i];
        if (b < 0x80 && sequence_.Need == 0)
            continue;
        switch (Step(sequence_, b)) {
        case TStep::Char:
            multiByte_ = true;
            break;
        case TStep::More:
            break;
        case TStep::Bad:
        case TStep::BadBefore:
            valid_ = false;
            break;
        }
    }
}
