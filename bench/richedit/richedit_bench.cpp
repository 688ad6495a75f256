// SPDX-License-Identifier: GPL-3.0-or-later
// Speed and memory of the rich-edit control beside QPlainTextEdit on the same
// Windows-1251 text: stream-in to the first painted screen, peak memory, input
// latency while the background layout runs, then Ctrl+End, typing at the end,
// the index of the last line and a search near the end.
#include "codepages.h"
#include "richedit.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <string>

using namespace platform;

namespace {

constexpr QSize WindowSize(1000, 700);
// How long the event loop runs after the first paint to see how it answers.
constexpr int WatchMs = 1000;
constexpr int LayoutTimeoutMs = 180000;

// Russian text in Windows-1251, lines of about 67 characters, CR LF ends, with
// a marker word near the end for the search.
QByteArray MakeText(qsizetype bytes)
{
    const QString words[] = {u"съешь"_qs, u"же"_qs, u"ещё"_qs, u"этих"_qs, u"мягких"_qs, u"французских"_qs,
                             u"булок"_qs, u"да"_qs, u"выпей"_qs, u"чаю"_qs, u"Широкая"_qs, u"электрификация"_qs,
                             u"южных"_qs, u"губерний"_qs, u"даст"_qs, u"мощный"_qs, u"толчок"_qs};
    QString line;
    QByteArray out;
    out.reserve(bytes + 100);
    std::uint32_t seed = 12345;
    while (out.size() < bytes) {
        line.clear();
        while (line.size() < 62) {
            seed = seed * 1103515245 + 12345;
            line += words[(seed >> 16) % std::size(words)];
            line += u' ';
        }
        line.chop(1);
        for (QChar c : line)
            out.append(char(EncodeCp1251(c.unicode())));
        out.append("\r\n");
    }
    out.truncate(bytes - 40);
    for (QChar c : u"\r\nиголка в самом конце текста\r\n"_qs)
        out.append(char(EncodeCp1251(c.unicode())));
    return out;
}

// Peak resident memory since the last reset, in bytes.
void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

qint64 Rss(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::stoll(line.substr(std::strlen(field))) * 1024;
    return 0;
}

struct Source {
    const QByteArray* data;
    qsizetype pos = 0;
};

std::uint32_t Read(std::uintptr_t cookie, std::uint8_t* buffer, std::int32_t cb, std::int32_t* pcb)
{
    auto& s = *reinterpret_cast<Source*>(cookie);
    const auto n = std::int32_t(std::min<qsizetype>(cb, s.data->size() - s.pos));
    std::memcpy(buffer, s.data->constData() + s.pos, std::size_t(n));
    s.pos += n;
    *pcb = n;
    return 0;
}

// Runs the event loop until done() holds (at least minMs); answers the longest
// time the loop did not answer a 5 ms timer, and the time until done() held.
template <class Done>
std::pair<double, double> AwaitLayout(Done done, int minMs)
{
    QElapsedTimer total;
    total.start();
    QElapsedTimer tick;
    tick.start();
    double worst = 0;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        worst = std::max(worst, double(tick.nsecsElapsed()) / 1e6);
        tick.restart();
    });
    timer.start();
    double doneAt = -1;
    while (doneAt < 0 || total.elapsed() < minMs) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        if (doneAt < 0 && done())
            doneAt = double(total.elapsed());
        if (total.elapsed() > LayoutTimeoutMs)
            break;
    }
    return {worst, doneAt};
}

// The background layout has reached the end when the last paragraph has lines.
bool LaidOut(const QTextDocument* doc)
{
    const QTextLayout* layout = doc->lastBlock().layout();
    return layout && layout->lineCount() > 0;
}

void Key(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
}

double Ms(QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

void Report(benchmark::State& state, const char* name, double value)
{
    state.counters[name] = benchmark::Counter(value);
}

void BM_RichEdit(benchmark::State& state)
{
    const QByteArray text = MakeText(state.range(0) * 1024 * 1024);
    const bool wrap = state.range(1) != 0;
    for (auto _ : state) {
        RichEdit edit;
        edit.SetWordWrap(wrap);
        edit.SetScrollBars(true, true);
        edit.resize(WindowSize);
        edit.show();
        QApplication::processEvents();
        const qint64 base = Rss("VmRSS:");
        ResetPeak();

        QElapsedTimer t;
        t.start();
        Source source{&text};
        EDITSTREAM stream;
        stream.dwCookie = reinterpret_cast<std::uintptr_t>(&source);
        stream.pfnCallback = Read;
        edit.StreamIn(SF_TEXT, stream);
        edit.viewport()->repaint();
        const double firstPaint = Ms(t);
        state.SetIterationTime(firstPaint / 1000);

        const QTextDocument* doc = edit.Document();
        const auto [stall, layoutMs] = AwaitLayout([doc] { return LaidOut(doc); }, WatchMs);
        const double peak = double(Rss("VmHWM:") - base);

        t.restart();
        Key(&edit, Qt::Key_End, Qt::ControlModifier);
        edit.viewport()->repaint();
        const double ctrlEnd = Ms(t);

        t.restart();
        Key(&edit, Qt::Key_A, Qt::NoModifier, u"a"_qs);
        edit.viewport()->repaint();
        const double typeEnd = Ms(t);

        t.restart();
        const int lastLine = edit.GetLineCount() - 1;
        benchmark::DoNotOptimize(edit.LineIndex(lastLine));
        const double lineIndex = Ms(t);

        const int length = edit.GetTextLength();
        t.restart();
        const int nearEnd = edit.FindTextEx({length - 2000, -1}, u"иголка"_qs, FR_DOWN | FR_WHOLEWORD);
        const double findNear = Ms(t);
        t.restart();
        const int fromStart = edit.FindTextEx({0, -1}, u"иголка"_qs, FR_DOWN | FR_WHOLEWORD);
        const double findFromStart = Ms(t);
        if (nearEnd < 0 || fromStart != nearEnd)
            state.SkipWithError("search did not find the marker");

        Report(state, "first_paint_ms", firstPaint);
        Report(state, "peak_x_file", peak / double(text.size()));
        Report(state, "layout_ms", layoutMs);
        Report(state, "max_stall_ms", stall);
        Report(state, "ctrl_end_ms", ctrlEnd);
        Report(state, "type_end_ms", typeEnd);
        Report(state, "lineindex_ms", lineIndex);
        Report(state, "find_near_end_ms", findNear);
        Report(state, "find_from_start_ms", findFromStart);
    }
}

void BM_PlainTextEdit(benchmark::State& state)
{
    const QByteArray text = MakeText(state.range(0) * 1024 * 1024);
    const bool wrap = state.range(1) != 0;
    for (auto _ : state) {
        QPlainTextEdit edit;
        edit.setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        edit.resize(WindowSize);
        edit.show();
        QApplication::processEvents();
        const qint64 base = Rss("VmRSS:");
        ResetPeak();

        QElapsedTimer t;
        t.start();
        QString decoded(text.size(), Qt::Uninitialized);
        DecodeCp1251(reinterpret_cast<const std::uint8_t*>(text.constData()), std::size_t(text.size()),
                     reinterpret_cast<char16_t*>(decoded.data()));
        edit.setPlainText(decoded);
        decoded.clear();
        edit.viewport()->repaint();
        const double firstPaint = Ms(t);
        state.SetIterationTime(firstPaint / 1000);

        // It lays out only what it shows: nothing runs in the background.
        const auto [stall, layoutMs] = AwaitLayout([] { return true; }, WatchMs);
        const double peak = double(Rss("VmHWM:") - base);

        t.restart();
        Key(&edit, Qt::Key_End, Qt::ControlModifier);
        edit.viewport()->repaint();
        const double ctrlEnd = Ms(t);

        t.restart();
        Key(&edit, Qt::Key_A, Qt::NoModifier, u"a"_qs);
        edit.viewport()->repaint();
        const double typeEnd = Ms(t);

        t.restart();
        benchmark::DoNotOptimize(edit.document()->lastBlock().position());
        const double lineIndex = Ms(t);

        t.restart();
        const QTextCursor found = edit.document()->find(u"иголка"_qs, 0, QTextDocument::FindWholeWords);
        const double findFromStart = Ms(t);
        if (found.isNull())
            state.SkipWithError("search did not find the marker");

        Report(state, "first_paint_ms", firstPaint);
        Report(state, "peak_x_file", peak / double(text.size()));
        Report(state, "layout_ms", layoutMs);
        Report(state, "max_stall_ms", stall);
        Report(state, "ctrl_end_ms", ctrlEnd);
        Report(state, "type_end_ms", typeEnd);
        Report(state, "lineindex_ms", lineIndex);
        Report(state, "find_from_start_ms", findFromStart);
    }
}

// Arguments: megabytes, word wrap.
BENCHMARK(BM_RichEdit)->Args({10, 0})->Args({10, 1})->Args({50, 0})->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainTextEdit)->Args({10, 0})->Args({10, 1})->Args({50, 0})->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
