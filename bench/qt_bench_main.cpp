// SPDX-License-Identifier: Apache-2.0
// main() of the benchmarks that run real windows or painters: the application object on the
// offscreen platform, set up as the program sets itself up, then every benchmark.

#include "bitmap_resources.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <clocale>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);
    initBitmapResources();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
