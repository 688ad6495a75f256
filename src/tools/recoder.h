// Recodes a stream of blocks from one conversion setting to another through the
// program's pivot, Windows-1251: the read converter of the source, then the write
// converter of the target; UTF-16 sides go through the Windows-1251 table.
#pragma once

#include "enctypes.h"

#include <cstdint>
#include <span>
#include <vector>

struct TConvSetting {
    TEnc Enc = Win;
    TDosAdd DosAdd = daUNI;
    TUniType UniType = Little;
};

class TRecoder {
public:
    // Neither side may be Rtf; None reads and writes as Win.
    TRecoder(TConvSetting from, TConvSetting to);

    // Recodes the next n bytes of the source. The answer may be block itself,
    // converted in place, or an internal buffer; it is valid until the next call.
    std::span<const std::uint8_t> Convert(std::uint8_t* block, std::size_t n);
    // What is left at the end of the source (an odd last byte of UTF-16).
    std::span<const std::uint8_t> Finish();

    // Characters the target could not hold, written as '?'.
    std::uint64_t Lost() const { return lost_; }

private:
    std::span<const std::uint8_t> UnitsToBytes(const std::uint8_t* data, std::size_t n);
    void PutUnit(char16_t unit);

    TConvSetting from_;
    TConvSetting to_;
    bool fromWide_;
    bool toWide_;
    bool atStart_ = true;
    bool haveOdd_ = false;
    std::uint8_t odd_ = 0;
    std::uint64_t lost_ = 0;
    std::vector<std::uint8_t> out_;
};
