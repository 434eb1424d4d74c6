// The benchmark program: Qt's application object first (the page benchmarks build widgets,
// offscreen unless QT_QPA_PLATFORM says otherwise), then Google Benchmark's own options.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>

#include "io/program_start.h"

namespace {

// The offscreen platform says, at every window shown, what it cannot do (raise a window,
// pass size hints on): nothing a benchmark needs, and it would bury the results.
void quietPlatform(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtWarningMsg && text.startsWith("This plugin does not support"))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

}  // namespace

int main(int argc, char** argv) {
    if (const auto child = vorlan::startProgram())
        return *child;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The skin lives in the widget library; a static library's resources need an explicit start.
    Q_INIT_RESOURCE(resources);
    qInstallMessageHandler(quietPlatform);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
