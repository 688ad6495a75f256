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

TEST(Recoder, PiecesOfAnySize)
{
    const std::string text = "\uFEFFПёс и кот: 1 + 2 = 3\r\n";
    const TBytes be = Iconv(text, "UTF-16BE");
    for (std::size_t piece : {1u, 2u, 3u, 5u, 64u}) {
        EXPECT_EQ(RecodeInPieces({Uni, daUNI, Big}, {Uni, daUNI, Little}, be, piece), Iconv(text, "UTF-16LE"))
            << piece;
        EXPECT_EQ(RecodeInPieces({Uni, daUNI, Big}, {Koi, daUNI, Little}, be, piece),
                  Iconv("Пёс и кот: 1 + 2 = 3\r\n", "KOI8-R"))
            << piece;
    }
}

TEST(Recoder, OddLastByteAndUnmappableUnits)
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
}

TEST(Recoder, NoneReadsAndWritesAsWindows)
{
    const TBytes win = Iconv("Ёж", "CP1251");
    EXPECT_EQ(RecodeInPieces({None, daNone, Little}, {Dos, daNone, Little}, win, 7), Iconv("Ёж", "CP866"));
}

} // namespace
