#include "image/disc_image.h"

#include "image/image_check.h"
#include "image/image_file.h"
#include "image/region_key.h"
#include "image/restore_command.h"
#include "image/saved_regions.h"
#include "image/unfinished_write.h"
#include "io/new_file.h"
#include "io/path_text.h"
#include "io/verified_write.h"

namespace vorlan {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kChunk = 256 * 1024;

std::string movedBeforeWriting(const ImageFile& image) {
    return "镜像文件在检查之后被移动或替换，为了不写错文件，没有写入：\n" +
           pathText(image.given()) + "\n请重新选择镜像后再试。";
}

std::string movedWhileWriting(const ImageFile& image) {
    return "镜像文件在写入的过程中被移动或替换，已停止写入：\n" + pathText(image.given()) +
           "\n写入的只是检查过的那个文件（它已不在这个路径上），这个路径上现在的文件没有被写入。";
}

ImageWrite failed(std::string message, bool changed) {
    ImageWrite w;
    w.message = std::move(message);
    w.imageChanged = changed;
    return w;
}

// Writes `bytes` over the region through the image's own handle, checking before every
// chunk that the path still names it, then flushes, reads back and compares.
void writeRegionOnce(ImageFile& image, const Bytes& bytes, const Progress& progress,
                     const std::string& restoreHint) {
    // Checked by both callers already; this is the last line before the disc.
    if (auto problem = regionContentProblem(bytes, "要写进镜像的内容"))
        throw ImageRefusal(*problem);
    bool touched = false;
    try {
        WriteHooks hooks;
        hooks.chunk = kChunk;
        hooks.beforeChunk = [&] {
            if (!image.stillSame())
                throw ImageRefusal(touched ? movedWhileWriting(image) + "\n" + restoreHint
                                           : movedBeforeWriting(image),
                                   touched);
        };
        hooks.progress = progress;
        const WriteRun run{kImageExeOffset, bytes};
        writeVerified(image.file(), std::span(&run, 1), touched, hooks);
        if (!image.stillSame())
            throw ImageRefusal(movedWhileWriting(image) + "\n" + restoreHint, true);
    } catch (const IoError& e) {
        throw ImageRefusal(std::string("写入镜像失败：") + e.what() +
                               (touched ? "\n镜像中游戏主程序的位置可能已被部分改写。" + restoreHint
                                        : std::string("\n镜像没有改动。")),
                           touched);
    }
}

// writeRegionOnce, after which a write that never touched the region leaves no mark.
void writeRegion(FileOps& ops, ImageFile& image, const Bytes& bytes, const Progress& progress,
                 const std::string& restoreHint) {
    try {
        writeRegionOnce(image, bytes, progress, restoreHint);
    } catch (const ImageRefusal& e) {
        if (!e.changed()) {
            try {
                clearUnfinished(ops, image);
            } catch (const IoError&) {
                // Left behind, it makes the next check ask for a restore, which is harmless.
            }
        }
        throw;
    }
}

// Opens, locks and checks the image for a write; the path must still name it afterwards.
ImageFacts openForWriting(std::optional<ImageFile>& image, FileOps& ops,
                          const std::filesystem::path& path, bool requireElf) {
    image.emplace(ops, path, true);
    image->lock(true);
    ImageFacts facts = inspectImage(*image, requireElf, DirectoryReading::Child);
    if (!image->stillSame())
        throw ImageRefusal(movedBeforeWriting(*image));
    // Holding the write lock, what a killed replace or restore left half made goes first.
    removeLeftoverSaves(ops, image->real());
    removeLeftoverPartials(ops, unfinishedMarkerPath(image->real()));
    return facts;
}

Bytes readRegion(ImageFile& image) {
    try {
        return image.file().readAt(kImageExeOffset, kImageExeLength);
    } catch (const IoError& e) {
        throw ImageRefusal(std::string("无法读取镜像：") + e.what());
    }
}

// Saves the region about to be overwritten unless a saved one holds it.
std::filesystem::path keepRegion(SavedRegions& saved, ImageFile& image, Bytes region) {
    std::filesystem::path kept;
    try {
        kept = saved.keep(std::move(region));
    } catch (const IoError& e) {
        throw ImageRefusal(std::string("无法保存镜像中现在的内容，没有写入：") + e.what());
    }
    if (!image.stillSame())
        throw ImageRefusal(movedBeforeWriting(image));
    return kept;
}

// Marks the region as being written, so that an interrupted write is found by the next check.
void markWriting(FileOps& ops, ImageFile& image, const std::filesystem::path& saved) {
    try {
        markUnfinished(ops, image, saved);
    } catch (const IoError& e) {
        throw ImageRefusal(std::string("无法在镜像旁边建立替换标记文件，没有写入：") + e.what());
    }
}

// The region is written and verified: the mark goes. One that will not go leaves the write
// standing; what is said then names the file holding what the region held before (`before`,
// empty when nothing whole was there to keep) and how the mark is cleared.
std::string clearWriting(FileOps& ops, ImageFile& image, const std::filesystem::path& before) {
    const auto marker = unfinishedMarkerPath(image.real());
    try {
        clearUnfinished(ops, image);
    } catch (const IoError& e) {
        FileStatus st;
        if (ops.lstat(marker, st) != 0)
            return {};  // gone; only its folder's flush failed
        return std::string("镜像已经写入并核对无误，但是无法删除替换标记文件：") + e.what() +
               "\n在删除它之前，每次检查都会报告上次替换没有完成，“恢复”也会按它把另一份内容"
               "放回镜像。请手动删除 " +
               pathText(marker) + "。" +
               (before.empty() ? std::string() : "\n写入前的内容保存在 " + pathText(before) + "。");
    }
    return {};
}

std::string unchanged(const std::string& message) {
    return message.find("镜像没有改动") == std::string::npos &&
                   message.find("没有写入") == std::string::npos &&
                   message.find("没有改动镜像") == std::string::npos
               ? message + "\n镜像没有改动。"
               : message;
}

}  // namespace

std::filesystem::path savedRegionPath(const std::filesystem::path& image) {
    auto p = image;
    p += ".SLKV_618.04.orig";
    return p;
}

ImageWrite replaceExecutable(const std::filesystem::path& path, const Bytes& executable,
                             const Progress& progress, FileOps* ops) {
    if (auto problem = regionContentProblem(executable, "要写进镜像的游戏主程序"))
        return failed(*problem + "\n镜像没有改动。", false);
    FileOps& io = ops != nullptr ? *ops : systemFileOps();
    std::optional<ImageFile> image;
    try {
        const ImageFacts facts = openForWriting(image, io, path, true);
        if (const auto unfinished = findUnfinished(io, *image))
            throw ImageRefusal(unfinishedMessage(*unfinished, path));
        SavedRegions saved(io, *image, facts, loadRegionKey());
        saved.refuseForeign();
        Bytes region = readRegion(*image);
        ImageWrite w;
        if (region == executable) {
            w.ok = true;  // nothing to write, nothing overwritten
            return w;
        }
        w.saved = keepRegion(saved, *image, std::move(region));
        markWriting(io, *image, w.saved);
        writeRegion(io, *image, executable, progress,
                    "原来的内容保存在 " + pathText(w.saved) + "，可以用“恢复”按钮或\n  " +
                        restoreCommand(path) + "\n把它放回镜像。");
        w.imageChanged = true;
        w.warning = clearWriting(io, *image, w.saved);
        saved.prune(w.saved);
        w.ok = true;
        return w;
    } catch (const ImageRefusal& e) {
        return failed(e.changed() ? e.what() : unchanged(e.what()), e.changed());
    } catch (const IoError& e) {
        return failed(unchanged(e.what()), false);
    }
}

ImageWrite restoreRegion(const std::filesystem::path& path, const Progress& progress, FileOps* ops,
                         const std::filesystem::path& from, bool trustForeign) {
    if (trustForeign && from.empty())
        return failed("只有指明要写回的文件时，才能信任别处保存的原内容。镜像没有改动。", false);
    FileOps& io = ops != nullptr ? *ops : systemFileOps();
    std::optional<ImageFile> image;
    try {
        const ImageFacts facts = openForWriting(image, io, path, false);
        // After an interrupted write, what it overwrote goes back unless told otherwise.
        const auto unfinished = findUnfinished(io, *image);
        SavedRegions saved(io, *image, facts, loadRegionKey());
        const SavedRegion* chosen = !from.empty() ? saved.find(from)
                                    : unfinished  ? saved.find(unfinished->saved)
                                                  : saved.first();
        if (chosen == nullptr) {
            const std::string which = from.empty()
                                          ? "没有第一次替换前保存的原内容（" +
                                                pathText(savedRegionPath(image->real())) + "）"
                                          : "「" + pathText(from) + "」不是这个镜像保存的原内容";
            throw ImageRefusal(
                which + "，没有恢复。" +
                (saved.all().empty()
                     ? std::string("镜像旁边没有保存的原内容。")
                     : "可以恢复的有：\n" + saved.list() +
                           "用 vorlan-cli iso restore 镜像 --from 文件 选择其中一个。"));
        }
        if (chosen->foreign && !trustForeign) {
            ImageWrite w = failed(saved.foreignMessage(*chosen), false);
            w.foreign = chosen->path;
            return w;
        }
        if (!trustForeign)
            saved.refuseForeign();
        if (auto problem = regionContentProblem(chosen->bytes,
                                                "保存的原内容「" + pathText(chosen->path) + "」"))
            throw ImageRefusal(*problem);
        // Saving the current region below may move the entries: what is needed is copied.
        const Bytes bytes = chosen->bytes;
        const bool adopt = chosen->foreign;
        ImageWrite w;
        w.restored = chosen->path;
        Bytes region = readRegion(*image);
        if (region == bytes) {
            if (unfinished)
                w.warning = clearWriting(io, *image, {});
        } else {
            // A region an interrupted write left half done is not worth keeping.
            if (!unfinished) {
                w.saved = keepRegion(saved, *image, std::move(region));
                markWriting(io, *image, w.saved);
            }
            writeRegion(io, *image, bytes, progress,
                        "要恢复的内容仍保存在 " + pathText(w.restored) + "，可以再试一次恢复。");
            w.imageChanged = true;
            // What was there before the restore is kept only when it was whole.
            w.warning = clearWriting(io, *image, w.saved);
            // Only a run that saved a region prunes; the one put back always stays.
            if (!w.saved.empty())
                saved.prune(w.saved, w.restored);
        }
        w.ok = true;
        if (adopt) {
            try {
                saved.adopt(w.restored);
                w.note = "已为 " + pathText(w.restored) +
                         " 加上你在这台电脑上的校验，以后替换和恢复都可以直接使用它。";
            } catch (const IoError& e) {
                w.note = std::string("但是无法为它加上你在这台电脑上的校验：") + e.what() +
                         "\n以后用它恢复时仍要加 --trust-foreign。";
            }
        }
        if (const std::string left = saved.foreignList(); !left.empty()) {
            w.note += (w.note.empty() ? "" : "\n") +
                      std::string(
                          "镜像旁边还有别处保存的原内容，它们会让替换停下，直到你用 "
                          "--trust-foreign 写回它们或把它们移到别处：\n") +
                      left;
        }
        return w;
    } catch (const ImageRefusal& e) {
        return failed(e.changed() ? e.what() : unchanged(e.what()), e.changed());
    } catch (const IoError& e) {
        return failed(unchanged(e.what()), false);
    }
}

}  // namespace vorlan
