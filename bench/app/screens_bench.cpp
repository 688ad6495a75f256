// Applying a saved screen reformats every character of the shown text: how that
// grows with the text (0.5 to 4 million characters of Russian lines), to watch
// that it stays linear.
#include "view.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

// A private world for the window: registry, HOME and XDG folders under /tmp.
struct World {
    QTemporaryDir dir{QDir::tempPath() + QStringLiteral("/quillet-bench-XXXXXX")};
    World()
    {
        for (const char* sub : {"home", "config", "data", "runtime"})
            QDir(dir.path()).mkdir(QString::fromLatin1(sub));
        qputenv("HOME", dir.filePath(QStringLiteral("home")).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", dir.filePath(QStringLiteral("runtime")).toLocal8Bit());
        QFile::setPermissions(dir.filePath(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("QUILLET_REGISTRY", dir.filePath(QStringLiteral("registry.db")).toLocal8Bit());
    }
};

World& TheWorld()
{
    static World world;
    return world;
}

// Windows-1251 lines of "Съешь же ещё этих мягких французских булок, да выпей чаю."
QString WriteText(qint64 characters)
{
    const QString name = TheWorld().dir.filePath(QStringLiteral("text-%1.txt").arg(characters));
    if (QFile::exists(name))
        return name;
    const QByteArray line = QByteArray::fromHex(
        "D1FAE5F8FC20E6E520E5F9B820FDF2E8F520ECFFE3EAE8F520F4F0E0EDF6F3E7F1EAE8F520E1F3EBEEEA2C20E4E020E2FBEFE5E920"
        "F7E0FE2E0D0A");
    QByteArray text;
    text.reserve(characters + line.size());
    while (text.size() < characters)
        text += line;
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return {};
    return name;
}

void BM_ScreenByDefaultOnTheWholeText(benchmark::State& state)
{
    const QString file = WriteText(state.range(0));
    auto w = std::make_unique<TfmView>(QStringList{file});
    w->show();
    for (int i = 0; i < 500 && !w->TextReady; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    for (auto _ : state) {
        w->ChangeScreen(0);
        QCoreApplication::processEvents();   // the first screen
    }
    if (w->GEditor->Modified())
        state.SkipWithError("the text was marked modified");
    state.counters["ns_per_char"] = benchmark::Counter(double(state.range(0)) * double(state.iterations()) * 1e-9,
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ScreenByDefaultOnTheWholeText)
    ->Arg(500'000)->Arg(1'000'000)->Arg(2'000'000)->Arg(4'000'000)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TheWorld();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
