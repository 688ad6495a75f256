// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the UTF-8 codecs: any bytes decode within the room promised, in any two
// blocks as whole; what decoded cleanly encodes back to the same bytes.
#include "utf8.h"

#include <cstdlib>
#include <vector>

namespace {

std::vector<std::uint8_t> Decode(const std::uint8_t* data, std::size_t size, std::size_t split, std::uint64_t& replaced)
{
    TUtf8Decoder decoder;
    std::vector<std::uint8_t> out(Utf8DecodedMax(size) + Utf8DecodedMax(0));
    std::size_t n = decoder.Feed(data, split, out.data());
    if (n > Utf8DecodedMax(split))
        std::abort();
    n += decoder.Feed(data + split, size - split, out.data() + n);
    n += decoder.Finish(out.data() + n);
    out.resize(n);
    replaced = decoder.Replaced();
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::uint64_t replacedWhole = 0, replacedSplit = 0;
    const std::vector<std::uint8_t> whole = Decode(data, size, 0, replacedWhole);
    const std::vector<std::uint8_t> split = Decode(data, size, size / 3, replacedSplit);
    if (whole != split || replacedWhole != replacedSplit || whole.size() % 2 != 0)
        std::abort();

    TUtf8Encoder encoder;
    std::vector<std::uint8_t> back(Utf8EncodedMax(whole.size()) + Utf8EncodedMax(0));
    std::size_t n = encoder.Feed(whole.data(), whole.size(), back.data());
    n += encoder.Finish(back.data() + n);
    back.resize(n);
    if (encoder.Replaced() != 0)
        std::abort();   // a decoder never makes half a surrogate pair
    if (replacedWhole == 0 && back != std::vector<std::uint8_t>(data, data + size))
        std::abort();

    // Any UTF-16 encodes within its room.
    TUtf8Encoder raw;
    std::vector<std::uint8_t> encoded(Utf8EncodedMax(size) + Utf8EncodedMax(0));
    if (raw.Feed(data, size, encoded.data()) > Utf8EncodedMax(size))
        std::abort();
    return 0;
}
