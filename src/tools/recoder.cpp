// The recoding paths between single-byte code pages and UTF-16.
#include "recoder.h"

#include "codepages.h"
#include "converters.h"

namespace {

// The code-page tables know None as Win, and so does every converter.
TConvSetting Normalized(TConvSetting s)
{
    if (s.Enc == None)
        s.Enc = Win;
    return s;
}

constexpr char16_t ByteOrderMark = 0xFEFF;

} // namespace

TRecoder::TRecoder(TConvSetting from, TConvSetting to)
    : from_(Normalized(from)), to_(Normalized(to)), fromWide_(from_.Enc == Uni), toWide_(to_.Enc == Uni)
{
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
    if (!fromWide_) {
        atStart_ = false;
        if (!toWide_) {
            if (TConverter read = ReadConverter(from_.Enc, from_.DosAdd, from_.UniType))
                read(block, n);
            if (TConverter write = WriteConverter(to_.Enc, to_.DosAdd, to_.UniType))
                write(block, n);
            return {block, n};
        }
        out_.resize(2 * n);
        if (from_.Enc == Dos && from_.DosAdd == daUNI) {
            // What the loader does with DOS text in this mode: every byte, frames
            // included, becomes the character CP866 gives it.
            DosToUnicode(block, n, out_.data());
            if (to_.UniType == Big)
                SwapUnicodeBytes(out_.data(), out_.size());
            return out_;
        }
        if (TConverter read = ReadConverter(from_.Enc, from_.DosAdd, from_.UniType))
            read(block, n);
        out_.clear();
        for (std::size_t i = 0; i < n; ++i)
            PutUnit(platform::Cp1251ToUnicode[block[i]]);
        return out_;
    }
    return UnitsToBytes(block, n);
}

std::span<const std::uint8_t> TRecoder::UnitsToBytes(const std::uint8_t* data, std::size_t n)
{
    out_.clear();
    out_.reserve(n + 2);
    std::size_t i = 0;
    auto unitAt = [this](std::uint8_t a, std::uint8_t b) {
        return from_.UniType == Big ? char16_t((a << 8) | b) : char16_t(a | (b << 8));
    };
    auto take = [&](char16_t unit) {
        const bool first = atStart_;
        atStart_ = false;
        if (toWide_) {
            PutUnit(unit);
            return;
        }
        // A byte-order mark has no place in a single-byte file and would show as '?'.
        if (first && unit == ByteOrderMark)
            return;
        std::uint8_t byte;
        const bool held = to_.Enc == Dos && to_.DosAdd == daUNI ? platform::UnicodeToCp866(unit, byte)
                                                                : platform::UnicodeToCp1251(unit, byte);
        if (!held) {
            byte = '?';
            ++lost_;
        }
        out_.push_back(byte);
    };
    if (haveOdd_) {
        take(unitAt(odd_, data[0]));
        haveOdd_ = false;
        i = 1;
    }
    for (; i + 2 <= n; i += 2)
        take(unitAt(data[i], data[i + 1]));
    if (i < n) {
        odd_ = data[i];
        haveOdd_ = true;
    }
    if (!toWide_ && !(to_.Enc == Dos && to_.DosAdd == daUNI)) {
        if (TConverter write = WriteConverter(to_.Enc, to_.DosAdd, to_.UniType))
            write(out_.data(), out_.size());
    }
    return out_;
}

std::span<const std::uint8_t> TRecoder::Finish()
{
    out_.clear();
    if (haveOdd_) {
        haveOdd_ = false;
        if (toWide_) {
            out_.push_back(odd_); // half a unit stays as it was
        } else {
            out_.push_back('?');
            ++lost_;
        }
    }
    return out_;
}
