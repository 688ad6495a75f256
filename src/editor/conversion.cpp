// Block recoding of the stream path, through the converter the setting selects.
#include "conversion.h"

std::size_t TConversion::ConvertRead(TStream& stream, std::uint8_t* buffer, std::size_t count)
{
    const std::size_t n = stream.Read(buffer, count);
    if (const TConverter convert = ReadConverter(Encoding, DosAdd, UniType); convert && n)
        convert(buffer, n);
    return n;
}

std::size_t TConversion::ConvertWrite(TStream& stream, std::uint8_t* buffer, std::size_t count)
{
    if (const TConverter convert = WriteConverter(Encoding, DosAdd, UniType); convert && count)
        convert(buffer, count);
    return stream.Write(buffer, count);
}
