// Whole tables out and back in: for every table and both formats an unchanged export
// imports as nothing to write; files edited the way spreadsheet programs save them change
// exactly the edited fields; one bad cell refuses the whole file, naming every bad cell.

#include <gtest/gtest.h>

#include <functional>

#include "bulk/csv.h"
#include "bulk/table_export.h"
#include "bulk/table_import.h"
#include "fixtures/fixtures.h"
#include "lists/name_lists.h"
#include "tables/catalog.h"
#include "tables/pilot_table.h"
#include "tables/unit_table.h"
#include "text/char_table.h"

namespace vorlan {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The repository's lists as the import and export read them.
class Lists final : public NameSource {
public:
    Lists() : lists_(loadNameLists(test::sourceDataDir())), chars_(lists_.chars) {}
    const std::vector<std::string>* names(NameList list) override {
        switch (list) {
            case NameList::Units:
                return &lists_.units;
            case NameList::Pilots:
                return &lists_.pilots;
            case NameList::Skills:
                return &lists_.skills;
            case NameList::None:
                break;
        }
        return nullptr;
    }
    const CharTable* chars() override { return &chars_; }

private:
    NameLists lists_;
    CharTable chars_;
};

Lists& lists() {
    static Lists l;
    return l;
}

// The repository's lists with one unit label as a downloaded list might have it.
class PlantedLabel final : public NameSource {
public:
    PlantedLabel(int unit, std::string label) : units_(*lists().names(NameList::Units)) {
        units_[static_cast<std::size_t>(unit)] = std::move(label);
    }
    const std::vector<std::string>* names(NameList list) override {
        return list == NameList::Units ? &units_ : lists().names(list);
    }
    const CharTable* chars() override { return lists().chars(); }

private:
    std::vector<std::string> units_;
};

std::string withoutBom(std::string s) {
    return s.rfind("\xEF\xBB\xBF", 0) == 0 ? s.substr(3) : s;
}

TEST(TableFiles, AnUnchangedExportImportsAsNothingToWrite) {
    const Bytes& exe = test::demoBytes();
    for (const TableDef* table : allTables()) {
        for (const TableFormat format : {TableFormat::Csv, TableFormat::Json}) {
            SCOPED_TRACE(table->name + (format == TableFormat::Csv ? " csv" : " json"));
            const std::string text = withoutBom(exportTable(*table, exe, &lists(), format));
            const ImportPlan plan = planImport(*table, text, exe, &lists());
            EXPECT_TRUE(plan.ok()) << plan.error << (plan.problems.empty() ? "" : plan.problems[0]);
            EXPECT_TRUE(plan.edits.empty());
        }
    }
}

// A CSV as a spreadsheet program might save it: LF line ends, every cell quoted, hex texts
// without their prefix, columns in another order, a trailing empty line.
std::string asSpreadsheetSaves(const std::string& exported) {
    const CsvTable t = parseCsv(withoutBom(exported));
    std::string out;
    for (std::size_t r = 0; r < t.rows.size(); ++r) {
        CsvRow row = t.rows[r];
        std::reverse(row.begin(), row.end());
        for (std::size_t c = 0; c < row.size(); ++c) {
            std::string cell = row[c].rfind("0x", 0) == 0 ? row[c].substr(2) : row[c];
            out += (c ? ",\"" : "\"") + cell + "\"";
        }
        out += "\n";
    }
    return out + "\n";
}

std::string setCell(const std::string& csv, int row, const std::string& column,
                    const std::string& value) {
    CsvTable t = parseCsv(withoutBom(csv));
    const auto& header = t.rows.front();
    const auto at =
        static_cast<std::size_t>(std::find(header.begin(), header.end(), column) - header.begin());
    EXPECT_LT(at, header.size()) << column;
    t.rows[static_cast<std::size_t>(row)][at] = value;
    std::string out;
    for (const CsvRow& r : t.rows)
        out += csvLine(r);
    return out;
}

TEST(TableFiles, AnEditedFileChangesExactlyTheEditedFields) {
    const Bytes& exe = test::demoBytes();
    const std::string units = exportTable(unitTable(), exe, &lists(), TableFormat::Csv);
    const ImportPlan same = planImport(unitTable(), asSpreadsheetSaves(units), exe, &lists());
    EXPECT_TRUE(same.ok() && same.edits.empty()) << same.error;

    std::string edited = setCell(units, 6, "hp", "1234");  // unit 5
    edited = setCell(edited, 8, "name.text", "火神炮");    // unit 7's name, by its text
    const ImportPlan plan = planImport(unitTable(), edited, exe, &lists());
    ASSERT_TRUE(plan.ok()) << plan.error << (plan.problems.empty() ? "" : plan.problems[0]);
    ASSERT_EQ(plan.changes.size(), 2u);
    EXPECT_EQ(plan.changes[0].index, 5);
    EXPECT_EQ(unitTable().fields[static_cast<std::size_t>(plan.changes[0].field)].key, "hp");
    EXPECT_EQ(plan.changes[1].index, 7);
    EXPECT_EQ(plan.changes[1].after.text, lists().chars()->lookup("火神炮").codes);
    EXPECT_EQ(plan.label("unit.csv"), "导入 unit.csv（2 个条目的 2 个字段）");

    // Weapon slots by unit and slot; JSON with an item text for a choice.
    const std::string json =
        R"({"table":"weapon","entries":[{"unit":3,"slot":1,"values":{"hit":"-10"}}]})";
    const ImportPlan slot = planImport(weaponTable(), json, exe, &lists());
    ASSERT_TRUE(slot.ok()) << slot.error << (slot.problems.empty() ? "" : slot.problems[0]);
    ASSERT_EQ(slot.changes.size(), 1u);
    EXPECT_EQ(slot.changes[0].index, 3 * 18 + 1);
    // A unit whose slot index would wrap around the integer range is no entry.
    const ImportPlan wrapped =
        planImport(weaponTable(), "unit,slot,hit\r\n896389621,2,1\r\n", exe, &lists());
    ASSERT_FALSE(wrapped.ok());
    EXPECT_NE(wrapped.problems.at(0).find("unit,slot"), std::string::npos) << wrapped.problems[0];
}

TEST(TableFiles, BadFilesAreRefusedWholeNamingEveryBadCell) {
    const Bytes& exe = test::demoBytes();
    const std::string units = exportTable(unitTable(), exe, &lists(), TableFormat::Csv);
    struct Case {
        const char* name;
        std::string text;
        const char* says;
    };
    // Nesting far beyond the stack of a recursive reader.
    const std::string deep = std::string(200000, '[') + std::string(200000, ']');
    std::string manyBad = units;
    for (int r = 1; r <= 25; ++r)
        manyBad = setCell(manyBad, r, "hp", "x");
    const Case cases[] = {
        {"a value out of range", setCell(units, 3, "en", "70000"), "第 4 行 en：70000"},
        {"a code and its text that disagree",
         setCell(setCell(units, 4, "name", "0x8940"), 4, "name.text", "火神炮"), "不一致"},
        {"a character without a code", setCell(units, 4, "name.text", "\xF0\x9F\x98\x80"),
         "没有对应的代码"},
        {"an unknown column", "index,hp,wings\r\n0,1,2\r\n", "wings"},
        {"no index column", "hp\r\n1\r\n", "index"},
        {"an index past the end", "index,hp\r\n481,1\r\n", "第 2 行 index"},
        {"an entry twice", "index,hp\r\n3,1\r\n3,2\r\n", "不止一次"},
        {"another table's JSON", R"({"table":"pilot","entries":[]})", "另一个表"},
        {"a row of 10000 columns", std::string("index") + std::string(10000, ','), "列数"},
        {"a cell of 1 MB", "index,hp\r\n0," + std::string(1 << 20, '7') + "\r\n", "长"},
        {"an open quote", "index,hp\r\n0,\"1\r\n", "引号"},
        {"a cell with control characters", "index,hp\r\n0,\x1B]0;x\x07\r\n", "\\x1B]0;x\\x07"},
        {"a cell of 4000 bytes", "index,hp\r\n0," + std::string(4000, 'x') + "\r\n", "xxx…"},
        {"deep nesting in table", "{\"table\":" + deep + ",\"entries\":[]}", "嵌套"},
        {"deep nesting in a value",
         R"({"table":"unit","entries":[{"index":0,"values":{"hp":)" + deep + "}}]}", "嵌套"},
        {"deep nesting elsewhere", R"({"entries":[],"x":)" + deep + "}", "嵌套"},
        {"a number out of range", R"({"entries":[{"index":1e400}]})", "数字"},
        {"a key twice in values", R"({"entries":[{"index":0,"values":{"hp":1,"hp":2}}]})",
         "「hp」出现了不止一次"},
        {"an index twice", R"({"entries":[{"index":0,"index":1,"values":{"hp":1}}]})",
         "「index」出现了不止一次"},
        {"entries twice", R"({"entries":[],"entries":[{"index":0,"values":{"hp":1}}]})",
         "「entries」出现了不止一次"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ImportPlan plan = planImport(unitTable(), c.text, exe, &lists());
        EXPECT_FALSE(plan.ok());
        EXPECT_TRUE(plan.edits.empty());
        const std::string all = plan.error + (plan.problems.empty() ? "" : plan.problems[0]);
        EXPECT_NE(all.find(c.says), std::string::npos) << all;
        // The reader's own words, never the library's; a message of a line.
        EXPECT_EQ(all.find("json.exception"), std::string::npos) << all;
        EXPECT_LT(all.size(), 300u) << all;
    }
    // Twenty-five bad cells: the first twenty are named.
    const ImportPlan many = planImport(unitTable(), manyBad, exe, &lists());
    EXPECT_EQ(many.problems.size(), 20u);
    EXPECT_NE(many.problems[0].find("第 2 行 hp：x"), std::string::npos) << many.problems[0];
}

// A name code cut to its field or completed to whole bytes is noted per cell, as set notes it.
TEST(TableFiles, CutOrCompletedNameCodesAreNotedPerCell) {
    const Bytes& exe = test::demoBytes();
    std::string text = exportTable(unitTable(), exe, &lists(), TableFormat::Csv);
    text = setCell(text, 4, "name", "0x" + std::string(100, '4'));
    text = setCell(text, 5, "name", "0x815");
    text = setCell(text, 6, "name.text", std::string(40, '1'));
    const ImportPlan plan = planImport(unitTable(), text, exe, &lists());
    ASSERT_TRUE(plan.ok()) << plan.error << (plan.problems.empty() ? "" : plan.problems[0]);
    ASSERT_EQ(plan.notes.size(), 3u);
    EXPECT_NE(plan.notes[0].find("第 5 行 name："), std::string::npos) << plan.notes[0];
    EXPECT_NE(plan.notes[0].find("第 69 位起的 32 位没有写入"), std::string::npos) << plan.notes[0];
    EXPECT_NE(plan.notes[1].find("第 6 行 name："), std::string::npos) << plan.notes[1];
    EXPECT_NE(plan.notes[1].find("8150"), std::string::npos) << plan.notes[1];
    EXPECT_NE(plan.notes[2].find("第 7 行 name.text："), std::string::npos) << plan.notes[2];
    EXPECT_NE(plan.notes[2].find("没有写入"), std::string::npos) << plan.notes[2];
}

// Cells a spreadsheet program would run as formulas carry a leading ' in the CSV, which
// import drops again; numbers, negative ones too, stay numbers.
TEST(TableFiles, FormulaCellsAreMarkedAsTextAndComeBack) {
    Bytes exe = test::demoBytes();
    const std::string formula = "=cmd|' /C calc'!A0";
    PlantedLabel names(2, formula);
    const std::string code = lists().chars()->lookup("=1+1").codes;  // 815C decodes to "="
    const FieldDef& name = *unitTable().field("name");
    for (std::size_t i = 0; i < code.size(); i += 2) {
        exe[unitTable().entryOffset(2) + static_cast<std::size_t>(name.offset) + i / 2] =
            static_cast<std::uint8_t>(std::stoi(code.substr(i, 2), nullptr, 16));
    }
    const std::string units = exportTable(unitTable(), exe, &names, TableFormat::Csv);
    const CsvTable csv = parseCsv(withoutBom(units));
    const CsvRow& row = csv.rows[3];
    EXPECT_EQ(row[1], "'" + formula);
    EXPECT_EQ(row[4], "'=1+1");
    const CsvTable weapons =
        parseCsv(withoutBom(exportTable(weaponTable(), exe, &names, TableFormat::Csv)));
    const auto hit = static_cast<std::size_t>(
        std::find(weapons.rows[0].begin(), weapons.rows[0].end(), "hit") - weapons.rows[0].begin());
    EXPECT_TRUE(std::any_of(weapons.rows.begin() + 1, weapons.rows.end(), [&](const CsvRow& r) {
        return r[hit].starts_with("-") && r[hit].size() > 1;
    })) << "no negative hit left as a number";

    // Back in: the mark goes, only before a formula character; other text stays as it is.
    const ImportPlan same = planImport(unitTable(), withoutBom(units), exe, &names);
    EXPECT_TRUE(same.ok() && same.edits.empty()) << same.error;
    struct Case {
        const char* cell;
        std::string text;  // the name the import sets
    };
    const Case cases[] = {{"'=1+1", ""}, {"'-1", "-1"}, {"''=1", "'=1"}, {"'1", "'1"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell);
        const ImportPlan plan = planImport(
            unitTable(), std::string("index,name.text\r\n2,") + c.cell + "\r\n", exe, &names);
        ASSERT_TRUE(plan.ok()) << plan.error << (plan.problems.empty() ? "" : plan.problems[0]);
        if (c.text.empty()) {
            EXPECT_TRUE(plan.changes.empty());
            continue;
        }
        ASSERT_EQ(plan.changes.size(), 1u);
        EXPECT_EQ(lists().chars()->decode(plan.changes[0].after.text), c.text);
    }
}

}  // namespace
}  // namespace vorlan
