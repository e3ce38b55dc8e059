// The application benchmarks need a widgets application, offscreen unless told otherwise.
#include <QApplication>
#include <QDir>
#include <benchmark/benchmark.h>

#if !defined(Q_OS_MACOS)
#include "app/LargeBlocks.h"
#include "app/RuntimeDir.h"
#endif

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#if !defined(Q_OS_MACOS)
    // As the program does: its allocator's setting, and a clean report.
    fenwold::giveLargeBlocksTheirOwnPages();
    fenwold::providePrivateRuntimeDir(QDir::tempPath());
#endif
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
