#include "cli/export_command.h"

#include "bulk/table_export.h"
#include "catalog/catalog.h"
#include "cli/table_files.h"
#include "cli/targets.h"
#include "document/backup.h"

namespace vorlan::cli {

void ExportCommand::declare(CLI::App& sub) {
    sub.add_option("TABLE", table_, "Table name (see `tables`); omit with --all");
    sub.add_option("--format", format_, "csv (default) or json")
        ->check(CLI::IsMember({"csv", "json"}));
    sub.add_option("--out", out_, "File to write (a folder with --all); standard output if none");
    sinceOption_ = sub.add_option("--changed-since", since_,
                                  "Only entries that differ from ORIGINAL (default: the .bak)")
                       ->expected(0, 1);
    sub.add_flag("--all", all_, "Every table, one file each in the folder given by --out");
    sub.add_flag("--overwrite", overwrite_, "Replace output files that exist");
}

int ExportCommand::runOn(Session& session, std::ostream& out, std::ostream& err) {
    if (all_ == !table_.empty())
        throw Refusal("请指定一个表名，或者用 --all 导出全部表（两者不能同时使用）。");
    if (all_ && out_.empty())
        throw Refusal("export --all 需要用 --out 指定存放文件的文件夹。");
    const TableFormat format = format_ == "json" ? TableFormat::Json : TableFormat::Csv;
    const std::vector<std::uint8_t> exe = wholeFile(*session.document);

    std::map<const TableDef*, std::vector<int>> changed;
    const bool onlyChanged = sinceOption_->count() > 0;
    if (onlyChanged) {
        const std::filesystem::path original =
            since_.empty() ? backupPath(session.document->path()) : std::filesystem::path(since_);
        changed = changedEntries(diffExecutables(otherExecutable(original, exe.size()), exe));
    }
    const auto text = [&](const TableDef& table) {
        const std::vector<int> none;
        const std::vector<int>* only = nullptr;
        if (onlyChanged) {
            const auto found = changed.find(&table);
            only = found != changed.end() ? &found->second : &none;
        }
        return exportTable(table, exe, &session.lists, format, only);
    };

    if (!all_) {
        const TableDef& table = parseTable(table_);
        if (out_.empty()) {
            out << text(table);
            return kOk;
        }
        writeOutput(out_, text(table), overwrite_);
        err << "已导出" << table.caption << "到 " << out_ << "\n";
        return kOk;
    }
    const std::filesystem::path folder = out_;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder))
        throw Refusal("无法建立文件夹：" + out_);
    for (const TableDef* table : allTables()) {
        const auto path = folder / (table->name + (format == TableFormat::Json ? ".json" : ".csv"));
        writeOutput(path, text(*table), overwrite_);
        err << "已导出" << table->caption << "到 " << path.string() << "\n";
    }
    return kOk;
}

}  // namespace vorlan::cli
