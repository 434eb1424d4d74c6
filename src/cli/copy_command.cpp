#include "copy_command.h"

#include "tables/catalog.h"
#include "targets.h"

namespace vorlan::cli {

namespace {

const TableDef& copyable(const std::string& name) {
    std::string known;
    for (const TableDef* t : allTables()) {
        if (!t->copyable)
            continue;
        if (t->name == name)
            return *t;
        known += (known.empty() ? "" : ", ") + t->name;
    }
    throw Refusal("表「" + name + "」不能整条复制。可以复制的表：" + known);
}

}  // namespace

void CopyCommand::declare(CLI::App& sub) {
    sub.add_option("TABLE", table_, "Table name: unit or pilot")->required();
    sub.add_option("FROM", from_, "Record to copy")->required();
    sub.add_option("TO", to_, "Record to overwrite")->required();
}

int CopyCommand::runOn(Session& session, std::ostream& out, std::ostream& err) {
    const TableDef& table = copyable(table_);
    const int from = parseIndex(table, from_);
    const int to = parseIndex(table, to_);
    EntryEditor& editor = session.editor;
    const WriteResult result =
        editor.paste(table, to, editor.copy(table, from), editor.label(table, from));
    if (const int status = report(result, err); status != kOk)
        return status;
    if (result.status == WriteResult::Status::Unchanged) {
        out << editor.label(table, to) << "的数据已经与" << editor.label(table, from)
            << "相同，没有写入任何内容。\n";
        return kOk;
    }
    out << "已经把" << editor.label(table, from) << "的数据粘贴到" << editor.label(table, to)
        << "上\n";
    return kOk;
}

}  // namespace vorlan::cli
