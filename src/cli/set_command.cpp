#include "cli/set_command.h"

#include "access/record_io.h"
#include "cli/columns.h"
#include "cli/executable.h"
#include "cli/list_cache.h"
#include "cli/targets.h"
#include "cli/value_parse.h"

namespace vorlan::cli {

namespace {

struct Assignment {
    std::size_t field;
    std::string value;
};

std::vector<Assignment> parseAssignments(const TableDef& table,
                                         const std::vector<std::string>& args) {
    std::vector<Assignment> out;
    for (const std::string& arg : args) {
        const auto eq = arg.find('=');
        if (eq == std::string::npos)
            throw Refusal("「" + arg + "」应写成 字段=值（例如 Text2=100000）。");
        const std::string name = arg.substr(0, eq);
        const int i = table.fieldIndex(name);
        if (i < 0) {
            throw Refusal("表「" + table.name + "」没有字段「" + name + "」（用 fields " +
                          table.name + " 查看字段）。");
        }
        const auto field = static_cast<std::size_t>(i);
        for (const Assignment& a : out) {
            if (a.field == field)
                throw Refusal("字段「" + name + "」指定了不止一次。");
        }
        out.push_back({field, arg.substr(eq + 1)});
    }
    return out;
}

}  // namespace

void SetCommand::declare(CLI::App& sub) {
    sub.add_option("TABLE", table_, "Table name (see `tables`)")->required();
    sub.add_option("INDEX", index_, "Entry number; weapon slots as UNIT:SLOT, e.g. 5:2")
        ->required();
    sub.add_option("FIELD=VALUE", assignments_,
                   "Field key or control name, and its value: a text box's text, a choice's "
                   "item index or item text, a list's marked indexes as 3,15, a toggle's 0/1")
        ->required();
}

int SetCommand::run(const GlobalOptions& options, std::ostream& out, std::ostream& err) {
    const TableDef& table = parseTable(table_);
    const int index = parseIndex(table, index_);
    if (table.fields.empty())
        throw Refusal("表「" + table.name + "」（" + table.caption + "）还没有字段定义。");
    const auto assignments = parseAssignments(table, assignments_);

    std::vector<FieldValue> shown;
    std::vector<std::uint8_t> entry;
    {
        const auto file = openForReading(options);
        shown = showEntry(*file, table, index);
        entry = readEntryBytes(*file, table, index);
    }
    ListCache lists(options.dataDir);
    std::vector<FieldValue> edited = shown;
    for (const Assignment& a : assignments)
        edited[a.field] = parseValue(table.fields[a.field], a.value, shown[a.field], lists);

    // Check everything on a copy first: a refusal or an edit that changes no byte leaves the
    // file, and its backup, alone.
    const SaveOutcome trial = applyEdits(entry, table, shown, edited);
    const auto refuse = [&table](const SaveOutcome& outcome) {
        const FieldDef& f = table.fields[static_cast<std::size_t>(outcome.badField)];
        const bool choice = f.encoding->kind() == ValueKind::Choice;
        throw Refusal(outcome.message + (choice ? choiceHint(f) : ""));
    };
    if (!trial.ok)
        refuse(trial);
    const std::string target = table.name + " " + indexText(table, index);
    if (trial.writeLength == 0) {
        out << target << "：数值与原来相同，没有写入任何内容。\n";
        return kOk;
    }

    const auto file = openForWriting(options, err);
    const SaveOutcome saved = saveEntry(*file, table, index, shown, edited);
    if (!saved.ok)
        refuse(saved);
    out << "已写入 " << target << " 的 " << saved.fields.size() << " 个字段：\n";
    std::vector<std::vector<std::string>> rows;
    for (int i : saved.fields) {
        const auto field = static_cast<std::size_t>(i);
        const FieldDef& f = table.fields[field];
        std::string given;
        for (const Assignment& a : assignments) {
            if (a.field == field)
                given = a.value;
        }
        rows.push_back({f.key, f.control, f.fullCaption(), "= " + given});
    }
    for (const std::string& line : alignColumns(rows))
        out << "  " << line << "\n";
    return kOk;
}

}  // namespace vorlan::cli
