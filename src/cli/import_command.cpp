#include "import_command.h"

#include "bulk/change_text.h"
#include "bulk/import_overlap.h"
#include "bulk/table_import.h"
#include "io/path_text.h"
#include "io/text_file.h"
#include "table_files.h"
#include "tables/catalog.h"
#include "targets.h"

namespace vorlan::cli {

namespace {

ImportPlan planFile(const TableDef& table, const std::filesystem::path& file,
                    const std::vector<std::uint8_t>& exe, NameSource* names) {
    std::string text;
    try {
        text = readTextFile(file, kMaxImportFile);
    } catch (const DataFileError& e) {
        throw Refusal(e.what());
    }
    return planImport(table, text, exe, names);
}

}  // namespace

void ImportCommand::declare(CLI::App& sub) {
    sub.add_option("ARGS", args_, "TABLE FILE, or with --all the folder DIR")->required();
    sub.add_flag("--all", all_, "Every TABLE.csv / TABLE.json found in the folder");
    sub.add_flag("--dry-run", dryRun_, "Only list what would change; write nothing");
}

int ImportCommand::runOn(Session& session, std::ostream& out, std::ostream& err) {
    if (all_ ? args_.size() != 1 : args_.size() != 2) {
        throw Refusal(all_ ? "用法：import --all 文件夹" : "用法：import 表名 文件");
    }
    const std::vector<std::uint8_t> exe = wholeFile(*session.document);
    std::vector<std::pair<std::filesystem::path, ImportPlan>> plans;
    if (all_) {
        const std::filesystem::path folder = textPath(args_[0]);
        std::vector<std::pair<const TableDef*, std::filesystem::path>> found;
        std::string twice;
        for (const TableDef* table : allTables()) {
            const auto csv = folder / (table->name + ".csv");
            const auto json = folder / (table->name + ".json");
            const bool hasCsv = std::filesystem::exists(csv);
            const bool hasJson = std::filesystem::exists(json);
            if (hasCsv && hasJson) {
                twice += "「" + table->name + "」表有两个文件：" + pathText(csv.filename()) +
                         " 和 " + pathText(json.filename()) + "\n";
            } else if (hasCsv || hasJson) {
                found.emplace_back(table, hasCsv ? csv : json);
            }
        }
        // Both would set every field of the table: the later one would undo the earlier.
        if (!twice.empty()) {
            throw Refusal(twice +
                          "一次导入每个表只能用一个文件：请把不用的那个移出文件夹后再导入。"
                          "没有导入任何内容。");
        }
        if (found.empty())
            throw Refusal("文件夹中没有任何表的 .csv 或 .json 文件：" + args_[0]);
        for (const auto& [table, path] : found)
            plans.emplace_back(path, planFile(*table, path, exe, &session.lists));
    } else {
        const TableDef& table = parseTable(args_[0]);
        plans.emplace_back(textPath(args_[1]),
                           planFile(table, textPath(args_[1]), exe, &session.lists));
    }

    bool bad = false;
    for (const auto& [path, plan] : plans) {
        if (plan.ok())
            continue;
        bad = true;
        err << pathText(path) << "：\n";
        if (!plan.error.empty())
            err << "  " << plan.error << "\n";
        for (const std::string& p : plan.problems)
            err << "  " << p << "\n";
    }
    if (!bad && plans.size() > 1) {
        std::vector<PlannedFile> files;
        for (const auto& [path, plan] : plans)
            files.push_back({pathText(path.filename()), &plan});
        for (const std::string& line : fieldsSetTwice(files)) {
            err << line << "\n";
            bad = true;
        }
        if (bad)
            err << "请只在其中一个文件中修改这些字段。\n";
    }
    if (bad) {
        err << "没有导入任何内容。\n";
        return kRefused;
    }
    // What storing a cell cut or completed, as `set` notes it.
    for (const auto& [path, plan] : plans) {
        for (const std::string& note : plan.notes)
            err << "注意：" << (all_ ? pathText(path.filename()) + " " : "") << note << "\n";
    }
    std::vector<EntryEdit> edits;
    std::size_t fields = 0;
    for (const auto& [path, plan] : plans) {
        for (const FieldChange& c : plan.changes) {
            const ChangeText t = describeChange(c, &session.lists);
            out << t.table << " " << t.index << " " << t.label << "  " << t.caption << "："
                << t.before << " → " << t.after << "\n";
        }
        edits.insert(edits.end(), plan.edits.begin(), plan.edits.end());
        fields += plan.changes.size();
    }
    const std::string summary = "已导入 " + std::to_string(edits.size()) + " 个条目的 " +
                                std::to_string(fields) + " 个字段";
    if (edits.empty()) {
        out << "文件与游戏主程序一致，没有需要写入的改动。\n";
        return kOk;
    }
    if (dryRun_) {
        out << "（--dry-run：将改动 " << edits.size() << " 个条目的 " << fields
            << " 个字段，没有写入任何内容）\n";
        return kOk;
    }
    const WriteResult result = session.editor.save(edits, summary);
    if (const int status = report(result, err); status != kOk)
        return status;
    out << summary << "\n";
    return kOk;
}

}  // namespace vorlan::cli
