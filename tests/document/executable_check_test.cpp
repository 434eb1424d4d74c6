// Which files the editor adopts as the game executable.

#include <gtest/gtest.h>

#include "document/document.h"
#include "document/executable_check.h"
#include "fixtures/demo_exe.h"
#include "fixtures/fixtures.h"
#include "fixtures/hook_ops.h"
#include "fixtures/portable.h"
#include "tables/catalog.h"

#ifdef _WIN32
#include "io/win32.h"
#endif

namespace vorlan {
namespace {

// Why the document refuses to open `path`, or nothing when it opens.
std::optional<std::string> checkExecutable(const std::filesystem::path& path,
                                           bool anySize = false) {
    try {
        Document::open(path, tableLayout(), DocumentOptions{.allowUnusualSize = anySize});
    } catch (const DocumentError& e) {
        return e.what();
    }
    return std::nullopt;
}

TEST(ExecutableCheck, AcceptsTheDemoAndRefusesBadFiles) {
    test::TempDir dir;
    EXPECT_FALSE(checkExecutable(test::writeDemo(dir / "SLKV_618.04")).has_value());

    auto bytes = test::demoBytes();
    bytes[3] = 'G';
    test::writeFile(dir / "bad_magic", bytes);
    const auto magic = checkExecutable(dir / "bad_magic");
    ASSERT_TRUE(magic.has_value());
    EXPECT_NE(magic->find("ELF"), std::string::npos);

    // One byte short of the last table's end.
    bytes = test::demoBytes();
    bytes.resize(0x2DEA1F);
    test::writeFile(dir / "short", bytes);
    const auto small = checkExecutable(dir / "short");
    ASSERT_TRUE(small.has_value());
    EXPECT_NE(small->find("3009056"), std::string::npos);
    bytes.push_back(0);
    test::writeFile(dir / "just_enough", bytes);
    // Large enough, but not the game's length: opened only when the user says so.
    const auto unusual = checkExecutable(dir / "just_enough");
    ASSERT_TRUE(unusual.has_value());
    EXPECT_NE(unusual->find("3542016"), std::string::npos);
    EXPECT_FALSE(checkExecutable(dir / "just_enough", true).has_value());

    // An ELF file for another machine, or 64-bit, or big-endian, is not the game's.
    for (const auto& [at, value] : {std::pair{18, 0x3E}, {4, 2}, {5, 2}}) {
        bytes = test::demoBytes();
        bytes[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value);
        test::writeFile(dir / "other_elf", bytes);
        const auto other = checkExecutable(dir / "other_elf");
        ASSERT_TRUE(other.has_value()) << at;
        EXPECT_NE(other->find("MIPS"), std::string::npos);
    }

    EXPECT_TRUE(checkExecutable(dir / "missing").has_value());
    EXPECT_TRUE(checkExecutable(dir.path()).has_value());
}

TEST(ExecutableCheck, RefusesAFileThatCannotBeWritten) {
    if (test::readOnlyFilesAreWritable())
        GTEST_SKIP() << "read-only files are writable here (root, or Wine run by root)";
    test::TempDir dir;
    const auto path = test::writeDemo(dir / "SLKV_618.04");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    const auto refusal = checkExecutable(path);
    ASSERT_TRUE(refusal.has_value());
    EXPECT_NE(refusal->find("读写"), std::string::npos);
}

// Another program has the file open and lets others only read it (Windows' sharing modes; on
// Linux the refusal such a system gives, planted): writing is refused in Chinese, saying so,
// and the file can still be opened to read.
TEST(ExecutableCheck, AFileAnotherProgramHoldsOpensOnlyToRead) {
    test::TempDir dir;
    const auto path = test::writeDemo(dir / "SLKV_618.04");
    test::HookOps ops;
#ifdef _WIN32
    const win32::Handle holder(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                             FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(holder.get(), INVALID_HANDLE_VALUE);
    // The command line says the same, and still reads it.
    const test::CliRun set = test::cli({"--exe", path.string(), "set", "unit", "5", "hp=1"});
    EXPECT_EQ(set.status, 1);
    EXPECT_NE(set.err.find("另一个程序正打开着这个文件"), std::string::npos) << set.err;
    EXPECT_EQ(test::cli({"--exe", path.string(), "get", "unit", "5"}).status, 0);
#else
    bool first = true;
    ops.fail = [&](const std::string& call, const std::string&) {
        return call == "open" && std::exchange(first, false) ? EBUSY : 0;
    };
#endif
    try {
        Document::open(path, tableLayout(), DocumentOptions{.ops = &ops});
        ADD_FAILURE() << "opened to write";
    } catch (const BusyError& e) {
        EXPECT_NE(std::string(e.what()).find("另一个程序正打开着这个文件"), std::string::npos);
    }
    EXPECT_NE(Document::open(path, tableLayout(), DocumentOptions{.readOnly = true, .ops = &ops}),
              nullptr);
}

TEST(Catalog, TablesLieInsideTheExecutableAndDoNotOverlap) {
    EXPECT_EQ(tablesEnd(), 0x2DEA20u);
    const auto& tables = allTables();
    ASSERT_EQ(tables.size(), 12u);
    for (const TableDef* a : tables) {
        EXPECT_EQ(findTable(a->name), a);
        EXPECT_LE(a->end(), kExecutableSize) << a->name;
        for (const TableDef* b : tables) {
            // Weapon slots live inside unit records; the weapon upgrade block holds the increments.
            if (a == b || a->name == "weapon" || b->name == "weapon")
                continue;
            // The last part entry's unused tail (bytes 28 to 31) runs into pilot 0.
            const auto pair = [&](const char* x, const char* y) {
                return (a->name == x && b->name == y) || (a->name == y && b->name == x);
            };
            if (pair("weapon-upgrade", "upgrade-increment") || pair("part", "pilot"))
                continue;
            EXPECT_TRUE(a->end() <= b->offset || b->end() <= a->offset)
                << a->name << " / " << b->name;
        }
    }
    const TableDef& weapon = *findTable("weapon");
    EXPECT_EQ(weapon.entryOffset(0), 0x210084u);
    EXPECT_EQ(weapon.entryOffset(17), 0x21052Au);
    EXPECT_EQ(weapon.entryOffset(480 * 18 + 17), 0x2AFB2Au);
    EXPECT_EQ(weapon.end(), findTable("unit")->end());
}

}  // namespace
}  // namespace vorlan
