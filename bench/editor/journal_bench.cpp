// SPDX-License-Identifier: GPL-3.0-or-later
// The recovery journal's costs: taking the whole text on the window's thread
// at 1, 10 and 50 MB, a saved file as the base instead, an edit per keystroke,
// a word made bold (also in a cell), and
// recovering 50 MB against opening the same file. Data is made under /tmp.
#include "journalsnapshot.h"
#include "journalwriter.h"
#include "plainreadback.h"
#include "qxeditor.h"
#include "richedit.h"
#include "recoveryjournal.h"

#include <QDir>
#include <QElapsedTimer>
#include <QScopeGuard>
#include <QFile>
#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

const QString DataDir = QStringLiteral("/tmp/quillet-bench-journal");

// Russian prose in Windows-1251 with CR LF lines, to the given size.
QString DataFile(qint64 bytes)
{
    QDir().mkpath(DataDir);
    const QString name = DataDir + QStringLiteral("/text-%1.txt").arg(bytes);
    if (QFile::exists(name))
        return name;
    const QByteArray line = "\xD8\xE8\xF0\xEE\xEA\xE0\xFF \xFD\xEB\xE5\xEA\xF2\xF0\xE8\xF4\xE8\xEA\xE0\xF6\xE8\xFF "
                            "\xFE\xE6\xED\xFB\xF5 \xE3\xF3\xE1\xE5\xF0\xED\xE8\xE9 \xE4\xE0\xF1\xF2 \xEC\xEE\xF9\xED\xFB\xE9 "
                            "\xF2\xEE\xEB\xF7\xEE\xEA \xEF\xEE\xE4\xFA\xB8\xEC\xF3.\r\n";
    QByteArray text;
    text.reserve(bytes + line.size());
    while (text.size() + line.size() <= bytes)
        text += line;
    QFile file(name);
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
    return name;
}

std::unique_ptr<TqxEditor> Loaded(qint64 bytes)
{
    auto editor = std::make_unique<TqxEditor>();
    editor->SetWordWrap(false);
    editor->SetAutoEncoding(false);
    editor->SetEncoding(Win);
    editor->Lines()->LoadFromFile(DataFile(bytes));
    return editor;
}

// The window's share of a journal write: the text out as RTF and encoded.
void BM_TakeText(benchmark::State& state)
{
    const std::unique_ptr<TqxEditor> editor = Loaded(state.range(0) << 20);
    for (auto _ : state) {
        const QByteArray record = EncodeJournalRecord(TakeJournalText(*editor));
        benchmark::DoNotOptimize(record.data());
    }
    state.SetLabel("MB of text");
}
BENCHMARK(BM_TakeText)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(3);

// What each keystroke costs the window with the journal on: reading the change
// back as an edit and encoding it.
void BM_TypedEdit(benchmark::State& state)
{
    const std::unique_ptr<TqxEditor> editor = Loaded(state.range(0) << 20);
    QTextDocument* doc = editor->Window()->Document();
    const int position = doc->characterCount() / 2;
    QTextCursor(doc->findBlock(position)).insertText(QStringLiteral("x"));
    const int at = doc->findBlock(position).position() + 1;
    for (auto _ : state) {
        const std::optional<TJournalEdit> edit = PlainEdit(*doc, at - 1, 0, 1, {});
        benchmark::DoNotOptimize(EncodeJournalEdit(*edit).data());
    }
    state.SetLabel("MB of text");
}
BENCHMARK(BM_TypedEdit)->Arg(1)->Arg(50)->Unit(benchmark::kMicrosecond);

// One word in the middle made bold, with the journal recording the change as
// the window does: the edit as plain text, else the RTF of its range, else a
// whole copy (counted; none is expected).
void BM_BoldWord(benchmark::State& state)
{
    const std::unique_ptr<TqxEditor> editor = Loaded(state.range(0) << 20);
    QTextDocument* doc = editor->Window()->Document();
    qint64 wholeCopies = 0;
    qint64 payload = 0;
    qint64 journalNs = 0;
    QObject::connect(doc, &QTextDocument::contentsChange, [&](int position, int removed, int added) {
        QElapsedTimer timer;
        timer.start();
        const auto charge = qScopeGuard([&] { journalNs += timer.nsecsElapsed(); });
        std::optional<TJournalEdit> edit = PlainEdit(*doc, position, removed, added, {});
        if (!edit)
            edit = RichRangeEdit(*doc, position, removed, added, {});
        if (!edit) {
            ++wholeCopies;
            return;
        }
        payload += EncodeJournalEdit(*edit).size();
    });
    const int word = doc->findBlock(doc->characterCount() / 2).position();
    bool bold = false;
    for (auto _ : state) {
        QTextCursor cursor(doc);
        cursor.setPosition(word);
        cursor.setPosition(word + 6, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        bold = !bold;
        format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
        cursor.mergeCharFormat(format);
    }
    state.counters["journal_us_per_change"] = double(journalNs) / 1000.0 / double(std::max<qint64>(1, state.iterations()));
    state.counters["whole_copies"] = double(wholeCopies);
    state.counters["journal_bytes_per_change"] = double(payload) / double(std::max<qint64>(1, state.iterations()));
    state.SetLabel("MB of text");
}
BENCHMARK(BM_BoldWord)->Arg(10)->Arg(50)->Unit(benchmark::kMicrosecond);

// A Replace All whose words differ in length: one change over the whole text.
void BM_ReplaceAllEdit10MB(benchmark::State& state)
{
    const std::unique_ptr<TqxEditor> editor = Loaded(10LL << 20);
    QTextDocument* doc = editor->Window()->Document();
    const int length = doc->characterCount() - 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(PlainEdit(*doc, 0, length - 1000, length, {}).has_value());
}
BENCHMARK(BM_ReplaceAllEdit10MB)->Unit(benchmark::kMillisecond)->Iterations(3);

// After a save the window looks at the text's formats (only when its history
// cannot tell) and keeps a copy of its characters; at the first change the
// writer's thread checks that they read back from the file and reads the file.
// The window's share against the writer's, and against BM_TakeText, the whole
// copy this replaces.
void BM_SavedFileBase(benchmark::State& state)
{
    const std::unique_ptr<TqxEditor> editor = Loaded(state.range(0) << 20);
    QTextDocument* doc = editor->Window()->Document();
    const std::optional<TPlainFormats> formats = PlainFormatsOf(*doc);
    const QString file = DataFile(state.range(0) << 20);
    qint64 formatsNs = 0;
    qint64 copyNs = 0;
    qint64 writerNs = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        benchmark::DoNotOptimize(HasOnlyFormats(*doc, *formats));
        formatsNs += timer.nsecsElapsed();
        timer.restart();
        const QString saved = doc->toRawText();
        copyNs += timer.nsecsElapsed();
        timer.restart();
        benchmark::DoNotOptimize(PlainTextReadsBack(saved, Win, daNone, Little));
        benchmark::DoNotOptimize(ReadFileBytes(file)->size());
        writerNs += timer.nsecsElapsed();
    }
    const double runs = double(std::max<qint64>(1, state.iterations()));
    state.counters["window_formats_ms"] = double(formatsNs) / 1e6 / runs;
    state.counters["window_copy_ms"] = double(copyNs) / 1e6 / runs;
    state.counters["writer_ms"] = double(writerNs) / 1e6 / runs;
    state.SetLabel("MB of text");
}
BENCHMARK(BM_SavedFileBase)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(3);

// One word in a cell made bold in a text holding a table: the RTF of the table
// instead of a whole copy.
void BM_BoldWordInTable(benchmark::State& state)
{
    const std::unique_ptr<TqxEditor> editor = Loaded(state.range(0) << 20);
    QTextDocument* doc = editor->Window()->Document();
    QTextCursor at(doc->findBlock(doc->characterCount() / 2));
    at.insertTable(3, 3)->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("word in a cell"));
    const int cell = doc->rootFrame()->childFrames().first()->firstPosition();
    qint64 journalNs = 0;
    qint64 wholeCopies = 0;
    bool bold = false;
    for (auto _ : state) {
        QTextCursor cursor(doc);
        cursor.setPosition(cell + 4);
        cursor.setPosition(cell + 8, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        bold = !bold;
        format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
        cursor.mergeCharFormat(format);
        QElapsedTimer timer;
        timer.start();
        const std::optional<TJournalEdit> edit = RichRangeEdit(*doc, cell + 4, 4, 4, TableExtentsOf(*doc));
        wholeCopies += edit ? 0 : 1;
        if (edit)
            benchmark::DoNotOptimize(EncodeJournalEdit(*edit).size());
        journalNs += timer.nsecsElapsed();
    }
    state.counters["journal_ms_per_change"] = double(journalNs) / 1e6 / double(std::max<qint64>(1, state.iterations()));
    state.counters["whole_copies"] = double(wholeCopies);
    state.SetLabel("MB of text");
}
BENCHMARK(BM_BoldWordInTable)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Open50MB(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Loaded(50LL << 20).get());
}
BENCHMARK(BM_Open50MB)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_Recover50MB(benchmark::State& state)
{
    QString path;
    {
        const std::unique_ptr<TqxEditor> editor = Loaded(50LL << 20);
        TJournalState text = TakeJournalText(*editor);
        TJournalWriter writer(DataDir);
        writer.Write(EncodeJournalRecord(text));
        writer.Flush();
        path = writer.Path();
    }
    for (auto _ : state) {
        auto editor = std::make_unique<TqxEditor>();
        editor->SetWordWrap(false);
        ShowJournalText(*editor, ReadJournal(path));
        benchmark::DoNotOptimize(editor.get());
    }
    QFile::remove(path);
}
BENCHMARK(BM_Recover50MB)->Unit(benchmark::kMillisecond)->Iterations(2);

// A loaded text with edits keeps the file's bytes: recovering reads them again.
void BM_RecoverLoaded50MB(benchmark::State& state)
{
    TJournalState text;
    text.fromFile = true;
    text.encoding = Win;
    text.fileBytes = *ReadFileBytes(DataFile(50LL << 20));
    {
        const std::unique_ptr<TqxEditor> editor = Loaded(50LL << 20);
        text.characters = editor->Window()->Document()->characterCount() - 1;
    }
    TJournalEdit typed;
    typed.position = 1000;
    typed.text = QStringLiteral("typed");
    text.edits.push_back(typed);
    QString path;
    {
        TJournalWriter writer(DataDir);
        writer.Write(EncodeJournalRecord(text));
        writer.Append(EncodeJournalEdit(typed));
        writer.Flush();
        path = writer.Path();
    }
    for (auto _ : state) {
        auto editor = std::make_unique<TqxEditor>();
        editor->SetWordWrap(false);
        ShowJournalText(*editor, ReadJournal(path));
        benchmark::DoNotOptimize(editor.get());
    }
    QFile::remove(path);
}
BENCHMARK(BM_RecoverLoaded50MB)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
