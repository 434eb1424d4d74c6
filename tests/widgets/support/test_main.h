#pragma once
// The widget test programs' entry: QTEST_MAIN's, after the start every program makes first
// (a child started by runInChild, this program again on Windows, answers and ends there).

#include <QApplication>
#include <QTest>

#include "io/program_start.h"

// Wine keeps the Linux side's QT_* variables from Windows programs: under Wine the platform is
// named by VORLAN_QPA_PLATFORM, and passed on to the programs a test starts.
#ifdef _WIN32
#define VORLAN_WINE_PLATFORM()                            \
    if (qEnvironmentVariableIsSet("VORLAN_QPA_PLATFORM")) \
        qputenv("QT_QPA_PLATFORM", qgetenv("VORLAN_QPA_PLATFORM"));
#else
#define VORLAN_WINE_PLATFORM()
#endif

#define VORLAN_WIDGET_TEST_MAIN(TestObject)                              \
    int main(int argc, char* argv[]) {                                   \
        if (const auto child = vorlan::startProgram())                   \
            return *child;                                               \
        VORLAN_WINE_PLATFORM()                                           \
        QApplication app(argc, argv);                                    \
        app.setAttribute(Qt::AA_Use96Dpi, true);                         \
        TestObject tc;                                                   \
        QTEST_SET_MAIN_SOURCE_PATH return QTest::qExec(&tc, argc, argv); \
    }
