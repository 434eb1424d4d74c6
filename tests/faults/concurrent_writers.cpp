// Several vorlan-cli processes writing one executable at the same time: each write lands on
// the record as the other left it, and the first write of a file makes exactly one backup.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <thread>

#include "exe_bench.h"
#include "fixtures/game_layout.h"

namespace vorlan::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kRounds = 200;

struct Loop {
    explicit Loop(std::string (*of)(int)) : assignment(of) {}
    // The FIELD=VALUE of round i.
    std::string (*assignment)(int i);
    std::vector<int> failures;  // rounds whose command did not exit 0
    std::string firstError;     // what the first of them said
};

// Runs both loops at once, each `kRounds` commands one after another, on one executable.
void runTogether(const ExeBench& bench, std::array<Loop, 2>& loops) {
    std::vector<std::thread> threads;
    for (Loop& loop : loops) {
        threads.emplace_back([&bench, &loop] {
            for (int i = 0; i < kRounds; ++i) {
                const CliResult r = runCli(bench.command({"set", "unit", "5", loop.assignment(i)}),
                                           {}, bench.logs());
                if (r.status != 0 && loop.failures.empty())
                    loop.firstError = r.err;
                if (r.status != 0)
                    loop.failures.push_back(i);
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    for (const Loop& loop : loops)
        EXPECT_TRUE(loop.failures.empty())
            << loop.failures.size() << " commands failed, the first saying:\n"
            << loop.firstError;
}

// Every byte outside `changed` (offsets in unit 5's record) is as in the original.
void expectOnlyChanged(const Bytes& now, std::initializer_list<std::size_t> changed) {
    Bytes expected = demoBytes();
    ASSERT_EQ(now.size(), expected.size());
    for (std::size_t at : changed)
        expected[kUnit5 + at] = now[kUnit5 + at];
    EXPECT_TRUE(now == expected) << "bytes outside the written fields changed";
}

// Watches two increasing fields of unit 5 while the loops run, reading under the shared lock
// that writers exclude, and counts the times one of them went back: an update lost to the
// other loop shows there until its own loop writes the field again. A field counts once it
// holds a value of its loop (base … base + kRounds - 1).
class Watcher {
public:
    struct Field {
        std::size_t offset;
        int width;
        std::uint32_t base;
    };
    Watcher(const std::filesystem::path& exe, std::array<Field, 2> fields)
        : fields_(fields), thread_([this, exe] { watch(exe); }) {}
    ~Watcher() {
        if (thread_.joinable())
            stop();
    }
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

    struct Seen {
        int regressions = 0;  // how many times a field went back
        bool both = false;    // both fields were seen holding values of their loops
    };
    Seen stop() {
        done_ = true;
        thread_.join();
        return seen_;
    }

private:
    void watch(const std::filesystem::path& exe) {
        const int fd = ::open(exe.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return;
        std::array<std::uint32_t, 2> seen{};
        std::array<bool, 2> started{};
        std::vector<std::uint8_t> record(64);
        while (!done_) {
            if (::flock(fd, LOCK_SH | LOCK_NB) == 0) {
                const ssize_t n =
                    ::pread(fd, record.data(), record.size(), static_cast<off_t>(kUnit5));
                ::flock(fd, LOCK_UN);
                for (std::size_t k = 0; k < 2 && n == static_cast<ssize_t>(record.size()); ++k) {
                    const Field& f = fields_[k];
                    const std::uint32_t v = readLe(record, f.offset, f.width);
                    const bool inRange = v >= f.base && v < f.base + kRounds;
                    if (started[k] && (!inRange || v < seen[k]))
                        ++seen_.regressions;
                    if (inRange) {
                        started[k] = true;
                        seen[k] = std::max(seen[k], v);
                    }
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        seen_.both = started[0] && started[1];
        ::close(fd);
    }

    std::array<Field, 2> fields_;
    std::atomic<bool> done_{false};
    Seen seen_;
    std::thread thread_;
};

// 200 rounds each: the subprocesses take some 20 ms, so the test runs for a few seconds.
TEST(ConcurrentWriters, TwoFieldsOfOneRecordLoseNothing) {
    ExeBench bench;
    std::array<Loop, 2> loops{
        Loop{[](int i) { return "hp=" + std::to_string(100000 + i); }},
        Loop{[](int i) { return "en=" + std::to_string(50000 + i); }},
    };
    Watcher watcher(bench.path(), {{{36, 4, 100000}, {40, 2, 50000}}});
    runTogether(bench, loops);
    const Watcher::Seen seen = watcher.stop();
    EXPECT_TRUE(seen.both) << "the watcher never saw the loops' values";
    EXPECT_EQ(seen.regressions, 0) << "a field went back to an older value while the loops ran";
    const Bytes now = bench.bytes();
    EXPECT_EQ(readLe(now, kUnit5 + 36, 4), 100000u + kRounds - 1);
    EXPECT_EQ(readLe(now, kUnit5 + 40, 2), 50000u + kRounds - 1);
    expectOnlyChanged(now, {36, 37, 38, 39, 40, 41});
    EXPECT_TRUE(readFile(bench.backup()) == demoBytes());
    EXPECT_EQ(bench.strayFiles(), std::vector<std::string>{"SLKV_618.04.bak"});
}

// The two upgrade steps share byte 58: EN in its high half, HP in its low half.
TEST(ConcurrentWriters, TwoHalvesOfOneByteLoseNothing) {
    ExeBench bench;
    std::array<Loop, 2> loops{
        Loop{[](int i) { return "step-en=" + std::to_string(i % 16); }},
        Loop{[](int i) { return "step-hp=" + std::to_string((i + 5) % 16); }},
    };
    runTogether(bench, loops);
    const Bytes now = bench.bytes();
    const unsigned last = kRounds - 1;
    EXPECT_EQ(now[kUnit5 + 58] >> 4, last % 16);
    EXPECT_EQ(now[kUnit5 + 58] & 0x0F, (last + 5) % 16);
    expectOnlyChanged(now, {58});
    EXPECT_TRUE(readFile(bench.backup()) == demoBytes());
}

// Two processes making the first write of a file at the same moment: one of them makes the
// backup, the other finds it, and no partial copy stays behind.
TEST(ConcurrentWriters, TwoFirstWritesMakeOneBackup) {
    ExeBench bench;
    for (int trial = 0; trial < 20; ++trial) {
        SCOPED_TRACE(trial);
        bench.reset();
        CliProcess first(bench.command({"set", "unit", "5", "hp=4321"}), {}, bench.logs());
        CliProcess second(bench.command({"set", "unit", "6", "hp=8765"}), {}, bench.logs());
        const CliResult a = first.wait();
        const CliResult b = second.wait();
        EXPECT_EQ(a.status, 0) << a.err;
        EXPECT_EQ(b.status, 0) << b.err;
        EXPECT_EQ(bench.strayFiles(), std::vector<std::string>{"SLKV_618.04.bak"});
        EXPECT_TRUE(readFile(bench.backup()) == demoBytes());
        const Bytes now = bench.bytes();
        EXPECT_EQ(readLe(now, kUnit5 + 36, 4), 4321u);
        EXPECT_EQ(readLe(now, kUnit5 + kUnitSize + 36, 4), 8765u);
    }
}

}  // namespace
}  // namespace vorlan::test
