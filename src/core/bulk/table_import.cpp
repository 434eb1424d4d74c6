#include "bulk/table_import.h"

#include <charconv>
#include <map>
#include <optional>
#include <set>

#include "bulk/csv.h"
#include "bulk/field_text.h"
#include "bulk/json_entries.h"
#include "bulk/table_io.h"
#include "schema/name_bytes.h"
#include "schema/record_io.h"
#include "schema/value_text.h"
#include "text/char_table.h"
#include "text/shown_text.h"

namespace vorlan {

namespace {

constexpr std::size_t kMaxProblems = 20;

// What a column of the file stands for.
struct Column {
    enum class Kind { Index, Unit, Slot, Label, Field, Text } kind = Kind::Field;
    int field = -1;
};

std::optional<int> number(std::string_view text) {
    int value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

// One cell as the file gave it: text (CSV) or a JSON value.
struct Cell {
    std::string column;
    Column what;
    std::string text;
    const nlohmann::json* json = nullptr;
    std::string spelled{};  // a JSON number with a point or an exponent, as the file spells it
    // As the player wrote it, as a message quotes it: a short line, control characters as \xNN.
    std::string shownText() const {
        if (!spelled.empty())
            return excerpt(spelled);
        return json != nullptr ? jsonExcerpt(*json) : excerpt(text);
    }
    // The text a name code was given as, for the notes on what storing it cut or completed.
    std::string codeText() const {
        return json == nullptr ? text : json->is_string() ? json->get<std::string>() : "";
    }
};

class Planner {
public:
    Planner(const TableDef& table, std::span<const std::uint8_t> exe, NameSource* names)
        : table_(table), exe_(exe), names_(names) {}

    // Column names → meanings; an unknown one is an error naming it.
    std::optional<Column> column(const std::string& name) {
        if (name == "label")
            return Column{Column::Kind::Label};
        if (bySlot(table_) && name == "unit")
            return Column{Column::Kind::Unit};
        if (bySlot(table_) && name == "slot")
            return Column{Column::Kind::Slot};
        if (!bySlot(table_) && name == "index")
            return Column{Column::Kind::Index};
        for (std::size_t i = 0; i < table_.fields.size(); ++i) {
            const FieldDef& f = table_.fields[i];
            if (f.key == name)
                return Column{Column::Kind::Field, static_cast<int>(i)};
            if (isNameCode(f) && textColumn(f) == name)
                return Column{Column::Kind::Text, static_cast<int>(i)};
        }
        return std::nullopt;
    }

    // The cells of one entry ("第 R 行" / "第 R 个条目" in `where`).
    void row(const std::string& where, const std::vector<Cell>& cells) {
        std::optional<int> index;
        std::optional<int> unit;
        std::optional<int> slot;
        for (const Cell& c : cells) {
            const auto whole = [&]() -> std::optional<int> {
                if (c.json != nullptr)
                    return c.json->is_number_integer() && c.json->get<long long>() >= 0 &&
                                   c.json->get<long long>() < 100000
                               ? std::optional<int>(static_cast<int>(c.json->get<long long>()))
                               : std::nullopt;
                return number(c.text);
            };
            if (c.what.kind == Column::Kind::Index)
                index = whole();
            else if (c.what.kind == Column::Kind::Unit)
                unit = whole();
            else if (c.what.kind == Column::Kind::Slot)
                slot = whole();
        }
        if (bySlot(table_)) {
            // Each in range before they are multiplied: a huge unit must not wrap around.
            if (unit && slot && *unit >= 0 && *unit < table_.count / table_.perGroup &&
                *slot >= 0 && *slot < table_.perGroup)
                index = *unit * table_.perGroup + *slot;
            else
                index.reset();
        }
        if (!index || *index < 0 || *index >= table_.count) {
            problem(where + " " + (bySlot(table_) ? "unit,slot" : "index") + "：" +
                    (bySlot(table_)
                         ? "应为 0 到 " + std::to_string(table_.count / table_.perGroup - 1) +
                               " 的机体编号和 0 到 " + std::to_string(table_.perGroup - 1) +
                               " 的武器栏"
                         : "应为 0 到 " + std::to_string(table_.count - 1) + " 的整数"));
            return;
        }
        if (!seen_.insert(*index).second) {
            problem(where + "：条目 " + excerpt(table_.label(*index, names_)) +
                    " 在文件中出现了不止一次");
            return;
        }
        entry(where, *index, cells);
    }

    void problem(std::string text) {
        ++problemCount_;
        if (plan.problems.size() < kMaxProblems)
            plan.problems.push_back(std::move(text));
    }

    ImportPlan plan;

private:
    void entry(const std::string& where, int index, const std::vector<Cell>& cells) {
        const std::uint64_t base = table_.entryOffset(index);
        const auto from = exe_.begin() + static_cast<std::ptrdiff_t>(base);
        const std::vector<std::uint8_t> bytes(from, from + table_.size);
        ByteStore store(bytes);
        const std::vector<FieldValue> shown = readEntry(store, table_);
        std::vector<FieldValue> edited = shown;
        std::map<int, const Cell*> cellOf;  // the cell each edited field was given by
        // Name codes as given, by field: the column and the code text, for the notes.
        std::map<int, std::pair<std::string, std::string>> givenCodes;
        bool bad = false;
        const auto refuse = [&](const Cell& c, const std::string& why) {
            problem(where + " " + c.column + "：" + c.shownText() + " — " + why);
            bad = true;
        };
        for (const Cell& c : cells) {
            if (c.what.kind != Column::Kind::Field)
                continue;
            const auto f = static_cast<std::size_t>(c.what.field);
            const FieldDef& field = table_.fields[f];
            const ParsedValue parsed = c.json != nullptr
                                           ? parseFieldJson(field, *c.json, shown[f], names_)
                                           : parseFieldText(field, c.text, shown[f], names_);
            if (!parsed.value) {
                refuse(c, parsed.error);
                continue;
            }
            edited[f] = *parsed.value;
            cellOf[c.what.field] = &c;
            if (isNameCode(field))
                givenCodes[c.what.field] = {c.column, c.codeText()};
        }
        for (const Cell& c : cells) {
            if (c.what.kind != Column::Kind::Text)
                continue;
            const auto f = static_cast<std::size_t>(c.what.field);
            if (c.json != nullptr && !c.json->is_string()) {
                refuse(c, "应为文字");
                continue;
            }
            const std::string text = c.json != nullptr ? c.json->get<std::string>() : c.text;
            if (text == decodedName(shown[f], names_))
                continue;
            const CharTable* chars = names_ != nullptr ? names_->chars() : nullptr;
            if (chars == nullptr) {
                refuse(c, "没有字码表，无法把文字编码为名称代码");
                continue;
            }
            const CharTable::Lookup code = chars->lookup(text);
            if (!code.found) {
                refuse(c, "字符「" + excerpt(code.missing) + "」在字码表中没有对应的代码");
                continue;
            }
            // Both the code and its text changed: they must say the same.
            if (!(edited[f] == shown[f]) && edited[f].text != code.codes) {
                refuse(c, "与同一行的「" + table_.fields[f].key +
                              "」不一致（两者都改了，但说的不是同一个名称），这一行没有导入");
                continue;
            }
            edited[f] = FieldValue::ofText(code.codes);
            cellOf[c.what.field] = &c;
            givenCodes[c.what.field] = {c.column, code.codes};
        }
        if (bad)
            return;
        // One check of every changed field: each bad cell is named.
        std::vector<std::uint8_t> after = bytes;
        const SaveOutcome saved = applyEdits(after, table_, shown, edited);
        for (const FieldRefusal& r : saved.refusals) {
            const Cell& c = *cellOf.at(r.field);
            problem(where + " " + c.column + "：" + c.shownText() + " — " + r.message);
        }
        if (!saved.ok())
            return;
        // Only what the bytes really change: "0100" for 100 writes nothing.
        ByteStore now(after);
        const std::vector<FieldValue> stored = readEntry(now, table_);
        // The edit writes those fields only: a field given as "0100" for 100 is rewritten
        // by nothing, so it cannot undo what another file of the same import sets there.
        std::vector<FieldValue> written = shown;
        for (std::size_t f = 0; f < stored.size(); ++f) {
            const FieldDef& field = table_.fields[f];
            // A number stored otherwise than given (a fraction rounded), changed or not.
            if (isDecimalNumber(field) && edited[f] != shown[f]) {
                if (const std::string note = storedNumberNote(edited[f].text, stored[f].text);
                    !note.empty())
                    plan.notes.push_back(where + " " + field.key + "：= " + note);
            }
            if (stored[f] == shown[f])
                continue;
            plan.changes.push_back({&table_, index, static_cast<int>(f), shown[f], stored[f]});
            written[f] = edited[f];
            const auto given = givenCodes.find(static_cast<int>(f));
            if (given == givenCodes.end())
                continue;
            for (const std::string& note : {nameCodeNote(field, given->second.second),
                                            clearedNameBytes(field, shown[f], bytes, after)}) {
                if (!note.empty())
                    plan.notes.push_back(where + " " + given->second.first + "：" + note);
            }
        }
        if (written != shown)
            plan.edits.push_back({&table_, index, shown, std::move(written)});
    }

    const TableDef& table_;
    std::span<const std::uint8_t> exe_;
    NameSource* names_;
    std::set<int> seen_;
    std::size_t problemCount_ = 0;
};

// Why `header` cannot head a file of `table`, else "" with the meaning of each column.
std::string readHeader(Planner& planner, const TableDef& table, const CsvRow& header,
                       std::vector<Column>& columns) {
    std::set<std::string> names;
    for (const std::string& name : header) {
        const auto c = planner.column(name);
        if (!c) {
            return "第 1 行的列「" + excerpt(name) + "」不是" + table.caption + "（" + table.name +
                   "）的字段";
        }
        if (!names.insert(name).second)
            return "第 1 行的列「" + excerpt(name) + "」出现了不止一次";
        columns.push_back(*c);
    }
    const bool hasIndex =
        bySlot(table) ? names.contains("unit") && names.contains("slot") : names.contains("index");
    if (!hasIndex)
        return std::string("第 1 行缺少") +
               (bySlot(table) ? "「unit」和「slot」列" : "「index」列");
    return {};
}

// Row by row as the reader hands them over: no more than a row of cells is held at a time.
void planCsv(Planner& planner, const TableDef& table, std::string_view text) {
    CsvRow header;
    std::vector<Column> columns;
    std::size_t line = 0;
    const auto row = [&](CsvRow& cells) {
        ++line;
        if (line == 1) {
            header = std::move(cells);
            planner.plan.error = readHeader(planner, table, header, columns);
            return planner.plan.error.empty();
        }
        const std::string where = "第 " + std::to_string(line) + " 行";
        if (cells.size() != columns.size()) {
            planner.problem(where + "：有 " + std::to_string(cells.size()) + " 列，表头有 " +
                            std::to_string(columns.size()) + " 列");
            return true;
        }
        std::vector<Cell> entry;
        // Cells the export marked as text (or a spreadsheet program kept so) lose the mark.
        for (std::size_t c = 0; c < cells.size(); ++c)
            entry.push_back({header[c], columns[c], std::string(unmarkedCell(cells[c])), nullptr});
        planner.row(where, entry);
        return true;
    };
    const std::string error = readCsvRows(text, row);
    if (!error.empty()) {
        planner.plan.problems.clear();  // the file is not read to its end: the error says why
        planner.plan.error = error;
    } else if (line == 0) {
        planner.plan.error = "文件是空的，没有表头";
    }
}

void planJson(Planner& planner, const TableDef& table, std::string_view text) {
    const auto entry = [&](const JsonEntry& e) {
        const std::string where = "第 " + std::to_string(e.number) + " 个条目";
        if (!e.problem.empty()) {
            planner.problem(where + "：" + e.problem);
            return;
        }
        std::vector<Cell> cells;
        bool unknown = false;
        for (const JsonMember& m : e.ids) {
            const auto c = planner.column(m.key);
            if (!c) {
                planner.problem(where + "：" + table.caption + "的条目没有「" + m.key + "」");
                unknown = true;
                continue;
            }
            cells.push_back({m.key, *c, {}, &m.value});
        }
        for (const JsonMember& m : e.values) {
            const auto c = planner.column(m.key);
            if (!c || c->kind == Column::Kind::Label) {
                planner.problem(where + "：「" + excerpt(m.key) + "」不是" + table.caption +
                                "的字段");
                unknown = true;
            } else if (m.tooLarge) {
                planner.problem(where + " " + m.key + "：值太长，超过了任何字段能有的长度");
                unknown = true;
            } else {
                cells.push_back({m.key, *c, {}, &m.value, m.spelled});
            }
        }
        if (!unknown)
            planner.row(where, cells);
    };
    const JsonTableFile file = readJsonTable(text, entry);
    if (file.overflowEntry > 0) {
        // Named as any refused cell is, with what its field accepts.
        const auto c = planner.column(file.overflow.key);
        const std::string why = "数字超出范围，文件没有再往下读";
        planner.plan.error =
            "第 " + std::to_string(file.overflowEntry) + " 个条目 " + excerpt(file.overflow.key) +
            "：" + excerpt(file.overflow.spelled) + " — " +
            (c && c->kind == Column::Kind::Field
                 ? refusalMessage(table.fields[static_cast<std::size_t>(c->field)]) + "（" + why +
                       "）"
                 : why);
        return;
    }
    if (!file.error.empty()) {
        planner.plan.error = file.error;
        return;
    }
    if (file.hasTable && (!file.tableIsText || file.table != table.name)) {
        // Every cell was judged as this table's: those findings say nothing.
        planner.plan.problems.clear();
        planner.plan.error =
            (file.tableIsText ? "这个文件是另一个表的（table 为 " + excerpt(file.table) + "）"
                              : std::string("文件中的 table 应为表名")) +
            "，不是" + table.caption + "（" + table.name + "）";
    }
}

}  // namespace

std::string ImportPlan::label(std::string_view file) const {
    return "导入 " + std::string(file) + "（" + std::to_string(edits.size()) + " 个条目的 " +
           std::to_string(changes.size()) + " 个字段）";
}

ImportPlan planImport(const TableDef& table, std::string_view text,
                      std::span<const std::uint8_t> exe, NameSource* names) {
    Planner planner(table, exe, names);
    if (formatOf(text) == TableFormat::Json)
        planJson(planner, table, text);
    else
        planCsv(planner, table, text);
    if (!planner.plan.ok()) {
        planner.plan.edits.clear();
        planner.plan.changes.clear();
        planner.plan.notes.clear();
    }
    return std::move(planner.plan);
}

}  // namespace vorlan
