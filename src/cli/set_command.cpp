#include "set_command.h"

#include "bulk/field_text.h"
#include "columns.h"
#include "schema/name_bytes.h"
#include "schema/value_text.h"
#include "targets.h"
#include "value_parse.h"

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

int SetCommand::runOn(Session& session, std::ostream& out, std::ostream& err) {
    const TableDef& table = parseTable(table_);
    const int index = parseIndex(table, index_);
    if (table.fields.empty())
        throw Refusal("表「" + table.name + "」（" + table.caption + "）还没有字段定义。");
    const auto assignments = parseAssignments(table, assignments_);

    const std::vector<FieldValue> shown = session.editor.show(table, index).values;
    std::vector<FieldValue> edited = shown;
    for (const Assignment& a : assignments)
        edited[a.field] = parseValue(table.fields[a.field], a.value, shown[a.field], session.lists);

    const std::vector<EntryEdit> edits{{&table, index, shown, edited}};
    const std::vector<std::string> cleared = session.editor.clearedNameBytes(edits);
    const WriteResult result = session.editor.save(edits);
    if (result.status == WriteResult::Status::Refused && !result.refusals.empty() &&
        result.refusals.front().field >= 0) {
        // Every bad value at once, one line each.
        std::string text;
        for (const FieldRefusal& r : result.refusals) {
            const FieldDef& f = table.fields[static_cast<std::size_t>(r.field)];
            const bool choice = f.encoding->kind() == ValueKind::Choice;
            text +=
                (text.empty() ? "" : "\n") + r.message + (choice ? choiceHint(f) + kItemsHint : "");
        }
        throw Refusal(text);
    }
    if (const int status = report(result, err); status != kOk)
        return status;
    const std::string target = table.name + " " + indexText(table, index);
    if (result.status == WriteResult::Status::Unchanged) {
        out << target << "：数值与原来相同，没有写入任何内容。\n";
        return kOk;
    }
    for (const std::string& line : cleared)
        err << "注意：" << line << "。\n";
    // A name code longer than its field or of an odd count of digits: what was stored.
    for (const Assignment& a : assignments) {
        if (const std::string note = nameCodeNote(table.fields[a.field], a.value); !note.empty())
            err << "注意：" << note << "\n";
    }
    out << "已写入 " << target << " 的 " << result.step.fields.size() << " 个字段：\n";
    // Each field as now stored, with what was typed when that differs. Another program may
    // replace the file right after the write: then what was written is shown as it was typed.
    std::vector<FieldValue> stored = edited;
    try {
        stored = session.editor.show(table, index).values;
    } catch (const DocumentError&) {
        err << "注意：写入之后，游戏主程序被其他程序替换或移走了，下面是写入的值，没有重新读取。\n";
    }
    std::vector<std::vector<std::string>> rows;
    for (const std::string& key : result.step.fields) {
        const auto field = static_cast<std::size_t>(table.fieldIndex(key));
        const FieldDef& f = table.fields[field];
        std::string given;
        for (const Assignment& a : assignments) {
            if (a.field == field)
                given = a.value;
        }
        std::string shown = "= " + given;
        if (f.encoding->kind() == ValueKind::Text && stored[field].text != given) {
            const std::string note = storedNumberNote(given, stored[field].text);
            shown = "= " + (note.empty() ? stored[field].text + "（输入 " + given + "）" : note);
        }
        rows.push_back({f.key, f.control, f.fullCaption(), shown});
    }
    for (const std::string& line : alignColumns(rows))
        out << "  " << line << "\n";
    return kOk;
}

}  // namespace vorlan::cli
