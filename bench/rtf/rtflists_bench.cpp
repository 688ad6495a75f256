// SPDX-License-Identifier: GPL-3.0-or-later
// Writing long numbered lists as RTF: the list table and every item's number
// must cost in proportion to the items, not to their square.
#include "rtfwriter.h"
#include "textproperties.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// One decimal list of n items, every tenth followed by two lettered sub-items,
// as a long contract or a protocol has them.
std::unique_ptr<QTextDocument> Lists(int n)
{
    auto document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false);
    QTextCursor c(document.get());
    QTextListFormat outer;
    outer.setStyle(QTextListFormat::ListDecimal);
    outer.setProperty(platform::PropListGroup, 1);
    QTextListFormat inner;
    inner.setStyle(QTextListFormat::ListLowerAlpha);
    inner.setProperty(platform::PropListGroup, 1);
    inner.setProperty(platform::PropListLevel, 1);
    QTextList* list = nullptr;
    for (int i = 0; i < n; ++i) {
        if (i > 0)
            c.insertBlock();
        c.insertText(QStringLiteral(u"Пункт договора номер %1").arg(i));
        if (list)
            list->add(c.block());
        else
            list = c.createList(outer);
        if (i % 10 == 9) {
            c.insertBlock();
            c.insertText(QStringLiteral(u"подпункт"));
            QTextList* sub = c.createList(inner);
            c.insertBlock();
            c.insertText(QStringLiteral(u"подпункт"));
            sub->add(c.block());
        }
    }
    return document;
}

void WriteLists(benchmark::State& state)
{
    const auto document = Lists(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::WriteRtf(*document));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(WriteLists)->RangeMultiplier(4)->Range(1000, 64000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace
