// vorlan-cli killed in the middle of a write: the next run, whatever command it is, puts the
// executable back as it was and says so.

#include <gtest/gtest.h>

#include <csignal>

#include "exe_bench.h"

namespace vorlan::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::vector<std::string> kLimits{"patch", "upgrade-limits"};

FaultCounts cleanCounts(const std::vector<std::string>& args) {
    ExeBench bench;
    const CliResult r = bench.run(args, "");
    EXPECT_EQ(r.status, 0) << r.err;
    return readCounts(bench.counts());
}

// Starts `args` with `plan` (which pauses the child), waits until it has stopped there and
// kills it.
void killAtPause(const ExeBench& bench, const std::vector<std::string>& args,
                 const std::string& plan) {
    CliProcess child(bench.command(args), bench.faults(plan.c_str()), bench.logs());
    const bool paused = waitForFile(bench.mark(), 10000);
    child.kill();
    const CliResult r = child.wait();
    ASSERT_TRUE(paused) << plan << ": the child never reached the pause (exit " << r.status << ")\n"
                        << r.err;
    ASSERT_EQ(r.signal, SIGKILL);
}

// The run after the killed one is a plain read.
void expectRestoredByNextRun(const ExeBench& bench, const std::string& plan) {
    ASSERT_TRUE(std::filesystem::exists(bench.journalFile())) << plan;
    const CliResult next = bench.run({"get", "unit", "0"});
    EXPECT_EQ(next.status, 0) << plan << "\n" << next.err;
    EXPECT_NE(next.err.find("恢复"), std::string::npos) << plan << "\n" << next.err;
    EXPECT_TRUE(bench.bytes() == demoBytes()) << plan << ": the file was not restored";
    EXPECT_FALSE(std::filesystem::exists(bench.journalFile())) << plan;
    if (std::filesystem::exists(bench.backup())) {
        EXPECT_TRUE(readFile(bench.backup()) == demoBytes()) << plan;
    }
}

// Writes 1 to 4 copy the executable to the backup and write 5 is the journal; from 6 on the
// patch writes one unit at a time. Killed at the first, a middle and the last unit.
TEST(KilledWrites, PatchKilledMidWriteIsRestoredByTheNextRun) {
    const FaultCounts clean = cleanCounts(kLimits);
    ASSERT_GT(clean.writes, 100);
    ExeBench bench;
    for (long n : {6L, 7L, clean.writes / 3, clean.writes / 2, clean.writes - 1, clean.writes}) {
        SCOPED_TRACE("pause:" + std::to_string(n));
        bench.reset();
        const std::string plan = "pause:" + std::to_string(n);
        killAtPause(bench, kLimits, plan);
        expectRestoredByNextRun(bench, plan);
    }
}

// Killed mid-write, then given a name in another folder (a hard link, or moved there): the
// next run through that name finds the journal from the file itself and plays it back.
TEST(KilledWrites, AFileNamedElsewhereAfterAKilledWriteIsRestoredThroughThatName) {
    const FaultCounts clean = cleanCounts(kLimits);
    ExeBench bench;
    for (const bool move : {false, true}) {
        SCOPED_TRACE(move ? "moved" : "linked");
        bench.reset();
        killAtPause(bench, kLimits, "pause:" + std::to_string(clean.writes / 2));
        const TempDir game;
        const auto other = game / "SLKV_618.04";
        move ? std::filesystem::rename(bench.path(), other)
             : std::filesystem::create_hard_link(bench.path(), other);
        const CliResult next =
            runCli({"--exe", other.string(), "get", "unit", "0"}, {}, bench.logs());
        EXPECT_EQ(next.status, 0) << next.err;
        EXPECT_NE(next.err.find("恢复"), std::string::npos) << next.err;
        EXPECT_TRUE(readFile(other) == demoBytes()) << "the file was not restored";
        EXPECT_FALSE(std::filesystem::exists(bench.journalFile()));
    }
}

// The next run's playback itself fails part-way: it says the file is only partly restored,
// exits with the code for "changed, restore needed", keeps the journal, and the run after
// it restores the file.
TEST(KilledWrites, APlaybackFailingPartWayIsReportedAndFinishedByTheNextRun) {
    const FaultCounts clean = cleanCounts(kLimits);
    ExeBench bench;
    killAtPause(bench, kLimits, "pause:" + std::to_string(clean.writes / 2));
    const CliResult failed = bench.run({"get", "unit", "0"}, "pwrite:2");
    EXPECT_EQ(failed.status, 3) << failed.err;
    EXPECT_NE(failed.err.find("只恢复了一部分"), std::string::npos) << failed.err;
    expectRestoredByNextRun(bench, "after a failed playback");
}

// Killed while putting the old bytes back after a failed write.
TEST(KilledWrites, PatchKilledWhileUndoingAFailedWriteIsRestoredByTheNextRun) {
    const FaultCounts clean = cleanCounts(kLimits);
    ExeBench bench;
    const long fail = clean.writes / 2;
    for (long n : {fail + 1, fail + 20, fail + 100}) {
        bench.reset();
        const std::string plan = "pwrite:" + std::to_string(fail) + ",pause:" + std::to_string(n);
        SCOPED_TRACE(plan);
        killAtPause(bench, kLimits, plan);
        expectRestoredByNextRun(bench, plan);
    }
}

// Killed while the backup is copied (writes 1 and 3) or the journal written (write 5): the
// file never gets its name, the executable is untouched, and the next write makes a whole
// backup and leaves nothing of the killed run behind.
TEST(KilledWrites, KilledWhileMakingASideFileLeavesNothingFalse) {
    ExeBench bench;
    for (long n : {1L, 3L, 5L}) {
        SCOPED_TRACE(n);
        bench.reset();
        killAtPause(bench, kLimits, "pause:" + std::to_string(n));
        EXPECT_EQ(std::filesystem::exists(bench.backup()), n == 5);
        EXPECT_FALSE(std::filesystem::exists(bench.journalFile()));
        EXPECT_TRUE(bench.bytes() == demoBytes());

        const CliResult next = bench.run({"set", "unit", "5", "hp=1234"});
        EXPECT_EQ(next.status, 0) << next.err;
        ASSERT_TRUE(std::filesystem::exists(bench.backup()));
        EXPECT_TRUE(readFile(bench.backup()) == demoBytes());
        EXPECT_EQ(bench.strayFiles(), std::vector<std::string>{"SLKV_618.04.bak"});
    }
}

}  // namespace
}  // namespace vorlan::test
