// The child process that reads an image's directories: whatever it does, crash, hang, answer
// nonsense or too much, the program gets a refusal back, never a crash or a wait without end.

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>

#include "image/directory_reader.h"

namespace vorlan {
namespace {

using Damage = DirectoryReport::Damage;

TEST(DirectoryReader, AChildThatMisbehavesBecomesARefusal) {
    DirectoryReport overlap;
    overlap.verdict = DirectoryReport::Verdict::Overlap;
    overlap.structure = DirectoryReport::Structure::File;
    overlap.sector = 400;
    overlap.length = 43;
    overlap.name = "/SYSTEM.CNF;1";
    struct Case {
        const char* name;
        std::function<std::string()> work;
        std::optional<DirectoryReport> wanted;  // nothing: refused as damaged
        Damage damage = Damage::Reader;
    };
    const Case cases[] = {
        {"a proper answer", [&] { return encodeReport(overlap); }, overlap},
        {"a crash",
         [] {
             ::raise(SIGSEGV);
             return std::string();
         },
         std::nullopt},
        {"an abort", []() -> std::string { std::abort(); }, std::nullopt},
        {"another exit status", []() -> std::string { ::_exit(3); }, std::nullopt},
        {"garbage",
         [] {
             return std::string(
                 "\x7F"
                 "ELF garbage\n");
         },
         std::nullopt},
        {"a proper answer twice", [&] { return encodeReport(overlap) + encodeReport(overlap); },
         std::nullopt},
        {"a megabyte", [] { return std::string(1 << 20, 'x'); }, std::nullopt},
        {"no end",
         [] {
             for (;;)
                 ::pause();
             return std::string();
         },
         std::nullopt, Damage::Timeout},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DirectoryReport r = reportFromChild(c.work, std::chrono::milliseconds(500));
        if (c.wanted) {
            EXPECT_EQ(r, *c.wanted);
        } else {
            EXPECT_EQ(r.verdict, DirectoryReport::Verdict::Damaged);
            EXPECT_EQ(r.damage, c.damage);
            EXPECT_NE(describeReport(r, "x.iso").find("镜像的目录结构已损坏"), std::string::npos);
        }
    }
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
