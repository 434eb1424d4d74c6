#pragma once
// What several benchmarks share: a demo executable of their own in a temporary folder, and
// the repository's data folder.

#include <QString>
#include <filesystem>

#include "fixtures/fixtures.h"

namespace vorlan::bench {

class DemoFile {
public:
    DemoFile() : path_(test::writeDemo(dir_ / "SLKV_618.04")) {}
    const std::filesystem::path& path() const { return path_; }
    QString qpath() const { return QString::fromStdString(path_.string()); }

private:
    test::TempDir dir_;
    std::filesystem::path path_;
};

inline QString dataDir() {
    return QString::fromStdString(test::sourceDataDir().string());
}

}  // namespace vorlan::bench
