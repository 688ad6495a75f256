// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 to and from UTF-16LE block by block, for the stream path and the converter
// tool, and the check detection makes of its sample.
#pragma once

#include <cstddef>
#include <cstdint>

// Room a decoded block may take: no byte gives more than one UTF-16 unit (two
// bytes), and up to three bytes held back from the block before add theirs.
constexpr std::size_t Utf8DecodedMax(std::size_t n) { return 2 * n + 6; }

// Room an encoded block of n UTF-16LE bytes may take: three bytes a unit at most,
// with an odd byte and half a surrogate pair held back from the block before.
constexpr std::size_t Utf8EncodedMax(std::size_t n) { return 3 * (n / 2) + 6; }

// Where one UTF-8 sequence stands: its code point so far, the continuation bytes
// still to come and the range the next one must lie in. The ranges leave out
// overlong forms, surrogates and code points above U+10FFFF.
struct TUtf8Sequence {
    std::uint32_t CodePoint = 0;
    std::uint8_t Need = 0;
    std::uint8_t Low = 0x80;
    std::uint8_t High = 0xBF;
};

// UTF-8 bytes to UTF-16LE. A sequence the block cuts is held back and finished by
// the next block. What is not UTF-8 becomes U+FFFD, one for each longest part that
// could have begun a sequence, and is counted: nothing is dropped unnoticed.
class TUtf8Decoder {
public:
    // Decodes n bytes into out; answers the bytes written, at most Utf8DecodedMax(n).
    std::size_t Feed(const std::uint8_t* in, std::size_t n, std::uint8_t* out);
    // The end of the text: a sequence still held back was cut short (two bytes at most).
    std::size_t Finish(std::uint8_t* out);

    // Sequences read as U+FFFD so far.
    std::uint64_t Replaced() const { return replaced_; }

private:
    TUtf8Sequence sequence_;
    std::uint64_t replaced_ = 0;
};

// UTF-16LE bytes to UTF-8. A surrogate pair or a unit the block cuts is held back
// for the next block; a surrogate without its other half, which UTF-8 cannot
// hold, is written as U+FFFD and counted.
class TUtf8Encoder {
public:
    // Encodes n bytes into out; answers the bytes written, at most Utf8EncodedMax(n).
    std::size_t Feed(const std::uint8_t* in, std::size_t n, std::uint8_t* out);
    // The end of the text: half a pair or half a unit left over (six bytes at most).
    std::size_t Finish(std::uint8_t* out);

    // Units written as U+FFFD so far.
    std::uint64_t Replaced() const { return replaced_; }

private:
    std::uint8_t* Unit(char16_t unit, std::uint8_t* out);

    char16_t high_ = 0;
    int oddByte_ = -1;
    std::uint64_t replaced_ = 0;
};

// Whether bytes fed block by block are UTF-8. A sequence cut off by the end of
// what was fed is no fault: a sample may end anywhere.
class TUtf8Check {
public:
    void Feed(const std::uint8_t* in, std::size_t n);

    bool Valid() const { return valid_; }
    // At least one complete sequence of two bytes or more was seen.
    bool MultiByte() const { return multiByte_; }

private:
    TUtf8Sequence sequence_;
    bool valid_ = true;
    bool multiByte_ = false;
};
