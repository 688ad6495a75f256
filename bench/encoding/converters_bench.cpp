// SPDX-License-Identifier: GPL-3.0-or-later
// Throughput of every converter on a 16 MB buffer of Russian text in its source
// code page (the goal is 1 GB/s and more).
#include "benchtext.h"
#include "casemap.h"
#include "converters.h"

#include <benchmark/benchmark.h>

namespace {

constexpr std::size_t BufferSize = 16 << 20;

const std::vector<std::uint8_t>& Text()
{
    static const std::vector<std::uint8_t> text = RussianText(BufferSize);
    return text;
}

// Each run converts the same buffer in place; applying the converter to its own
// output does the same per-byte work as to fresh text.
void InPlace(benchmark::State& state, TConverter convert)
{
    std::vector<std::uint8_t> buf = Text();
    for (auto _ : state) {
        convert(buf.data(), buf.size());
        benchmark::DoNotOptimize(buf.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(buf.size()));
}

void BM_DosToUnicode(benchmark::State& state)
{
    const std::vector<std::uint8_t>& src = Text();
    std::vector<std::uint8_t> dst(2 * src.size());
    for (auto _ : state) {
        DosToUnicode(src.data(), src.size(), dst.data());
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(src.size()));
}

void BM_UpperWin(benchmark::State& state)
{
    const std::string s(Text().begin(), Text().end());
    for (auto _ : state)
        benchmark::DoNotOptimize(UpperWin(s));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(s.size()));
}

} // namespace

BENCHMARK_CAPTURE(InPlace, DosToWin, DosToWin);
BENCHMARK_CAPTURE(InPlace, WinToDos, WinToDos);
BENCHMARK_CAPTURE(InPlace, KoiToWin, KoiToWin);
BENCHMARK_CAPTURE(InPlace, WinToKoi, WinToKoi);
BENCHMARK_CAPTURE(InPlace, MacToWin, MacToWin);
BENCHMARK_CAPTURE(InPlace, WinToMac, WinToMac);
BENCHMARK_CAPTURE(InPlace, IsoToWin, IsoToWin);
BENCHMARK_CAPTURE(InPlace, WinToIso, WinToIso);
BENCHMARK_CAPTURE(InPlace, OemToWin, OemToWin);
BENCHMARK_CAPTURE(InPlace, WinToOem, WinToOem);
BENCHMARK_CAPTURE(InPlace, SwapUnicodeBytes, SwapUnicodeBytes);
BENCHMARK(BM_DosToUnicode);
BENCHMARK(BM_UpperWin);

BENCHMARK_MAIN();
