// The child process that reads an image's directories: whatever it does, crash, hang, answer
// nonsense or too much, the program gets a refusal back, never a crash or a wait without end.

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

#include "image/directory_reader.h"
#include "io/child_process.h"

namespace vorlan {
namespace {

using Damage = DirectoryReport::Damage;

DirectoryReport overlapReport() {
    DirectoryReport overlap;
    overlap.verdict = DirectoryReport::Verdict::Overlap;
    overlap.structure = DirectoryReport::Structure::File;
    overlap.sector = 400;
    overlap.length = 43;
    overlap.name = "/SYSTEM.CNF;1";
    return overlap;
}

// What a child may do, each registered as a work of its own (on Windows the child is this
// test program started again).
std::string crash(const std::string&) {
#ifdef _WIN32
    *static_cast<volatile int*>(nullptr) = 1;
#else
    ::raise(SIGSEGV);
#endif
    return {};
}
std::string endless(const std::string&) {
    for (;;)
        std::this_thread::sleep_for(std::chrono::seconds(1));
}
const bool registered = [] {
    registerChildWork("test-answer",
                      [](const std::string&) { return encodeReport(overlapReport()); });
    registerChildWork("test-crash", crash);
    registerChildWork("test-abort", [](const std::string&) -> std::string { std::abort(); });
    registerChildWork("test-exit", [](const std::string&) -> std::string { ::_exit(3); });
    registerChildWork("test-garbage", [](const std::string&) {
        return std::string(
            "\x7F"
            "ELF garbage\n");
    });
    registerChildWork("test-twice", [](const std::string&) {
        return encodeReport(overlapReport()) + encodeReport(overlapReport());
    });
    registerChildWork("test-megabyte",
                      [](const std::string&) { return std::string(1 << 20, 'x'); });
    registerChildWork("test-echo", [](const std::string& argument) { return argument; });
    registerChildWork("test-endless", endless);
    return true;
}();

TEST(DirectoryReader, AChildThatMisbehavesBecomesARefusal) {
    ASSERT_TRUE(registered);
    struct Case {
        const char* name;
        const char* work;
        std::optional<DirectoryReport> wanted;  // nothing: refused as damaged
        Damage damage = Damage::Reader;
    };
    const Case cases[] = {
        {"a proper answer", "test-answer", overlapReport()},
        {"a crash", "test-crash", std::nullopt},
        {"an abort", "test-abort", std::nullopt},
        {"another exit status", "test-exit", std::nullopt},
        {"garbage", "test-garbage", std::nullopt},
        {"a proper answer twice", "test-twice", std::nullopt},
        {"a megabyte", "test-megabyte", std::nullopt},
        {"a work nobody registered", "test-missing", std::nullopt},
        {"no end", "test-endless", std::nullopt, Damage::Timeout},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Generous where the child ends by itself: a loaded machine (or Wine) may take
        // seconds to start a process.
        const auto limit = c.damage == Damage::Timeout ? std::chrono::milliseconds(1500)
                                                       : std::chrono::milliseconds(30000);
        const DirectoryReport r = reportFromChild(c.work, "", limit);
        if (c.wanted) {
            EXPECT_EQ(r, *c.wanted);
        } else {
            EXPECT_EQ(r.verdict, DirectoryReport::Verdict::Damaged);
            EXPECT_EQ(r.damage, c.damage);
            EXPECT_NE(describeReport(r, "x.iso").find("镜像的目录结构已损坏"), std::string::npos);
        }
    }
}

// The argument reaches the child whole, Chinese, spaces, quotes and all (on Windows it
// crosses a command line).
TEST(DirectoryReader, AChildGetsItsArgumentWhole) {
    const std::string argument = "123 C:\\Users\\张三\\my \"game\" 镜像.iso\\";
    const ChildAnswer answer =
        runInChild("test-echo", argument, std::chrono::milliseconds(30000), 1024);
    EXPECT_EQ(answer.outcome, ChildAnswer::Outcome::Answered);
    EXPECT_EQ(answer.line, argument);
}

TEST(DirectoryReader, ReportsDecodeOnlyAsTheyWereEncoded) {
    DirectoryReport r;
    r.verdict = DirectoryReport::Verdict::ExecutableElsewhere;
    r.system = DirectoryReport::System::Udf;
    r.sector = 361;
    r.length = 3542016;
    r.name = std::string(300, 'n') + "\x01\xE4";
    const std::string line = encodeReport(r);
    const auto back = decodeReport(line);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->name, std::string(200, 'n'));
    EXPECT_EQ(back->sector, 361u);
    for (const std::string& bad : std::vector<std::string>{
             line.substr(0, line.size() - 1), line + "\n", "VORLAN-DIR1 9 0 0 0 0 0 \n",
             "VORLAN-DIR1 0 0 0 0 0 99999999999999999999999 \n", "VORLAN-DIR1 01 0 0 0 0 0 \n",
             "VORLAN-DIR1 0 0 0 0 0 0 caf\xC3\xA9\n", std::string()}) {
        EXPECT_FALSE(decodeReport(bad).has_value()) << bad;
    }
}

}  // namespace
}  // namespace vorlan
