// SPDX-License-Identifier: GPL-3.0-or-later
// ParseDosTables on a 10 MB DOS text with a pseudo-graphic table every 2000 bytes.
#include "benchtext.h"
#include "dostables.h"

#include <benchmark/benchmark.h>

namespace {

void BM_ParseDosTables10MB(benchmark::State& state)
{
    const std::vector<std::uint8_t> text = DosTextWithTables(10 << 20);
    const TBenchFile file("tables", text);
    std::size_t found = 0;
    for (auto _ : state) {
        tables t;
        if (!ParseDosTables(file.Path(), t))
            state.SkipWithError("no tables found");
        found = t.size();
        benchmark::DoNotOptimize(t.data());
    }
    state.counters["tables"] = double(found);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}

} // namespace

BENCHMARK(BM_ParseDosTables10MB)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
