#include "export_command.h"

#include "bulk/table_export.h"
#include "document/backup.h"
#include "io/output_file.h"
#include "io/path_text.h"
#include "table_files.h"
#include "tables/catalog.h"
#include "targets.h"

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
        const std::vector<std::uint8_t> original =
            since_.empty()
                ? backupBytes(
                      *session.document,
                      "找不到备份文件 " + pathText(backupPath(session.document->path())) +
                          "（第一次写入前自动做的备份）。请在 --changed-since 后面指定未修改的"
                          "游戏主程序。")
                : otherExecutable(textPath(since_), exe.size());
        changed = changedEntries(diffExecutables(original, exe));
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
        writeOutput(session.document->path(), textPath(out_), text(table), overwrite_);
        err << "已导出" << table.caption << "到 " << out_ << "\n";
        return kOk;
    }
    const std::filesystem::path folder = textPath(out_);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder))
        throw Refusal("无法建立文件夹：" + out_);
    const auto pathOf = [&](const TableDef& table) {
        return folder / (table.name + (format == TableFormat::Json ? ".json" : ".csv"));
    };
    std::vector<std::filesystem::path> outputs;
    for (const TableDef* table : allTables())
        outputs.push_back(pathOf(*table));
    std::optional<OutputFolder> lock;
    try {
        lock.emplace(systemFileOps(), folder, outputs);
    } catch (const IoError& e) {
        throw Refusal(std::string("没有导出：") + e.what());
    }
    for (const TableDef* table : allTables()) {
        const auto path = pathOf(*table);
        writeOutput(session.document->path(), path, text(*table), overwrite_, true);
        err << "已导出" << table->caption << "到 " << pathText(path) << "\n";
    }
    return kOk;
}

}  // namespace vorlan::cli
