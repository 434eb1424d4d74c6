#include "image/executable_extract.h"

#include <cerrno>
#include <optional>

#include "image/disc_image.h"
#include "image/image_check.h"
#include "image/image_file.h"
#include "image/region_content.h"
#include "image/unfinished_write.h"
#include "io/path_text.h"

namespace vorlan {

namespace {

// The image by any of its names, and the files kept beside it ("<image>.SLKV_618.04.orig",
// the dated ones, the replace mark, and the fresh names they are made under).
KeptFiles keptOfImage(const ImageFile& image) {
    KeptFiles kept;
    kept.files.emplace_back(image.identity(), "光盘镜像");
    kept.names.emplace_back(image.real(), "光盘镜像");
    kept.patterns.push_back(
        {pathText(image.real()) + ".SLKV_618.04.", "", "镜像旁边保存的附属文件"});
    return kept;
}

// The region read through the checked handle, refused unless it is the game's executable.
std::vector<std::uint8_t> checkedRegion(FileOps& ops, ImageFile& image) {
    inspectImage(image, true, DirectoryReading::Child);
    if (const auto unfinished = findUnfinished(ops, image))
        throw ImageRefusal(unfinishedMessage(*unfinished, image.given()));
    std::vector<std::uint8_t> region;
    try {
        region = image.file().readAt(kImageExeOffset, kImageExeLength);
    } catch (const IoError& e) {
        throw ImageRefusal(std::string("无法读取镜像：") + e.what());
    }
    if (!image.stillSame()) {
        throw ImageRefusal("镜像文件在读取的过程中被移动或替换：\n" + pathText(image.given()) +
                           "\n请重新选择镜像后再试。");
    }
    if (auto problem = regionContentProblem(region, "镜像中第 362 扇区起的游戏主程序"))
        throw ImageRefusal(*problem + "\n（镜像：" + pathText(image.given()) + "）");
    return region;
}

ImageExtract refused(std::string message) {
    ImageExtract r;
    r.message = std::move(message);
    return r;
}

}  // namespace

ImageExtract extractExecutable(const std::filesystem::path& image, const std::filesystem::path& out,
                               bool replace, const KeptFiles& kept, FileOps* ops) {
    FileOps& io = ops != nullptr ? *ops : systemFileOps();
    std::optional<ImageFile> file;
    std::vector<std::uint8_t> region;
    try {
        file.emplace(io, image, false);
        // A replace or restore running elsewhere finishes first; the lock is held until the
        // copy is in place.
        file->lock(false);
        region = checkedRegion(io, *file);
    } catch (const ImageRefusal& e) {
        return refused(std::string(e.what()) + "\n没有提取游戏主程序。");
    } catch (const IoError& e) {
        return refused(std::string("无法读取镜像文件：") + e.what() + "\n没有提取游戏主程序。");
    }
    KeptFiles keep = keptOfImage(*file);
    keep.add(kept);
    try {
        writeOutputFile(io, out, region, replace, keep);
    } catch (const IoError& e) {
        ImageExtract r = refused(std::string("无法写入提取的游戏主程序：") + e.what());
        r.outputExists = e.error() == EEXIST;
        return r;
    }
    return ImageExtract{true, false, {}};
}

}  // namespace vorlan
