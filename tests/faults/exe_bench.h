#pragma once
// The demo executable in a folder of its own that the fault library watches, and vorlan-cli
// run on it as a child process. The children's output files and fault counts are kept beside
// that folder, so writing them is never counted as a write of the program under test.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "cli_process.h"
#include "fixtures/demo_exe.h"

namespace vorlan::test {

class ExeBench : public DemoExe {
public:
    ExeBench() : DemoExe("exe") {}

    // The demo executable, freshly written, and nothing else in its folder.
    void reset();

    const std::filesystem::path& logs() const { return root().path(); }
    std::filesystem::path counts() const { return root() / "counts"; }
    std::filesystem::path mark() const { return root() / "mark"; }

    // Names of everything in the executable's folder but the executable.
    std::vector<std::string> strayFiles() const;

    // `vorlan-cli --exe EXE args…` as a child process: without the fault library when `plan`
    // is null; with it (counting into counts()) otherwise, an empty plan only counting.
    std::vector<std::string> command(const std::vector<std::string>& args) const;
    Faults faults(const char* plan) const;
    CliResult run(const std::vector<std::string>& args, const char* plan = nullptr) const;
};

}  // namespace vorlan::test
