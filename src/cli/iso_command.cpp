#include "iso_command.h"

#include "document/document.h"
#include "document/kept_files.h"
#include "image/disc_image.h"
#include "image/executable_extract.h"
#include "image/image_check.h"
#include "io/path_text.h"
#include "tables/catalog.h"

namespace vorlan::cli {

namespace {

int report(const ImageWrite& w, const std::string& done, std::ostream& out, std::ostream& err) {
    if (w.ok) {
        out << done << "\n";
        if (!w.restored.empty())
            out << "放回的内容来自 " << pathText(w.restored) << "\n";
        if (!w.saved.empty())
            out << "镜像中被覆盖的内容保存在 " << pathText(w.saved) << "\n";
        if (!w.note.empty())
            out << w.note << "\n";
        if (!w.warning.empty())
            err << w.warning << "\n";
        return kOk;
    }
    err << w.message << "\n";
    return w.imageChanged ? kWriteFailed : kRefused;
}

}  // namespace

void IsoCommand::declare(CLI::App& sub) {
    sub.add_option("ACTION", action_, "check, replace, restore or extract")
        ->required()
        ->check(CLI::IsMember({"check", "replace", "restore", "extract"}));
    sub.add_option("IMAGE", image_, "The game's disc image (ISO)")->required();
    sub.add_option("OUT", out_,
                   "extract: where to write the executable taken from the image (a new file)");
    sub.add_flag("--force", force_,
                 "extract: replace a regular file at OUT (never a link, the image or its saved "
                 "regions, nor the executable of --exe and its side files)");
    sub.add_option("--from", from_,
                   "restore: the saved region to put back (default: the first one saved)");
    sub.add_flag("--trust-foreign", trustForeign_,
                 "restore, with --from: write the saved region even though it was saved on "
                 "another computer, by another user or by an earlier version (only if you saved "
                 "it yourself); it is checked as a whole ELF executable of this image first, "
                 "then re-saved with your key so that later replaces and restores accept it");
}

int IsoCommand::run(const GlobalOptions& options, std::ostream& out, std::ostream& err) {
    if (action_ != "extract" && (!out_.empty() || force_))
        throw Refusal("OUT 和 --force 只用于 iso extract。镜像没有改动。");
    if (action_ == "extract")
        return extract(options, out);
    if (action_ == "check") {
        const ImageCheck check = checkImage(textPath(image_));
        if (!check.ok)
            throw Refusal(check.message);
        out << "镜像可以替换：SLKV_618.04 位于第 362 扇区，长 3542016 字节。\n";
        return kOk;
    }
    if (trustForeign_ && (action_ != "restore" || from_.empty())) {
        err << "--trust-foreign 只用于 iso restore，并且要用 --from 指明信任的是哪一个保存的文件。"
               "镜像没有改动。\n";
        return kUsage;
    }
    if (action_ == "restore")
        return report(restoreRegion(textPath(image_), {}, nullptr, textPath(from_), trustForeign_),
                      "已把保存的原内容放回镜像。", out, err);
    if (!from_.empty())
        throw Refusal("--from 只用于 iso restore。镜像没有改动。");
    if (options.exe.empty())
        throw Refusal("请用 --exe 指定要放进镜像的游戏主程序（SLKV_618.04）。镜像没有改动。");
    std::vector<std::uint8_t> executable;
    try {
        DocumentOptions open;
        open.readOnly = true;
        const auto document = Document::open(textPath(options.exe), tableLayout(), open);
        if (const std::string note = document->takeRecoveryNote(); !note.empty())
            err << note << "\n";
        if (const std::string torn = document->unfinishedWriteProblem(); !torn.empty())
            throw Refusal(torn + "\n没有把它放进镜像，镜像没有改动。");
        executable = document->read(0, static_cast<std::size_t>(document->size()));
    } catch (const DocumentError& e) {
        throw Refusal(std::string(e.what()) + "\n镜像没有改动。");
    }
    return report(replaceExecutable(textPath(image_), executable), "替换完成", out, err);
}

int IsoCommand::extract(const GlobalOptions& options, std::ostream& out) const {
    if (out_.empty())
        throw Refusal("请指明把游戏主程序提取到哪个文件：vorlan-cli iso extract 镜像 输出文件");
    const ImageExtract made = extractExecutable(textPath(image_), textPath(out_), force_,
                                                keptFilesOf(textPath(options.exe)));
    if (!made.ok) {
        throw Refusal(made.message +
                      (made.outputExists ? "\n要覆盖它，请加 --force。" : std::string()));
    }
    out << "已把镜像中的游戏主程序（" << kImageExeLength << " 字节）提取到 " << out_ << "\n";
    return kOk;
}

}  // namespace vorlan::cli
