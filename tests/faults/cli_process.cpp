#include "cli_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace vorlan::test {

namespace {

std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A C array of pointers into `strings`, ending with a null pointer.
std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (std::string& s : strings)
        out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

}  // namespace

FaultCounts readCounts(const std::filesystem::path& path) {
    FaultCounts counts;
    std::ifstream in(path);
    if (!(in >> counts.writes >> counts.syncs >> counts.fired))
        return {};
    return counts;
}

CliProcess::CliProcess(const std::vector<std::string>& args, const Faults& faults,
                       const std::filesystem::path& logDir) {
    static std::atomic<int> serial{0};
    const std::string stem = "cli-" + std::to_string(serial++);
    outFile_ = logDir / (stem + ".out");
    errFile_ = logDir / (stem + ".err");

    // VORLAN_TEST_CLI runs the same scenarios against another build of the tool.
    const char* other = std::getenv("VORLAN_TEST_CLI");
    std::vector<std::string> argv{other != nullptr && *other != '\0' ? other : VORLAN_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> env{"PATH=/usr/bin:/bin", "LC_ALL=C.UTF-8"};
    // The test program's own config folder (fixtures.h), where the region key lives.
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS", "XDG_CONFIG_HOME"}) {
        if (const char* value = std::getenv(name))
            env.push_back(std::string(name) + "=" + value);
    }
    if (!faults.dir.empty()) {
        // A sanitizer's runtime must come before any other preloaded library.
        std::string preload = VORLAN_FAULT_SHIM_PATH;
        if (const std::string runtime = VORLAN_SANITIZER_RUNTIME; !runtime.empty())
            preload = runtime + ":" + preload;
        env.push_back("LD_PRELOAD=" + preload);
        env.push_back("VORLAN_FAULT_DIR=" + faults.dir.string());
        if (!faults.plan.empty())
            env.push_back("VORLAN_FAULT=" + faults.plan);
        if (!faults.mark.empty())
            env.push_back("VORLAN_FAULT_MARK=" + faults.mark.string());
        if (!faults.count.empty())
            env.push_back("VORLAN_FAULT_COUNT=" + faults.count.string());
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    auto argp = pointers(argv);
    auto envp = pointers(env);
    const int rc =
        posix_spawn(&pid_, argv.front().c_str(), &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error("cannot start " + argv.front() + ": " + std::to_string(rc));
}

CliProcess::~CliProcess() {
    if (pid_ > 0) {
        kill();
        wait();
    }
}

void CliProcess::kill() {
    if (pid_ > 0)
        ::kill(pid_, SIGKILL);
}

CliResult CliProcess::wait() {
    CliResult result;
    int status = 0;
    pid_t got;
    do {
        got = ::waitpid(pid_, &status, 0);
    } while (got < 0 && errno == EINTR);
    pid_ = -1;
    if (got > 0 && WIFEXITED(status))
        result.status = WEXITSTATUS(status);
    if (got > 0 && WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    result.out = slurp(outFile_);
    result.err = slurp(errFile_);
    std::error_code ec;
    std::filesystem::remove(outFile_, ec);
    std::filesystem::remove(errFile_, ec);
    return result;
}

CliResult runCli(const std::vector<std::string>& args, const Faults& faults,
                 const std::filesystem::path& logDir) {
    CliProcess child(args, faults, logDir);
    return child.wait();
}

bool waitForFile(const std::filesystem::path& path, int limitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!std::filesystem::exists(path)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

std::uint32_t readLe(const std::vector<std::uint8_t>& bytes, std::size_t at, int width) {
    std::uint32_t v = 0;
    for (int i = 0; i < width; ++i)
        v |= static_cast<std::uint32_t>(bytes.at(at + static_cast<std::size_t>(i))) << (8 * i);
    return v;
}

}  // namespace vorlan::test
