// SPDX-License-Identifier: GPL-3.0-or-later
// Applying a saved screen reformats every character of the shown text: how that
// grows with the text (0.5 to 4 million characters of Russian lines), to watch
// that it stays linear.
#include "view.h"

#include "privateworld.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

// Windows-1251 lines of Russian prose.
QString WriteText(qint64 characters)
{
    const QString name = ProcessWorld().filePath(QStringLiteral("text-%1.txt").arg(characters));
    if (QFile::exists(name))
        return name;
    const QByteArray line = RussianLine1251();
    QByteArray text;
    text.reserve(characters + line.size());
    while (text.size() < characters)
        text += line;
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return {};
    return name;
}

void BM_ScreenByDefaultOnTheWholeText(benchmark::State& state)
{
    const QString file = WriteText(state.range(0));
    auto w = std::make_unique<TfmView>(QStringList{file});
    w->show();
    for (int i = 0; i < 500 && !w->TextReady; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    for (auto _ : state) {
        w->ChangeScreen(0);
        QCoreApplication::processEvents();   // the first screen
    }
    if (w->GEditor->Modified())
        state.SkipWithError("the text was marked modified");
    state.counters["ns_per_char"] = benchmark::Counter(double(state.range(0)) * double(state.iterations()) * 1e-9,
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ScreenByDefaultOnTheWholeText)
    ->Arg(500'000)->Arg(1'000'000)->Arg(2'000'000)->Arg(4'000'000)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
