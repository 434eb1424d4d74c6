// The benchmark program: Qt's application object first (the page benchmarks build widgets,
// offscreen unless QT_QPA_PLATFORM says otherwise), then Google Benchmark's own options.

#include <benchmark/benchmark.h>

#include <QApplication>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The skin lives in the widget library; a static library's resources need an explicit start.
    Q_INIT_RESOURCE(resources);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
