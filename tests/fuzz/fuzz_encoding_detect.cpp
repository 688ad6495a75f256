// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes detection over a byte span and the letter scoring with arbitrary vectors;
// checks the answers that must hold whatever the bytes.
#include "converters.h"
#include "detect.h"
#include "letterpairs.h"

#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    const TDetectResult r = DetectEncoding(bytes);
    if (r.Enc > Utf8 || r.UniType > Big)
        std::abort();
    // Only the single-byte verdicts look at graphics; RTF, UTF-16 and UTF-8 leave it unset.
    if ((r.Enc == Uni || r.Enc == Rtf || r.Enc == Utf8) && r.HasGraphics)
        std::abort();
    if (r.Enc != Uni && r.UniType != Little)
        std::abort();
    if (size > DetectSampleSize && DetectEncoding(bytes.first(DetectSampleSize)) != r)
        std::abort();

    // Macintosh Cyrillic needs a byte whose letter differs from Windows-1251's: a capital,
    // я, Ё or ё of either page.
    if (r.Enc == Mac) {
        bool telling = false;
        for (std::uint8_t b : bytes.first(std::min(size, DetectSampleSize)))
            telling = telling || (b >= 0x80 && b <= 0x9F) || (b >= 0xC0 && b <= 0xDF) || b == 0xFF || b == 0xA8 || b == 0xB8;
        if (!telling)
            std::abort();
    }

    // The pair readings of every page: the pairs with high bytes are part of the whole.
    for (int p = 0; p < encoding_detail::PairPages; ++p) {
        const encoding_detail::TPairReading pr = encoding_detail::ReadPairs(bytes, p);
        if (pr.HighCost < 0 || pr.HighCost > pr.Cost || std::size_t(pr.HighPairs) > size + 1)
            std::abort();
    }

    // The scoring functions are public: any vector, NaN and infinities included.
    if (size >= sizeof(TLetterVector)) {
        TLetterVector v;
        std::memcpy(v.data(), data, sizeof v);
        NormalizeFreq(v);
        (void)LetterDistance(v, RusLetterFreq);
    }

    // Every converter on a copy, and the widening one.
    std::vector<std::uint8_t> buf(data, data + size);
    for (TEnc e : {Dos, Win, Koi, Mac, Iso, Uni})
        for (TDosAdd d : {daNone, daOEM})
            for (TUniType u : {Little, Big}) {
                if (TConverter c = ReadConverter(e, d, u))
                    c(buf.data(), buf.size());
                if (TConverter c = WriteConverter(e, d, u))
                    c(buf.data(), buf.size());
            }
    std::vector<std::uint8_t> wide(2 * size);
    DosToUnicode(data, size, wide.data());
    return 0;
}
