#include "mod_command.h"

#include "bulk/change_text.h"
#include "bulk/mod_patch.h"
#include "bulk/patch_error.h"
#include "bulk/pnach_name.h"
#include "document/backup.h"
#include "io/path_text.h"
#include "io/text_file.h"
#include "table_files.h"
#include "tables/catalog.h"

namespace vorlan::cli {

namespace {

std::string countText(const ExecutableDiff& diff) {
    return std::to_string(changedEntryCount(diff)) + " 个条目的 " +
           std::to_string(diff.changes.size()) + " 个字段";
}

}  // namespace

void ModCommand::declare(CLI::App& sub) {
    sub.add_option("ACTION", action_, "create or apply")
        ->required()
        ->check(CLI::IsMember({"create", "apply"}));
    sub.add_option("FILE", file_,
                   "create: the patch to write (.bps, .ips or PCSX2's .pnach); apply: the patch")
        ->required();
    sub.add_option("--from", from_, "create: the unmodified executable (default: <exe>.bak)");
    sub.add_flag("--dry-run", dryRun_, "apply: only list the fields the patch would change");
    sub.add_flag("--force", force_, "create: overwrite an existing file");
}

int ModCommand::runOn(Session& session, std::ostream& out, std::ostream& err) {
    if (action_ == "create") {
        if (dryRun_)
            throw Refusal("--dry-run 只用于 mod apply。");
        return create(session, out, err);
    }
    if (!from_.empty() || force_)
        throw Refusal("--from 和 --force 只用于 mod create。没有写入任何内容。");
    return apply(session, out, err);
}

int ModCommand::create(Session& session, std::ostream& out, std::ostream& err) {
    const auto format = formatOfName(textPath(file_));
    if (!format)
        throw Refusal("补丁文件名要以 .bps、.ips 或 .pnach 结尾（决定补丁的格式）：" + file_);
    Document& document = *session.document;
    const std::filesystem::path original =
        from_.empty() ? backupPath(document.path()) : textPath(from_);
    MadePatch made;
    try {
        if (from_.empty()) {
            const auto before = backupBytes(
                document, "找不到原文件 " + pathText(original) +
                              "（第一次写入前自动做的备份）。请用 --from 指定未修改的游戏主程序。");
            made = makePatchFrom(*format, original, before, wholeFile(document),
                                 tableLayout().writable, &session.lists);
        } else {
            made = makePatchFromFile(*format, original, wholeFile(document), tableLayout().writable,
                                     &session.lists);
        }
    } catch (const PatchError& e) {
        throw Refusal(std::string(e.what()) + "\n没有写入补丁文件。");
    }
    if (!made.outside.empty())
        err << "注意：游戏主程序在数据表以外也有改动：" << rangesText(made.outside)
            << "。\n这些改动也写进了补丁，但本程序应用补丁时会拒绝它（本程序只写入数据表）。\n";
    writeOutput(document.path(), textPath(file_), made.bytes, force_, "补丁文件", "--force");
    out << "已写入 " << formatName(*format) << " 补丁 " << file_ << "（" << made.bytes.size()
        << " 字节）：从 " << pathText(original) << " 到 " << pathText(document.path())
        << "，改动了 " << countText(made.diff) << "。\n";
    if (!made.emulatorName.empty()) {
        const bool named = textPath(file_).filename() == made.emulatorName;
        out << "PCSX2 按文件名找补丁，名字要是 " << made.emulatorName
            << "（游戏序号和原文件的 CRC）：" << (named ? "请把它" : "请把它改成这个名字，")
            << "放进 " << kPnachFolder << "，并在 PCSX2 中启用作弊。\n";
    }
    return kOk;
}

int ModCommand::apply(Session& session, std::ostream& out, std::ostream& err) {
    Document& document = *session.document;
    PatchPlan plan;
    try {
        const auto patch = readWholeFile(textPath(file_), kMaxPatchFile, "补丁文件");
        plan = planPatch(patch, wholeFile(document), tableLayout().writable, file_);
    } catch (const PatchError& e) {
        throw Refusal(std::string(e.what()) + "\n没有写入任何内容。");
    } catch (const DataFileError& e) {
        throw Refusal(std::string(e.what()) + "\n没有写入任何内容。");
    }
    if (plan.blocks.empty()) {
        out << "这个补丁不改动游戏主程序的任何内容（可能已经应用过了），没有写入。\n";
        return kOk;
    }
    out << formatName(plan.format) << " 补丁 " << file_ << " 将改动 " << countText(plan.diff)
        << "：\n";
    for (const FieldChange& c : plan.diff.changes) {
        const ChangeText t = describeChange(c, &session.lists);
        out << "  " << t.table << " " << t.index << "（" << t.label << "）" << t.caption << " ["
            << t.key << "]：" << t.before << " → " << t.after << "\n";
    }
    if (!plan.diff.other.empty())
        out << "  另有 " << plan.diff.other.size() << " 处数据表内不属于任何字段的字节："
            << rangesText(plan.diff.other) << "\n";
    if (dryRun_) {
        out << "（--dry-run：没有写入任何内容）\n";
        return kOk;
    }
    const std::string name = pathText(textPath(file_).filename());
    const WriteResult result = document.write(patchChange(plan, "应用补丁 " + name));
    if (const int status = report(result, err); status != kOk)
        return status;
    out << "已应用补丁 " << name << "（" << result.step.bytesChanged() << " 字节）。\n";
    return kOk;
}

}  // namespace vorlan::cli
