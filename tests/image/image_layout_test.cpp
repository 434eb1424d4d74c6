// The image's own structures: a directory, path table or other file inside the executable's
// sectors would be overwritten by a replace, so the check refuses such an image; and a
// hostile UDF directory that crashes libcdio is refused instead of taking the program down.

#include <gtest/gtest.h>

#include "fixtures/demo_exe.h"
#include "fixtures/disc_images.h"
#include "fixtures/fixtures.h"
#include "image/disc_image.h"
#include "image/image_check.h"

namespace vorlan {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

constexpr std::size_t kPvd = 16 * 2048;

Bytes edited() {
    Bytes b = test::demoBytes();
    b[0x1000] ^= 0xFF;
    return b;
}

std::uint32_t le32(const Bytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24);
}

// A UDF file entry (tag 261) of a file of `length` bytes: its first short allocation
// descriptor, pointed at `sector`, with the tag's checksum made right again.
void moveUdfFile(Bytes& image, std::uint64_t length, std::uint32_t isoSector,
                 std::uint32_t sector) {
    for (std::size_t at = 0; at + 2048 <= image.size(); at += 2048) {
        if (image[at] != 0x05 || image[at + 1] != 0x01)
            continue;
        std::uint64_t info = 0;
        for (int i = 7; i >= 0; --i)
            info = info << 8 | image[at + 56 + static_cast<std::size_t>(i)];
        if (info != length)
            continue;
        const std::size_t ad = at + 176 + le32(image, at + 168);
        const std::uint32_t partStart = isoSector - le32(image, ad + 4);
        const std::uint32_t position = sector - partStart;
        for (int i = 0; i < 4; ++i)
            image[ad + 4 + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(position >> (8 * i));
        std::uint8_t sum = 0;
        for (std::size_t i = 0; i < 16; ++i) {
            if (i != 4)
                sum = static_cast<std::uint8_t>(sum + image[at + i]);
        }
        image[at + 4] = sum;
        return;
    }
    FAIL() << "no UDF file entry of " << length << " bytes";
}

TEST(ImageLayout, StructuresInsideTheExecutableAreRefused) {
    test::TempDir dir;
    const Bytes good = test::readFile(test::makeImage(dir.path(), test::demoBytes(), false));
    const Bytes goodUdf = test::readFile(test::makeImage(dir.path(), test::demoBytes(), true));
    const std::size_t cnf = test::rootRecord(good, "SYSTEM.CNF;1");
    const std::uint32_t rootSector = le32(good, kPvd + 158);
    struct Case {
        const char* name;
        std::function<void(Bytes&)> change;
        bool udf = false;
    };
    const Case cases[] = {
        {"root directory at sector 400",
         [&](Bytes& b) {
             std::copy_n(good.begin() + rootSector * 2048, 2048, b.begin() + 400 * 2048);
             test::putBothEndian(b, kPvd + 156 + 2, 400);
         }},
        {"SYSTEM.CNF inside the executable",
         [&](Bytes& b) { test::putBothEndian(b, cnf + 2, 1000); }},
        {"SYSTEM.CNF in the executable's last sector, half of which it fills",
         [&](Bytes& b) { test::putBothEndian(b, cnf + 2, 2091); }},
        {"SYSTEM.CNF ending inside the executable",
         [&](Bytes& b) {
             test::putBothEndian(b, cnf + 2, 361);
             test::putBothEndian(b, cnf + 10, 4096);
         }},
        {"type L path table",
         [&](Bytes& b) {
             for (int i = 0; i < 4; ++i)
                 b[kPvd + 140 + static_cast<std::size_t>(i)] = i == 0 ? 0xE8 : i == 1 ? 0x03 : 0;
         }},
        {"optional type M path table",
         [&](Bytes& b) {
             b[kPvd + 152 + 2] = 0x03;
             b[kPvd + 152 + 3] = 0xE8;
         }},
        {"UDF entry of SYSTEM.CNF inside the executable",
         [&](Bytes& b) {
             const std::size_t at = test::rootRecord(goodUdf, "SYSTEM.CNF;1");
             moveUdfFile(b, 43, le32(goodUdf, at + 2), 1000);
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = c.udf ? goodUdf : good;
        c.change(bytes);
        const fs::path image = dir / "changed.iso";
        test::writeFile(image, bytes);
        const ImageCheck check = checkImage(image);
        EXPECT_FALSE(check.ok);
        EXPECT_NE(check.message.find("第 362 扇区"), std::string::npos) << check.message;
        const test::CliRun r = test::cli({"iso", "check", image.string()});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, check.message + "\n");
        const ImageWrite w = replaceExecutable(image, edited());
        EXPECT_FALSE(w.ok);
        EXPECT_FALSE(w.imageChanged);
        EXPECT_TRUE(test::readFile(image) == bytes);
        EXPECT_TRUE(test::savedFiles(image).empty());
        fs::remove(image);
    }
}

// The volume size the primary descriptor records (sectors, both byte orders at offset 80) must
// reach past the executable's last sector and must not claim more than the file holds;
// sectors after the volume (padding) are fine. genisoimage and xorriso record the file's size.
TEST(ImageLayout, TheVolumeSizeMustHoldTheExecutableAndFitTheFile) {
    test::TempDir dir;
    const Bytes good = test::readFile(test::makeImage(dir.path(), test::demoBytes(), false));
    const std::uint32_t real = le32(good, kPvd + 80);
    ASSERT_EQ(std::uint64_t{real} * 2048, good.size());
    struct Case {
        std::uint32_t sectors;
        std::size_t padding;  // sectors appended to the file
        bool ok;
    };
    const Case cases[] = {
        {0, 0, false},        {363, 0, false}, {2091, 0, false}, {4294967295u, 0, false},
        {real + 1, 0, false}, {real, 0, true}, {real, 16, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sectors);
        Bytes bytes = good;
        bytes.resize(good.size() + c.padding * 2048, 0);
        test::putBothEndian(bytes, kPvd + 80, c.sectors);
        const fs::path image = dir / "volume.iso";
        test::writeFile(image, bytes);
        const ImageCheck check = checkImage(image);
        EXPECT_EQ(check.ok, c.ok) << check.message;
        if (!c.ok) {
            EXPECT_NE(check.message.find(std::to_string(c.sectors) + " 个扇区"), std::string::npos)
                << check.message;
            EXPECT_FALSE(replaceExecutable(image, edited()).ok);
            EXPECT_TRUE(test::readFile(image) == bytes);
        }
        fs::remove(image);
    }
    // The two byte orders of the field disagreeing.
    Bytes split = good;
    split[kPvd + 84 + 3] ^= 0x01;
    test::writeFile(dir / "split.iso", split);
    EXPECT_FALSE(checkImage(dir / "split.iso").ok);
}

// genisoimage -udf, with the high byte of the implementation-use length in the root's
// entry for SLKV_618.04 set: libcdio read 32 KiB past the directory and crashed the
// program. Run as child processes, so that a crash fails the test instead of ending it.
TEST(ImageLayout, ACrashingUdfDirectoryIsRefusedCleanly) {
    test::TempDir dir;
    const fs::path good = test::makeImage(dir.path(), test::demoBytes(), true);
    Bytes bytes = test::readFile(good);
    const std::string name = "\x08SLKV_618.04";
    const auto at = std::search(bytes.begin() + 256 * 2048, bytes.begin() + 362 * 2048,
                                name.begin(), name.end()) -
                    bytes.begin() - 1;
    ASSERT_EQ(at, 532605);
    ASSERT_EQ(bytes[static_cast<std::size_t>(at)], 0x00);
    bytes[static_cast<std::size_t>(at)] = 0x80;
    const fs::path image = dir / "crafted.iso";
    test::writeFile(image, bytes);

    test::writeFile(dir / "SLKV_618.04", edited());
    const std::vector<std::function<test::ChildEnd()>> runs = {
        [&] {
            return test::inChild([&] {
                const ImageCheck c = checkImage(image);
                return std::pair{c.ok ? 0 : 1, c.message};
            });
        },
        [&] {
            return test::runBuiltCli({"iso", "check", image.string()});
        },
        [&] {
            return test::runBuiltCli(
                {"--exe", (dir / "SLKV_618.04").string(), "iso", "replace", image.string()});
        },
    };
    for (std::size_t i = 0; i < runs.size(); ++i) {
        SCOPED_TRACE(i);
        const test::ChildEnd end = runs[i]();
        ASSERT_TRUE(end.exited) << "killed by signal " << end.signal;
        EXPECT_EQ(end.status, 1);
        EXPECT_NE(end.output.find("UDF 目录"), std::string::npos) << end.output;
        EXPECT_NE(end.output.find(image.string()), std::string::npos) << end.output;
        EXPECT_TRUE(test::readFile(image) == bytes);
    }
    EXPECT_TRUE(test::savedFiles(image).empty());
}

}  // namespace
}  // namespace vorlan
