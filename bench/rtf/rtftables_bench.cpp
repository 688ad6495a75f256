// SPDX-License-Identifier: GPL-3.0-or-later
// How reading RTF tables grows with their size: rows of three cells as the DOS
// tables mode writes them, and cells with no row end at all. The time per row
// (or per cell) should stay flat as the count grows.
#include "rtfreader.h"

#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

QByteArray TableRows(int rows)
{
    QByteArray rtf = "{\\rtf1\\ansi\\deff0 ";
    for (int r = 0; r < rows; ++r) {
        rtf += "\\trowd\\trgaph50\\trleft-50\\cellx1160\\cellx2600\\cellx4040\\pard\\intbl";
        rtf += "\\f1 " + QByteArray::number(r) + "\\f0\\cell\\f1 \xc8\xe2\xe0\xed\xee\xe2\\f0\\cell\\f1 12.50\\f0\\cell\\row\r";
    }
    rtf += "\\pard \\par}";
    return rtf;
}

QByteArray CellsWithoutRowEnd(int cells)
{
    QByteArray rtf = "{\\rtf1\\ansi ";
    for (int i = 0; i < cells; ++i)
        rtf += "\\intbl a\\cell";
    rtf += '}';
    return rtf;
}

void Read(benchmark::State& state, const QByteArray& rtf)
{
    for (auto _ : state) {
        QTextDocument document;
        document.setUndoRedoEnabled(false);
        QTextCursor cursor(&document);
        platform::ReadRtf(rtf, cursor);
        benchmark::DoNotOptimize(document.characterCount());
    }
    // Seconds per row or cell: flat when reading grows linearly.
    state.counters["s_per_item"] = benchmark::Counter(double(state.range(0)) * double(state.iterations()),
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ReadTableRows(benchmark::State& state)
{
    Read(state, TableRows(int(state.range(0))));
}
BENCHMARK(BM_ReadTableRows)->Arg(1000)->Arg(2000)->Arg(4000)->Arg(8000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ReadCellsWithoutRowEnd(benchmark::State& state)
{
    Read(state, CellsWithoutRowEnd(int(state.range(0))));
}
BENCHMARK(BM_ReadCellsWithoutRowEnd)->Arg(50000)->Arg(100000)->Arg(200000)->Arg(500000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
