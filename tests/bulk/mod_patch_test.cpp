// Applying a patch through the document: the write covers the changed runs only, and is
// refused when the file changed after the patch was checked against it.

#include <gtest/gtest.h>

#include "bulk/mod_patch.h"
#include "fixtures/demo_exe.h"
#include "tables/unit_table.h"

namespace vorlan {
namespace {

TEST(ModPatch, WritesThePatchedRunsOnlyWhileTheFileStillHoldsWhatWasChecked) {
    const test::DemoExe exe;
    auto edited = exe.original();
    const std::uint64_t unit5 = unitTable().entryOffset(5);
    edited[unit5] ^= 0x11;
    edited[unit5 + 3] ^= 0x22;    // joined with the first into one block
    edited[unit5 + 600] ^= 0x33;  // a block of its own
    const auto patch =
        makeModPatch(PatchFormat::Bps, exe.original(), edited, tableLayout().writable);

    const auto doc = exe.open();
    const PatchPlan plan = planPatch(patch, exe.original(), tableLayout().writable);
    ASSERT_EQ(plan.blocks.size(), 2u);
    EXPECT_EQ(plan.blocks[0].length, 4u);
    EXPECT_NE(plan.metadata.find("unit:5\n"), std::string::npos) << plan.metadata;

    // Another program writes into a block after the check: nothing is written.
    auto meanwhile = exe.original();
    meanwhile[unit5 + 1] ^= 0xFF;
    test::writeFile(exe.path(), meanwhile);
    WriteResult r = doc->write(patchChange(plan, "应用补丁"));
    EXPECT_EQ(r.status, WriteResult::Status::Refused);
    EXPECT_NE(r.message.find("检查补丁之后又被改动"), std::string::npos) << r.message;
    EXPECT_EQ(exe.bytes(), meanwhile);

    test::writeFile(exe.path(), exe.original());
    r = doc->write(patchChange(plan, "应用补丁"));
    ASSERT_EQ(r.status, WriteResult::Status::Written) << r.message;
    EXPECT_EQ(exe.bytes(), edited);
    EXPECT_EQ(r.step.bytesChanged(), 3u);
    EXPECT_EQ(r.step.label, "应用补丁");
}

}  // namespace
}  // namespace vorlan
