// SPDX-License-Identifier: GPL-3.0-or-later
// TConversion: recodes each block of a load or save between the file's encoding
// and what the control holds (Windows-1251, or UTF-16LE for Uni and Utf8).
#pragma once

#include "converters.h"
#include "enctypes.h"
#include "streams.h"
#include "utf8.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class TConversion {
public:
    TConversion(TEnc encoding, TDosAdd dosAdd, TUniType uniType)
        : Encoding(encoding), DosAdd(dosAdd), UniType(uniType) {}
    virtual ~TConversion() = default;

    // Reads from the stream and recodes into buffer, which takes at most count
    // bytes; answers the number of bytes put there, 0 only at the end of the stream.
    virtual std::size_t ConvertRead(TStream& stream, std::uint8_t* buffer, std::size_t count);
    // Recodes count bytes of buffer, then writes them; answers the number of the
    // buffer's bytes taken.
    virtual std::size_t ConvertWrite(TStream& stream, std::uint8_t* buffer, std::size_t count);
    // Writes what the last block held back: half a surrogate pair bound for UTF-8.
    virtual void FinishWrite(TStream& stream);

    // Byte sequences of a UTF-8 source that were not UTF-8 and now read U+FFFD.
    std::uint64_t Replaced() const { return decoder.Replaced(); }

    TEnc Encoding;
    TDosAdd DosAdd;
    TUniType UniType;

private:
    // UTF-8 changes length on the way, so it cannot be recoded in place.
    TUtf8Decoder decoder;
    TUtf8Encoder encoder;
    std::vector<std::uint8_t> scratch;
};
