// SPDX-License-Identifier: GPL-3.0-or-later
// Block recoding of the stream path, through the converter the setting selects.
#include "conversion.h"

#include <stdexcept>

std::size_t TConversion::ConvertRead(TStream& stream, std::uint8_t* buffer, std::size_t count)
{
    if (Encoding != Utf8) {
        const std::size_t n = stream.Read(buffer, count);
        if (const TConverter convert = ReadConverter(Encoding, DosAdd, UniType); convert && n)
            convert(buffer, n);
        return n;
    }
    // As many bytes as may decode into count: two bytes of UTF-16 a byte at most.
    // A block too small for one character cannot be answered, and an answer of 0
    // would end the text early: that is a failure, never a shorter text.
    if (count < Utf8DecodedMax(1))
        throw std::length_error("UTF-8 read into a block of fewer than 8 bytes");
    const std::size_t want = (count - Utf8DecodedMax(0)) / 2;
    scratch.resize(want);
    for (;;) {
        const std::size_t got = stream.Read(scratch.data(), want);
        std::size_t put = decoder.Feed(scratch.data(), got, buffer);
        if (got < want)
            put += decoder.Finish(buffer + put);   // the stream has ended
        // A block that only began a sequence gives nothing yet, and nothing would
        // tell the control that the text has ended.
        if (put > 0 || got < want)
            return put;
    }
}

std::size_t TConversion::ConvertWrite(TStream& stream, std::uint8_t* buffer, std::size_t count)
{
    if (Encoding != Utf8) {
        if (const TConverter convert = WriteConverter(Encoding, DosAdd, UniType); convert && count)
            convert(buffer, count);
        return stream.Write(buffer, count);
    }
    scratch.resize(Utf8EncodedMax(count));
    const std::size_t n = encoder.Feed(buffer, count, scratch.data());
    return stream.Write(scratch.data(), n) == n ? count : 0;
}

void TConversion::FinishWrite(TStream& stream)
{
    if (Encoding != Utf8)
        return;
    std::uint8_t tail[Utf8EncodedMax(0)];
    stream.Write(tail, encoder.Finish(tail));
}
