// SPDX-License-Identifier: GPL-3.0-or-later
// Keystroke to screen in the real window, with the recovery journal on and off,
// on a 1 MB and a 50 MB text: each key is posted as typing would bring it, and
// timed until the editor has painted it, with the window's timers (the journal's
// among them) running between keys as they would for a person typing.
#include "view.h"

#include "privateworld.h"
#include "richedit.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>

namespace {

constexpr int Keys = 300;
constexpr int KeyGapMs = 40;   // 25 keys a second, a fast typist

QString WriteText(qint64 bytes)
{
    const QString name = ProcessWorld().filePath(QStringLiteral("typing-%1.txt").arg(bytes));
    if (QFile::exists(name))
        return name;
    const QByteArray line = RussianLine1251();
    QByteArray text;
    text.reserve(bytes + line.size());
    while (text.size() + line.size() <= bytes)
        text += line;
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return {};
    return name;
}

class PaintWatch : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

// Arguments: MB of text, journal on (1) or off (0).
void BM_KeystrokeToScreen(benchmark::State& state)
{
    const QString file = WriteText(state.range(0) << 20);
    auto w = std::make_unique<TfmView>(QStringList{file});
    w->SetJournal(state.range(1) != 0, 500);
    w->show();
    for (int i = 0; i < 3000 && !w->TextReady; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    platform::RichEdit* control = w->GEditor->Window();
    control->setFocus();
    control->SetSel(1000, 1000);
    PaintWatch watch;
    control->viewport()->installEventFilter(&watch);
    // Let the first layout and paint settle.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    std::vector<double> latencies;
    for (auto _ : state) {
        latencies.clear();
        for (int k = 0; k < Keys; ++k) {
            const QString text = k % 10 == 9 ? QStringLiteral(" ") : QString(QChar(u'а' + k % 32));
            watch.painted = false;
            QElapsedTimer latency;
            latency.start();
            QCoreApplication::postEvent(control, new QKeyEvent(QEvent::KeyPress, 0, Qt::NoModifier, text));
            while (!watch.painted && latency.elapsed() < 5000)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
            // The paint itself ends inside processEvents; what else was due then counts too.
            latencies.push_back(double(latency.nsecsElapsed()) / 1e6);
            QElapsedTimer gap;
            gap.start();
            while (gap.elapsed() < KeyGapMs)
                QCoreApplication::processEvents(QEventLoop::AllEvents, KeyGapMs);
        }
    }
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double q) { return latencies[std::min(latencies.size() - 1, size_t(q * double(latencies.size())))]; };
    state.counters["p50_ms"] = at(0.50);
    state.counters["p99_ms"] = at(0.99);
    state.counters["max_ms"] = latencies.back();
    state.SetLabel(state.range(1) ? "journal on" : "journal off");
    w->GEditor->SetModified(false);
    w->SetJournal(false, 500);
}
BENCHMARK(BM_KeystrokeToScreen)
    ->Args({1, 0})->Args({1, 1})->Args({50, 0})->Args({50, 1})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
