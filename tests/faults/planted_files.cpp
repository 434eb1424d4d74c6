// Files planted beside the executable by someone with write access to the game's folder, run
// against the real vorlan-cli: nothing planted makes it crash, write elsewhere, write into a
// file that is not the game's executable, or lose an edit it acknowledged.

#include <gtest/gtest.h>
#include <zlib.h>

#include <csignal>
#include <functional>

#include "exe_bench.h"

namespace vorlan::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

const Bytes kKeep{'k', 'e', 'e', 'p', ' ', 'm', 'e'};

void putLe(Bytes& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A journal in the first format this program wrote ("VORLANJ1": size, then runs of offset,
// length and old bytes, then a CRC-32), which knew nothing of the file it belonged to.
Bytes oldJournal(std::uint64_t size, const std::vector<std::pair<std::uint64_t, Bytes>>& runs) {
    Bytes b{'V', 'O', 'R', 'L', 'A', 'N', 'J', '1'};
    putLe(b, size, 8);
    putLe(b, runs.size(), 4);
    for (const auto& [offset, bytes] : runs) {
        putLe(b, offset, 8);
        putLe(b, bytes.size(), 4);
        b.insert(b.end(), bytes.begin(), bytes.end());
    }
    putLe(b, crc32(crc32(0L, Z_NULL, 0), b.data(), static_cast<uInt>(b.size())), 4);
    return b;
}

struct Scenario {
    const char* name;
    std::function<void(const ExeBench&)> plant;
    std::vector<std::string> args;
    const char* plan;  // fault plan, or null
    std::function<void(const ExeBench&, const CliResult&)> check;
};

void expectUntouched(const ExeBench& bench, const CliResult& r) {
    EXPECT_EQ(r.signal, 0);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_TRUE(bench.bytes() == demoBytes()) << "the executable was changed";
}

TEST(PlantedFiles, NothingPlantedBesideTheExecutableIsFollowedOrPlayedIntoIt) {
    const std::uint64_t size = demoBytes().size();
    const Scenario scenarios[] = {
        {"a 32-byte journal ending after an offset",
         [](const ExeBench& b) {
             Bytes j{'V', 'O', 'R', 'L', 'A', 'N', 'J', '1'};
             putLe(j, ~std::uint64_t{0}, 8);
             putLe(j, 1, 4);
             putLe(j, 0, 8);
             putLe(j, crc32(crc32(0L, Z_NULL, 0), j.data(), static_cast<uInt>(j.size())), 4);
             writeFile(b.journalFile(), j);
         },
         {"get", "unit", "5"},
         nullptr,
         [](const ExeBench& b, const CliResult& r) {
             expectUntouched(b, r);
             EXPECT_NE(r.err.find(".journal"), std::string::npos) << r.err;
             EXPECT_EQ(readFile(b.journalFile()).size(), 32u);
         }},
        {"a link at the backup's partial name",
         [](const ExeBench& b) {
             writeFile(b.dir() / "victim", kKeep);
             fs::create_symlink(b.dir() / "victim", b.backup().string() + ".partial");
         },
         {"set", "unit", "5", "hp=1"},
         nullptr,
         [](const ExeBench& b, const CliResult& r) {
             EXPECT_EQ(r.status, 0) << r.err;
             EXPECT_EQ(readFile(b.dir() / "victim"), kKeep);
             EXPECT_FALSE(fs::is_symlink(b.backup()));
             EXPECT_TRUE(readFile(b.backup()) == demoBytes());
         }},
        {"a hard-linked journal that cannot be removed",
         [](const ExeBench& b) { fs::create_hard_link(b.path(), b.journalFile()); },
         {"get", "unit", "5"},
         "unlink:1",
         [](const ExeBench& b, const CliResult& r) {
             EXPECT_EQ(r.status, 0) << r.err;  // read beside it, said
             EXPECT_NE(r.err.find("不属于本程序"), std::string::npos) << r.err;
             EXPECT_TRUE(b.bytes() == demoBytes()) << "the executable was changed";
             EXPECT_TRUE(fs::exists(b.journalFile()));
         }},
        // Somebody's own file at the journal's name is neither deleted by a read nor written
        // over by a write.
        {"a text file at the journal's name, read",
         [](const ExeBench& b) { writeFile(b.journalFile(), kKeep); },
         {"get", "unit", "5"},
         nullptr,
         [](const ExeBench& b, const CliResult& r) {
             EXPECT_EQ(r.status, 0) << r.err;
             EXPECT_NE(r.err.find(b.journalFile().string()), std::string::npos) << r.err;
             EXPECT_EQ(readFile(b.journalFile()), kKeep);
         }},
        {"a text file at the journal's name, written",
         [](const ExeBench& b) { writeFile(b.journalFile(), kKeep); },
         {"set", "unit", "5", "hp=1"},
         nullptr,
         [](const ExeBench& b, const CliResult& r) {
             expectUntouched(b, r);
             EXPECT_NE(r.err.find("移走或改名"), std::string::npos) << r.err;
             EXPECT_EQ(readFile(b.journalFile()), kKeep);
         }},
        {"a backup that is the executable itself",
         [](const ExeBench& b) { fs::create_hard_link(b.path(), b.backup()); },
         {"set", "unit", "5", "hp=1"},
         nullptr,
         expectUntouched},
        {"a journal writing JUNK over the ELF magic",
         [size](const ExeBench& b) {
             writeFile(b.journalFile(), oldJournal(size, {{0, {'J', 'U', 'N', 'K'}}}));
         },
         {"get", "unit", "5"},
         nullptr,
         expectUntouched},
        {"a journal beside a file of zeros",
         [size](const ExeBench& b) {
             writeFile(b.path(), Bytes(size, 0));
             writeFile(b.journalFile(), oldJournal(size, {{0x211AD4, {1, 2, 3, 4}}}));
         },
         {"get", "unit", "5"},
         nullptr,
         [size](const ExeBench& b, const CliResult& r) {
             EXPECT_EQ(r.status, 1) << r.err;
             EXPECT_TRUE(b.bytes() == Bytes(size, 0)) << "written into a file of zeros";
         }},
        {"a link at make-demo's partial name",
         [](const ExeBench& b) {
             writeFile(b.dir() / "victim", kKeep);
             fs::create_symlink(b.dir() / "victim", b.dir() / "demo.partial");
         },
         {"make-demo", "DIR/demo"},
         nullptr,
         [](const ExeBench& b, const CliResult& r) {
             EXPECT_EQ(r.status, 0) << r.err;
             EXPECT_EQ(readFile(b.dir() / "victim"), kKeep);
             EXPECT_EQ(fs::file_size(b.dir() / "demo"), demoBytes().size());
         }},
        {"a link at make-demo's target, with --force",
         [](const ExeBench& b) {
             writeFile(b.dir() / "victim", kKeep);
             fs::create_symlink(b.dir() / "victim", b.dir() / "demo");
         },
         {"make-demo", "--force", "DIR/demo"},
         nullptr,
         [](const ExeBench& b, const CliResult& r) {
             EXPECT_EQ(r.status, 1) << r.err;  // only a regular file is ever replaced
             EXPECT_EQ(readFile(b.dir() / "victim"), kKeep);
             EXPECT_TRUE(fs::is_symlink(b.dir() / "demo"));
         }},
    };
    ExeBench bench;
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        bench.reset();
        s.plant(bench);
        std::vector<std::string> args = s.args;
        for (std::string& a : args) {
            if (a.rfind("DIR/", 0) == 0)
                a = (bench.dir() / a.substr(4)).string();
        }
        const CliResult r = bench.run(args, s.plan);
        s.check(bench, r);
    }
}

// A write killed through the real path leaves a journal; a write through a link to the same
// file then succeeds. The next command through the real path must keep that write.
TEST(PlantedFiles, AWriteThroughALinkIsNotUndoneByAnOlderJournal) {
    ExeBench bench;
    const fs::path link = bench.dir() / "game";
    fs::create_symlink(bench.path(), link);
    {
        // Writes 1 to 4 make the backup and 5 the journal; 6 is the executable's.
        CliProcess child(bench.command({"set", "unit", "5", "hp=1111"}), bench.faults("pause:6"),
                         bench.logs());
        ASSERT_TRUE(waitForFile(bench.mark(), 10000));
        child.kill();
        ASSERT_EQ(child.wait().signal, SIGKILL);
    }
    ASSERT_TRUE(fs::exists(bench.journalFile()));
    const CliResult viaLink =
        runCli({"--exe", link.string(), "set", "unit", "5", "hp=4321"}, {}, bench.logs());
    ASSERT_EQ(viaLink.status, 0) << viaLink.err;
    const CliResult r = bench.run({"get", "unit", "5", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"value\":4321"), std::string::npos) << "the write was undone";
}

}  // namespace
}  // namespace vorlan::test
