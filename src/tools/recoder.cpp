// SPDX-License-Identifier: GPL-3.0-or-later
// The recoding paths between single-byte code pages, UTF-16 and UTF-8.
#include "recoder.h"

#include "codepages.h"
#include "converters.h"

#include <utility>

namespace {

// The code-page tables know None as Win, and so does every converter.
TConvSetting Normalized(TConvSetting s)
{
    if (s.Enc == None)
        s.Enc = Win;
    return s;
}

bool SingleByte(TEnc e) { return e != Uni && e != Utf8; }

constexpr char16_t ByteOrderMark = 0xFEFF;

} // namespace

TRecoder::TRecoder(TConvSetting from, TConvSetting to)
    : from_(Normalized(from)), to_(Normalized(to)), fromByte_(SingleByte(from_.Enc)), toByte_(SingleByte(to_.Enc))
{
    if (!fromByte_ || !toByte_)
        return;
    // Between single-byte code pages each byte goes its own way: reading into the
    // pivot and writing out of it fold into one table, one pass over the text.
    for (std::size_t b = 0; b < byteTable_.size(); ++b)
        byteTable_[b] = std::uint8_t(b);
    if (TConverter read = ReadConverter(from_.Enc, from_.DosAdd, from_.UniType))
        read(byteTable_.data(), byteTable_.size());
    if (TConverter write = WriteConverter(to_.Enc, to_.DosAdd, to_.UniType))
        write(byteTable_.data(), byteTable_.size());
}

void TRecoder::PutUnit(char16_t unit)
{
    if (to_.UniType == Big) {
        out_.push_back(std::uint8_t(unit >> 8));
        out_.push_back(std::uint8_t(unit & 0xFF));
    } else {
        out_.push_back(std::uint8_t(unit & 0xFF));
        out_.push_back(std::uint8_t(unit >> 8));
    }
}

std::span<const std::uint8_t> TRecoder::Convert(std::uint8_t* block, std::size_t n)
{
    if (n == 0)
        return {};
    if (fromByte_ && toByte_) {
        atStart_ = false;
        for (std::size_t i = 0; i < n; ++i)
            block[i] = byteTable_[block[i]];
        return {block, n};
    }
    SourceUnits(block, n);
    return TargetBytes();
}

void TRecoder::SourceUnits(std::uint8_t* block, std::size_t n)
{
    wide_.clear();
    if (from_.Enc == Utf8) {
        wide_.resize(Utf8DecodedMax(n));
        wide_.resize(decoder_.Feed(block, n, wide_.data()));
        return;
    }
    if (from_.Enc == Uni) {
        wide_.reserve(n + 2);
        auto take = [this](std::uint8_t a, std::uint8_t b) {
            if (from_.UniType == Big)
                std::swap(a, b);
            wide_.push_back(a);
            wide_.push_back(b);
        };
        std::size_t i = 0;
        if (haveOdd_) {
            take(odd_, block[0]);
            haveOdd_ = false;
            i = 1;
        }
        for (; i + 2 <= n; i += 2)
            take(block[i], block[i + 1]);
        if (i < n) {
            odd_ = block[i];
            haveOdd_ = true;
        }
        return;
    }
    wide_.resize(2 * n);
    if (from_.Enc == Dos && from_.DosAdd == daUNI) {
        // What the loader does with DOS text in this mode: every byte, frames
        // included, becomes the character CP866 gives it.
        DosToUnicode(block, n, wide_.data());
        return;
    }
    if (TConverter read = ReadConverter(from_.Enc, from_.DosAdd, from_.UniType))
        read(block, n);
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t u = platform::Cp1251ToUnicode[block[i]];
        wide_[2 * i] = std::uint8_t(u & 0xFF);
        wide_[2 * i + 1] = std::uint8_t(u >> 8);
    }
}

std::span<const std::uint8_t> TRecoder::TargetBytes()
{
    out_.clear();
    if (to_.Enc == Utf8) {
        out_.resize(Utf8EncodedMax(wide_.size()));
        out_.resize(encoder_.Feed(wide_.data(), wide_.size(), out_.data()));
        return out_;
    }
    out_.reserve(wide_.size() + 2);
    const bool dosUni = to_.Enc == Dos && to_.DosAdd == daUNI;
    for (std::size_t i = 0; i + 1 < wide_.size(); i += 2) {
        const char16_t unit = char16_t(wide_[i] | (wide_[i + 1] << 8));
        const bool first = atStart_;
        atStart_ = false;
        if (!toByte_) {
            PutUnit(unit);
            continue;
        }
        // A byte-order mark has no place in a single-byte file and would show as '?'.
        if (first && unit == ByteOrderMark)
            continue;
        // A character beyond U+FFFF is one '?', as the editor writes it, not two.
        const bool lowAfterHigh = afterHigh_ && unit >= 0xDC00 && unit < 0xE000;
        afterHigh_ = unit >= 0xD800 && unit < 0xDC00;
        if (lowAfterHigh)
            continue;
        std::uint8_t byte;
        const bool held = dosUni ? platform::UnicodeToCp866(unit, byte) : platform::UnicodeToCp1251(unit, byte);
        if (!held) {
            byte = '?';
            ++lost_;
        }
        out_.push_back(byte);
    }
    if (toByte_ && !dosUni) {
        if (TConverter write = WriteConverter(to_.Enc, to_.DosAdd, to_.UniType))
            write(out_.data(), out_.size());
    }
    return out_;
}

std::span<const std::uint8_t> TRecoder::Finish()
{
    wide_.clear();
    std::uint8_t tail[Utf8DecodedMax(0)];
    wide_.assign(tail, tail + decoder_.Finish(tail));
    if (haveOdd_ && to_.Enc == Uni) {
        // Half a unit stays as it was.
        haveOdd_ = false;
        out_.assign(1, odd_);
        return out_;
    }
    if (haveOdd_) {
        haveOdd_ = false;
        if (to_.Enc == Utf8) {
            wide_.push_back(0xFD);   // U+FFFD: UTF-8 has no half units
            wide_.push_back(0xFF);
            ++lost_;
        } else {
            out_.assign(1, '?');
            ++lost_;
            return out_;
        }
    }
    TargetBytes();
    if (to_.Enc == Utf8) {
        std::uint8_t rest[Utf8EncodedMax(0)];
        out_.insert(out_.end(), rest, rest + encoder_.Finish(rest));
    }
    return out_;
}
