// SPDX-License-Identifier: GPL-3.0-or-later
// The byte converters against iconv's view of each code page, the bytes they must
// leave alone, and the converter chosen for each conversion setting.
#include "converters.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const std::string Alphabet = "ЁАБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯёабвгдежзийклмнопрстуфхцчшщъыьэюя";

struct TPageCase { const char* name; const char* iconvName; TConverter toWin; TConverter fromWin; };

class LettersOnly : public testing::TestWithParam<TPageCase> {};

TBytes Applied(TConverter f, TBytes b)
{
    f(b.data(), b.size());
    return b;
}

TEST_P(LettersOnly, MovesEveryLetterAndNothingElse)
{
    const TPageCase& c = GetParam();
    const TBytes page = Iconv(Alphabet, c.iconvName);
    const TBytes win = Iconv(Alphabet, "CP1251");
    ASSERT_EQ(page.size(), 66u);
    EXPECT_EQ(Applied(c.toWin, page), win);
    EXPECT_EQ(Applied(c.fromWin, win), page);

    const std::set<std::uint8_t> pageLetters(page.begin(), page.end());
    const std::set<std::uint8_t> winLetters(win.begin(), win.end());
    for (int b = 0; b < 256; ++b) {
        TBytes one{std::uint8_t(b)};
        if (!pageLetters.count(std::uint8_t(b))) {
            EXPECT_EQ(Applied(c.toWin, one)[0], b) << c.name << " to Windows, byte " << b;
        }
        if (!winLetters.count(std::uint8_t(b))) {
            EXPECT_EQ(Applied(c.fromWin, one)[0], b) << "Windows to " << c.name << ", byte " << b;
        }
    }
    // Lengths around the unrolled step, so that the tail loop is covered too; none
    // is touched beyond its length.
    for (std::size_t n : {0u, 1u, 3u, 4u, 5u, 7u, 8u, 1001u}) {
        TBytes buf(n + 1, win[1]);
        c.fromWin(buf.data(), n);
        TBytes expected(n, page[1]);
        expected.push_back(win[1]);
        EXPECT_EQ(buf, expected) << c.name << ", " << n << " bytes";
    }
}

INSTANTIATE_TEST_SUITE_P(CodePages, LettersOnly,
                         testing::Values(TPageCase{"Dos", "CP866", DosToWin, WinToDos},
                                         TPageCase{"Koi", "KOI8-R", KoiToWin, WinToKoi},
                                         TPageCase{"Mac", "MAC-CYRILLIC", MacToWin, WinToMac},
                                         TPageCase{"Iso", "ISO-8859-5", IsoToWin, WinToIso}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EncodingTypes, OrdinalsAsStoredInSettings)
{
    // Settings and view requests keep these as numbers: the order is a file format.
    const int enc[] = {Dos, Win, Koi, Mac, Iso, Uni, Rtf, None, Utf8};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(enc[i], i);
    for (int i = -1; i < 10; ++i)
        EXPECT_EQ(IsShownEncoding(i), i >= 0 && i <= 8 && i != None) << i;
    EXPECT_EQ(int(daTBL), 3);
    EXPECT_EQ(int(Big), 1);
    EXPECT_EQ(ApplyExceptMac({Mac, true, Little}, true), (TDetectResult{Win, true, Little}));
    EXPECT_EQ(ApplyExceptMac({Mac, false, Little}, false).Enc, Mac);
    EXPECT_EQ(ApplyExceptMac({Koi, false, Little}, true).Enc, Koi);
}

TEST(Converters, OemAgreesWithLettersOnlyOnLetters)
{
    const TBytes dos = Iconv(Alphabet, "CP866");
    EXPECT_EQ(Applied(OemToWin, dos), Applied(DosToWin, dos));
    const TBytes win = Iconv(Alphabet, "CP1251");
    EXPECT_EQ(Applied(WinToOem, win), Applied(WinToDos, win));
}

TEST(Converters, SwapUnicodeBytesLeavesAnOddLastByte)
{
    EXPECT_EQ(Applied(SwapUnicodeBytes, Bytes({1, 2, 3, 4, 5})), Bytes({2, 1, 4, 3, 5}));
    EXPECT_EQ(Applied(SwapUnicodeBytes, Bytes({7})), Bytes({7}));
}

TEST(Converters, DosToUnicodeWritesLittleEndianUnits)
{
    std::string all(256, '\0');
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    TBytes wide(512);
    DosToUnicode(reinterpret_cast<const std::uint8_t*>(all.data()), all.size(), wide.data());
    // glibc maps CP866 byte 0xFF to U+00A0 as well; every unit must agree with it.
    EXPECT_EQ(wide, Iconv(all, "UTF-16LE", "CP866"));
}

TEST(Converters, SelectionForEachSetting)
{
    struct { TEnc enc; TDosAdd dosAdd; TUniType uniType; TConverter read, write; } cases[] = {
        {Dos, daNone, Little, DosToWin, WinToDos}, {Dos, daOEM, Little, OemToWin, WinToOem},
        {Dos, daUNI, Big, DosToWin, WinToDos},     {Dos, daTBL, Little, OemToWin, WinToOem},
        {Win, daOEM, Big, nullptr, nullptr},       {Koi, daNone, Little, KoiToWin, WinToKoi},
        {Mac, daTBL, Little, MacToWin, WinToMac},  {Iso, daNone, Big, IsoToWin, WinToIso},
        {Uni, daOEM, Big, SwapUnicodeBytes, SwapUnicodeBytes},
        {Uni, daOEM, Little, nullptr, nullptr},    {Rtf, daNone, Big, nullptr, nullptr},
        {None, daTBL, Little, nullptr, nullptr},
        // No in-place converter can change a text's length.
        {Utf8, daNone, Little, nullptr, nullptr}, {Utf8, daNone, Big, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadConverter(c.enc, c.dosAdd, c.uniType), c.read) << int(c.enc) << " " << int(c.dosAdd);
        EXPECT_EQ(WriteConverter(c.enc, c.dosAdd, c.uniType), c.write) << int(c.enc) << " " << int(c.dosAdd);
    }
}

} // namespace
