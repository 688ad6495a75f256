// TConversion: recodes each block of a load or save between the file's encoding
// and what the control holds (Windows-1251, or UTF-16LE for Uni).
#pragma once

#include "converters.h"
#include "enctypes.h"
#include "streams.h"

#include <cstddef>
#include <cstdint>

class TConversion {
public:
    TConversion(TEnc encoding, TDosAdd dosAdd, TUniType uniType)
        : Encoding(encoding), DosAdd(dosAdd), UniType(uniType) {}
    virtual ~TConversion() = default;

    // Reads up to count bytes from the stream into buffer and recodes them in
    // place; answers the number read.
    virtual std::size_t ConvertRead(TStream& stream, std::uint8_t* buffer, std::size_t count);
    // Recodes count bytes of buffer in place, then writes them; answers the number written.
    virtual std::size_t ConvertWrite(TStream& stream, std::uint8_t* buffer, std::size_t count);

    TEnc Encoding;
    TDosAdd DosAdd;
    TUniType UniType;
};
