// SPDX-License-Identifier: GPL-3.0-or-later
// A text with no line break beside the same bytes broken into lines: the time
// from stream-in until the control is shown, laid out to the end and idle, with
// and without word wrap; then keys typed in the middle and at the end, each timed
// until drawn (median and worst). The cost must grow with the bytes, not with the
// length of the longest paragraph.
#include "codepages.h"
#include "richedit.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <vector>

using namespace platform;

namespace {

constexpr QSize WindowSize(1000, 700);
// Idle means the event loop answered a 5 ms timer within this many ms for a while.
constexpr double IdleStallMs = 50;
constexpr int IdleForMs = 300;
constexpr int GiveUpMs = 120000;

// Russian words in Windows-1251 separated by spaces; a CR LF instead of a space
// about every lineChars characters, none when lineChars is 0.
QByteArray MakeText(qsizetype bytes, int lineChars)
{
    const QString words[] = {u"съешь"_qs, u"же"_qs, u"ещё"_qs, u"этих"_qs, u"мягких"_qs, u"французских"_qs,
                             u"булок"_qs, u"да"_qs, u"выпей"_qs, u"чаю"_qs, u"электрификация"_qs, u"губерний"_qs};
    QByteArray out;
    out.reserve(bytes + 32);
    std::uint32_t seed = 12345;
    qsizetype lineStart = 0;
    while (out.size() < bytes) {
        seed = seed * 1103515245 + 12345;
        for (QChar c : words[(seed >> 16) % std::size(words)])
            out.append(char(EncodeCp1251(c.unicode())));
        if (lineChars > 0 && out.size() - lineStart > lineChars - 2) {
            out.append("\r\n");
            lineStart = out.size();
        } else {
            out.append(' ');
        }
    }
    out.truncate(bytes);
    return out;
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

// Qt's own layout works through the whole text in the background; the shown
// text's own layout lays out what is shown only, so it is done when idle.
bool LaidOut(const QTextDocument* doc)
{
    if (doc->documentLayout()->inherits("platform::DocumentLayout"))
        return true;
    const QTextLayout* layout = doc->lastBlock().layout();
    return layout && layout->lineCount() > 0;
}

// Runs the event loop until the document is laid out to its end and the loop has
// answered promptly for IdleForMs; answers the ms until that quiet began.
double UntilIdle(const QTextDocument* doc, QElapsedTimer& since)
{
    QElapsedTimer tick;
    tick.start();
    QElapsedTimer quiet;
    quiet.start();
    double quietFrom = double(since.elapsed());
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (double(tick.nsecsElapsed()) / 1e6 > IdleStallMs || !LaidOut(doc)) {
            quiet.restart();
            quietFrom = double(since.elapsed());
        }
        tick.restart();
    });
    timer.start();
    while (quiet.elapsed() < IdleForMs && since.elapsed() < GiveUpMs)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return quietFrom;
}

// Typing and moving at a place, each key timed until it is drawn: letters,
// Backspace, Delete, Enter and the Backspace that joins the line again, and the
// caret and selection keys. Answers the times sorted.
std::vector<double> KeysDrawn(RichEdit& edit, int at)
{
    struct Key {
        int key;
        Qt::KeyboardModifiers held;
        QString text;
    };
    std::vector<Key> keys;
    for (const QChar c : u"съешь ещё"_qs)
        keys.push_back({c == u' ' ? Qt::Key_Space : Qt::Key_A, Qt::NoModifier, QString(c)});
    for (const int key : {Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return, Qt::Key_Backspace})
        keys.push_back({key, Qt::NoModifier, key == Qt::Key_Return ? u"\r"_qs : QString()});
    for (const int key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Down, Qt::Key_Up, Qt::Key_End, Qt::Key_Home,
                          Qt::Key_PageDown, Qt::Key_PageUp})
        keys.push_back({key, Qt::NoModifier, {}});
    for (const int key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down})
        keys.push_back({key, Qt::ShiftModifier, {}});
    for (const QChar c : u"чаю"_qs)
        keys.push_back({Qt::Key_A, Qt::NoModifier, QString(c)});
    edit.SetSel(at, at);
    edit.ScrollCaret();
    QApplication::processEvents();
    edit.viewport()->repaint();
    std::vector<double> times;
    QElapsedTimer q;
    for (const Key& key : keys) {
        QKeyEvent press(QEvent::KeyPress, key.key, key.held, key.text);
        q.restart();
        QApplication::sendEvent(&edit, &press);
        edit.viewport()->repaint();
        times.push_back(double(q.nsecsElapsed()) / 1e6);
        QApplication::processEvents();
    }
    std::sort(times.begin(), times.end());
    return times;
}

// Arguments: kilobytes, characters a line (0: one line), word wrap.
void BM_ShownAndIdle(benchmark::State& state)
{
    const QByteArray text = MakeText(state.range(0) * 1024, int(state.range(1)));
    for (auto _ : state) {
        RichEdit edit;
        edit.SetWordWrap(state.range(2) != 0);
        edit.SetScrollBars(true, true);
        edit.AutoUrlDetect(true);
        edit.resize(WindowSize);
        edit.show();
        QApplication::processEvents();

        QElapsedTimer t;
        t.start();
        Source source{&text};
        EDITSTREAM stream;
        stream.dwCookie = reinterpret_cast<std::uintptr_t>(&source);
        stream.pfnCallback = Read;
        edit.StreamIn(SF_TEXT, stream);
        edit.viewport()->repaint();
        const double firstPaint = double(t.nsecsElapsed()) / 1e6;
        const double idle = UntilIdle(edit.Document(), t);
        // What the window asks after a load: the line count and the caret's line.
        QElapsedTimer q;
        q.start();
        benchmark::DoNotOptimize(edit.GetLineCount());
        benchmark::DoNotOptimize(edit.ExLineFromChar(-1));
        const double lines = double(q.nsecsElapsed()) / 1e6;
        // A caret blink repaints a few pixels: it must not draw, nor itemize, the
        // whole paragraph.
        constexpr int Blinks = 20;
        q.restart();
        for (int i = 0; i < Blinks; ++i)
            edit.viewport()->repaint(QRect(10, 10, 2, 16));
        const double blink = double(q.nsecsElapsed()) / 1e6 / Blinks;
        // In the middle of the text: a typed character and a caret move down, each
        // drawn; then the caret to the end and drawn there.
        const auto keyDrawn = [&](int key, const QString& text) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
            q.restart();
            QApplication::sendEvent(&edit, &press);
            edit.viewport()->repaint();
            return double(q.nsecsElapsed()) / 1e6;
        };
        edit.SetSel(edit.GetTextLength() / 2, edit.GetTextLength() / 2);
        edit.ScrollCaret();
        QApplication::processEvents();
        const double typed = keyDrawn(Qt::Key_A, u"a"_qs);
        const double down = keyDrawn(Qt::Key_Down, {});
        q.restart();
        edit.SetSel(edit.GetTextLength(), edit.GetTextLength());
        edit.ScrollCaret();
        edit.viewport()->repaint();
        const double toEnd = double(q.nsecsElapsed()) / 1e6;
        const std::vector<double> middle = KeysDrawn(edit, edit.GetTextLength() / 2);
        const std::vector<double> end = KeysDrawn(edit, edit.GetTextLength());
        state.counters["keys_mid_p50_ms"] = middle[middle.size() / 2];
        state.counters["keys_mid_max_ms"] = middle.back();
        state.counters["keys_end_p50_ms"] = end[end.size() / 2];
        state.counters["keys_end_max_ms"] = end.back();
        state.counters["typed_ms"] = typed;
        state.counters["down_ms"] = down;
        state.counters["to_end_ms"] = toEnd;
        state.SetIterationTime(idle / 1000);
        state.counters["first_paint_ms"] = firstPaint;
        state.counters["idle_ms"] = idle;
        state.counters["line_count_ms"] = lines;
        state.counters["caret_paint_ms"] = blink;
    }
}

BENCHMARK(BM_ShownAndIdle)
    ->ArgNames({"kb", "line_chars", "wrap"})
    ->ArgsProduct({{1024, 4096, 20480}, {65, 2000, 0}, {0, 1}})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
