// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 block codecs against glibc's iconv, fed in pieces of every size; what is
// not UTF-8 becomes one U+FFFD per broken part; the check detection uses.
#include "testfiles.h"
#include "utf8.h"

#include <gtest/gtest.h>

namespace {

// Russian with Ё, Latin, a CJK character and characters beyond U+FFFF (surrogate pairs).
const std::string Mixed = "\xEF\xBB\xBFЁлка, ёж и Щука: 1 + 2 = 3\r\n中 😀 𝔘 — «цитата»\r\n";

// Runs a codec over the input in pieces of the given size, then finishes it.
template <class Codec, std::size_t (*Max)(std::size_t)>
TBytes InPieces(const TBytes& in, std::size_t piece, std::uint64_t* replaced)
{
    Codec codec;
    TBytes out;
    for (std::size_t at = 0; at < in.size(); at += piece) {
        const std::size_t n = std::min(piece, in.size() - at);
        TBytes block(Max(n));
        block.resize(codec.Feed(in.data() + at, n, block.data()));
        out.insert(out.end(), block.begin(), block.end());
    }
    std::uint8_t tail[Max(0)];
    out.insert(out.end(), tail, tail + codec.Finish(tail));
    *replaced = codec.Replaced();
    return out;
}
constexpr auto DecodeInPieces = InPieces<TUtf8Decoder, Utf8DecodedMax>;
constexpr auto EncodeInPieces = InPieces<TUtf8Encoder, Utf8EncodedMax>;

TBytes Utf16(std::initializer_list<char16_t> units)
{
    TBytes b;
    for (char16_t u : units) {
        b.push_back(std::uint8_t(u & 0xFF));
        b.push_back(std::uint8_t(u >> 8));
    }
    return b;
}

TEST(Utf8, DecodesAndEncodesLikeIconvWhateverTheBlocks)
{
    const TBytes utf8 = FromString(Mixed);
    const TBytes utf16 = Iconv(Mixed, "UTF-16LE");
    for (std::size_t piece : {1u, 2u, 3u, 5u, 7u, 4096u}) {
        std::uint64_t replaced = 1;
        EXPECT_EQ(DecodeInPieces(utf8, piece, &replaced), utf16) << piece;
        EXPECT_EQ(replaced, 0u);
        EXPECT_EQ(EncodeInPieces(utf16, piece, &replaced), utf8) << piece;
        EXPECT_EQ(replaced, 0u);
    }
}

struct TBrokenCase { const char* name; TBytes in; std::initializer_list<char16_t> out; };

TEST(Utf8, EachBrokenPartBecomesOneReplacementAndIsCounted)
{
    constexpr char16_t R = 0xFFFD;
    const TBrokenCase cases[] = {
        {"lone continuation", Bytes({0x41, 0x80, 0x42}), {u'A', R, u'B'}},
        {"overlong slash", Bytes({0xC0, 0xAF}), {R, R}},
        {"overlong three bytes", Bytes({0xE0, 0x80, 0xAF}), {R, R, R}},
        {"surrogate", Bytes({0xED, 0xA0, 0x80}), {R, R, R}},
        {"above U+10FFFF", Bytes({0xF4, 0x90, 0x80, 0x80}), {R, R, R, R}},
        {"never a lead", Bytes({0xFF, 0xF5}), {R, R}},
        {"cut before an ASCII byte", Bytes({0xF0, 0x9F, 0x98, 0x41}), {R, u'A'}},
        {"cut before a new lead", Bytes({0xD0, 0xD0, 0x9F}), {R, 0x41F}},
        {"cut at the end", Bytes({0x41, 0xE2, 0x82}), {u'A', R}},
    };
    for (const TBrokenCase& c : cases) {
        const TBytes expected = Utf16(c.out);
        std::size_t replacements = 0;
        for (char16_t u : c.out)
            replacements += u == R;
        for (std::size_t piece : {1u, 2u, 64u}) {
            std::uint64_t replaced = 0;
            EXPECT_EQ(DecodeInPieces(c.in, piece, &replaced), expected) << c.name << ", pieces of " << piece;
            EXPECT_EQ(replaced, replacements) << c.name;
        }
    }
}

TEST(Utf8, SurrogatesWithoutTheirOtherHalfAreWrittenAsReplacements)
{
    // A high half followed by a letter, a low half alone, a high half at the end.
    const TBytes expected = Bytes({0xEF, 0xBF, 0xBD, 'A', 0xEF, 0xBF, 0xBD, 'B', 0xEF, 0xBF, 0xBD});
    for (std::size_t piece : {1u, 2u, 3u, 64u}) {
        std::uint64_t replaced = 0;
        EXPECT_EQ(EncodeInPieces(Utf16({0xD83D, u'A', 0xDE00, u'B', 0xD83D}), piece, &replaced), expected) << piece;
        EXPECT_EQ(replaced, 3u);
    }
    // Half a unit at the end cannot be written either.
    std::uint64_t replaced = 0;
    EXPECT_EQ(EncodeInPieces(Bytes({'A', 0, 0x42}), 1, &replaced), Bytes({'A', 0xEF, 0xBF, 0xBD}));
    EXPECT_EQ(replaced, 1u);
}

TEST(Utf8, CheckTellsTextFromOtherBytesAndForgivesACutEnd)
{
    auto check = [](const TBytes& b, std::size_t piece) {
        TUtf8Check c;
        for (std::size_t at = 0; at < b.size(); at += piece)
            c.Feed(b.data() + at, std::min(piece, b.size() - at));
        return std::pair(c.Valid(), c.MultiByte());
    };
    TBytes cut = FromString("Привет");
    cut.pop_back();
    for (std::size_t piece : {1u, 3u, 1000u}) {
        EXPECT_EQ(check(FromString(Mixed), piece), std::pair(true, true));
        EXPECT_EQ(check(FromString("plain ASCII\r\n"), piece), std::pair(true, false));
        EXPECT_EQ(check(cut, piece), std::pair(true, true));
        EXPECT_EQ(check(Iconv("Привет, мир!", "CP1251"), piece).first, false);
        EXPECT_EQ(check(Iconv("ПРИВЕТ", "KOI8-R"), piece).first, false);
    }
}

} // namespace
