// SPDX-License-Identifier: GPL-3.0-or-later
// Detection over files and spans: the code pages of real text, UTF-16, UTF-8, RTF,
// the control-byte test with its line-end mend, and files that are not files.
#include "detect.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string Prose =
    "Вечером над рекой поднялся туман, и старый паромщик долго смотрел, как гаснут огни "
    "на том берегу. Он знал, что завтра приедут люди из города, что придётся снова "
    "объяснять им, почему переправа закрыта до весны. Жена сказала бы, что это не его "
    "забота, но жены давно не было, а река оставалась прежней: широкой, холодной и "
    "равнодушной ко всему, что происходило на её берегах. Щука плеснула у самой лодки. "
    "Чайки кричали над отмелью, и ветер приносил запах дыма из деревни за холмом. ";

const std::string Verse = "Мороз и солнце; день чудесный!\r\n"
                          "Ещё ты дремлешь, друг прелестный,\r\n"
                          "Пора, красавица, проснись:\r\n"
                          "Открой сомкнуты негой взоры\r\n"
                          "Навстречу северной Авроры,\r\n"
                          "Звездою севера явись!\r\n";

// Small letters in the proportions of the reference table, 1000 in all.
std::string ReferenceText()
{
    const char* letters[33] = {"ё", "а", "б", "в", "г", "д", "е", "ж", "з", "и", "й",
                               "к", "л", "м", "н", "о", "п", "р", "с", "т", "у", "ф",
                               "х", "ц", "ч", "ш", "щ", "ъ", "ы", "ь", "э", "ю", "я"};
    std::string s;
    for (int k = 0; k < 33; ++k)
        for (int i = 0; i < RusLetterFreq[k]; ++i)
            s += letters[k];
    return s;
}

TDetectResult Detect(const TBytes& b) { return DetectEncoding(std::span<const std::uint8_t>(b)); }

const TDetectResult Nothing{None, false, Little};

TEST(Detect, EveryCodePageIsToldOnProseVerseAndTheReferenceText)
{
    struct { const char* iconvName; TEnc prose, verse, reference; } cases[] = {
        {"CP1251", Win, Win, Win},
        {"CP866", Dos, Dos, Dos},
        {"KOI8-R", Koi, Koi, Koi},
        {"ISO-8859-5", Iso, Iso, Iso},
        // The reference frequencies score zero everywhere: ties go to Windows.
        {"MAC-CYRILLIC", Mac, Mac, Win},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.iconvName);
        EXPECT_EQ(Detect(Iconv(Prose, c.iconvName)).Enc, c.prose);
        // Line ends are about 6 % of the verse's bytes: counted as control bytes
        // they would push the ratios past the limit and leave it undetected.
        EXPECT_EQ(Detect(Iconv(Verse, c.iconvName)).Enc, c.verse);
        EXPECT_EQ(Detect(Iconv(ReferenceText(), c.iconvName)).Enc, c.reference);
    }
    // Tabs between short columns, the other layout byte; ASCII before the letters.
    EXPECT_EQ(Detect(Iconv("один\tдва\tтри\r\nчетыре\tпять\r\n", "CP1251")).Enc, Win);
    EXPECT_EQ(Detect(Iconv("Hello, world! " + Prose, "CP1251")).Enc, Win);
}

TEST(Detect, OtherControlBytesStillMeanNotText)
{
    // 12 % control bytes spread evenly over both byte positions of the pairs.
    TBytes text = Iconv(Prose + Prose, "CP1251");
    TBytes mixed;
    for (std::size_t i = 0; i < text.size(); ++i) {
        mixed.push_back(text[i]);
        if (i % 15 == 7 || i % 15 == 14)
            mixed.push_back(0x01);
    }
    EXPECT_EQ(Detect(mixed), Nothing);
}

TEST(Detect, Utf16ByteOrdersAndRtf)
{
    const TBytes le = Iconv(Prose, "UTF-16LE");
    const TBytes be = Iconv(Prose, "UTF-16BE");
    const TBytes leMark = Iconv("\uFEFF" + Prose, "UTF-16LE");   // FF FE first
    const TBytes beMark = Iconv("\uFEFF" + Prose, "UTF-16BE");   // FE FF first
    EXPECT_EQ(Detect(le), (TDetectResult{Uni, false, Little}));
    EXPECT_EQ(Detect(leMark), (TDetectResult{Uni, false, Little}));
    EXPECT_EQ(Detect(be), (TDetectResult{Uni, false, Big}));
    EXPECT_EQ(Detect(beMark), (TDetectResult{Uni, false, Big}));
    // Latin text too: its high bytes are 0x00.
    EXPECT_EQ(Detect(Iconv("plain Latin words\r\n", "UTF-16LE")), (TDetectResult{Uni, false, Little}));
    // Equal ratios go to little endian.
    EXPECT_EQ(Detect(TBytes(1000, 0)), (TDetectResult{Uni, false, Little}));

    EXPECT_EQ(Detect(FromString("{\\rtf1\\ansi hello}")).Enc, Rtf);
    EXPECT_EQ(Detect(FromString("{\\RtF")).Enc, Rtf);
    for (const char* notRtf : {" {\\rtf1}", "{\\rt", "{\\rtg1"})
        EXPECT_NE(Detect(FromString(notRtf)).Enc, Rtf) << notRtf;
}

TEST(Detect, GraphicsAreReportedBesideTheCodePageAndAloneMeanDos)
{
    const TBytes dos = Iconv(Prose + "\r\n╔═══╗\r\n║ " + "да" + " ║\r\n╚═══╝\r\n", "CP866");
    EXPECT_EQ(Detect(dos), (TDetectResult{Dos, true, Little}));
    const TBytes frame = Iconv("┌──────┐\r\n│      │\r\n└──────┘\r\n", "CP866");
    EXPECT_EQ(Detect(frame), (TDetectResult{Dos, true, Little}));
    // The graphics flag says only which bytes occur.
    EXPECT_EQ(Detect(Iconv("мама", "KOI8-R")), (TDetectResult{Koi, true, Little}));
    EXPECT_EQ(Detect(FromString("ASCII only, no letters of ours.\r\n")), Nothing);
    EXPECT_EQ(Detect(TBytes{}), Nothing);
}

TEST(Detect, OnlyTheSampleCounts)
{
    TBytes data(DetectSampleSize, 'x');
    const TBytes russian = Iconv(Prose, "CP1251");
    for (int i = 0; i < 50; ++i)
        data.insert(data.end(), russian.begin(), russian.end());
    EXPECT_EQ(Detect(data).Enc, None);
    data.erase(data.begin(), data.begin() + 10);
    EXPECT_EQ(Detect(data).Enc, Win);
}

TEST(Detect, FilesGiveTheSameAnswerAsSpansAndWhatIsNoReadableFileNothing)
{
    TTempDir dir;
    const std::vector<TBytes> samples = {
        Iconv(Prose, "KOI8-R"), Iconv(Verse, "CP866"), Iconv(Prose, "UTF-16BE"), FromString("{\\rtf1}"),
        Iconv(Prose, "CP1251"), TBytes(5000, 0x01), TBytes(DetectSampleSize + 3, 0xB3)};
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const std::string path = dir.Write("s" + std::to_string(i), samples[i]);
        ::chmod(path.c_str(), 0444); // read-only files are sampled like any other
        EXPECT_EQ(DetectEncoding(path), Detect(samples[i])) << i;
    }

    EXPECT_EQ(DetectEncoding(dir.Path("missing")), Nothing);
    EXPECT_EQ(DetectEncoding(dir.Write("empty", {})), Nothing);
    EXPECT_EQ(DetectEncoding(dir.Path("")), Nothing);
    EXPECT_EQ(DetectEncoding(std::string("/dev/zero")), Nothing);
    const std::string fifo = dir.Path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Without a writer an open or a read would wait for ever.
    EXPECT_EQ(DetectEncoding(fifo), Nothing);
    if (::geteuid() != 0) {   // root reads every file
        const std::string locked = dir.Write("locked", Iconv(Prose, "CP1251"));
        ::chmod(locked.c_str(), 0);
        EXPECT_EQ(DetectEncoding(locked), Nothing);
    }
}

TEST(Detect, RussianInUtf8WithAndWithoutAMarkButNothingElse)
{
    const TDetectResult utf8{Utf8, false, Little};
    EXPECT_EQ(Detect(FromString(Prose)), utf8);
    EXPECT_EQ(Detect(FromString("\xEF\xBB\xBF" + Verse)), utf8);
    // Lead bytes 0xD0 and 0xD1 are no DOS frames, however few letters there are.
    EXPECT_EQ(Detect(FromString("мама")), utf8);
    // Box drawing in UTF-8 is UTF-8 too, not CP866 graphics.
    EXPECT_EQ(Detect(FromString("┌──┐\r\n└──┘\r\n")), utf8);

    // ASCII alone is valid UTF-8 but holds nothing to tell: still no answer.
    EXPECT_EQ(Detect(FromString("plain ASCII\r\n")).Enc, None);
    // UTF-16 is decided before UTF-8 is looked for.
    EXPECT_EQ(Detect(Iconv(Prose, "UTF-16LE")).Enc, Uni);
    // One bad byte in the sample and it is not UTF-8.
    TBytes broken = FromString(Prose);
    broken[broken.size() / 2] = 0xFF;
    EXPECT_NE(Detect(broken).Enc, Utf8);
}

TEST(Detect, Utf8CutOrBrokenBeyondTheSampleIsStillUtf8)
{
    // A two-byte letter split by the sample's end: the half inside is no fault.
    TBytes data(DetectSampleSize - 1, 'x');
    const TBytes russian = FromString(Prose);
    data.insert(data.end(), russian.begin(), russian.end());
    data.insert(data.begin() + 10, {0xD0, 0x91});   // one letter inside, so that there is one
    data.erase(data.begin(), data.begin() + 2);
    ASSERT_EQ(data[DetectSampleSize - 1], 0xD0);
    // A bad byte after the sample cannot be seen.
    data.push_back(0xFF);
    TTempDir dir;
    EXPECT_EQ(Detect(data), (TDetectResult{Utf8, false, Little}));
    EXPECT_EQ(DetectEncoding(dir.Write("cut", data)), (TDetectResult{Utf8, false, Little}));
    // With no whole sequence inside the sample there is nothing to go by.
    data.erase(data.begin() + 8, data.begin() + 10);
    data.insert(data.begin() + 8, {'y', 'y'});
    EXPECT_NE(Detect(data).Enc, Utf8);
}

} // namespace
