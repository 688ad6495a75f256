// SPDX-License-Identifier: GPL-3.0-or-later
// A long text in a shown control, as a user meets it: opening it, Ctrl+End and
// the caret's line counted while idle, Page Down, a scroll-bar drag and a click
// there, a character typed at the end, Find of the last word, word wrap toggled,
// and the memory after opening and after scrolling through. Each figure should
// follow the window, not the text. The same prose as RTF with a bulleted and a
// numbered list at its top shows what lists cost.
#include "codepages.h"
#include "richedit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>

using namespace platform;

namespace {

constexpr QSize WindowSize(1000, 700);

// Russian prose: paragraphs of 5 to 120 words (or, for short lines, 2 to 12, as
// in verse, lists and logs), ending with a word found nowhere else.
QByteArray MakeUtf16(qsizetype utf8Bytes, bool shortLines)
{
    const int fewest = shortLines ? 2 : 5;
    const int spread = shortLines ? 11 : 116;
    static const QStringList words = u"и в не на я что он с как а то все она так его но да ты к у же вы за бы по только "
                                     u"ее мне было вот от меня еще нет о из ему теперь когда даже ну вдруг ли если уже "
                                     u"или ни быть был него до вас нибудь опять уж вам ведь там потом себя ничего ей "
                                     u"может они тут где есть надо ней для мы тебя их чем была сам чтоб без будто чего "
                                     u"раз тоже себе под будет тогда кто этот того потому этого какой совсем здесь"_qs
                                         .split(u' ');
    QString text;
    text.reserve(utf8Bytes / 2 + 64);
    std::uint32_t seed = 7;
    qsizetype bytes = 0;
    while (bytes < utf8Bytes) {
        seed = seed * 1103515245 + 12345;
        const int count = fewest + int((seed >> 16) % spread);
        for (int i = 0; i < count; ++i) {
            seed = seed * 1103515245 + 12345;
            const QString& word = words[int((seed >> 16) % words.size())];
            text += word;
            text += i + 1 < count ? u' ' : u'.';
            bytes += word.size() * 2 + 1;
        }
        text += u"\r\n";
        bytes += 2;
    }
    text += u"последнееслово"_qs;
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

// The same text as Windows-1251 RTF, with a short bulleted list and a numbered one first.
QByteArray MakeRtfWithLists(const QByteArray& utf16)
{
    const std::size_t units = std::size_t(utf16.size() / 2);
    QByteArray body(qsizetype(units), Qt::Uninitialized);
    EncodeCp1251(reinterpret_cast<const char16_t*>(utf16.constData()), units, reinterpret_cast<std::uint8_t*>(body.data()));
    body.replace("\r\n", "\\par\n");
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fcharset204 Times New Roman;}}\n";
    for (const char* item : {"\\'ef\\'e5\\'f0\\'e2\\'fb\\'e9", "\\'e2\\'f2\\'ee\\'f0\\'ee\\'e9", "\\'f2\\'f0\\'e5\\'f2\\'e8\\'e9"})
        rtf += QByteArray("{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}\\fi-360\\li720 ") + item + "\\par\n";
    for (int i = 0; i < 2; ++i)
        rtf += "{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}\\fi-360\\li720 \\'ef\\'f3\\'ed\\'ea\\'f2\\par\n";
    return rtf + "\\pard " + body + "}";
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

double ResidentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

void Key(RichEdit& edit, int key, Qt::KeyboardModifiers modifiers = {}, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&edit, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(&edit, &release);
}

double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Milliseconds that f and the repaint after it take; cpuMs gets the processor
// time, which a busy machine does not stretch as much.
template <typename F> double Timed(RichEdit& edit, F f, double* cpuMs = nullptr)
{
    QElapsedTimer t;
    const double cpu = ThreadCpuMs();
    t.start();
    f();
    QApplication::processEvents();
    edit.viewport()->repaint();
    if (cpuMs)
        *cpuMs = ThreadCpuMs() - cpu;
    return double(t.nsecsElapsed()) / 1e6;
}

// Arguments: megabytes of UTF-8 the text would take, word wrap, short lines.
void BM_ShownText(benchmark::State& state)
{
    const bool lists = state.range(3) != 0;
    // RTF holds a Russian letter in one byte, UTF-8 in two: mb is the file's size either way.
    const QByteArray text = lists ? MakeRtfWithLists(MakeUtf16(state.range(0) * 2 * 1024 * 1024, state.range(2) != 0))
                                  : MakeUtf16(state.range(0) * 1024 * 1024, state.range(2) != 0);
    const bool wrap = state.range(1) != 0;
    for (auto _ : state) {
        const double before = ResidentMb();
        RichEdit edit;
        edit.SetWordWrap(wrap);
        edit.SetScrollBars(true, true);
        edit.resize(WindowSize);
        edit.show();
        QApplication::processEvents();

        double openCpu = 0;
        const double open = Timed(edit, [&] {
            Source source{&text};
            EDITSTREAM stream;
            stream.dwCookie = reinterpret_cast<std::uintptr_t>(&source);
            stream.pfnCallback = Read;
            edit.StreamIn(lists ? SF_RTF : SF_TEXT | SF_UNICODE, stream);
        }, &openCpu);
        // What the window asks after a load and after every caret move.
        const double caretLine = Timed(edit, [&] { benchmark::DoNotOptimize(edit.ExLineFromChar(-1)); });
        const double openedMb = ResidentMb() - before;
        const double ctrlEnd = Timed(edit, [&] { Key(edit, Qt::Key_End, Qt::ControlModifier); });
        // The line panel after Ctrl+End: asks whether the caret's line is known,
        // and shows it once the lines are counted while idle. The longest pass
        // through the event loop meanwhile is what a key pressed then waits.
        bool counted = false;
        edit.OnLinesCounted = [&] { counted = true; };
        bool known = true;
        const double panelLine = Timed(edit, [&] { known = edit.LineKnown(-1); });
        QElapsedTimer idle;
        idle.start();
        double longestPass = 0;
        while (!known && !counted) {
            QElapsedTimer pass;
            pass.start();
            QApplication::processEvents();
            longestPass = std::max(longestPass, double(pass.nsecsElapsed()) / 1e6);
        }
        const double countedIdle = double(idle.nsecsElapsed()) / 1e9;
        const double endLine = Timed(edit, [&] { benchmark::DoNotOptimize(edit.ExLineFromChar(-1)); });
        Timed(edit, [&] { Key(edit, Qt::Key_Home, Qt::ControlModifier); });
        const double pageDown = Timed(edit, [&] { Key(edit, Qt::Key_PageDown); });
        QScrollBar* bar = edit.verticalScrollBar();
        double drag = 0;
        double click = 0;
        constexpr int Places = 5;
        for (int i = 1; i <= Places; ++i) {
            drag += Timed(edit, [&] { bar->setValue(int(qint64(bar->maximum()) * i / (Places + 1))); });
            click += Timed(edit, [&] {
                const QPointF at(200, 300);
                QMouseEvent press(QEvent::MouseButtonPress, at, edit.viewport()->mapToGlobal(at), Qt::LeftButton,
                                  Qt::LeftButton, {});
                QApplication::sendEvent(edit.viewport(), &press);
                QMouseEvent release(QEvent::MouseButtonRelease, at, edit.viewport()->mapToGlobal(at), Qt::LeftButton,
                                    {}, {});
                QApplication::sendEvent(edit.viewport(), &release);
            });
        }
        const int end = edit.GetTextLength();
        edit.SetSel(end, end);
        edit.ScrollCaret();
        const double type = Timed(edit, [&] { Key(edit, Qt::Key_A, {}, u"ж"_qs); });
        edit.SetSel(0, 0);
        const double find = Timed(edit, [&] {
            CHARRANGE found;
            if (edit.FindTextEx({0, -1}, u"последнееслово"_qs, FR_DOWN, &found) >= 0) {
                edit.ExSetSel(found);
                edit.ScrollCaret();
            }
        });
        const double toggle = Timed(edit, [&] { edit.SetWordWrap(!wrap); });
        const double toggleLines = Timed(edit, [&] { benchmark::DoNotOptimize(edit.GetLineCount()); });
        Timed(edit, [&] { edit.SetWordWrap(wrap); });
        // A caller that needs every line now (Go to line, the line count) counts them all.
        const double exactLines = Timed(edit, [&] { benchmark::DoNotOptimize(edit.GetLineCount()); });
        const double scrollStart = ResidentMb();
        const double through = Timed(edit, [&] {
            for (int value = 0; value < bar->maximum(); value += bar->pageStep()) {
                bar->setValue(value);
                edit.viewport()->repaint();
            }
        });
        state.SetIterationTime(open / 1000);
        state.counters["open_ms"] = open;
        state.counters["open_cpu_ms"] = openCpu;
        state.counters["open_cpu_ms_per_mb"] = openCpu / double(state.range(0));
        state.counters["caret_line_ms"] = caretLine;
        state.counters["ctrl_end_ms"] = ctrlEnd;
        state.counters["panel_line_ms"] = panelLine;
        state.counters["counted_idle_s"] = countedIdle;
        state.counters["longest_pass_ms"] = longestPass;
        state.counters["end_line_ms"] = endLine;
        state.counters["exact_lines_ms"] = exactLines;
        state.counters["page_down_ms"] = pageDown;
        state.counters["drag_ms"] = drag / Places;
        state.counters["click_ms"] = click / Places;
        state.counters["type_end_ms"] = type;
        state.counters["find_last_ms"] = find;
        state.counters["wrap_toggle_ms"] = toggle;
        state.counters["wrap_lines_ms"] = toggleLines;
        state.counters["opened_mb"] = openedMb;
        state.counters["scrolled_mb"] = ResidentMb() - before;
        state.counters["scroll_through_s"] = through / 1000;
        benchmark::DoNotOptimize(scrollStart);
    }
}

BENCHMARK(BM_ShownText)
    ->ArgNames({"mb", "wrap", "short", "lists"})
    ->ArgsProduct({{1, 10, 50, 200}, {0, 1}, {0, 1}, {0}})
    ->Args({10, 1, 0, 1})
    ->Args({50, 1, 0, 1})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
