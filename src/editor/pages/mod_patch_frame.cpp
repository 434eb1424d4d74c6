#include "pages/mod_patch_frame.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "bulk/change_text.h"
#include "bulk/mod_patch.h"
#include "bulk/patch_error.h"
#include "bulk/pnach_name.h"
#include "document/backup.h"
#include "io/path_text.h"
#include "io/text_file.h"
#include "session/editor_context.h"
#include "tables/catalog.h"
#include "toolkit/dialogs.h"
#include "toolkit/text.h"
#include "toolkit/widgets.h"

namespace vorlan {

namespace {

ChangePreview previewOf(const PatchPlan& plan, const QString& name, NameSource* names) {
    ChangePreview preview;
    preview.title = u("应用补丁");
    preview.summary = u("%1 补丁 %2 将改动 %3 个条目的 %4 个字段：")
                          .arg(formatName(plan.format), name)
                          .arg(changedEntryCount(plan.diff))
                          .arg(plan.diff.changes.size());
    if (!plan.diff.other.empty())
        preview.summary +=
            u("\n另有 %1 处数据表内不属于任何字段的字节也会改动：").arg(plan.diff.other.size()) +
            u(rangesText(plan.diff.other));
    for (const FieldChange& c : plan.diff.changes) {
        const ChangeText t = describeChange(c, names);
        preview.rows.append({u(t.label), u(t.caption), u(t.before), u(t.after)});
    }
    preview.accept = u("应用");
    return preview;
}

}  // namespace

ModPatchFrame::ModPatchFrame(EditorContext& context, QWidget* parent)
    : QGroupBox(u("补丁（分享修改）"), parent), context_(context) {
    setObjectName("ModPatchFrame");
    auto* apply = button("ApplyPatchButton", u("应用补丁…"));
    apply->setToolTip(
        u("把别人做的 BPS、IPS 或 PCSX2（.pnach）补丁应用到打开的游戏主程序：先列出要改动的"
          "字段，确认后一次写入，可以撤销"));
    auto* make = button("MakePatchButton", u("制作补丁…"));
    make->setToolTip(
        u("把备份（第一次写入前的游戏主程序）到现在的改动保存为 BPS、IPS 或 PCSX2（.pnach）补丁"));
    auto* note = new QLabel(u("分享补丁时不必附带游戏文件。"));
    note->setWordWrap(true);
    auto* row = new QHBoxLayout;
    row->addWidget(apply);
    row->addWidget(make);
    row->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(note);
    connect(apply, &QPushButton::clicked, this, &ModPatchFrame::applyPatch);
    connect(make, &QPushButton::clicked, this, &ModPatchFrame::makePatch);
}

void ModPatchFrame::applyPatch() {
    DocumentSession& session = context_.session();
    Dialogs& dialogs = context_.dialogs();
    if (session.editor(this) == nullptr)
        return;
    if (session.isReadOnly()) {
        dialogs.information(this, u("游戏主程序以只读方式打开，不能应用补丁。"));
        return;
    }
    // The patch may rewrite what a page shows: its unsaved edits are settled first.
    if (!context_.pending().resolvePending(this))
        return;
    const QString path =
        dialogs.openFile(this, u("补丁文件(*.bps, *.ips, *.pnach) | *.bps *.ips *.pnach"),
                         context_.places().folder(FilePlaces::Kind::Patch));
    if (path.isEmpty())
        return;
    context_.places().chosen(FilePlaces::Kind::Patch, path);
    Document& document = *session.document();
    PatchPlan plan;
    try {
        const auto patch = readWholeFile(toPath(path), kMaxPatchFile, "补丁文件");
        plan = planPatch(patch, document.read(0, static_cast<std::size_t>(document.size())),
                         tableLayout().writable, toPath(path));
    } catch (const PatchError& e) {
        dialogs.information(this, u(e.what()) + u("\n没有写入任何内容。"));
        return;
    } catch (const DataFileError& e) {
        dialogs.information(this, u(e.what()) + u("\n没有写入任何内容。"));
        return;
    } catch (const DocumentError& e) {
        session.readFailed(this, e);
        return;
    }
    if (plan.blocks.empty()) {
        dialogs.information(
            this, u("这个补丁不改动游戏主程序的任何内容（可能已经应用过了），没有写入。"));
        return;
    }
    const QString name = QFileInfo(path).fileName();
    if (!dialogs.confirmChanges(this, previewOf(plan, name, &session)))
        return;
    const WriteResult result =
        context_.writer().writeChange(this, patchChange(plan, "应用补丁 " + name.toStdString()));
    if (result.status == WriteResult::Status::Refused && !result.message.empty())
        dialogs.information(this, u(result.message));
}

void ModPatchFrame::makePatch() {
    DocumentSession& session = context_.session();
    Dialogs& dialogs = context_.dialogs();
    if (session.editor(this) == nullptr)
        return;
    Document& document = *session.document();
    const std::filesystem::path original =
        document.backupFile().empty() ? backupPath(document.path()) : document.backupFile();
    std::error_code ec;
    if (!std::filesystem::exists(original, ec)) {
        dialogs.information(this,
                            u("还没有备份文件 %1：补丁记录的是从第一次写入前的备份到现在的改动，"
                              "请先修改并写入。")
                                .arg(u(pathText(original))));
        return;
    }
    std::vector<std::uint8_t> before;
    try {
        // The backup is read only when a write would trust it (not a link, not a second name).
        before = readTrustedBackup(systemFileOps(), original, document.identity());
    } catch (const IoError& e) {
        dialogs.information(this, u(e.what()) + u("\n没有写入补丁文件。"));
        return;
    }
    const std::filesystem::path folder = toPath(context_.places().folder(FilePlaces::Kind::Patch));
    const QString path = dialogs.saveFileAs(
        this, {{u("BPS 补丁"), u("*.bps"), u(pathText(folder / "mod.bps"))},
               {u("IPS 补丁"), u("*.ips"), u(pathText(folder / "mod.ips"))},
               {u("PCSX2 补丁"), u("*.pnach"), u(pathText(folder / pnachFileName(before)))}});
    if (path.isEmpty())
        return;
    context_.places().chosen(FilePlaces::Kind::Patch, path);
    const std::filesystem::path target = toPath(path);
    const auto format = formatOfName(target);
    if (!format) {
        dialogs.information(
            this, u("补丁文件名要以 .bps、.ips 或 .pnach 结尾（决定补丁的格式），没有写入。"));
        return;
    }
    MadePatch made;
    try {
        made = makePatchFrom(*format, original, before,
                             document.read(0, static_cast<std::size_t>(document.size())),
                             tableLayout().writable, &session);
        // The save dialog has asked before an existing file is replaced.
        session.writeOutput(path, made.bytes, true);
    } catch (const PatchError& e) {
        dialogs.information(this, u(e.what()) + u("\n没有写入补丁文件。"));
        return;
    } catch (const IoError& e) {
        dialogs.information(this, u("无法写入补丁文件：") + u(e.what()));
        return;
    } catch (const DocumentError& e) {
        session.readFailed(this, e);
        return;
    }
    emit session.note(u("已写入 %1 补丁 %2（%3 字节），改动了 %4 个条目的 %5 个字段")
                          .arg(formatName(*format), path)
                          .arg(made.bytes.size())
                          .arg(changedEntryCount(made.diff))
                          .arg(made.diff.changes.size()));
    QStringList notes;
    if (!made.emulatorName.empty())
        notes << u("PCSX2 按文件名找补丁，名字要是 %1（游戏序号和备份的 CRC）：请把它%2放进 %3，"
                   "并在 PCSX2 中启用作弊。")
                     .arg(u(made.emulatorName),
                          target.filename() == made.emulatorName ? QString() : u("改成这个名字，"),
                          u(std::string(kPnachFolder)));
    if (!made.outside.empty())
        notes << u("注意：游戏主程序在数据表以外也有改动：") + u(rangesText(made.outside)) +
                     u("。\n这些改动也写进了补丁，但本程序应用补丁时会拒绝它。");
    if (!notes.isEmpty())
        dialogs.information(this, u("补丁已写入。") + notes.join(u("\n")));
}

}  // namespace vorlan
