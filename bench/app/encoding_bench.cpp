// SPDX-License-Identifier: GPL-3.0-or-later
// The encoding commands of the real window on large texts: one button on a 50 MB
// text (the first press takes the snapshot, the next ones reuse it, a named file
// is read again from disk), DOS tables rebuilt in a 5 MB file with 500 tables, and
// a button against the first open of a file of the caller's.
#include "view.h"

#include "privateworld.h"

#include "richedit.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr qint64 TextBytes = 50LL * 1024 * 1024;
constexpr int TableCount = 500;
constexpr qint64 TablesFileBytes = 5LL * 1024 * 1024;

// Russian prose in Windows-1251, lines of about 70 characters with CR LF.
QString WriteWindowsText(qint64 bytes)
{
    const QString name = ProcessWorld().filePath(QStringLiteral("text-1251.txt"));
    if (QFile::exists(name))
        return name;
    static const char* const words[] = {"\xEF\xF0\xE8\xE2\xE5\xF2", "\xEC\xE8\xF0", "\xF2\xE5\xEA\xF1\xF2",
                                        "\xE2", "\xEA\xEE\xE4\xE8\xF0\xEE\xE2\xEA\xE5", "\xE4\xEB\xFF",
                                        "\xF1\xF2\xF0\xEE\xEA\xE0", "\xD0\xEE\xF1\xF1\xE8\xFF"};
    std::string text;
    text.reserve(std::size_t(bytes) + 128);
    std::size_t w = 0, column = 0;
    while (std::int64_t(text.size()) < bytes) {
        const char* word = words[w++ % 8];
        text += word;
        column += std::strlen(word) + 1;
        if (column > 70) {
            text += "\r\n";
            column = 0;
        } else {
            text += ' ';
        }
    }
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), qint64(text.size())) != qint64(text.size()))
        return {};
    return name;
}

// A CP866 file of about 5 MB: paragraphs of text, each followed by a framed table.
QString WriteDosTables()
{
    const QString name = ProcessWorld().filePath(QStringLiteral("tables-866.txt"));
    if (QFile::exists(name))
        return name;
    const std::string top = "\xDA" + std::string(12, '\xC4') + "\xC2" + std::string(20, '\xC4') + "\xC2"
                            + std::string(10, '\xC4') + "\xBF\r\n";
    const std::string middle = "\xC3" + std::string(12, '\xC4') + "\xC5" + std::string(20, '\xC4') + "\xC5"
                               + std::string(10, '\xC4') + "\xB4\r\n";
    const std::string bottom = "\xC0" + std::string(12, '\xC4') + "\xC1" + std::string(20, '\xC4') + "\xC1"
                               + std::string(10, '\xC4') + "\xD9\r\n";
    // "Иванов" | "инженер отдела" | "1996"
    const std::string row = "\xB3 \x88\xA2\xA0\xAD\xAE\xA2     \xB3 \xA8\xAD\xA6\xA5\xAD\xA5\xE0 \xAE\xE2\xA4\xA5\xAB\xA0"
                            "     \xB3 1996     \xB3\r\n";
    const std::string prose = "   \x92\xA5\xAA\xE1\xE2 \xAE\xE2\xE7\xA5\xE2\xA0 \xAE \xE0\xA0\xA1\xAE\xE2\xA5 "
                              "\xAE\xE2\xA4\xA5\xAB\xA0 \xA7\xA0 \xAA\xA2\xA0\xE0\xE2\xA0\xAB.\r\n";
    const std::size_t perTable = std::size_t(TablesFileBytes / TableCount);
    std::string text;
    for (int t = 0; t < TableCount; ++t) {
        const std::size_t start = text.size();
        std::string table = top;
        for (int r = 0; r < 40; ++r)
            table += (r % 10 == 9 ? middle : row);
        table += bottom;
        while (text.size() - start + table.size() + 2 < perTable)
            text += prose;
        text += table;
        text += "\r\n";
    }
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), qint64(text.size())) != qint64(text.size()))
        return {};
    return name;
}

std::unique_ptr<TfmView> ShownWindow()
{
    auto view = std::make_unique<TfmView>(QStringList{});
    view->show();
    for (int i = 0; i < 50 && !view->TextReady; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return view;
}

// An unnamed, modified text: the buttons decode the kept snapshot, not the disk.
void LoadUnnamed(TfmView& w, const QString& file)
{
    w.GEditor->SetAutoEncoding(false);
    w.LoadNewFile(file, Win, true, 0, 0);
    w.CurFileName.clear();
    w.GEditor->SetModified(true);
}

void BM_FirstPressOn50MB(benchmark::State& state)
{
    const QString file = WriteWindowsText(TextBytes);
    auto w = ShownWindow();
    LoadUnnamed(*w, file);
    bool koi = true;
    for (auto _ : state) {
        state.PauseTiming();
        w->GEditor->TempStream()->Stale = true;  // as after an edit
        state.ResumeTiming();
        w->Decoding(koi ? Koi : Win);
        koi = !koi;
    }
    state.SetBytesProcessed(state.iterations() * TextBytes);
    w->GEditor->SetModified(false);
}

// The part of a first press that writes the text back to bytes.
void BM_SnapshotOf50MB(benchmark::State& state)
{
    const QString file = WriteWindowsText(TextBytes);
    auto w = ShownWindow();
    LoadUnnamed(*w, file);
    for (auto _ : state) {
        w->GEditor->TempStream()->Stale = true;
        w->GEditor->TempStream()->Refresh();
    }
    state.SetBytesProcessed(state.iterations() * TextBytes);
    w->GEditor->SetModified(false);
}

void BM_SecondPressOn50MB(benchmark::State& state)
{
    const QString file = WriteWindowsText(TextBytes);
    auto w = ShownWindow();
    LoadUnnamed(*w, file);
    w->Decoding(Koi);
    bool dos = true;
    for (auto _ : state) {
        w->Decoding(dos ? Dos : Koi);  // the same snapshot every time
        dos = !dos;
    }
    state.SetBytesProcessed(state.iterations() * TextBytes);
    w->GEditor->SetModified(false);
}

void BM_NamedFileReadAgainFromDisk50MB(benchmark::State& state)
{
    const QString file = WriteWindowsText(TextBytes);
    auto w = ShownWindow();
    w->GEditor->SetAutoEncoding(false);
    w->LoadNewFile(file, Win, true, 0, 0);
    bool koi = true;
    for (auto _ : state) {
        w->Decoding(koi ? Koi : Win);
        koi = !koi;
    }
    state.SetBytesProcessed(state.iterations() * TextBytes);
}

void BM_DecodeTables5MB500Tables(benchmark::State& state)
{
    const QString file = WriteDosTables();
    auto w = ShownWindow();
    w->GEditor->SetAutoEncoding(false);
    for (auto _ : state) {
        state.PauseTiming();
        w->GEditor->SetDosAdd(daOEM);
        w->LoadNewFile(file, Dos, true, 0, 0);
        w->GEditor->SetDosAdd(daTBL);
        state.ResumeTiming();
        w->DecodeTables();
    }
    if (!w->HasTables)
        state.SkipWithError("no tables were built");
    state.SetBytesProcessed(state.iterations() * QFile(file).size());
}

// A file named by QUILLET_BENCH_TEXT opened as a user opens it (its encoding
// detected), then read again by the button of another code page (DOS for a
// Windows text, Windows for any other), each until the window shows the text.
void BM_ButtonAgainstFirstOpen(benchmark::State& state)
{
    const QString file = qEnvironmentVariable("QUILLET_BENCH_TEXT");
    if (file.isEmpty() || !QFile::exists(file)) {
        state.SkipWithError("QUILLET_BENCH_TEXT names no file");
        return;
    }
    const auto shown = [](TfmView& w, auto step) {
        QElapsedTimer clock;
        clock.start();
        step();
        QCoreApplication::processEvents();
        w.GEditor->Window()->viewport()->repaint();
        return double(clock.nsecsElapsed()) / 1e6;
    };
    for (auto _ : state) {
        auto w = ShownWindow();
        const double open = shown(*w, [&] { w->LoadNewFile(file, w->CurEncoding, false, 0, 0); });
        const std::uint8_t other = w->CurEncoding == Win ? Dos : Win;
        const double button = shown(*w, [&] { w->Decoding(other); });
        state.SetIterationTime(button / 1000);
        state.counters["open_ms"] = open;
        state.counters["button_ms"] = button;
        state.counters["button_per_open"] = button / open;
    }
}

BENCHMARK(BM_FirstPressOn50MB)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SnapshotOf50MB)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SecondPressOn50MB)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_NamedFileReadAgainFromDisk50MB)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DecodeTables5MB500Tables)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ButtonAgainstFirstOpen)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

} // namespace
