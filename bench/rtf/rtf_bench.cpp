// SPDX-License-Identifier: GPL-3.0-or-later
// RTF reading and writing speed on a generated 10 MB Russian document with a
// formatting change every few words, beside the unrtf converter on the same file.
#include "rtfreader.h"
#include "rtfwriter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <memory>

namespace {

constexpr qsizetype TargetBytes = 10 * 1024 * 1024;
const char* const FilePath = "/tmp/quillet_rtf_bench_10mb.rtf";

// Windows-1251 bytes of Russian words, written as \'hh as Word and WordPad write them.
QByteArray HexWord(const QByteArray& cp1251)
{
    static const char hex[] = "0123456789abcdef";
    QByteArray out;
    for (char c : cp1251) {
        const auto b = static_cast<unsigned char>(c);
        out += "\\'";
        out += hex[b >> 4];
        out += hex[b & 15];
    }
    return out;
}

const QByteArray& Document()
{
    static const QByteArray rtf = [] {
        // "быстрая", "рыжая", "лиса", "прыгает", "через", "ленивую", "собаку", "и", "съешь", "ещё"
        const QList<QByteArray> words = {
            "\xe1\xfb\xf1\xf2\xf0\xe0\xff", "\xf0\xfb\xe6\xe0\xff", "\xeb\xe8\xf1\xe0", "\xef\xf0\xfb\xe3\xe0\xe5\xf2",
            "\xf7\xe5\xf0\xe5\xe7", "\xeb\xe5\xed\xe8\xe2\xf3\xfe", "\xf1\xee\xe1\xe0\xea\xf3", "\xe8",
            "\xf1\xfa\xe5\xf8\xfc", "\xe5\xf9\xb8"};
        const QList<QByteArray> formats = {"\\b ", "\\b0 ", "\\i ", "\\i0 ", "\\cf1 ", "\\cf0 ", "\\ul ", "\\ulnone ",
                                           "\\fs28 ", "\\fs20 ", "\\f1 ", "\\f0 "};
        QByteArray out = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\froman\\fcharset204 Times New Roman;}"
                         "{\\f1\\fswiss\\fcharset204 Arial;}}{\\colortbl ;\\red200\\green0\\blue0;}\r\n\\pard\\fs20 ";
        out.reserve(TargetBytes + 4096);
        quint32 n = 0;
        while (out.size() < TargetBytes) {
            ++n;
            out += HexWord(words[int(n * 7 % words.size())]);
            out += ' ';
            if (n % 4 == 0)
                out += formats[int(n / 4 % formats.size())];
            if (n % 80 == 0)
                out += "\\par\r\n";
        }
        out += "\\par}\r\n";
        QFile file(QString::fromLatin1(FilePath));
        if (file.open(QIODevice::WriteOnly))
            file.write(out);
        return out;
    }();
    return rtf;
}

std::unique_ptr<QTextDocument> Read()
{
    auto document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document.get());
    platform::ReadRtf(Document(), cursor);
    return document;
}

void BM_ReadRtf10MB(benchmark::State& state)
{
    Document();
    for (auto _ : state) {
        auto document = Read();
        benchmark::DoNotOptimize(document->characterCount());
    }
    state.SetBytesProcessed(state.iterations() * Document().size());
}
BENCHMARK(BM_ReadRtf10MB)->Unit(benchmark::kMillisecond)->Iterations(3);

// Reading, then laying out and painting the first screen of the window.
void BM_ReadRtf10MBToFirstScreen(benchmark::State& state)
{
    Document();
    QImage screen(1024, 768, QImage::Format_RGB32);
    for (auto _ : state) {
        auto document = Read();
        document->setTextWidth(screen.width());
        QPainter painter(&screen);
        document->drawContents(&painter, QRectF(0, 0, screen.width(), screen.height()));
    }
}
BENCHMARK(BM_ReadRtf10MBToFirstScreen)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WriteRtf10MB(benchmark::State& state)
{
    auto document = Read();
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray rtf = platform::WriteRtf(*document);
        bytes = rtf.size();
        benchmark::DoNotOptimize(rtf.constData());
    }
    state.counters["output_MB"] = double(bytes) / (1024 * 1024);
}
BENCHMARK(BM_WriteRtf10MB)->Unit(benchmark::kMillisecond)->Iterations(3);

// The unrtf converter's plain-text output of the same file, for comparison.
void BM_UnrtfText10MB(benchmark::State& state)
{
    Document();
    const QString unrtf = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
    if (unrtf.isEmpty()) {
        state.SkipWithError("unrtf is not installed");
        return;
    }
    double childCpu = 0;
    for (auto _ : state) {
        rusage before{};
        getrusage(RUSAGE_CHILDREN, &before);
        QElapsedTimer timer;
        timer.start();
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start(unrtf, {QStringLiteral("--text"), QString::fromLatin1(FilePath)});
        p.waitForFinished(-1);
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        rusage after{};
        getrusage(RUSAGE_CHILDREN, &after);
        auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
        childCpu += seconds(after.ru_utime) + seconds(after.ru_stime) - seconds(before.ru_utime) - seconds(before.ru_stime);
    }
    // The converter's own processor time, comparable with the CPU column of the others.
    state.counters["unrtf_cpu_ms"] = childCpu * 1000 / double(state.iterations());
}
BENCHMARK(BM_UnrtfText10MB)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

} // namespace
