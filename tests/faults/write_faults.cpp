// A write of vorlan-cli failing at any one of its writes or flushes: the executable ends up as
// it was or as intended, the exit status says which, a kept journal restores it at the next
// run, and the backup is always a true copy of the original.

#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <optional>
#include <sstream>
#include <thread>

#include "exe_bench.h"

namespace vorlan::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes& original() {
    return demoBytes();
}

const std::vector<std::string> kSave{"set", "unit", "5", "hp=1234", "armor=900"};
const std::vector<std::string> kChips{"patch", "chips"};

// The command run once without faults: the file it leaves and the calls it makes.
struct CleanRun {
    Bytes result;
    FaultCounts counts;
};

CleanRun cleanRun(const std::vector<std::string>& args) {
    ExeBench bench;
    const CliResult r = bench.run(args, "");
    EXPECT_EQ(r.status, 0) << r.err;
    CleanRun clean{bench.bytes(), readCounts(bench.counts())};
    EXPECT_EQ(clean.counts.fired, 0);
    EXPECT_TRUE(clean.result != original()) << "the command changed nothing";
    return clean;
}

std::string fileState(const Bytes& now, const Bytes& intended) {
    if (now == original())
        return "the original";
    if (now == intended)
        return "the intended result";
    return "neither the original nor the intended result";
}

// What one fault scenario left wrong.
struct Problem {
    std::string what;    // the same text for the same fault, so problems group
    std::string plan;    // the faults injected
    std::string detail;  // exit status and the first line of what the program said
};

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

// Runs `args` with the faults of `plan` on a fresh executable and returns what went wrong.
std::optional<Problem> tryFault(ExeBench& bench, const std::vector<std::string>& args,
                                const std::string& plan, const Bytes& intended) {
    // After one failed call (not a full disk) putting the old bytes back can always succeed,
    // so the journal never needs to outlive the run; a short write is simply carried on.
    const bool rollbackCanWork = plan.find(',') == std::string::npos && !plan.starts_with("enospc");
    const bool shortWrite = plan.starts_with("short");
    bench.reset();
    const CliResult r = bench.run(args, plan.c_str());
    const FaultCounts counts = readCounts(bench.counts());
    const std::string detail = "exit " + std::to_string(r.status) + ": " + firstLine(r.err);
    auto problem = [&](std::string what, std::string more = {}) {
        return Problem{std::move(what), plan, more.empty() ? detail : more};
    };
    if (counts.fired < 1)
        return problem("the fault never hit: the test does not reach this call");
    if (r.status != 0 && r.status != 1 && r.status != 3)
        return problem("unexpected exit status");
    const Bytes now = bench.bytes();
    if (shortWrite && r.status != 0)
        return problem("a short write was not carried on");
    if (r.status == 0 && now != intended)
        return problem("exit 0 but the file is " + fileState(now, intended));
    if (r.status == 1 && now != original())
        return problem("exit 1 but the file is " + fileState(now, intended));
    if (std::filesystem::exists(bench.backup()) && readFile(bench.backup()) != original())
        return problem("the backup differs from the original");
    for (const std::string& name : bench.strayFiles()) {
        if (name.ends_with(".partial"))
            return problem("a partly made file was left behind: " + name);
    }
    if (r.status != 3) {
        if (std::filesystem::exists(bench.journalFile()))
            return problem("exit " + std::to_string(r.status) + " but the journal was left");
        return std::nullopt;
    }
    if (!std::filesystem::exists(bench.journalFile()))
        return problem("exit 3 but no journal to restore from; the file is " +
                       fileState(now, intended));
    if (rollbackCanWork)
        return problem("exit 3 after a single failed call");
    const CliResult next = bench.run({"get", "unit", "5"});
    const std::string nextDetail =
        "next run exit " + std::to_string(next.status) + ": " + firstLine(next.err);
    if (next.status != 0)
        return problem("after exit 3 the next `get unit 5` fails", nextDetail);
    if (next.err.find("恢复") == std::string::npos)
        return problem("after exit 3 the next run does not say it restored the file", nextDetail);
    if (bench.bytes() != original())
        return problem(
            "after exit 3 and the next run the file is " + fileState(bench.bytes(), intended),
            nextDetail);
    if (std::filesystem::exists(bench.journalFile()))
        return problem("after exit 3 the journal outlives the restoring run", nextDetail);
    return std::nullopt;
}

// Tries every plan, on two folders at once, and returns the problems found.
std::vector<Problem> tryPlans(const std::vector<std::string>& args,
                              const std::vector<std::string>& plans, const Bytes& intended) {
    std::vector<Problem> problems;
    std::mutex guard;
    constexpr std::size_t kWorkers = 2;
    std::vector<std::thread> workers;
    for (std::size_t w = 0; w < kWorkers; ++w) {
        workers.emplace_back([&, w] {
            ExeBench bench;
            for (std::size_t i = w; i < plans.size(); i += kWorkers) {
                if (auto problem = tryFault(bench, args, plans[i], intended)) {
                    const std::lock_guard lock(guard);
                    problems.push_back(std::move(*problem));
                }
            }
        });
    }
    for (std::thread& t : workers)
        t.join();
    return problems;
}

// The problems grouped by kind: how many, a few of their plans and one detail.
std::string summary(const std::vector<Problem>& problems, std::size_t tried) {
    std::map<std::string, std::vector<const Problem*>> groups;
    for (const Problem& p : problems)
        groups[p.what].push_back(&p);
    std::ostringstream text;
    text << problems.size() << " of " << tried << " fault scenarios went wrong";
    for (const auto& [what, list] : groups) {
        text << "\n- " << what << " (" << list.size() << "×):";
        for (std::size_t i = 0; i < list.size() && i < 6; ++i)
            text << " " << list[i]->plan;
        text << (list.size() > 6 ? " …" : "") << "\n    e.g. " << list.front()->plan << ", "
             << list.front()->detail;
    }
    return text.str();
}

// One plan per kind and position: the write faults at `writePositions`, the flush fault at
// every flush the clean run made.
std::vector<std::string> singleFaults(const FaultCounts& counts,
                                      const std::vector<long>& writePositions) {
    std::vector<std::string> plans;
    for (const char* kind : {"pwrite", "short", "enospc"}) {
        for (long n : writePositions)
            plans.push_back(std::string(kind) + ":" + std::to_string(n));
    }
    for (long n = 1; n <= counts.syncs; ++n)
        plans.push_back("fsync:" + std::to_string(n));
    return plans;
}

std::vector<long> everyPosition(long count) {
    std::vector<long> all;
    for (long n = 1; n <= count; ++n)
        all.push_back(n);
    return all;
}

TEST(WriteFaults, SaveEndsWholeAfterAnyFailedCall) {
    const CleanRun clean = cleanRun(kSave);
    ASSERT_GT(clean.counts.writes, 2);
    const auto plans = singleFaults(clean.counts, everyPosition(clean.counts.writes));
    const auto problems = tryPlans(kSave, plans, clean.result);
    EXPECT_TRUE(problems.empty()) << summary(problems, plans.size());
}

// The patch makes some 380 writes (the backup copy, the journal, then one write per changed
// unit), all alike after the first few. Every position is tried up to 60, every 5th after
// that, and the last 8, which keeps the test to a few seconds.
TEST(WriteFaults, PatchEndsWholeAfterAnyFailedCall) {
    const CleanRun clean = cleanRun(kChips);
    ASSERT_GT(clean.counts.writes, 100);
    std::vector<long> positions;
    for (long n = 1; n <= clean.counts.writes; ++n) {
        if (n <= 60 || n % 5 == 0 || n > clean.counts.writes - 8)
            positions.push_back(n);
    }
    const auto plans = singleFaults(clean.counts, positions);
    const auto problems = tryPlans(kChips, plans, clean.result);
    EXPECT_TRUE(problems.empty()) << summary(problems, plans.size());
}

// A second failure after the first: in putting the old bytes back, in flushing them, in
// removing the journal. The file must still end whole, at once or at the next run.
TEST(WriteFaults, SaveEndsWholeAfterTwoFailedCalls) {
    const CleanRun clean = cleanRun(kSave);
    // Putting the old bytes back adds as many writes and flushes again.
    const long writes = 2 * clean.counts.writes;
    const long syncs = 2 * clean.counts.syncs;
    std::vector<std::string> plans;
    // At least one of the two faults comes at a call the clean run makes, so one always hits.
    for (long a = 1; a <= writes; ++a) {
        for (long b = a + 1; b <= writes && a <= clean.counts.writes; ++b)
            plans.push_back("pwrite:" + std::to_string(a) + ",pwrite:" + std::to_string(b));
        for (long s = 1; s <= syncs; ++s) {
            if (a <= clean.counts.writes || s <= clean.counts.syncs)
                plans.push_back("pwrite:" + std::to_string(a) + ",fsync:" + std::to_string(s));
        }
    }
    for (long s = 1; s <= clean.counts.syncs; ++s) {
        for (long t = s + 1; t <= syncs; ++t)
            plans.push_back("fsync:" + std::to_string(s) + ",fsync:" + std::to_string(t));
    }
    const auto problems = tryPlans(kSave, plans, clean.result);
    EXPECT_TRUE(problems.empty()) << summary(problems, plans.size());
}

// A disk too full for the backup: the command line says how much room to free before it
// mentions writing without a backup.
TEST(WriteFaults, ABackupOnAFullDiskAsksForRoomFirst) {
    ExeBench bench;
    const CliResult r = bench.run(kSave, "enospc:1");
    EXPECT_EQ(r.status, 1) << r.err;
    const auto room = r.err.find("MB 的空间");
    EXPECT_NE(room, std::string::npos) << r.err;
    EXPECT_LT(room, r.err.find("--no-backup")) << r.err;
}

// A disk that fills up in the middle of the patch leaves a journal; playing it back may
// fail too, and then the journal must stay for the run after.
TEST(WriteFaults, FailedRestoreKeepsTheJournalForTheRunAfter) {
    const CleanRun clean = cleanRun(kChips);
    ExeBench bench;
    const long middle = clean.counts.writes / 2;
    const CliResult failed = bench.run(kChips, ("enospc:" + std::to_string(middle)).c_str());
    ASSERT_EQ(failed.status, 3) << failed.err;
    ASSERT_TRUE(std::filesystem::exists(bench.journalFile()));
    ASSERT_EQ(fileState(bench.bytes(), clean.result),
              "neither the original nor the intended result");

    const CliResult broken = bench.run({"get", "unit", "5"}, "pwrite:3");
    EXPECT_EQ(readCounts(bench.counts()).fired, 1) << "the restore never reached its third write";
    EXPECT_NE(broken.status, 0) << broken.out;
    EXPECT_TRUE(std::filesystem::exists(bench.journalFile()));

    const CliResult next = bench.run({"get", "unit", "5"});
    EXPECT_EQ(next.status, 0) << next.err;
    EXPECT_NE(next.err.find("恢复"), std::string::npos) << next.err;
    EXPECT_EQ(fileState(bench.bytes(), clean.result), "the original");
    EXPECT_FALSE(std::filesystem::exists(bench.journalFile()));
}

}  // namespace
}  // namespace vorlan::test
