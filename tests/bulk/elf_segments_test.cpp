// The loadable segments read from the executable's own program headers: the demo's one
// segment, and every damaged or odd header refused with what is wrong.

#include <gtest/gtest.h>

#include <functional>

#include "bulk/elf_segments.h"
#include "bulk/patch_error.h"
#include "fixtures/fixtures.h"

namespace vorlan {
namespace {

using Bytes = std::vector<std::uint8_t>;

void put32(Bytes& b, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

constexpr std::size_t kHeader = 52;  // the demo's one program header

TEST(ElfSegments, TheDemoLoadsItsFileFrom0x1000At0x100000) {
    const auto segments = loadSegments(test::demoBytes());
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_EQ(segments[0].offset, 0x1000u);
    EXPECT_EQ(segments[0].fileSize, test::demoBytes().size() - 0x1000);
    EXPECT_EQ(segments[0].address, 0x100000u);
    EXPECT_EQ(addressOfOffset(segments, 0x1004, 4), 0x100004u);
    EXPECT_EQ(offsetOfAddress(segments, 0x100004, 4), 0x1004u);
    EXPECT_FALSE(addressOfOffset(segments, 0xFFE, 4));
    EXPECT_FALSE(offsetOfAddress(segments, 0x100000 + segments[0].fileSize - 2, 4));
}

TEST(ElfSegments, RefusesDamagedOrOddHeadersSayingWhat) {
    struct Case {
        const char* says;
        std::function<void(Bytes&)> damage;
    };
    const Case cases[] = {
        {"32 位小端序", [](Bytes& b) { b[4] = 2; }},
        {"没有程序头", [](Bytes& b) { b[44] = 0; }},
        {"最多 64 个", [](Bytes& b) { b[44] = 200; }},
        {"应为 32 字节", [](Bytes& b) { b[42] = 40; }},
        {"文件范围内", [](Bytes& b) { put32(b, 28, static_cast<std::uint32_t>(b.size() - 8)); }},
        {"超出了文件末尾", [](Bytes& b) { put32(b, kHeader + 16, 0xFFFFFF00); }},
        {"还大", [](Bytes& b) { put32(b, kHeader + 20, 16); }},
        {"32 位地址", [](Bytes& b) { put32(b, kHeader + 8, 0xFFFFF000); }},
        {"对齐值", [](Bytes& b) { put32(b, kHeader + 8, 0x100004); }},
        {"PT_LOAD", [](Bytes& b) { put32(b, kHeader, 0x70000000); }},
        {"文件部分重叠",
         [](Bytes& b) {
             b[44] = 2;
             std::copy_n(b.begin() + kHeader, 32, b.begin() + kHeader + 32);
             put32(b, kHeader + 32 + 8, 0x800000);
         }},
        {"内存范围重叠",
         [](Bytes& b) {
             b[44] = 2;
             std::copy_n(b.begin() + kHeader, 32, b.begin() + kHeader + 32);
             put32(b, kHeader + 16, 0x1000);      // the first keeps its memory, the second
             put32(b, kHeader + 32 + 4, 0x2000);  // loads after it in the file
             put32(b, kHeader + 32 + 16, 0x1000);
         }},
    };
    for (const Case& c : cases) {
        Bytes exe(test::demoBytes().begin(), test::demoBytes().begin() + 0x4000);
        put32(exe, kHeader + 16, 0x2000);
        put32(exe, kHeader + 20, 0x2000);
        c.damage(exe);
        try {
            loadSegments(exe);
            ADD_FAILURE() << c.says;
        } catch (const PatchError& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace vorlan
