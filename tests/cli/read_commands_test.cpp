#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "demo/demo_names.h"
#include "fixtures/demo_exe.h"
#include "fixtures/game_layout.h"
#include "tables/unit_table.h"

namespace vorlan {
namespace {

using test::cli;
using test::CliRun;
using test::DemoExe;

using test::kUnit5;

nlohmann::json field(const nlohmann::json& record, const std::string& key) {
    for (const auto& f : record["fields"]) {
        if (f["key"] == key)
            return f;
    }
    ADD_FAILURE() << "no field " << key;
    return {};
}

TEST(CliGet, JsonShowsEachFieldInItsForm) {
    const DemoExe exe;
    const CliRun r = exe.run({"get", "unit", "5", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["table"], "unit");
    EXPECT_EQ(j["index"], 5);
    EXPECT_EQ(j["offset"], "211AB0");
    EXPECT_EQ(j["fields"].size(), unitTable().fields.size());
    // Output is UTF-8, not \u escapes.
    EXPECT_NE(r.out.find("机体名称"), std::string::npos);

    const auto& demo = test::demoBytes();
    const auto hp = field(j, "hp");
    EXPECT_EQ(hp["control"], "Text2");
    EXPECT_EQ(hp["caption"], "HP");
    const std::uint32_t stored = demo[kUnit5 + 36] | demo[kUnit5 + 37] << 8 |
                                 demo[kUnit5 + 38] << 16 |
                                 static_cast<std::uint32_t>(demo[kUnit5 + 39]) << 24;
    EXPECT_EQ(hp["value"], stored);  // a number, for jq and scripts
    EXPECT_EQ(field(j, "size")["value"], demo[kUnit5 + 48]);
    EXPECT_EQ(field(j, "step-en")["caption"], "改造段数 EN");
    EXPECT_TRUE(field(j, "skills1")["value"].is_array());
    EXPECT_TRUE(field(j, "icon1")["value"].is_number_integer());
    const auto name = field(j, "name");
    EXPECT_EQ(name["decoded"], demoUnitName(5));
    EXPECT_FALSE(field(j, "hp").contains("decoded"));

    EXPECT_EQ(nlohmann::json::parse(exe.run({"get", "unit", "1", "--json"}).out)["offset"],
              "210570");
    const auto weapon = nlohmann::json::parse(exe.run({"get", "weapon", "5:2", "--json"}).out);
    EXPECT_EQ(weapon["offset"], "211BA0");
    EXPECT_EQ(weapon["index"], "5:2");
    EXPECT_EQ(weapon["label"], "机体005 武器3");  // the editor's label: slots count from 1 there
    EXPECT_EQ(field(weapon, "name")["decoded"], demoWeaponName(5, 2));
}

TEST(CliGet, MarksTogglesAndUnlistedChoicesInJson) {
    const DemoExe exe;
    auto bytes = exe.bytes();
    bytes[kUnit5 + 48] = 9;     // SIZE has six items: 9 has none
    bytes[kUnit5 + 68] = 0x01;  // bit 0 = last item (15) of List3
    bytes[kUnit5 + 69] = 0x10;  // bit 12 = item 3
    bytes[kUnit5 + 70] = 0xF4;  // icon 2 on; high bits belong to no field
    test::writeFile(exe.path(), bytes);
    const auto j = nlohmann::json::parse(exe.run({"get", "unit", "5", "--json"}).out);
    EXPECT_EQ(field(j, "size")["value"], -1);
    EXPECT_EQ(field(j, "size")["raw"], 9);
    EXPECT_EQ(field(j, "skills1")["value"], nlohmann::json::parse("[3,15]"));
    EXPECT_EQ(field(j, "icon2")["value"], 1);
    EXPECT_EQ(field(j, "icon3")["value"], 0);
}

TEST(CliGet, TextFormNamesTheRecordAndShowsItemsAndNames) {
    const DemoExe exe;
    const CliRun r = exe.run({"get", "unit", "5"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')).find("unit 5"), 0u);
    EXPECT_NE(r.out.find("0x211AB0"), std::string::npos);
    EXPECT_NE(r.out.find(demoUnitName(5)), std::string::npos);
    EXPECT_NE(r.out.find("5  机体005"), std::string::npos);  // the code, named from unit.txt
    // Global options may follow the subcommand.
    EXPECT_EQ(cli({"get", "unit", "5", "--exe", exe.path().string()}).out, r.out);
}

TEST(CliGet, RefusesBadTargetsAndFiles) {
    const DemoExe exe;
    for (const char* index : {"abc", "-1", "481", "5:2", "", "1e2"})
        EXPECT_EQ(exe.run({"get", "unit", index}).status, 1) << index;
    for (const char* index : {"5", "5:18", "481:0", "5:", ":2", "5:2:1"})
        EXPECT_EQ(exe.run({"get", "weapon", index}).status, 1) << index;
    EXPECT_EQ(exe.run({"get", "unit", "480"}).status, 0);
    EXPECT_EQ(exe.run({"get", "weapon", "480:17"}).status, 0);
    EXPECT_NE(exe.run({"get", "unit", "481"}).err.find("0 到 480"), std::string::npos);
    EXPECT_EQ(exe.run({"get", "nosuch", "1"}).status, 1);
    EXPECT_EQ(exe.run({"get", "guts", "9"}).status, 1);  // L1 … L9 are 0 … 8

    const CliRun noExe = cli({"get", "unit", "5"});
    EXPECT_EQ(noExe.status, 1);
    EXPECT_NE(noExe.err.find("--exe"), std::string::npos);
    test::TempDir dir;
    test::writeFile(dir / "small", {0x7F, 'E', 'L', 'F'});
    EXPECT_EQ(cli({"--exe", (dir / "small").string(), "get", "unit", "5"}).status, 1);

    // Decoding names needs the character table: refused, naming the file, without it.
    const CliRun noTable = exe.run({"--data", dir.path().string(), "get", "unit", "5", "--json"});
    EXPECT_EQ(noTable.status, 1);
    EXPECT_NE(noTable.err.find("string.txt"), std::string::npos);
}

TEST(CliFields, ListsEveryFieldWithItsItems) {
    const CliRun r = cli({"fields", "unit"});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const FieldDef& f : unitTable().fields) {
        EXPECT_NE(r.out.find(f.key + " "), std::string::npos) << f.key;
        EXPECT_NE(r.out.find(f.control + " "), std::string::npos) << f.control;
    }
    EXPECT_NE(r.out.find("改造段数 运动性"), std::string::npos);
    EXPECT_NE(r.out.find("0 SS  1 S  2 M"), std::string::npos);
    EXPECT_NE(r.out.find("unit.txt"), std::string::npos);
    EXPECT_NE(r.out.find("name-code"), std::string::npos);
    EXPECT_EQ(cli({"fields", "weapon"}).status, 0);
    // Every table has its fields, listed by their window's control names.
    const CliRun spirit = cli({"fields", "spirit"});
    EXPECT_EQ(spirit.status, 0);
    EXPECT_NE(spirit.out.find("Combo1(5)"), std::string::npos);
    EXPECT_NE(spirit.out.find("应援"), std::string::npos);
    EXPECT_EQ(cli({"fields", "nosuch"}).status, 1);
}

}  // namespace
}  // namespace vorlan
