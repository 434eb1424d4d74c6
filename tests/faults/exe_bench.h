#pragma once
// A demo executable alone in a folder that the fault library watches, and vorlan-cli run on
// it. The children's output files and fault counts are kept beside that folder, so writing
// them is never counted as a write of the program under test.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "cli_process.h"
#include "fixtures/fixtures.h"

namespace vorlan::test {

class ExeBench {
public:
    ExeBench();

    // The demo executable, freshly written, and nothing else in its folder.
    void reset();

    const std::filesystem::path& dir() const { return dir_; }
    const std::filesystem::path& exe() const { return exe_; }
    const std::filesystem::path& logs() const { return root_.path(); }
    std::filesystem::path backup() const { return sibling(".bak"); }
    std::filesystem::path journal() const { return sibling(".journal"); }
    std::filesystem::path counts() const { return root_ / "counts"; }
    std::filesystem::path mark() const { return root_ / "mark"; }

    std::vector<std::uint8_t> bytes() const { return readFile(exe_); }
    // Names of everything in the executable's folder but the executable.
    std::vector<std::string> strayFiles() const;

    // `vorlan-cli --exe EXE args…`: without the fault library when `plan` is null; with it
    // (counting into counts()) otherwise, an empty plan only counting.
    std::vector<std::string> command(const std::vector<std::string>& args) const;
    Faults faults(const char* plan) const;
    CliResult run(const std::vector<std::string>& args, const char* plan = nullptr) const;

private:
    std::filesystem::path sibling(const char* suffix) const;

    TempDir root_;
    std::filesystem::path dir_;
    std::filesystem::path exe_;
};

}  // namespace vorlan::test
