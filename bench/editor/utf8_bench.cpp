// SPDX-License-Identifier: GPL-3.0-or-later
// Loading 50 MB of Russian text in UTF-8 against the same text in UTF-16, both
// detected and shown to the first paint, in the same run; saving it back in UTF-8.
// The data is generated under /tmp on first use.
#include "qxeditor.h"

#include <QDir>
#include <QFile>
#include <QPixmap>

#include <benchmark/benchmark.h>

namespace {

constexpr qint64 Utf8Size = 50LL * 1024 * 1024;
const QString DataDir = QStringLiteral("/tmp/quillet-bench-utf8");

QString DataFile(const char* name)
{
    return DataDir + QLatin1Char('/') + QLatin1String(name);
}

// Russian prose, CR LF lines, repeated to 50 MB of UTF-8; the UTF-16 file holds
// the same characters with its byte-order mark.
void MakeData()
{
    QDir().mkpath(DataDir);
    if (QFile::exists(DataFile("text_utf8.txt")) && QFile::exists(DataFile("text_utf16.txt")))
        return;
    const QString line = QStringLiteral(
        "Широкая электрификация южных губерний даст мощный толчок подъёму сельского хозяйства. "
        "Съешь же ещё этих мягких французских булок, да выпей чаю.\r\n");
    const QByteArray utf8 = line.toUtf8();
    const QByteArray utf16(reinterpret_cast<const char*>(line.utf16()), line.size() * 2);
    QFile f8(DataFile("text_utf8.txt")), f16(DataFile("text_utf16.txt"));
    if (!f8.open(QIODevice::WriteOnly) || !f16.open(QIODevice::WriteOnly))
        return;
    f16.write("\xFF\xFE", 2);
    for (qint64 n = 0; n < Utf8Size; n += utf8.size()) {
        f8.write(utf8);
        f16.write(utf16);
    }
}

void Load(benchmark::State& state, const char* file, TEnc expected)
{
    MakeData();
    for (auto _ : state) {
        TqxEditor editor;
        editor.resize(800, 600);
        editor.SetAutoEncoding(true);
        editor.show();
        editor.Lines()->LoadFromFile(DataFile(file));
        QPixmap firstPaint = editor.grab();
        benchmark::DoNotOptimize(firstPaint);
        if (editor.Encoding() != expected)
            state.SkipWithError("not detected as expected");
        state.PauseTiming();
        editor.Clear();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * QFile(DataFile(file)).size());
}

void BM_LoadUtf8(benchmark::State& state) { Load(state, "text_utf8.txt", Utf8); }
void BM_LoadUtf16(benchmark::State& state) { Load(state, "text_utf16.txt", Uni); }

void BM_SaveUtf8(benchmark::State& state)
{
    MakeData();
    TqxEditor editor;
    editor.SetAutoEncoding(true);
    editor.Lines()->LoadFromFile(DataFile("text_utf8.txt"));
    for (auto _ : state)
        editor.Lines()->SaveToFile(DataFile("saved_utf8.txt"));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * QFile(DataFile("saved_utf8.txt")).size());
}

} // namespace

// Three runs each, in the same process: compare the means and their spread.
BENCHMARK(BM_LoadUtf8)->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadUtf16)->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveUtf8)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
