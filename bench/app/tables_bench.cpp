// SPDX-License-Identifier: GPL-3.0-or-later
// The DOS tables mode of the real window on a report with one long table: how
// the rebuild grows with the table's rows (reading the RTF, then Qt laying the
// table out in the shown document).
#include "view.h"

#include "privateworld.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <string>

namespace {

// A CP866 report: a heading, one framed table of three columns, a closing line.
QString WriteReport(int rows)
{
    const QString name = ProcessWorld().filePath(QStringLiteral("report-%1.txt").arg(rows));
    if (QFile::exists(name))
        return name;
    const std::string top = "\xDA" + std::string(8, '\xC4') + "\xC2" + std::string(20, '\xC4') + "\xC2"
                            + std::string(10, '\xC4') + "\xBF\r\n";
    const std::string bottom = "\xC0" + std::string(8, '\xC4') + "\xC1" + std::string(20, '\xC4') + "\xC1"
                               + std::string(10, '\xC4') + "\xD9\r\n";
    std::string text = "   \x8E\xE2\xE7\xA5\xE2\r\n" + top;   // "Отчёт"
    for (int r = 0; r < rows; ++r) {
        std::string number = std::to_string(r);
        number.resize(7, ' ');
        // "Иванов" | "инженер" and a sum
        text += "\xB3 " + number + "\xB3 \x88\xA2\xA0\xAD\xAE\xA2 \xA8\xAD\xA6\xA5\xAD\xA5\xE0     \xB3 1996.50  \xB3\r\n";
    }
    text += bottom + "   \x8A\xAE\xAD\xA5\xE6.\r\n";   // "Конец."
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), qint64(text.size())) != qint64(text.size()))
        return {};
    return name;
}

void BM_TablesModeOneLongTable(benchmark::State& state)
{
    const QString file = WriteReport(int(state.range(0)));
    auto w = std::make_unique<TfmView>(QStringList{});
    w->show();
    for (int i = 0; i < 50 && !w->TextReady; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    w->GEditor->SetAutoEncoding(false);
    for (auto _ : state) {
        state.PauseTiming();
        w->GEditor->SetDosAdd(daOEM);
        w->LoadNewFile(file, Dos, true, 0, 0);
        w->GEditor->SetDosAdd(daTBL);
        state.ResumeTiming();
        w->DecodeTables();
        QCoreApplication::processEvents();   // the first screen
    }
    if (!w->HasTables)
        state.SkipWithError("no table was built");
    state.counters["s_per_row"] = benchmark::Counter(double(state.range(0)) * double(state.iterations()),
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TablesModeOneLongTable)->Arg(1000)->Arg(2000)->Arg(4000)->Arg(8000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
