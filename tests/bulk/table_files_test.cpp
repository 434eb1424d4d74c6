// Whole tables out and back in: for every table and both formats an unchanged export
// imports as nothing to write; files edited the way spreadsheet programs save them change
// exactly the edited fields; one bad cell refuses the whole file, naming every bad cell.

#include <gtest/gtest.h>

#include <functional>

#include "bulk/csv.h"
#include "bulk/table_export.h"
#include "bulk/table_import.h"
#include "catalog/catalog.h"
#include "fixtures/fixtures.h"
#include "lists/name_lists.h"
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
    EXPECT_EQ(plan.summary(), "已导入 2 个条目的 2 个字段");

    // Weapon slots by unit and slot; JSON with an item text for a choice.
    const std::string json =
        R"({"table":"weapon","entries":[{"unit":3,"slot":1,"values":{"hit":"-10"}}]})";
    const ImportPlan slot = planImport(weaponTable(), json, exe, &lists());
    ASSERT_TRUE(slot.ok()) << slot.error << (slot.problems.empty() ? "" : slot.problems[0]);
    ASSERT_EQ(slot.changes.size(), 1u);
    EXPECT_EQ(slot.changes[0].index, 3 * 18 + 1);
}

TEST(TableFiles, BadFilesAreRefusedWholeNamingEveryBadCell) {
    const Bytes& exe = test::demoBytes();
    const std::string units = exportTable(unitTable(), exe, &lists(), TableFormat::Csv);
    struct Case {
        const char* name;
        std::string text;
        const char* says;
    };
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ImportPlan plan = planImport(unitTable(), c.text, exe, &lists());
        EXPECT_FALSE(plan.ok());
        EXPECT_TRUE(plan.edits.empty());
        const std::string all = plan.error + (plan.problems.empty() ? "" : plan.problems[0]);
        EXPECT_NE(all.find(c.says), std::string::npos) << all;
    }
    // Twenty-five bad cells: the first twenty are named.
    const ImportPlan many = planImport(unitTable(), manyBad, exe, &lists());
    EXPECT_EQ(many.problems.size(), 20u);
    EXPECT_NE(many.problems[0].find("第 2 行 hp：x"), std::string::npos) << many.problems[0];
}

}  // namespace
}  // namespace vorlan
