#pragma once
// Running vorlan-cli in-process, and a demo executable to run it on.

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "command.h"
#include "fixtures/fixtures.h"

namespace vorlan::test {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

// Runs the tool with the repository's data folder as the default data folder.
inline CliRun cli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::runCli(args, sourceDataDir().parent_path(), out, err);
    return {status, out.str(), err.str()};
}

// A fresh demo executable in a temporary folder; `run` passes it with --exe.
class DemoExe {
public:
    DemoExe() : path_(writeDemo(dir_ / "SLKV_618.04")) {}
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path backup() const { return dir_ / "SLKV_618.04.bak"; }
    const TempDir& dir() const { return dir_; }

    CliRun run(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--exe", path_.string()});
        return cli(args);
    }
    std::vector<std::uint8_t> bytes() const { return readFile(path_); }

private:
    TempDir dir_;
    std::filesystem::path path_;
};

}  // namespace vorlan::test
