#include "image/disc_image.h"

#include "image/image_check.h"
#include "image/image_file.h"
#include "image/saved_regions.h"

namespace vorlan {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kChunk = 256 * 1024;

std::string movedBeforeWriting(const ImageFile& image) {
    return "镜像文件在检查之后被移动或替换，为了不写错文件，没有写入：\n" + image.given().string() +
           "\n请重新选择镜像后再试。";
}

std::string movedWhileWriting(const ImageFile& image) {
    return "镜像文件在写入的过程中被移动或替换，已停止写入：\n" + image.given().string() +
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
void writeRegion(ImageFile& image, const Bytes& bytes, const Progress& progress,
                 const std::string& restoreHint) {
    bool touched = false;
    try {
        for (std::size_t at = 0; at < bytes.size(); at += kChunk) {
            if (!image.stillSame())
                throw ImageRefusal(touched ? movedWhileWriting(image) + "\n" + restoreHint
                                           : movedBeforeWriting(image),
                                   touched);
            const std::size_t n = std::min(kChunk, bytes.size() - at);
            touched = true;
            image.file().writeAt(kImageExeOffset + at, std::span(bytes.data() + at, n));
            if (progress)
                progress(at + n, bytes.size());
        }
        image.file().sync();
        if (image.file().readAt(kImageExeOffset, bytes.size()) != bytes)
            throw IoError("写入后读回的内容与写入的不一致：" + image.given().string(), EIO);
        if (!image.stillSame())
            throw ImageRefusal(movedWhileWriting(image) + "\n" + restoreHint, true);
        image.file().close();
    } catch (const IoError& e) {
        throw ImageRefusal(std::string("写入镜像失败：") + e.what() +
                               (touched ? "\n镜像中游戏主程序的位置可能已被部分改写。" + restoreHint
                                        : std::string("\n镜像没有改动。")),
                           touched);
    }
}

// Opens, locks and checks the image for a write; the path must still name it afterwards.
ImageFacts openForWriting(std::optional<ImageFile>& image, FileOps& ops,
                          const std::filesystem::path& path, bool requireElf) {
    image.emplace(ops, path, true);
    image->lock(true);
    const ImageFacts facts = inspectImage(*image, requireElf, DirectoryReading::Child);
    if (!image->stillSame())
        throw ImageRefusal(movedBeforeWriting(*image));
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
std::filesystem::path keepRegion(SavedRegions& saved, ImageFile& image, const Bytes& region) {
    std::filesystem::path kept;
    try {
        kept = saved.keep(region);
    } catch (const IoError& e) {
        throw ImageRefusal(std::string("无法保存镜像中现在的内容，没有写入：") + e.what());
    }
    if (!image.stillSame())
        throw ImageRefusal(movedBeforeWriting(image));
    return kept;
}

std::string unchanged(const std::string& message) {
    return message.find("镜像没有改动") == std::string::npos &&
                   message.find("没有写入") == std::string::npos &&
                   message.find("没有改动镜像") == std::string::npos
               ? message + "\n镜像没有改动。"
               : message;
}

ImageCheck check(FileOps& ops, const std::filesystem::path& image, bool requireElf,
                 DirectoryReading how) {
    try {
        ImageFile file(ops, image, false);
        file.lock(false);
        inspectImage(file, requireElf, how);
        return ImageCheck{true, {}};
    } catch (const ImageRefusal& e) {
        return ImageCheck{false, e.what()};
    } catch (const IoError& e) {
        return ImageCheck{false, std::string("无法读取镜像文件：") + e.what()};
    }
}

}  // namespace

ImageCheck checkImage(const std::filesystem::path& image, bool requireElf, FileOps* ops) {
    return check(ops != nullptr ? *ops : systemFileOps(), image, requireElf,
                 DirectoryReading::Child);
}

ImageCheck checkImageInProcess(const std::filesystem::path& image, bool requireElf) {
    return check(systemFileOps(), image, requireElf, DirectoryReading::InProcess);
}

std::filesystem::path savedRegionPath(const std::filesystem::path& image) {
    auto p = image;
    p += ".SLKV_618.04.orig";
    return p;
}

ImageWrite replaceExecutable(const std::filesystem::path& path, const Bytes& executable,
                             const Progress& progress, FileOps* ops) {
    if (executable.size() != kImageExeLength) {
        return failed(
            "游戏主程序的长度是 " + std::to_string(executable.size()) + " 字节，必须正好 " +
                std::to_string(kImageExeLength) +
                " 字节：更长的会被截断，更短的会留下旧的字节，游戏都无法运行。镜像没有改动。",
            false);
    }
    FileOps& io = ops != nullptr ? *ops : systemFileOps();
    std::optional<ImageFile> image;
    try {
        const ImageFacts facts = openForWriting(image, io, path, true);
        SavedRegions saved(io, *image, facts);
        const Bytes region = readRegion(*image);
        ImageWrite w;
        if (region == executable) {
            w.ok = true;  // nothing to write, nothing overwritten
            return w;
        }
        w.saved = keepRegion(saved, *image, region);
        {
            writeRegion(*image, executable, progress,
                        "原来的内容保存在 " + w.saved.string() +
                            "，可以用“恢复”按钮或 vorlan-cli iso restore 把它放回镜像。");
            w.imageChanged = true;
        }
        w.ok = true;
        return w;
    } catch (const ImageRefusal& e) {
        return failed(e.changed() ? e.what() : unchanged(e.what()), e.changed());
    } catch (const IoError& e) {
        return failed(unchanged(e.what()), false);
    }
}

ImageWrite restoreRegion(const std::filesystem::path& path, const Progress& progress, FileOps* ops,
                         const std::filesystem::path& from) {
    FileOps& io = ops != nullptr ? *ops : systemFileOps();
    std::optional<ImageFile> image;
    try {
        const ImageFacts facts = openForWriting(image, io, path, false);
        SavedRegions saved(io, *image, facts);
        const SavedRegion* chosen = from.empty() ? saved.first() : saved.find(from);
        if (chosen == nullptr) {
            const std::string which = from.empty()
                                          ? "没有第一次替换前保存的原内容（" +
                                                savedRegionPath(image->real()).string() + "）"
                                          : "「" + from.string() + "」不是这个镜像保存的原内容";
            throw ImageRefusal(
                which + "，没有恢复。" +
                (saved.all().empty()
                     ? std::string("镜像旁边没有保存的原内容。")
                     : "可以恢复的有：\n" + saved.list() +
                           "用 vorlan-cli iso restore 镜像 --from 文件 选择其中一个。"));
        }
        const Bytes bytes = chosen->bytes;
        ImageWrite w;
        w.restored = chosen->path;
        const Bytes region = readRegion(*image);
        if (region == bytes) {
            w.ok = true;
            return w;
        }
        w.saved = keepRegion(saved, *image, region);
        {
            writeRegion(*image, bytes, progress,
                        "要恢复的内容仍保存在 " + w.restored.string() + "，可以再试一次恢复。");
            w.imageChanged = true;
        }
        w.ok = true;
        return w;
    } catch (const ImageRefusal& e) {
        return failed(e.changed() ? e.what() : unchanged(e.what()), e.changed());
    } catch (const IoError& e) {
        return failed(unchanged(e.what()), false);
    }
}

}  // namespace vorlan
