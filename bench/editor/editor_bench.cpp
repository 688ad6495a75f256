// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a 50 MB CP866 file through the editor against the control alone showing
// the same text already in Windows-1251; saving it in KOI8-R; re-reading it through
// the byte cache. The data is generated under /tmp on first use.
#include "qxeditor.h"
#include "richedit.h"

#include <QDir>
#include <QFile>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

constexpr qint64 FileSize = 50LL * 1024 * 1024;
const QString DataDir = QStringLiteral("/tmp/quillet-bench-editor");

QString DataFile(const char* name)
{
    return DataDir + QLatin1Char('/') + QLatin1String(name);
}

// Russian prose in Windows-1251 and CP866, repeated to 50 MB, CR LF lines.
void MakeData()
{
    QDir().mkpath(DataDir);
    if (QFile::exists(DataFile("text_cp866.txt")) && QFile::exists(DataFile("text_cp1251.txt")))
        return;
    const QString line = QStringLiteral(
        "Широкая электрификация южных губерний даст мощный толчок подъёму сельского хозяйства. "
        "Съешь же ещё этих мягких французских булок, да выпей чаю.\r\n");
    const QByteArray utf16(reinterpret_cast<const char*>(line.utf16()), line.size() * 2);
    QByteArray win, dos;
    for (QChar ch : line) {
        const char16_t u = ch.unicode();
        std::uint8_t w = std::uint8_t(u), d = std::uint8_t(u);
        if (u >= 0x410 && u <= 0x42F) { w = std::uint8_t(0xC0 + (u - 0x410)); d = std::uint8_t(0x80 + (u - 0x410)); }
        else if (u >= 0x430 && u <= 0x43F) { w = std::uint8_t(0xE0 + (u - 0x430)); d = std::uint8_t(0xA0 + (u - 0x430)); }
        else if (u >= 0x440 && u <= 0x44F) { w = std::uint8_t(0xF0 + (u - 0x440)); d = std::uint8_t(0xE0 + (u - 0x440)); }
        else if (u == 0x451) { w = 0xB8; d = 0xF1; }
        else if (u == 0x401) { w = 0xA8; d = 0xF0; }
        win.append(char(w));
        dos.append(char(d));
    }
    QFile fw(DataFile("text_cp1251.txt")), fd(DataFile("text_cp866.txt"));
    fw.open(QIODevice::WriteOnly);
    fd.open(QIODevice::WriteOnly);
    for (qint64 n = 0; n < FileSize; n += win.size()) {
        fw.write(win);
        fd.write(dos);
    }
}

void FirstPaint(QWidget& widget)
{
    QPixmap pixmap = widget.grab();
    benchmark::DoNotOptimize(pixmap);
}

void BM_EditorLoadFromFileCp866(benchmark::State& state)
{
    MakeData();
    for (auto _ : state) {
        TqxEditor editor;
        editor.resize(800, 600);
        editor.SetDosAdd(daUNI);
        editor.show();
        editor.Lines()->LoadFromFile(DataFile("text_cp866.txt"));
        FirstPaint(editor);
        if (editor.Encoding() != Dos)
            state.SkipWithError("not detected as DOS");
        state.PauseTiming();
        editor.Clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_EditorLoadFromFileCp866)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

std::uint32_t ReadFileBlock(std::uintptr_t cookie, std::uint8_t* buffer, std::int32_t cb, std::int32_t* pcb)
{
    *pcb = std::int32_t(std::fread(buffer, 1, std::size_t(cb), reinterpret_cast<std::FILE*>(cookie)));
    return 0;
}

void BM_ControlAloneCp1251(benchmark::State& state)
{
    MakeData();
    for (auto _ : state) {
        platform::RichEdit control;
        control.resize(800, 600);
        control.show();
        std::FILE* file = std::fopen(DataFile("text_cp1251.txt").toLocal8Bit().constData(), "rb");
        platform::EDITSTREAM stream;
        stream.dwCookie = reinterpret_cast<std::uintptr_t>(file);
        stream.pfnCallback = ReadFileBlock;
        control.StreamIn(platform::SF_TEXT, stream);
        std::fclose(file);
        FirstPaint(control);
        state.PauseTiming();
        control.SetText(QString());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ControlAloneCp1251)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EditorSaveToFileKoi8r(benchmark::State& state)
{
    MakeData();
    TqxEditor editor;
    editor.Lines()->LoadFromFile(DataFile("text_cp866.txt"));
    editor.SetEncoding(Koi);
    for (auto _ : state)
        editor.Lines()->SaveToFile(DataFile("saved_koi8r.txt"));
    state.SetBytesProcessed(state.iterations() * QFile(DataFile("saved_koi8r.txt")).size());
}
BENCHMARK(BM_EditorSaveToFileKoi8r)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EditorReinterpretThroughTempStream(benchmark::State& state)
{
    MakeData();
    TqxEditor editor;
    editor.Lines()->LoadFromFile(DataFile("text_cp866.txt"));
    editor.TempStream()->Invalidate();
    for (auto _ : state) {
        editor.SetEncoding(Dos);
        editor.TempStream()->Refresh();
        editor.SetEncoding(Koi);
        editor.TempStream()->Memory.SetPosition(0);
        editor.Lines()->LoadFromStream(editor.TempStream()->Memory);
    }
}
BENCHMARK(BM_EditorReinterpretThroughTempStream)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
