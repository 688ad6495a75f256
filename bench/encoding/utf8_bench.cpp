// SPDX-License-Identifier: GPL-3.0-or-later
// Throughput of the UTF-8 block codecs on 16 MB of Russian text, in the control's
// block size, against a plain copy of the same bytes.
#include "benchtext.h"
#include "codepages.h"
#include "utf8.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

constexpr std::size_t BufferSize = 16 << 20;
constexpr std::size_t Block = 128 * 1024;

const std::vector<std::uint8_t>& Utf16()
{
    static const std::vector<std::uint8_t> text = [] {
        const std::vector<std::uint8_t> win = RussianText(BufferSize);
        std::vector<std::uint8_t> wide(2 * win.size());
        for (std::size_t i = 0; i < win.size(); ++i) {
            const char16_t u = platform::Cp1251ToUnicode[win[i]];
            wide[2 * i] = std::uint8_t(u & 0xFF);
            wide[2 * i + 1] = std::uint8_t(u >> 8);
        }
        return wide;
    }();
    return text;
}

const std::vector<std::uint8_t>& Utf8()
{
    static const std::vector<std::uint8_t> text = [] {
        std::vector<std::uint8_t> out(Utf8EncodedMax(Utf16().size()));
        TUtf8Encoder encoder;
        out.resize(encoder.Feed(Utf16().data(), Utf16().size(), out.data()));
        return out;
    }();
    return text;
}

void BM_Utf8Decode(benchmark::State& state)
{
    const std::vector<std::uint8_t>& src = Utf8();
    std::vector<std::uint8_t> dst(Utf8DecodedMax(Block));
    for (auto _ : state) {
        TUtf8Decoder decoder;
        for (std::size_t at = 0; at < src.size(); at += Block)
            benchmark::DoNotOptimize(decoder.Feed(src.data() + at, std::min(Block, src.size() - at), dst.data()));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(src.size()));
}

void BM_Utf8Encode(benchmark::State& state)
{
    const std::vector<std::uint8_t>& src = Utf16();
    std::vector<std::uint8_t> dst(Utf8EncodedMax(2 * Block));
    for (auto _ : state) {
        TUtf8Encoder encoder;
        for (std::size_t at = 0; at < src.size(); at += 2 * Block)
            benchmark::DoNotOptimize(encoder.Feed(src.data() + at, std::min(2 * Block, src.size() - at), dst.data()));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(src.size()));
}

void BM_Utf8Check(benchmark::State& state)
{
    const std::vector<std::uint8_t>& src = Utf8();
    for (auto _ : state) {
        TUtf8Check check;
        check.Feed(src.data(), src.size());
        benchmark::DoNotOptimize(check.Valid());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(src.size()));
}

void BM_CopyUtf16(benchmark::State& state)
{
    const std::vector<std::uint8_t>& src = Utf16();
    std::vector<std::uint8_t> dst(2 * Block);
    for (auto _ : state) {
        for (std::size_t at = 0; at < src.size(); at += 2 * Block)
            std::memcpy(dst.data(), src.data() + at, std::min(2 * Block, src.size() - at));
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(src.size()));
}

} // namespace

BENCHMARK(BM_Utf8Decode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Utf8Encode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Utf8Check)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyUtf16)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
