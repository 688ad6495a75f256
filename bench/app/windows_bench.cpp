// SPDX-License-Identifier: GPL-3.0-or-later
// Several windows: listing the running copies (the Window menu's work) with 20
// copies running, and a view request for a 100 KB file from the moment it is
// sent until the waiting window has shown the file, against real copies of the
// program on the offscreen platform in a private runtime folder.
#include "instanceclient.h"
#include "privateworld.h"
#include "view.h"
#include "viewrequest.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <memory>
#include <vector>

namespace {

constexpr int Copies = 20;

// The copies and the folder they share, for the whole run.
struct World {
    QTemporaryDir dir;
    std::vector<std::unique_ptr<QProcess>> copies;
    qint64 waiting = 0;
    QString file100k;

    World()
    {
        EnterPrivateWorld(dir.path());
        qputenv("QT_QPA_PLATFORM", "offscreen");
        const QByteArray line = RussianLine1251();
        QByteArray text;
        while (text.size() + line.size() <= 100 * 1024)
            text += line;
        file100k = dir.filePath(QStringLiteral("russian-100k.txt"));
        QFile out(file100k);
        if (out.open(QIODevice::WriteOnly))
            out.write(text);
    }

    ~World()
    {
        for (auto& copy : copies) {
            copy->kill();
            copy->waitForFinished(5000);
        }
    }

    qint64 Start(const QStringList& arguments)
    {
        auto copy = std::make_unique<QProcess>();
        copy->setStandardOutputFile(QProcess::nullDevice());
        copy->setStandardErrorFile(QProcess::nullDevice());
        copy->start(QStringLiteral(QUILLET_APP_PATH), arguments);
        if (!copy->waitForStarted(10000))
            return 0;
        const qint64 pid = copy->processId();
        copies.push_back(std::move(copy));
        return pid;
    }

    bool WaitForListing(std::size_t count, std::uint32_t applicationTag = 0)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 120000) {
            const std::vector<platform::TInstance> list = platform::ListInstances();
            std::size_t tagged = 0;
            for (const auto& copy : list)
                tagged += copy.applicationTag == applicationTag ? 1 : 0;
            if (list.size() == count && (applicationTag == 0 || tagged == 1))
                return true;
            QCoreApplication::processEvents();
            QThread::msleep(50);
        }
        return false;
    }
};

std::unique_ptr<World> world;

World& TheWorld()
{
    if (!world)
        world = std::make_unique<World>();
    return *world;
}

// The raw listing of the copies, as every enumeration does it.
void BM_ListCopies(benchmark::State& state)
{
    World& world = TheWorld();
    while (world.copies.size() < Copies)
        world.Start({});
    if (!world.WaitForListing(Copies)) {
        state.SkipWithError("the copies did not all register");
        return;
    }
    for (auto _ : state) {
        const std::vector<platform::TInstance> list = platform::ListInstances();
        if (list.size() != Copies) {
            state.SkipWithError("a copy was missing from a listing");
            break;
        }
    }
}

// The Window menu of a window among 19 other copies: opening it lists the 20.
void BM_FillWindowMenu(benchmark::State& state)
{
    World& world = TheWorld();
    while (world.copies.size() > Copies - 1) {
        world.copies.back()->kill();
        world.copies.back()->waitForFinished(5000);
        world.copies.pop_back();
    }
    TfmView view({});
    view.show();
    if (!world.WaitForListing(Copies)) {
        state.SkipWithError("the copies did not all register");
        return;
    }
    QMenu* menu = view.Menu(QStringLiteral("meWnd"));
    for (auto _ : state) {
        emit menu->aboutToShow();
        if (menu->actions().size() != 3 + Copies) {
            state.SkipWithError("the menu did not list every copy");
            break;
        }
    }
    view.GEditor->SetModified(false);
    view.close();
}

// A view request for a 100 KB Windows-1251 text: sent until answered, and the
// waiting window answers once the file is shown.
void BM_ViewRequest100KB(benchmark::State& state)
{
    World& world = TheWorld();
    if (!world.waiting) {
        world.waiting = world.Start({QStringLiteral("|?")});
        if (!world.WaitForListing(world.copies.size(), VIEW_REQUEST_TAG)) {
            state.SkipWithError("the waiting window did not register");
            return;
        }
    }
    TViewRequest request;
    request.FileName = QFile::encodeName(world.file100k);
    request.Encoding = 1;
    request.CaretPos = 1000;
    request.SelLength = 10;
    const QByteArray record = *BuildViewRequest(request);
    for (auto _ : state) {
        const std::optional<std::uint32_t> answer =
            platform::SendCopyData(world.waiting, VIEW_REQUEST_TAG, record, 10000);
        if (answer != std::optional<std::uint32_t>(1)) {
            state.SkipWithError("the window did not show the file");
            break;
        }
    }
}

// The same through quillet-view, as another program would send it: the
// command's start, its detection of the file and the request.
void BM_QuilletView100KB(benchmark::State& state)
{
    World& world = TheWorld();
    if (!world.waiting) {
        state.SkipWithError("run after BM_ViewRequest100KB");
        return;
    }
    for (auto _ : state) {
        QProcess sender;
        sender.start(QStringLiteral(QUILLET_VIEW_PATH), {QStringLiteral("-p"), QString::number(world.waiting),
                                                         world.file100k});
        if (!sender.waitForFinished(10000) || sender.exitCode() != 0) {
            state.SkipWithError("quillet-view failed");
            break;
        }
    }
}

BENCHMARK(BM_ListCopies)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_FillWindowMenu)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_ViewRequest100KB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(30);
BENCHMARK(BM_QuilletView100KB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(30);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    world.reset();
    return 0;
}
