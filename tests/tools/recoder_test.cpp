// SPDX-License-Identifier: GPL-3.0-or-later
// The recoder fed in pieces of every size gives what it gives fed whole, including
// UTF-16 units split between blocks.
#include "recoder.h"
#include "testfiles.h"

#include <gtest/gtest.h>

namespace {

TBytes RecodeInPieces(TConvSetting from, TConvSetting to, TBytes in, std::size_t piece, std::uint64_t* lost = nullptr)
{
    TRecoder r(from, to);
    TBytes out;
    for (std::size_t at = 0; at < in.size(); at += piece) {
        const std::size_t n = std::min(piece, in.size() - at);
        const auto part = r.Convert(in.data() + at, n);
        out.insert(out.end(), part.begin(), part.end());
    }
    const auto tail = r.Finish();
    out.insert(out.end(), tail.begin(), tail.end());
    if (lost)
        *lost = r.Lost();
    return out;
}

TEST(Recoder, OddLastByteUnmappableUnitsAndNoneAsWindows)
{
    std::uint64_t lost = 0;
    // "Я", a Chinese character and half a unit.
    const TBytes in = Bytes({0x2F, 0x04, 0x2D, 0x4E, 0x41});
    EXPECT_EQ(RecodeInPieces({Uni, daNone, Little}, {Win, daNone, Little}, in, 3, &lost), Bytes({0xDF, '?', '?'}));
    EXPECT_EQ(lost, 2u);
    EXPECT_EQ(RecodeInPieces({Uni, daNone, Little}, {Uni, daNone, Big}, in, 3), Bytes({0x04, 0x2F, 0x4E, 0x2D, 0x41}));
    // A mark that is not at the start is an ordinary (unmappable) character.
    EXPECT_EQ(RecodeInPieces({Uni, daNone, Little}, {Win, daNone, Little}, Bytes({0x20, 0, 0xFF, 0xFE}), 4),
              Bytes({0x20, '?'}));
    // None reads and writes as Windows.
    const TBytes win = Iconv("Ёж", "CP1251");
    EXPECT_EQ(RecodeInPieces({None, daNone, Little}, {Dos, daNone, Little}, win, 7), Iconv("Ёж", "CP866"));
}

TEST(Recoder, EveryKindToAndFromUtf8AndUtf16InPiecesOfAnySize)
{
    const std::string text = "\xEF\xBB\xBFЁжик в тумане 😀\r\n";
    const std::string bare = "Ёжик в тумане ?\r\n";   // no mark, and the emoji has no byte
    const TBytes utf8 = FromString(text);
    for (std::size_t piece : {1u, 2u, 3u, 5u, 64u}) {
        std::uint64_t lost = 0;
        EXPECT_EQ(RecodeInPieces({Utf8, daUNI, Little}, {Uni, daUNI, Big}, utf8, piece), Iconv(text, "UTF-16BE"))
            << piece;
        EXPECT_EQ(RecodeInPieces({Uni, daUNI, Big}, {Utf8, daUNI, Little}, Iconv(text, "UTF-16BE"), piece), utf8)
            << piece;
        EXPECT_EQ(RecodeInPieces({Uni, daUNI, Big}, {Uni, daUNI, Little}, Iconv(text, "UTF-16BE"), piece),
                  Iconv(text, "UTF-16LE"))
            << piece;
        EXPECT_EQ(RecodeInPieces({Utf8, daUNI, Little}, {Koi, daUNI, Little}, utf8, piece, &lost),
                  Iconv(bare, "KOI8-R"))
            << piece;
        EXPECT_EQ(lost, 1u);
        // The same from UTF-16, where the blocks may part the pair's halves.
        EXPECT_EQ(RecodeInPieces({Uni, daUNI, Big}, {Win, daUNI, Little}, Iconv(text, "UTF-16BE"), piece, &lost),
                  Iconv(bare, "CP1251"))
            << piece;
        EXPECT_EQ(lost, 1u);
        EXPECT_EQ(RecodeInPieces({Dos, daUNI, Little}, {Utf8, daUNI, Little}, Iconv("╔═╗ Ёж", "CP866"), piece),
                  FromString("╔═╗ Ёж"))
            << piece;
        EXPECT_EQ(RecodeInPieces({Utf8, daUNI, Little}, {Utf8, daUNI, Little}, utf8, piece), utf8) << piece;
    }
}

TEST(Recoder, BytesThatAreNotUtf8AreCountedApartFromCharactersLost)
{
    TRecoder r({Utf8, daNone, Little}, {Win, daNone, Little});
    TBytes in = Bytes({'a', 0xFF, 'b', 0xD0});
    TBytes out;
    const auto part = r.Convert(in.data(), in.size());
    out.assign(part.begin(), part.end());
    const auto tail = r.Finish();
    out.insert(out.end(), tail.begin(), tail.end());
    EXPECT_EQ(out, Bytes({'a', '?', 'b', '?'}));
    EXPECT_EQ(r.Invalid(), 2u);
    EXPECT_EQ(r.Lost(), 2u);   // U+FFFD has no Windows-1251 byte either
}

} // namespace
