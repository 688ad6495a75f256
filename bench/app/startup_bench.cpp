// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the real program, from process start to the first painted screen:
// with no file, and with a 10 MB CP866 text named on the command line. The
// program ends itself after that paint (QUILLET_QUIT_AFTER_FIRST_PAINT).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

constexpr qint64 TenMegabytes = 10 * 1024 * 1024;

// A Russian DOS text with CR LF line ends, kept under /tmp between runs.
QString Cp866File()
{
    const QString name = QDir::temp().filePath(QStringLiteral("quillet-bench-cp866-10mb.txt"));
    if (QFile(name).size() == TenMegabytes)
        return name;
    // "Съешь же ещё этих мягких французских булок, да выпей чаю." in CP866.
    const QByteArray line = QByteArray::fromHex(
        "91EAA5E8EC20A6A520A5E9F120EDE2A8E520ACEFA3AAA8E520E4E0A0ADE6E3A7E1AAA8E520A1E3ABAEAA2C20A4A020A2EBAFA5A920"
        "E7A0EE2E0D0A");
    QByteArray text;
    text.reserve(TenMegabytes);
    while (text.size() + line.size() <= TenMegabytes)
        text += line;
    text.append(TenMegabytes - text.size(), ' ');
    QFile file(name);
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
    return name;
}

void RunToFirstPaint(benchmark::State& state, const QStringList& arguments)
{
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUILLET_QUIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
    env.insert(QStringLiteral("QUILLET_REGISTRY"), home.filePath(QStringLiteral("registry.db")));
    env.insert(QStringLiteral("HOME"), home.path());
    if (!env.contains(QStringLiteral("DISPLAY")) && !env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(QUILLET_APP_PATH), arguments);
        if (!process.waitForFinished(60000) || process.exitCode() != 0) {
            state.SkipWithError("the program did not reach its first paint");
            break;
        }
    }
}

void BM_StartNoFile(benchmark::State& state)
{
    RunToFirstPaint(state, {});
}

void BM_StartCp866File10MB(benchmark::State& state)
{
    RunToFirstPaint(state, {Cp866File()});
}

BENCHMARK(BM_StartNoFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_StartCp866File10MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

BENCHMARK_MAIN();
