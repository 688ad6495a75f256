// SPDX-License-Identifier: GPL-3.0-or-later
// Encoding detection: sampling, the UTF-16, UTF-8 and control-byte tests, letter scores,
// and the second look at letter pairs where the letter scores cannot tell.
#include "detect.h"

#include "letterpairs.h"
#include "letterpositions.h"
#include "utf8.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

using namespace encoding_detail;

namespace {

constexpr double UniRatio = 0.65;
constexpr double ControlRatio = 0.1;

// Pages in vector order Dos, Win, Koi, Mac, Iso, and the order in which equal scores
// choose: Win, Dos, Koi, Mac, Iso, which favours the pages that are more common.
constexpr TEnc PageEnc[5] = {Dos, Win, Koi, Mac, Iso};
constexpr int TieOrder[5] = {1, 0, 2, 3, 4};
constexpr int DosPage = 0;
constexpr int MacPage = 3;

// When the second look is asked. Below this many letters the letter frequencies of a
// text are not yet those of the language.
constexpr double ShortTextLetters = 300;
// A page is in question when its letter score is within this of the best one (Russian
// text scores mostly 50,000 to 800,000 in its own page, less the longer it is).
constexpr double CloseFactor = 2.0;
constexpr double CloseMargin = 100'000;
// The second look answers only with enough pairs to go by, and only for a reading that
// is Russian at all: Russian text averages about 4.5 bits a pair (36 eighths).
constexpr std::int32_t MinHighPairs = 16;
constexpr std::int32_t MaxHighPairCost = 72;

// Byte counts of the sample, kept apart for even offsets (first byte of a UTF-16
// unit) and odd ones, so that every counter of the tests derives from them afterwards.
class TSampler {
public:
    void Feed(const std::uint8_t* data, std::size_t n)
    {
        std::size_t i = 0;
        if (offset_ % 2 == 1 && n > 0)
            ++odd_[data[i++]];
        for (; i + 2 <= n; i += 2) {
            ++even_[data[i]];
            ++odd_[data[i + 1]];
        }
        if (i < n)
            ++even_[data[i]];
        if (offset_ == 0 && n > 0 && data[0] >= 0xFE)
            skipFirst_ = true;
        if (offset_ <= 1 && offset_ + n > 1 && data[1 - offset_] >= 0xFE)
            skipSecond_ = true;
        offset_ += n;
        utf8_.Feed(data, n);
        const std::size_t keep = std::min(n, PairSampleSize - start_);
        std::copy(data, data + keep, startBytes_ + start_);
        start_ += keep;
    }

    TDetectResult Finish() const;

private:
    int SecondLook(const std::int32_t (&scores)[5], const double (&letters)[5], int first, bool graphics) const;

    std::int32_t Histogram(int b) const { return std::int32_t(even_[b] + odd_[b]); }
    bool TellsMacFromWin() const;

    std::uint32_t even_[256] = {};
    std::uint32_t odd_[256] = {};
    std::size_t offset_ = 0;
    // A byte-order mark's bytes do not count in the UTF-16 totals.
    bool skipFirst_ = false;
    bool skipSecond_ = false;
    TUtf8Check utf8_;
    // The beginning of the sample, for the second look at letter pairs.
    std::uint8_t startBytes_[PairSampleSize];
    std::size_t start_ = 0;
};

struct TCounts {
    std::int32_t total = 0;
    std::int32_t control = 0;
    // TAB, LF and CR: control bytes for the UTF-16 test, ordinary text otherwise.
    std::int32_t layout = 0;
};

TCounts CountSide(const std::uint32_t (&counts)[256], bool skipMark)
{
    TCounts c;
    for (int b = 0; b < 256; ++b)
        c.total += std::int32_t(counts[b]);
    for (int b = 0; b < 0x20; ++b)
        c.control += std::int32_t(counts[b]);
    c.layout = std::int32_t(counts[0x09] + counts[0x0A] + counts[0x0D]);
    if (skipMark)
        --c.total;
    return c;
}

double Ratio(std::int32_t part, std::int32_t total) { return total > 0 ? double(part) / total : 0.0; }

TDetectResult TSampler::Finish() const
{
    TDetectResult result;
    const TCounts first = CountSide(even_, skipFirst_);
    const TCounts second = CountSide(odd_, skipSecond_);
    const double firstRatio = Ratio(first.control, first.total);
    const double secondRatio = Ratio(second.control, second.total);

    if (firstRatio > secondRatio) {
        if (firstRatio > UniRatio) {
            result.Enc = Uni;
            result.UniType = Big;
            return result;
        }
    } else if (secondRatio > UniRatio) {
        result.Enc = Uni;
        result.UniType = Little;
        return result;
    }

    // Russian in UTF-8 is pairs of bytes led by 0xD0 and 0xD1, which the letter
    // scores would take for DOS pseudo-graphics. Russian in any of the single-byte
    // pages is not valid UTF-8: there, two letters in a row already break the
    // rules of a sequence.
    if (utf8_.Valid() && utf8_.MultiByte()) {
        result.Enc = Utf8;
        return result;
    }

    // Line ends and tabs are left out here: counted, they made every text of short
    // CR LF lines (verse, lists, DOS tables) look like binary data.
    const double textControl = Ratio(first.control - first.layout, first.total) +
                               Ratio(second.control - second.layout, second.total);
    if (textControl > ControlRatio)
        return result;

    const TLetterPositions* pages[5] = {&DosLetters, &WinLetters, &KoiLetters, &MacLetters, &IsoLetters};
    std::int32_t scores[5];
    double letters[5];
    for (int p = 0; p < 5; ++p) {
        TLetterVector v{};
        for (int k = 0; k < 33; ++k)
            v[k] = double(Histogram(pages[p]->Capital[k]) + Histogram(pages[p]->Small[k]));
        letters[p] = 0;
        for (double x : v)
            letters[p] += x;
        NormalizeFreq(v);
        scores[p] = LetterDistance(v, RusLetterFreq);
    }
    std::int32_t best = scores[0];
    for (int p = 1; p < 5; ++p)
        best = std::min(best, scores[p]);
    int byLetters = -1;
    if (best < NoLetterScore) {
        for (int p : TieOrder) {
            if (scores[p] == best) {
                byLetters = p;
                break;
            }
        }
    }

    std::int64_t graphics = 0;
    for (int b = 0xB0; b <= 0xDF; ++b)
        graphics += Histogram(b);
    result.HasGraphics = graphics > 0;

    const int byPairs = SecondLook(scores, letters, byLetters, result.HasGraphics);
    const int chosen = byPairs >= 0 ? byPairs : byLetters;
    if (chosen >= 0)
        result.Enc = PageEnc[chosen];
    else if (result.HasGraphics)
        result.Enc = Dos;
    return result;
}

// Bytes where Macintosh Cyrillic and Windows-1251 place different letters: the capitals
// of either page, я and ё (the Macintosh Ё, ё and я lie among the Windows capitals).
bool TSampler::TellsMacFromWin() const
{
    std::int64_t n = Histogram(0xA8) + Histogram(0xB8) + Histogram(0xFF);
    for (int b = 0x80; b <= 0x9F; ++b)
        n += Histogram(b);
    for (int b = 0xC0; b <= 0xDF; ++b)
        n += Histogram(b);
    return n > 0;
}

// The letter scores are sure of a text with enough letters whose best page is well ahead.
// They cannot be sure of a short text, and Macintosh Cyrillic and Windows-1251 read the
// same small letters but я, so their scores differ by the capitals, я and ё alone: there
// the pages in question are read again pair by pair, which sees where capitals stand
// (after a small letter they are unlikely), how words start and end and what punctuation
// stands around them. Answers the page it prefers, or -1 to keep the letter scores' answer.
int TSampler::SecondLook(const std::int32_t (&scores)[5], const double (&letters)[5], int first, bool graphics) const
{
    const bool shortText = first < 0 || letters[first] < ShortTextLetters;
    bool contender[5] = {};
    int contenders = 0;
    if (shortText) {
        for (int p = 0; p < 5; ++p)
            contender[p] = letters[p] > 0 || (p == DosPage && graphics);
    } else {
        // A longer text puts its runner-up in question only, which keeps the second
        // look cheap whatever the bytes (random bytes score alike in every page).
        int runnerUp = -1;
        for (int p : TieOrder) {
            if (p != first && (runnerUp < 0 || scores[p] < scores[runnerUp]))
                runnerUp = p;
        }
        contender[first] = true;
        contender[runnerUp] = scores[runnerUp] < NoLetterScore &&
                              double(scores[runnerUp]) <= CloseFactor * double(scores[first]) + CloseMargin;
    }
    // Without a capital, я, Ё or ё the two pages read the same letters, and such a text
    // is Windows as it always was; only punctuation bytes would be left to tip it.
    contender[MacPage] = contender[MacPage] && TellsMacFromWin();
    for (bool c : contender)
        contenders += c ? 1 : 0;
    if (contenders == 0 || (contenders == 1 && first >= 0 && contender[first]))
        return -1;

    const std::span<const std::uint8_t> start(startBytes_, start_);
    // The letter scores' choice first, so that it stays on equal costs.
    int order[6] = {first, TieOrder[0], TieOrder[1], TieOrder[2], TieOrder[3], TieOrder[4]};
    int pick = -1;
    TPairReading pickReading;
    for (int p : order) {
        if (p < 0 || !contender[p])
            continue;
        const TPairReading r = ReadPairs(start, p);
        if (pick < 0 || r.Cost < pickReading.Cost) {
            pick = p;
            pickReading = r;
        }
    }
    // Too little seen, or nothing that reads as Russian in any page (Latin-1 text with an
    // accent or two, binary data): the letter scores' answer stands.
    if (pickReading.HighPairs < (shortText ? 1 : MinHighPairs) ||
        pickReading.HighCost > std::int64_t(MaxHighPairCost) * pickReading.HighPairs)
        return -1;
    return pick;
}

bool IsRtfSignature(const std::uint8_t* d, std::size_t n)
{
    auto up = [](std::uint8_t c) { return c >= 'a' && c <= 'z' ? std::uint8_t(c - 0x20) : c; };
    return n >= 5 && d[0] == '{' && d[1] == '\\' && up(d[2]) == 'R' && up(d[3]) == 'T' && up(d[4]) == 'F';
}

std::int32_t RoundHalfEven(double x)
{
    if (!(x < double(std::numeric_limits<std::int32_t>::max())))
        return std::numeric_limits<std::int32_t>::max();
    if (!(x > double(std::numeric_limits<std::int32_t>::min())))
        return std::numeric_limits<std::int32_t>::min();
    const double lower = std::floor(x);
    const double diff = x - lower;
    double r = lower;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(lower, 2.0) != 0.0))
        r = lower + 1.0;
    return std::int32_t(r);
}

// Reads until buf is full or the file ends; -1 on a read error.
ssize_t ReadFull(int fd, std::uint8_t* buf, std::size_t n)
{
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::read(fd, buf + got, n - got);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (r == 0)
            break;
        got += std::size_t(r);
    }
    return ssize_t(got);
}

class TFileDescriptor {
public:
    explicit TFileDescriptor(int fd) : fd_(fd) {}
    ~TFileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

} // namespace

void NormalizeFreq(TLetterVector& v)
{
    long double s = 0;
    for (double x : v)
        s += x;
    if (s > 0) {
        for (double& x : v)
            x = double(1000.0L * x / s);
    }
}

std::int32_t LetterDistance(const TLetterVector& v, const std::array<std::uint8_t, 33>& reference)
{
    double sum = 0;
    for (double x : v)
        sum += x;
    if (!(sum > 0))
        return NoLetterScore;
    double d = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const double diff = v[i] - reference[i];
        d += diff * diff;
    }
    return RoundHalfEven(100.0 * d);
}

TDetectResult DetectEncoding(std::span<const std::uint8_t> data)
{
    if (data.empty())
        return {};
    if (IsRtfSignature(data.data(), data.size()))
        return {Rtf, false, Little};
    TSampler sampler;
    sampler.Feed(data.data(), std::min(data.size(), DetectSampleSize));
    return sampler.Finish();
}

TDetectResult DetectEncoding(const std::string& fileName)
{
    // Looking before opening keeps a FIFO or a device from ever being opened: an
    // open FIFO without a writer, or a tape drive, would block or act.
    struct stat st;
    if (::stat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    TFileDescriptor fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0)
        return {};

    std::uint8_t block[DetectBlockSize];
    TSampler sampler;
    for (std::size_t blocks = 0; blocks < DetectMaxBlocks; ++blocks) {
        const ssize_t got = ReadFull(fd.Get(), block, sizeof block);
        if (got < 0)
            return {};
        if (blocks == 0 && IsRtfSignature(block, std::size_t(got)))
            return {Rtf, false, Little};
        sampler.Feed(block, std::size_t(got));
        if (std::size_t(got) < sizeof block)
            break;
    }
    return sampler.Finish();
}
