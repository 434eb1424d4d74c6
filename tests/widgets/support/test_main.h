#pragma once
// The widget test programs' entry: QTEST_MAIN's, after the start every program makes first
// (a child started by runInChild, this program again on Windows, answers and ends there).

#include <QApplication>
#include <QTest>

#include "io/program_start.h"

#define VORLAN_WIDGET_TEST_MAIN(TestObject)                              \
    int main(int argc, char* argv[]) {                                   \
        if (const auto child = vorlan::startProgram())                   \
            return *child;                                               \
        QApplication app(argc, argv);                                    \
        app.setAttribute(Qt::AA_Use96Dpi, true);                         \
        TestObject tc;                                                   \
        QTEST_SET_MAIN_SOURCE_PATH return QTest::qExec(&tc, argc, argv); \
    }
