// SPDX-License-Identifier: GPL-3.0-or-later
// Recodes a stream of blocks from one conversion setting to another through the
// program's pivot, Windows-1251: the read converter of the source, then the write
// converter of the target; UTF-16 and UTF-8 sides meet through UTF-16LE and the
// Windows-1251 table.
#pragma once

#include "enctypes.h"
#include "utf8.h"

#include <array>
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
    // What is left at the end of the source (an odd last byte of UTF-16, a cut
    // UTF-8 sequence).
    std::span<const std::uint8_t> Finish();

    // Characters the target could not hold, written as '?' (U+FFFD in UTF-8).
    std::uint64_t Lost() const { return lost_ + encoder_.Replaced(); }
    // Sequences of a UTF-8 source that were not UTF-8, read as U+FFFD.
    std::uint64_t Invalid() const { return decoder_.Replaced(); }

private:
    // The source's bytes as UTF-16LE in wide_.
    void SourceUnits(std::uint8_t* block, std::size_t n);
    // The target's bytes for wide_, in out_.
    std::span<const std::uint8_t> TargetBytes();
    void PutUnit(char16_t unit);

    TConvSetting from_;
    TConvSetting to_;
    bool fromByte_;
    bool toByte_;
    bool atStart_ = true;
    bool haveOdd_ = false;
    bool afterHigh_ = false;   // the last unit was half a pair, already written as '?'
    std::uint8_t odd_ = 0;
    std::uint64_t lost_ = 0;
    TUtf8Decoder decoder_;
    TUtf8Encoder encoder_;
    std::vector<std::uint8_t> wide_;
    std::vector<std::uint8_t> out_;
    std::array<std::uint8_t, 256> byteTable_{};   // single byte to single byte: the whole way
};
