#pragma once
// What several benchmarks share: the tests' demo executable in a temporary folder of its own
// (test::DemoExe), and the repository's data folder.

#include <QString>

#include "fixtures/demo_exe.h"

namespace vorlan::bench {

inline QString dataDir() {
    return QString::fromStdString(test::sourceDataDir().string());
}

}  // namespace vorlan::bench
