#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "fixtures/demo_exe.h"
#include "fixtures/game_layout.h"
#include "lists/name_lists.h"

namespace vorlan {
namespace {

using test::CliRun;
using test::DemoExe;
using test::differences;

using test::kUnit5;

TEST(CliSet, WritesOnlyTheBytesOfTheEditedField) {
    const DemoExe exe;
    const auto before = exe.bytes();
    const CliRun r = exe.run({"set", "unit", "5", "Text2=100000"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("hp"), std::string::npos);
    const auto after = exe.bytes();
    for (std::size_t at : differences(before, after))
        EXPECT_TRUE(at >= kUnit5 + 36 && at < kUnit5 + 40) << at;
    EXPECT_EQ(after[kUnit5 + 36], 0xA0);  // 100000 = 0x000186A0, little-endian
    EXPECT_EQ(after[kUnit5 + 37], 0x86);
    EXPECT_EQ(after[kUnit5 + 38], 0x01);
    EXPECT_EQ(after[kUnit5 + 39], 0x00);
}

TEST(CliSet, KeyAndControlNameReachTheSameField) {
    const DemoExe exe;
    ASSERT_EQ(exe.run({"set", "unit", "5", "en=123"}).status, 0);
    auto j = nlohmann::json::parse(exe.run({"get", "unit", "5", "--json"}).out);
    EXPECT_EQ(j["fields"][3]["value"], 123);
    ASSERT_EQ(exe.run({"set", "unit", "5", "Text3=77"}).status, 0);
    j = nlohmann::json::parse(exe.run({"get", "unit", "5", "--json"}).out);
    EXPECT_EQ(j["fields"][3]["value"], 77);
    // Weapon slots take the same notation; the slot's attack is 2 bytes at slot offset 42.
    const auto before = exe.bytes();
    ASSERT_EQ(exe.run({"set", "weapon", "5:2", "attack=4660"}).status, 0);
    const std::size_t attack = kUnit5 + test::kUnitHeaderSize + 2 * test::kWeaponSlotSize + 42;
    EXPECT_EQ(differences(before, exe.bytes()), (std::vector<std::size_t>{attack, attack + 1}));
    EXPECT_EQ(exe.bytes()[attack], 0x34);
    EXPECT_EQ(exe.bytes()[attack + 1], 0x12);
}

TEST(CliSet, MarksTogglesAndChoicesByIndexOrText) {
    const DemoExe exe;
    auto bytes = exe.bytes();
    bytes[kUnit5 + 70] = 0xF0;  // bits that no field shows must survive the toggle
    test::writeFile(exe.path(), bytes);
    const CliRun r =
        exe.run({"set", "unit", "5", "List3=15,3", "Picture2(1)=1", "size=LL", "Combo11=0"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto after = exe.bytes();
    EXPECT_EQ(after[kUnit5 + 68], 0x01);  // item 15 = bit 0
    EXPECT_EQ(after[kUnit5 + 69], 0x10);  // item 3 = bit 12
    EXPECT_EQ(after[kUnit5 + 70], 0xF2);
    EXPECT_EQ(after[kUnit5 + 48], 4);
    EXPECT_EQ(after[kUnit5 + 66], 0);

    // Name-list choices take a name from the loaded list; empty marks clear the list.
    const auto units = readListFile(test::sourceDataDir(), kUnitList);
    ASSERT_EQ(exe.run({"set", "unit", "5", "code=" + units[7], "skills1="}).status, 0);
    after = exe.bytes();
    EXPECT_EQ(after[kUnit5], 7);
    EXPECT_EQ(after[kUnit5 + 1], 0);
    EXPECT_EQ(after[kUnit5 + 68], 0);
    EXPECT_EQ(after[kUnit5 + 69], 0);
}

TEST(CliSet, AnyBadValueLeavesTheFileAsItWas) {
    const DemoExe exe;
    const auto before = exe.bytes();
    const std::vector<std::vector<std::string>> bad{
        {"hp=abc"},          {"hp=100", "size=6"},  // the good value is not written either
        {"size=none"},       {"code=no such unit"}, {"Picture2(0)=2"}, {"List3=3,,4"},
        {"List3=16"},        {"move=70000"},        {"nosuch=1"},      {"hp"},
        {"hp=1", "Text2=2"},
    };
    for (const auto& assignments : bad) {
        std::vector<std::string> args{"set", "unit", "5"};
        args.insert(args.end(), assignments.begin(), assignments.end());
        const CliRun r = exe.run(args);
        EXPECT_EQ(r.status, 1) << assignments[0];
        EXPECT_FALSE(r.err.empty()) << assignments[0];
    }
    EXPECT_EQ(exe.bytes(), before);
    EXPECT_FALSE(std::filesystem::exists(exe.backup()));
    // The engine's message names the field and its range.
    const CliRun r = exe.run({"set", "unit", "5", "hp=1", "size=6"});
    EXPECT_NE(r.err.find("「SIZE」"), std::string::npos);
    EXPECT_NE(r.err.find("0 到 5"), std::string::npos);
    // Every bad value is named at once.
    const CliRun both = exe.run({"set", "unit", "5", "hp=abc", "move=70000"});
    EXPECT_EQ(both.status, 1);
    EXPECT_NE(both.err.find("「HP」"), std::string::npos) << both.err;
    EXPECT_NE(both.err.find("「移动力」"), std::string::npos) << both.err;
    EXPECT_EQ(exe.bytes(), before);
}

TEST(CliSet, AnUnchangedValueWritesNothing) {
    const DemoExe exe;
    const auto shown = nlohmann::json::parse(exe.run({"get", "unit", "5", "--json"}).out);
    std::vector<std::string> args{"set", "unit", "5"};
    for (const auto& f : shown["fields"]) {
        if (f["value"].is_string())
            args.push_back(f["key"].get<std::string>() + "=" + f["value"].get<std::string>());
        else if (f["value"].is_number())
            args.push_back(f["key"].get<std::string>() + "=" +
                           std::to_string(f["value"].get<int>()));
    }
    const auto before = exe.bytes();
    const CliRun r = exe.run(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("没有写入"), std::string::npos);
    EXPECT_EQ(exe.bytes(), before);
    EXPECT_FALSE(std::filesystem::exists(exe.backup()));

    // "-1" keeps a stored value that has no item.
    auto bytes = exe.bytes();
    bytes[kUnit5 + 48] = 9;
    test::writeFile(exe.path(), bytes);
    EXPECT_EQ(exe.run({"set", "unit", "5", "size=-1"}).status, 0);
    EXPECT_EQ(exe.bytes(), bytes);
}

}  // namespace
}  // namespace vorlan
