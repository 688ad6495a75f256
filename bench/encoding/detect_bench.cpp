// SPDX-License-Identifier: GPL-3.0-or-later
// DetectEncoding on a 1 MB and a 100 MB file: only the first 512,000 bytes are read,
// so both should take the same time.
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

} // namespace

BENCHMARK_CAPTURE(DetectFile, 1MB, std::size_t(1) << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DetectFile, 100MB, std::size_t(100) << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DetectSpan)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
