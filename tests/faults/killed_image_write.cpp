// `iso replace` killed while it writes the region: the next `iso check` (and `iso replace`)
// says the replace did not finish and how to restore; `iso restore` puts the disc's own
// executable back, after which the image is byte for byte as before.

#include <gtest/gtest.h>

#include <csignal>

#include "cli_process.h"
#include "fixtures/disc_images.h"
#include "fixtures/fixtures.h"

namespace vorlan::test {
namespace {

namespace fs = std::filesystem;

TEST(KilledImageWrite, AnUnfinishedReplaceIsReportedUntilRestored) {
    TempDir root;
    const fs::path folder = fs::canonical(root.path()) / "image";
    fs::create_directories(folder);
    const fs::path image = makeImage(folder, demoBytes(), false);
    const auto original = readFile(image);
    auto edited = demoBytes();
    for (std::size_t i = 4096; i < edited.size(); i += 4096)
        edited[i] ^= 0x33;  // a change in every chunk, the ELF header kept
    const fs::path exe = root / "SLKV_618.04";
    writeFile(exe, edited);
    const std::vector<std::string> replace{"--exe", exe.string(), "iso", "replace", image.string()};
    const auto faults = [&](const std::string& plan) {
        return Faults{folder, plan, root / "mark", root / "counts"};
    };

    // A clean run counts the writes in the image's folder: the saved region, the mark, then
    // the region in chunks.
    const CliResult clean = runCli(replace, faults(""), root.path());
    ASSERT_EQ(clean.status, 0) << clean.err;
    const long writes = readCounts(root / "counts").writes;
    ASSERT_GT(writes, 10);
    for (const fs::path& p : savedFiles(image))
        fs::remove(p);
    writeFile(image, original);

    {
        CliProcess child(replace, faults("pause:" + std::to_string(writes - 4)), root.path());
        ASSERT_TRUE(waitForFile(root / "mark", 10000));
        child.kill();
        ASSERT_EQ(child.wait().signal, SIGKILL);
    }
    ASSERT_FALSE(readFile(image) == original) << "the kill came before the region was written";
    for (const auto& args : {std::vector<std::string>{"iso", "check", image.string()}, replace}) {
        const CliResult r = runCli(args, {}, root.path());
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_NE(r.err.find("上次替换"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("iso restore"), std::string::npos) << r.err;
    }
    const CliResult restored = runCli({"iso", "restore", image.string()}, {}, root.path());
    ASSERT_EQ(restored.status, 0) << restored.err;
    EXPECT_TRUE(readFile(image) == original);
    EXPECT_EQ(runCli({"iso", "check", image.string()}, {}, root.path()).status, 0);
}

}  // namespace
}  // namespace vorlan::test
