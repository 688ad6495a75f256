// SPDX-License-Identifier: GPL-3.0-or-later
// DetectEncoding on a 1 MB and a 100 MB file: only the first 512,000 bytes are read,
// so both should take the same time. Then spans of 512,000 bytes in each code page:
// Macintosh Cyrillic and Windows-1251 always take the second look at letter pairs, the
// others seldom; and short lines, which always take it.
#include "benchtext.h"
#include "converters.h"
#include "detect.h"

#include <benchmark/benchmark.h>

namespace {

void DetectFile(benchmark::State& state, std::size_t size)
{
    std::vector<std::uint8_t> text = RussianText(size);
    WinToKoi(text.data(), text.size());
    const TBenchFile file("detect-" + std::to_string(size), text);
    text = {};
    for (auto _ : state) {
        const TDetectResult r = DetectEncoding(file.Path());
        if (r.Enc != Koi)
            state.SkipWithError("detected the wrong code page");
        benchmark::DoNotOptimize(r);
    }
}

void BM_DetectSpan(benchmark::State& state)
{
    std::vector<std::uint8_t> text = RussianText(1 << 20);
    WinToDos(text.data(), text.size());
    for (auto _ : state)
        benchmark::DoNotOptimize(DetectEncoding(std::span<const std::uint8_t>(text)));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(DetectSampleSize));
}

// 512,000 bytes of text in one code page, converted from Windows-1251 by conv.
void DetectPage(benchmark::State& state, TConverter conv, TEnc expected)
{
    std::vector<std::uint8_t> text = RussianText(DetectSampleSize);
    if (conv)
        conv(text.data(), text.size());
    bool right = true;
    for (auto _ : state) {
        const TDetectResult r = DetectEncoding(std::span<const std::uint8_t>(text));
        right = right && r.Enc == expected;
        benchmark::DoNotOptimize(r);
    }
    // Reported rather than fatal, so that the same benchmark also times a build whose
    // detection got the page wrong.
    state.counters["right"] = right ? 1 : 0;
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}

// Lines of 20 to 120 bytes cut from the text, one detection each.
void BM_DetectShortLines(benchmark::State& state)
{
    std::vector<std::uint8_t> text = RussianText(1 << 16, 3);
    WinToMac(text.data(), text.size());
    std::vector<std::span<const std::uint8_t>> lines;
    for (std::size_t at = 0, n = 20; at + n <= text.size(); at += n, n = 20 + (n * 7) % 101)
        lines.emplace_back(text.data() + at, n);
    for (auto _ : state)
        for (const auto& line : lines)
            benchmark::DoNotOptimize(DetectEncoding(line));
    state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(lines.size()));
}

} // namespace

BENCHMARK_CAPTURE(DetectFile, 1MB, std::size_t(1) << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DetectFile, 100MB, std::size_t(100) << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DetectSpan)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DetectPage, Dos, WinToDos, Dos)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DetectPage, Win, nullptr, Win)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DetectPage, Koi, WinToKoi, Koi)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DetectPage, Mac, WinToMac, Mac)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DetectPage, Iso, WinToIso, Iso)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DetectShortLines)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
