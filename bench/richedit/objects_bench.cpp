// SPDX-License-Identifier: GPL-3.0-or-later
// An embedded file of 5, 10 and 20 MB saved as RTF and loaded again through the
// control's stream path: the hex coding of \objdata must cost in proportion to
// the bytes (the 20 MB case near twice the 10 MB one), never grow quadratically.
#include "richedit.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstring>

using namespace platform;

namespace {

struct Buffer {
    QByteArray data;
    qsizetype pos = 0;
};

std::uint32_t Read(std::uintptr_t cookie, std::uint8_t* buffer, std::int32_t cb, std::int32_t* pcb)
{
    auto* b = reinterpret_cast<Buffer*>(cookie);
    const qsizetype n = std::min<qsizetype>(cb, b->data.size() - b->pos);
    std::memcpy(buffer, b->data.constData() + b->pos, size_t(n));
    b->pos += n;
    *pcb = std::int32_t(n);
    return 0;
}

std::uint32_t Write(std::uintptr_t cookie, std::uint8_t* buffer, std::int32_t cb, std::int32_t* pcb)
{
    reinterpret_cast<Buffer*>(cookie)->data.append(reinterpret_cast<const char*>(buffer), cb);
    *pcb = cb;
    return 0;
}

QByteArray FileBytes(qsizetype size)
{
    QByteArray bytes(size, '\0');
    std::uint32_t seed = 7;
    for (qsizetype i = 0; i < size; ++i) {
        seed = seed * 1103515245 + 12345;
        bytes[i] = char(seed >> 24);
    }
    return bytes;
}

QByteArray SavedRtf(RichEdit& edit)
{
    Buffer out;
    EDITSTREAM stream;
    stream.dwCookie = reinterpret_cast<std::uintptr_t>(&out);
    stream.pfnCallback = Write;
    edit.StreamOut(SF_RTF, stream);
    return out.data;
}

void Prepare(RichEdit& edit, qsizetype megabytes)
{
    edit.SetText(QStringLiteral("Отчёт во вложении: "));
    edit.SetSel(19, 19);
    EmbeddedObject object;
    object.data = FileBytes(megabytes * 1024 * 1024);
    object.name = QStringLiteral("report.bin");
    object.asIcon = true;
    edit.InsertObject(object);
}

void SaveEmbeddedFile(benchmark::State& state)
{
    RichEdit edit;
    Prepare(edit, state.range(0));
    qsizetype bytes = 0;
    for (auto _ : state)
        bytes = SavedRtf(edit).size();
    state.counters["MB/s"] = benchmark::Counter(double(bytes) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void LoadEmbeddedFile(benchmark::State& state)
{
    RichEdit edit;
    Prepare(edit, state.range(0));
    const QByteArray rtf = SavedRtf(edit);
    RichEdit target;
    for (auto _ : state) {
        Buffer in{rtf, 0};
        EDITSTREAM stream;
        stream.dwCookie = reinterpret_cast<std::uintptr_t>(&in);
        stream.pfnCallback = Read;
        target.StreamIn(SF_RTF, stream);
    }
    if (!target.ObjectAt(19) || target.ObjectAt(19)->data.size() != state.range(0) * 1024 * 1024)
        state.SkipWithError("the object did not come back whole");
    state.counters["MB/s"] = benchmark::Counter(double(rtf.size()) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(SaveEmbeddedFile)->Arg(5)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(LoadEmbeddedFile)->Arg(5)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
