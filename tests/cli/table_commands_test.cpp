// export, import and diff on the command line: an unchanged round trip writes nothing (not
// even a backup), an edited file writes exactly its fields in one write, GBK files as older
// spreadsheet programs save them are read, --dry-run and bad files write nothing, and diff
// lists exactly the fields set.

#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "fixtures/demo_exe.h"
#include "fixtures/portable.h"
#include "tables/unit_table.h"
#include "tables/window_tables.h"

namespace vorlan {
namespace {

using test::CliRun;
using test::DemoExe;
using test::differences;
namespace fs = std::filesystem;

std::string csvOf(const DemoExe& exe, const char* table) {
    const CliRun r = exe.run({"export", table});
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
}

// `csv` with the cell in `row` (0 = header) and `column` replaced.
std::string edit(std::string csv, int row, const std::string& column, const std::string& value) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < csv.size();) {
        const auto end = csv.find("\r\n", at);
        lines.push_back(csv.substr(at, end - at));
        at = end + 2;
    }
    std::vector<std::string> header;
    std::string h = lines[0];
    for (std::size_t at = 0; at <= h.size();) {
        const auto comma = std::min(h.find(',', at), h.size());
        header.push_back(h.substr(at, comma - at));
        at = comma + 1;
    }
    const auto col = std::find(header.begin(), header.end(), column) - header.begin();
    std::string& line = lines[static_cast<std::size_t>(row)];
    std::size_t start = 0;
    for (long c = 0; c < col; ++c)
        start = line.find(',', start) + 1;
    const auto stop = std::min(line.find(',', start), line.size());
    line = line.substr(0, start) + value + line.substr(stop);
    std::string out;
    for (const auto& l : lines)
        out += l + "\r\n";
    return out;
}

using test::toGbk;

TEST(CliTables, AnUnchangedRoundTripWritesNothing) {
    const DemoExe exe;
    const auto before = exe.bytes();
    const fs::path dir = exe.dir() / "tables";
    for (const char* format : {"csv", "json"}) {
        SCOPED_TRACE(format);
        const CliRun out =
            exe.run({"export", "--all", "--format", format, "--out", dir.string(), "--overwrite"});
        ASSERT_EQ(out.status, 0) << out.err;
        const CliRun in = exe.run({"import", "--all", dir.string()});
        ASSERT_EQ(in.status, 0) << in.err;
        EXPECT_NE(in.out.find("没有需要写入的改动"), std::string::npos) << in.out;
        fs::remove_all(dir);
    }
    EXPECT_EQ(exe.bytes(), before);
    EXPECT_FALSE(fs::exists(exe.backup()));
}

TEST(CliTables, AnEditedFileWritesExactlyItsFieldsInOneWrite) {
    const DemoExe exe;
    const auto before = exe.bytes();
    const fs::path file = exe.dir() / "units.csv";
    test::writeText(file, toGbk(edit(edit(csvOf(exe, "unit"), 6, "hp", "1234"), 9, "en", "77")));

    const CliRun dry = exe.run({"import", "unit", file.string(), "--dry-run"});
    ASSERT_EQ(dry.status, 0) << dry.err;
    EXPECT_NE(dry.out.find("unit 5 "), std::string::npos) << dry.out;
    EXPECT_NE(dry.out.find("unit 8 "), std::string::npos) << dry.out;
    EXPECT_EQ(exe.bytes(), before);

    const CliRun r = exe.run({"import", "unit", file.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("已导入 2 个条目的 2 个字段"), std::string::npos) << r.out;
    const auto changed = differences(before, exe.bytes());
    ASSERT_FALSE(changed.empty());
    const std::size_t hp = unitTable().entryOffset(5) + 36;
    const std::size_t en = unitTable().entryOffset(8) + 40;
    for (std::size_t at : changed)
        EXPECT_TRUE((at >= hp && at < hp + 4) || (at >= en && at < en + 2)) << at;
    EXPECT_EQ(exe.bytes()[en], 77);

    // Only the entries that differ from the backup, whose writes made it.
    const CliRun since = exe.run({"export", "unit", "--changed-since"});
    ASSERT_EQ(since.status, 0) << since.err;
    EXPECT_EQ(std::count(since.out.begin(), since.out.end(), '\n'), 3);

    // A bad cell writes nothing.
    const auto now = exe.bytes();
    test::writeText(file, edit(csvOf(exe, "unit"), 2, "en", "70000"));
    const CliRun bad = exe.run({"import", "unit", file.string()});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("第 3 行 en：70000"), std::string::npos) << bad.err;
    EXPECT_EQ(exe.bytes(), now);

    // A 50 MB file is refused by its size, not read.
    fs::resize_file(file, 50u << 20);
    const CliRun huge = exe.run({"import", "unit", file.string()});
    EXPECT_EQ(huge.status, 1);
    EXPECT_EQ(exe.bytes(), now);
}

// JSON gives decimal fields as numbers, so jq-style arithmetic on them round-trips; a numeric
// string is taken too, and a hex field given as a number (ambiguous) is refused.
TEST(CliTables, JsonNumbersTakeArithmetic) {
    const DemoExe exe;
    const CliRun out = exe.run({"export", "unit", "--format", "json"});
    ASSERT_EQ(out.status, 0) << out.err;
    auto doc = nlohmann::json::parse(out.out);
    auto& five = doc["entries"][5]["values"];
    ASSERT_TRUE(five["hp"].is_number_integer());
    ASSERT_TRUE(five["attribute"].is_string());
    five["hp"] = five["hp"].get<int>() + 1;
    doc["entries"][8]["values"]["en"] = "77";
    const fs::path file = exe.dir() / "units.json";
    const auto hp = unitTable().entryOffset(5) + 36;
    const auto stored = [&] {
        const auto b = exe.bytes();
        return b[hp] | b[hp + 1] << 8 | b[hp + 2] << 16;
    };
    const int before = stored();

    auto bad = doc;
    bad["entries"][5]["values"]["attribute"] = 9;
    bad["entries"][6]["values"]["hp"] = 1.5;
    test::writeText(file, bad.dump());
    const CliRun refused = exe.run({"import", "unit", file.string()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("应为字符串"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("应为整数"), std::string::npos) << refused.err;
    EXPECT_EQ(stored(), before);

    test::writeText(file, doc.dump());
    const CliRun in = exe.run({"import", "unit", file.string()});
    ASSERT_EQ(in.status, 0) << in.err;
    EXPECT_NE(in.out.find("已导入 2 个条目的 2 个字段"), std::string::npos) << in.out;
    EXPECT_EQ(stored(), before + 1);
    EXPECT_EQ(exe.bytes()[unitTable().entryOffset(8) + 40], 77);

    // A number's text decides, never the double it would round to: only an exact integer.
    auto spelled = doc;
    spelled["entries"][5]["values"]["hp"] = 987654321;
    const std::string withSentinel = spelled.dump();
    const auto spell = [&](const std::string& number) {
        std::string text = withSentinel;
        text.replace(text.find("987654321"), 9, number);
        test::writeText(file, text);
        return exe.run({"import", "unit", file.string()});
    };
    for (const char* inexact : {"1e-400", "12345.0000000000001", "1e30"}) {
        SCOPED_TRACE(inexact);
        const CliRun r = spell(inexact);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("应为整数"), std::string::npos) << r.err;
        EXPECT_EQ(stored(), before + 1);
    }
    ASSERT_EQ(spell("1.2345e4").status, 0);
    EXPECT_EQ(stored(), 12345);
}

// A folder import that would set one field twice (two files of one table, or two tables
// over the same bytes) is refused naming both files, before anything is written; a file
// that only repeats a value another file edits neither stops nor undoes the edit.
TEST(CliTables, ImportAllRefusesAFieldSetTwice) {
    const DemoExe exe;
    const auto before = exe.bytes();
    const fs::path dir = exe.dir() / "tables";
    for (const char* format : {"csv", "json"})
        ASSERT_EQ(exe.run({"export", "--all", "--format", format, "--out", dir.string()}).status,
                  0);
    test::writeText(dir / "unit.csv", edit(csvOf(exe, "unit"), 6, "hp", "1234"));
    CliRun r = exe.run({"import", "--all", dir.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("unit.csv"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("unit.json"), std::string::npos) << r.err;
    EXPECT_EQ(exe.bytes(), before);

    // upgrade-increment is the attack half of weapon-upgrade's block.
    fs::remove_all(dir);
    fs::create_directory(dir);
    const fs::path steps = dir / "upgrade-increment.csv";
    const fs::path block = dir / "weapon-upgrade.csv";
    test::writeText(steps, edit(csvOf(exe, "upgrade-increment"), 1, "step1", "111"));
    test::writeText(block, edit(csvOf(exe, "weapon-upgrade"), 1, "attack1-1", "222"));
    r = exe.run({"import", "--all", dir.string()});
    EXPECT_EQ(r.status, 1);
    for (const char* named : {"upgrade-increment.csv", "weapon-upgrade.csv", "attack1-1", "step1"})
        EXPECT_NE(r.err.find(named), std::string::npos) << named << "\n" << r.err;
    EXPECT_EQ(exe.bytes(), before);

    // The other file gives that field's stored value in another spelling, and changes
    // another field of its entry: the edit of the first file stands.
    test::writeText(block, edit(edit(csvOf(exe, "weapon-upgrade"), 1, "attack1-1", "0110"), 1,
                                "cost1-1", "12345"));
    r = exe.run({"--no-backup", "import", "--all", dir.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("已导入 2 个条目的 2 个字段"), std::string::npos) << r.out;
    const std::size_t attack = weaponUpgradeTable().offset + 208;  // attack1-1, 2 bytes
    EXPECT_EQ(exe.bytes()[attack], 111);
}

// What storing a cell cuts or completes is noted, as set notes it.
TEST(CliTables, ImportNotesACutName) {
    const DemoExe exe;
    const fs::path file = exe.dir() / "units.csv";
    test::writeText(file, "index,name\r\n3,0x" + std::string(100, '4') + "\r\n");
    const CliRun r = exe.run({"--no-backup", "import", "unit", file.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("注意：第 2 行 name：「机体名称」只有 34 字节（68 位），输入的第 69 "
                         "位起的 32 位没有写入"),
              std::string::npos)
        << r.err;
}

// A number storing rounds is noted as set notes it, cell by cell, in CSV and JSON alike; a
// refused one is quoted as the file spells it and named by entry and field.
TEST(CliTables, ImportSaysWhatBecameOfEachNumber) {
    const DemoExe exe;
    const fs::path file = exe.dir() / "units";
    // Unit 5's HP as a CSV row or a JSON value spells it, and what the import says.
    const std::pair<std::string, std::string> cases[] = {
        {"5,12345.5", "注意：第 2 行 hp：= 12346（输入 12345.5，已取整）"},
        {"5,-0", "HP：16300 → 0"},
        {"\"12345.0000000000001\"",
         "注意：第 1 个条目 hp：= 12345（输入 12345.0000000000001，已取整）"},
        {"12345.0000000000001", "第 1 个条目 hp：12345.0000000000001 — 「HP」"},
        {"1e400", "第 1 个条目 hp：1e400 — 「HP」"},
        {std::string(5000, '9'), "第 1 个条目 hp：9999999999"},
    };
    for (const auto& [hp, said] : cases) {
        SCOPED_TRACE(hp.substr(0, 20));
        test::writeText(file, hp.starts_with("5,")
                                  ? "index,hp\r\n" + hp + "\r\n"
                                  : R"({"entries": [{"index": 5, "values": {"hp": )" + hp + "}}]}");
        const CliRun r = exe.run({"import", "--dry-run", "unit", file.string()});
        EXPECT_NE((r.err + r.out).find(said), std::string::npos) << r.err << r.out;
        EXPECT_EQ(r.err.find("注意") == std::string::npos, !said.starts_with("注意")) << r.err;
    }
}

TEST(CliTables, DiffListsExactlyTheFieldsSet) {
    const DemoExe exe;
    const fs::path copy = exe.dir() / "copy.04";
    fs::copy_file(exe.path(), copy);
    const CliRun same = exe.run({"diff", copy.string()});
    ASSERT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, "两个文件相同。\n");

    const CliRun set =
        test::cli({"--exe", copy.string(), "--no-backup", "set", "pilot", "12", "Text40(3)=180"});
    ASSERT_EQ(set.status, 0) << set.err;
    const CliRun json = exe.run({"diff", copy.string(), "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find("\"table\": \"pilot\""), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"new\": 180"), std::string::npos) << json.out;
    EXPECT_EQ(std::count(json.out.begin(), json.out.end(), '{'), 2) << json.out;
    EXPECT_EQ(exe.run({"diff", (exe.dir() / "missing").string()}).status, 1);
}

// Every table's CSV opened and saved by LibreOffice Calc (CSV → ODS → CSV, as a player's
// spreadsheet program would) imports as nothing to write.
TEST(SlowCliTables, CsvSavedByASpreadsheetProgramImportsUnchanged) {
#ifdef _WIN32
    GTEST_SKIP() << "LibreOffice runs beside the Linux tests only";
#endif
    if (std::system("command -v soffice > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "LibreOffice (soffice) is not installed; scripts/test.sh installs it";
    const DemoExe exe;
    ASSERT_EQ(exe.run({"--no-backup", "set", "unit", "1", "skills1=3,15"}).status, 0);
    // A name a spreadsheet program would run as a formula ("=1+1").
    ASSERT_EQ(exe.run({"--no-backup", "set", "unit", "2", "name=815C8150814A8150"}).status, 0);
    const fs::path csv = exe.dir() / "csv";
    const fs::path back = exe.dir() / "back";
    ASSERT_EQ(exe.run({"export", "--all", "--out", csv.string()}).status, 0);
    const std::string office = "soffice -env:UserInstallation=file://" +
                               (exe.dir() / "profile").string() + " --headless --norestore ";
    const std::string toOds = "cd '" + csv.string() + "' && " + office +
                              "--infilter=CSV:44,34,76,1 --convert-to ods *.csv > /dev/null 2>&1";
    const std::string toCsv = "cd '" + csv.string() + "' && " + office +
                              "--convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1' "
                              "--outdir '" +
                              back.string() + "' *.ods > /dev/null 2>&1";
    ASSERT_EQ(std::system(toOds.c_str()), 0);
    ASSERT_EQ(std::system(toCsv.c_str()), 0);
    ASSERT_TRUE(fs::exists(back / "weapon.csv"));
    const auto before = exe.bytes();
    const CliRun r = exe.run({"import", "--all", back.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("没有需要写入的改动"), std::string::npos) << r.out;
    EXPECT_EQ(exe.bytes(), before);
}

}  // namespace
}  // namespace vorlan
