// SPDX-License-Identifier: GPL-3.0-or-later
// The main of the benchmarks of the real window: offscreen unless a display is
// asked for, in a private world of folders and settings made before Qt starts.
#include "privateworld.h"

#include <benchmark/benchmark.h>

#include <QApplication>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ProcessWorld();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
