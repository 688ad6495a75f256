// SPDX-License-Identifier: GPL-3.0-or-later
// The line-end filter through the save path every save takes.
#include "linefilter.h"

#include "safefile.h"
#include "streams.h"

#include <exception>
#include <vector>

namespace {

constexpr std::size_t BlockSize = 64 * 1024;

} // namespace

bool FilterLineEnds(const QString& fileName, char16_t drop, FilterUnit unit)
{
    // The new file is written as every save is: complete before it replaces the
    // old one (or, in a folder that takes no new file, over it with the old bytes
    // kept until it is done), never through a shared temporary name.
    try {
        TFileReadStream source(fileName);
        TSafeFileWriter target(fileName);
        const std::size_t width = unit == FilterUnit::Byte ? 1 : 2;
        std::vector<std::uint8_t> block(BlockSize + 1);
        std::vector<std::uint8_t> kept;
        std::size_t carry = 0;  // an odd byte left from the previous block, at block[0]
        for (;;) {
            const std::size_t got = source.Read(block.data() + carry, BlockSize);
            const std::size_t size = carry + got;
            const std::size_t whole = got == 0 ? 0 : size - size % width;
            kept.clear();
            for (std::size_t i = 0; i < whole; i += width) {
                char16_t ch = block[i];
                if (unit == FilterUnit::Utf16Little)
                    ch = char16_t(block[i] | block[i + 1] << 8);
                else if (unit == FilterUnit::Utf16Big)
                    ch = char16_t(block[i] << 8 | block[i + 1]);
                if (ch != drop)
                    kept.insert(kept.end(), block.begin() + std::ptrdiff_t(i), block.begin() + std::ptrdiff_t(i + width));
            }
            if (got == 0) {
                // The odd last byte of a UTF-16 file is kept as it was.
                target.Write(block.data(), carry);
                break;
            }
            target.Write(kept.data(), kept.size());
            carry = size - whole;
            if (carry)
                block[0] = block[whole];
        }
        source.CheckUnchanged();
        target.Commit();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
