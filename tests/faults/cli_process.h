#pragma once
// vorlan-cli as a child process, with the fault library preloaded when a test asks for it.
// The child gets a fixed environment (no shell), and its stdout and stderr go to files
// outside the folder whose writes the fault library counts.

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vorlan::test {

// How the fault library is set up for one child; an empty `dir` runs the child without it.
struct Faults {
    std::filesystem::path dir;    // only writes and flushes of files in here count
    std::string plan;             // e.g. "pwrite:3" or "pwrite:9,enospc:12"
    std::filesystem::path mark;   // created by a pause fault
    std::filesystem::path count;  // receives the counts as the child exits
};

// What the fault library counted in one child.
struct FaultCounts {
    long writes = -1;
    long syncs = -1;
    long fired = -1;
};
// The counts the child wrote to `path`; -1 everywhere when it wrote none.
FaultCounts readCounts(const std::filesystem::path& path);

struct CliResult {
    int status = -1;  // the exit status, or -1 when the child was killed by a signal
    int signal = 0;
    std::string out;
    std::string err;
};

class CliProcess {
public:
    // Starts vorlan-cli with `args`; its output files are made in `logDir`.
    CliProcess(const std::vector<std::string>& args, const Faults& faults,
               const std::filesystem::path& logDir);
    ~CliProcess();
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    pid_t pid() const { return pid_; }
    void kill();
    CliResult wait();

private:
    pid_t pid_ = -1;
    std::filesystem::path outFile_;
    std::filesystem::path errFile_;
};

CliResult runCli(const std::vector<std::string>& args, const Faults& faults,
                 const std::filesystem::path& logDir);

// Waits up to `limit` for `path` to appear.
bool waitForFile(const std::filesystem::path& path, int limitMs);

std::uint32_t readLe(const std::vector<std::uint8_t>& bytes, std::size_t at, int width);

}  // namespace vorlan::test
