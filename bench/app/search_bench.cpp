// SPDX-License-Identifier: GPL-3.0-or-later
// Search and replace in the real window on a 10 MB text: Replace All of a word
// that occurs about 100,000 times (one undo step; the longest time the window
// went without handling its events is reported as max_gap_ms), with the recovery
// journal off and on in turn, and Find Next of a word that occurs once, near the end.
#include "view.h"

#include "finddialog.h"
#include "privateworld.h"
#include "richedit.h"
#include "scriptedprompter.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr qint64 TextChars = 10LL * 1024 * 1024;
constexpr int Replacements = 100000;

struct World {
    QTemporaryDir dir{QDir::tempPath() + QStringLiteral("/quillet-bench-XXXXXX")};
    ScriptedPrompter prompter;
    std::unique_ptr<ScopedPrompter> scoped = std::make_unique<ScopedPrompter>(prompter);
    World() { EnterPrivateWorld(dir.path()); }
};

World& TheWorld()
{
    static World world;
    return world;
}

// Russian prose in Windows-1251 with CR LF ends, "кот" once in about every
// 100 characters, and "finis" once, 1000 characters before the end.
QString WriteText()
{
    const QString name = TheWorld().dir.filePath(QStringLiteral("search-1251.txt"));
    if (QFile::exists(name))
        return name;
    // "мягкие французские булки и " ... "кот" ... "чай\r\n"
    const QByteArray piece = "\xEC\xFF\xE3\xEA\xE8\xE5 \xF4\xF0\xE0\xED\xF6\xF3\xE7\xF1\xEA\xE8\xE5 "
                             "\xE1\xF3\xEB\xEA\xE8 \xE8 \xEA\xEE\xF2 \xE4\xE0 \xE2\xFB\xEF\xE5\xE9 \xF7\xE0\xFE, "
                             "\xF1\xFA\xE5\xF8\xFC \xE6\xE5 \xE5\xF9\xB8 \xFD\xF2\xE8\xF5 \xF1\xEE\xEB\xED\xF6\xE0 "
                             "\xE8 \xEB\xE5\xF1\xE0.\r\n";
    // Every fourth piece without the word: about 100,000 of them in 10 MB.
    QByteArray without = piece;
    without.replace("\xEA\xEE\xF2 ", "");
    QByteArray text;
    text.reserve(TextChars + 64);
    for (qint64 i = 0; text.size() + piece.size() <= TextChars; ++i)
        text += (i % 4 == 3) ? without : piece;
    text.insert(text.size() - 1000, "finis ");
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return {};
    return name;
}

std::unique_ptr<TfmView> Window()
{
    auto view = std::make_unique<TfmView>(QStringList{});
    view->show();
    for (int i = 0; i < 50 && !view->TextReady; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return view;
}

void Load(TfmView& view, const QString& file)
{
    view.LoadNewFile(file, 1, true, 0, 0);
    QCoreApplication::processEvents();
}



struct ReplaceRun {
    qint64 ms = 0;          // the Replace All itself
    qint64 journalNs = 0;   // of which in the journal's handler of the change
    qint64 maxGapMs = 0;    // the longest the window went without handling its events
    qint64 replaced = 0;
};

// One Replace All of "кот" by "кошка" in the freshly loaded text, with the
// journal on or off, undone afterwards (and checked to be one undo step).
ReplaceRun ReplaceOnce(TfmView& view, const QString& file, bool journal)
{
    ReplaceRun run;
    view.SetJournal(journal, 500);
    // The journal listens to a loaded document's changes from the end of the
    // load; a listener connected as the document is shown, before that, and one
    // connected after the load time its handler, as the document calls them in
    // that order.
    platform::RichEdit* control = view.GEditor->Window();
    QElapsedTimer inJournal;
    QMetaObject::Connection before;
    const QMetaObject::Connection shown = QObject::connect(control, &QTextEdit::textChanged, [&] {
        if (!before)
            before = QObject::connect(control->Document(), &QTextDocument::contentsChange, [&] { inJournal.start(); });
    });
    Load(view, file);
    QObject::disconnect(shown);
    QTextDocument* doc = control->Document();
    const QMetaObject::Connection after =
        QObject::connect(doc, &QTextDocument::contentsChange, [&] { run.journalNs += inJournal.nsecsElapsed(); });
    if (!before)
        run.replaced = -2;   // the handler could not be timed
    view.sbReplClick();
    view.ReplaceDialog1->SetFindText(QString::fromUtf8("кот"));
    view.ReplaceDialog1->SetReplaceText(QString::fromUtf8("кошка"));
    view.ReplaceDialog1->SetMatchCase(true);
    TheWorld().prompter.Clear();
    TheWorld().prompter.AnswerMessage(MsgButton::Ok);
    // A timer that should tick every 10 ms measures how long the window went
    // without handling its events.
    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] { run.maxGapMs = std::max(run.maxGapMs, sinceTick.restart()); });
    QElapsedTimer total;
    total.start();
    sinceTick.start();
    ticker.start();
    view.ReplaceDialog1Replace(true);
    ticker.stop();
    run.ms = total.elapsed();
    run.maxGapMs = std::max(run.maxGapMs, sinceTick.elapsed());
    QObject::disconnect(before);
    QObject::disconnect(after);
    view.FlushJournal();
    const auto& asked = TheWorld().prompter.Asked();
    run.replaced = asked.empty() ? 0 : asked.back().text.section(QLatin1Char(' '), 0, 0).toLongLong();
    view.GEditor->Undo();
    if (view.GEditor->CanUndo())
        run.replaced = -1;
    view.GEditor->SetModified(false);
    return run;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0.0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Replace All with the journal off and on in turn, so that the machine's drift
// falls on both alike: the medians of each, and the journal's own share measured
// in its handler (its writer thread writes and syncs meanwhile, on another core).
void BM_ReplaceAll100kIn10MB(benchmark::State& state)
{
    const QString file = WriteText();
    auto view = Window();
    std::vector<double> off, on, journalMs;
    qint64 maxGap = 0;
    int turn = 0;
    for (auto _ : state) {
        const bool journal = turn++ % 2 == 1;
        const ReplaceRun run = ReplaceOnce(*view, file, journal);
        if (run.replaced < Replacements)
            state.SkipWithError(run.replaced == -2   ? "the journal's handler could not be timed"
                                : run.replaced < 0 ? "Replace All took more than one undo step"
                                                   : "fewer replacements than expected");
        (journal ? on : off).push_back(double(run.ms));
        if (journal)
            journalMs.push_back(double(run.journalNs) / 1e6);
        maxGap = std::max(maxGap, run.maxGapMs);
    }
    const double offMs = Median(off);
    const double onMs = Median(on);
    state.counters["off_median_ms"] = offMs;
    state.counters["on_median_ms"] = onMs;
    state.counters["journal_median_ms"] = Median(journalMs);
    state.counters["journal_share_pct"] = onMs > 0 ? 100.0 * Median(journalMs) / onMs : 0.0;
    state.counters["on_vs_off_pct"] = offMs > 0 ? 100.0 * (onMs - offMs) / offMs : 0.0;
    state.counters["max_gap_ms"] = double(maxGap);
    view->SetJournal(false, 500);
}

void BM_FindNextNearTheEndOf10MB(benchmark::State& state)
{
    const QString file = WriteText();
    auto view = Window();
    Load(*view, file);
    view->sbFindClick();
    view->FindDialog1->SetFindText(QStringLiteral("finis"));
    view->FindDialog1->CloseDialog();
    // The first search of a freshly loaded text also lays the text out up to the
    // match, to show it: reported apart as first_ms.
    QElapsedTimer first;
    first.start();
    view->FindNew();
    state.counters["first_ms"] = double(first.elapsed());
    for (auto _ : state) {
        view->GEditor->Window()->SetSel(0, 0);
        view->FindNew();
    }
    if (view->GEditor->SelLength() != 5)
        state.SkipWithError("the word was not found");
}

// The control's search alone, without placing and showing the match.
void BM_ControlFindNearTheEndOf10MB(benchmark::State& state)
{
    const QString file = WriteText();
    auto view = Window();
    Load(*view, file);
    int at = -1;
    for (auto _ : state)
        at = view->GEditor->Window()->FindTextEx({0, -1}, QStringLiteral("finis"), platform::FR_DOWN);
    if (at < 0)
        state.SkipWithError("the word was not found");
}

BENCHMARK(BM_ReplaceAll100kIn10MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_FindNextNearTheEndOf10MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_ControlFindNearTheEndOf10MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    TheWorld().scoped.reset();
    return 0;
}
