// PCSX2 memory patches (.pnach) through the command line: one made from edits is read back
// by a plain reader written here from the format's description and applied through the
// program headers, giving the edited executable; a hand-written one applies exactly; bad
// lines are named and nothing is written.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "fixtures/demo_exe.h"
#include "tables/unit_table.h"

namespace vorlan {
namespace {

using test::CliRun;
using test::DemoExe;
using Bytes = std::vector<std::uint8_t>;

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::uint32_t le32(const Bytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16) |
           static_cast<std::uint32_t>(b[at + 3]) << 24;
}

void putLe(Bytes& b, std::size_t at, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::string hex8(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

// The demo with two loadable segments split at file offset `split`: the first from 0x1000 at
// 0x100000, the second at 0x380001, so that its words by address straddle words by offset.
Bytes twoSegments(std::uint32_t split) {
    Bytes b = test::demoBytes();
    const auto size = static_cast<std::uint32_t>(b.size());
    putLe(b, 44, 2, 2);
    const std::uint32_t headers[2][8] = {
        {1, 0x1000, 0x100000, 0x100000, split - 0x1000, split - 0x1000, 7, 0x10},
        {1, split, 0x380001, 0x380001, size - split, size - split + 0x100, 6, 1}};
    for (std::size_t h = 0; h < 2; ++h) {
        for (std::size_t f = 0; f < 8; ++f)
            putLe(b, 52 + 32 * h + 4 * f, headers[h][f], 4);
    }
    return b;
}

// A plain .pnach reader: the EE patch lines of byte, short, word and extended type, each
// written where the executable's PT_LOAD headers load that address.
Bytes plainApply(const std::string& text, Bytes exe) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        line = line.substr(0, line.find("//"));
        if (line.rfind("patch=", 0) != 0)
            continue;
        std::vector<std::string> f;
        std::istringstream fields(line.substr(6));
        for (std::string field; std::getline(fields, field, ',');)
            f.push_back(field);
        std::uint32_t address = static_cast<std::uint32_t>(std::stoul(f[2], nullptr, 16));
        const auto value = static_cast<std::uint32_t>(std::stoul(f[4], nullptr, 16));
        int width = f[3] == "byte" ? 1 : f[3] == "short" ? 2 : 4;
        EXPECT_TRUE(f[3] != "word" || address % 4 == 0) << line;
        if (f[3] == "extended") {
            width = 1 << (address >> 28);
            address &= 0x0FFFFFFF;
        }
        bool placed = false;
        for (std::uint32_t h = 0; h < (le32(exe, 44) & 0xFFFF); ++h) {
            const std::size_t ph = le32(exe, 28) + 32 * h;
            const std::uint32_t offset = le32(exe, ph + 4), vaddr = le32(exe, ph + 8);
            if (le32(exe, ph) == 1 && address >= vaddr &&
                address + width <= vaddr + le32(exe, ph + 16)) {
                putLe(exe, offset + (address - vaddr), value, width);
                placed = true;
            }
        }
        EXPECT_TRUE(placed) << line;
    }
    return exe;
}

std::uint32_t wordXor(const Bytes& b) {
    std::uint32_t crc = 0;
    for (std::size_t at = 0; at + 4 <= b.size(); at += 4)
        crc ^= le32(b, at);
    return crc;
}

// The demo's one segment loads file offset 0x1000 at 0x100000.
std::string demoAddress(std::uint64_t offset) {
    return hex8(static_cast<std::uint32_t>(offset + 0xFF000));
}

std::uint64_t hpOf(int unit) {
    return unitTable().entryOffset(unit) + 36;
}

TEST(CliPnach, APatchOfEditsRecreatesThemThroughTheProgramHeadersOfTwoSegments) {
    const DemoExe exe;
    // The second segment starts inside 机体005's HP, two bytes into it.
    test::writeFile(exe.path(), twoSegments(static_cast<std::uint32_t>(hpOf(5) + 2)));
    const Bytes original = exe.bytes();
    for (std::vector<std::string> set : {std::vector<std::string>{"set", "unit", "5", "hp=99999"},
                                         {"set", "weapon", "5:2", "hit=-10"},
                                         {"set", "pilot", "3", "Text40(3)=180"}})
        ASSERT_EQ(exe.run(set).status, 0) << set[1];
    const auto out = exe.dir() / "mod.pnach";
    const CliRun made = exe.run({"mod", "create", out.string()});
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_TRUE(has(made.out, "SLKV-61804_" + hex8(wordXor(original)) + ".pnach")) << made.out;
    EXPECT_TRUE(has(made.out, "cheats")) << made.out;

    const Bytes file = test::readFile(out);
    const std::string text(file.begin(), file.end());
    EXPECT_EQ(text.rfind("gametitle=", 0), 0u) << text;
    EXPECT_TRUE(has(text, "// 机体005")) << text;
    EXPECT_TRUE(has(text, "→ 99999")) << text;
    EXPECT_EQ(plainApply(text, original), exe.bytes());
}

TEST(CliPnach, AHandWrittenPatchAppliesExactlyAndADryRunWritesNothing) {
    const DemoExe exe;
    const std::string text =
        "gametitle=VORLAN (SLKV-61804)  // the game\r\n"
        "// made by hand\r\n"
        "[Stronger units]\n"
        "author=someone\n"
        "description=HP and more // with a comment\n"
        "patch=0,EE," +
        demoAddress(hpOf(5)) +
        ",word,00003039\n"
        "\n"
        "[Bytes and shorts]\n"
        "comment=three sizes\n"
        "patch=1,EE," +
        demoAddress(hpOf(6)) +
        ",short,beef\r\n"
        "patch=2,ee," +
        demoAddress(hpOf(7)) +
        ",byte,7F\n"
        " patch = 0 , EE , 2" +
        demoAddress(hpOf(8)).substr(1) +
        " , extended , 12345678\n"
        "patch=0,EE,1" +
        demoAddress(hpOf(9)).substr(1) +
        ",extended,0000ABCD\n"
        "patch=0,EE,0" +
        demoAddress(hpOf(10)).substr(1) + ",extended,000000EE";
    const auto file = exe.dir() / "hand.pnach";
    test::writeText(file, text);
    Bytes expected = exe.original();
    putLe(expected, hpOf(5), 0x3039, 4);
    putLe(expected, hpOf(6), 0xBEEF, 2);
    putLe(expected, hpOf(7), 0x7F, 1);
    putLe(expected, hpOf(8), 0x12345678, 4);
    putLe(expected, hpOf(9), 0xABCD, 2);
    putLe(expected, hpOf(10), 0xEE, 1);

    const CliRun dry = exe.run({"mod", "apply", file.string(), "--dry-run"});
    ASSERT_EQ(dry.status, 0) << dry.err;
    EXPECT_TRUE(has(dry.out, "unit 5（")) << dry.out;
    EXPECT_TRUE(has(dry.out, "→ 12345")) << dry.out;
    EXPECT_EQ(exe.bytes(), exe.original());
    EXPECT_FALSE(std::filesystem::exists(exe.backup()));

    const CliRun applied = exe.run({"mod", "apply", file.string()});
    ASSERT_EQ(applied.status, 0) << applied.err;
    EXPECT_EQ(exe.bytes(), expected);
}

TEST(CliPnach, ApplyRefusesTheWholeFileNamingEveryBadLine) {
    const DemoExe exe;
    const std::string hp = demoAddress(hpOf(5));
    struct Bad {
        std::string line;
        const char* says;
    };
    const Bad bad[] = {
        {"patch=0,EE," + demoAddress(0x2000) + ",word,0", "数据表以外"},
        {"patch=0,EE,00000010,word,0", "载入段"},
        {"patch=0,IOP," + hp + ",word,0", "IOP"},
        {"patch=0,EE," + hp + ",beword,0", "不支持的类型"},
        {"patch=0,EE," + hp + ",quad,0", "未知的类型"},
        {"patch=0,EE," + hp + ",word,12G4", "不是 32 位以内的十六进制数"},
        {"patch=0,EE,0x1" + hp + ",word,0", "不是 32 位以内的十六进制数"},
        {"patch=0,EE," + hp + ",byte,100", "超出了 1 字节"},
        {"patch=0,EE,3" + hp.substr(1) + ",extended,1", "extended"},
        {"patch=5,EE," + hp + ",word,0", "PLACE"},
        {"patch=0,EE," + hp, "5 项"},
        {"just words", "看不懂"},
    };
    std::string text = "gametitle=x\npatch=0,EE," + hp + ",word,1\n";
    for (const Bad& b : bad)
        text += b.line + "\n";
    const auto file = exe.dir() / "bad.pnach";
    test::writeText(file, text);
    const CliRun r = exe.run({"mod", "apply", file.string()});
    EXPECT_EQ(r.status, 1);
    std::istringstream lines(r.err);
    std::vector<std::string> said;
    for (std::string line; std::getline(lines, line);)
        said.push_back(line);
    for (std::size_t i = 0; i < std::size(bad); ++i) {
        const std::string named = "第 " + std::to_string(i + 3) + " 行：";
        const auto it = std::find_if(said.begin(), said.end(),
                                     [&](const std::string& l) { return has(l, named); });
        ASSERT_NE(it, said.end()) << named << "\n" << r.err;
        EXPECT_TRUE(has(*it, bad[i].says)) << *it;
    }
    EXPECT_FALSE(has(r.err, "第 2 行")) << r.err;
    EXPECT_EQ(exe.bytes(), exe.original());
}

TEST(CliPnach, CreateRefusesAChangeOutsideEverySegmentAndMakesNoFile) {
    const DemoExe exe;
    ASSERT_EQ(exe.run({"set", "unit", "5", "hp=1234"}).status, 0);
    Bytes edited = exe.bytes();
    edited[0x800] ^= 0xFF;  // between the headers and the segment
    test::writeFile(exe.path(), edited);
    const auto out = exe.dir() / "mod.pnach";
    const CliRun r = exe.run({"mod", "create", out.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.err, "0x00000800")) << r.err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace vorlan
