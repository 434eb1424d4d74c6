#include "image/executable_extract.h"

#include <algorithm>
#include <cerrno>
#include <optional>

#include "image/disc_image.h"
#include "image/image_check.h"
#include "image/image_file.h"
#include "image/region_trailer.h"
#include "image/unfinished_write.h"
#include "io/file_names.h"
#include "io/path_text.h"

namespace vorlan {

namespace {

// The image by any of its names, and the files kept beside it ("<image>.SLKV_618.04.orig",
// the dated ones, the replace mark, and the fresh names they are made under) beside each name
// the image has in its folder, and anything that is such a file whatever its name.
KeptFiles keptOfImage(FileOps& ops, const ImageFile& image) {
    KeptFiles kept;
    kept.files.emplace_back(image.identity(), "光盘镜像");
    kept.names.emplace_back(image.real(), "光盘镜像");
    std::vector<std::filesystem::path> names{image.real()};
    for (const auto& other : otherNamesOf(ops, image.real(), image.identity()))
        names.push_back(other);
    for (const auto& name : names) {
        kept.patterns.push_back({pathText(name) + ".SLKV_618.04.", "", "镜像旁边保存的附属文件"});
    }
    kept.add(keptBesideImages());
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

std::string keptBesideAnImage(FileOps& ops, const std::filesystem::path& path,
                              const FileStatus& st) {
    try {
        PosixFile file(ops, path, PosixFile::Mode::Read, PosixFile::Links::Refuse);
        for (const std::size_t trailer : {kTrailerSize, kUnkeyedTrailerSize}) {
            if (st.size == kImageExeLength + trailer &&
                parseTrailer(file.readAt(kImageExeLength, trailer)))
                return "镜像旁边保存的原内容";
        }
        const std::string header = "VORLAN-REPLACING";
        if (st.size >= header.size() && st.size <= 4096) {
            const auto head = file.readAt(0, header.size());
            if (std::equal(head.begin(), head.end(), header.begin()))
                return "镜像的替换标记";
        }
    } catch (const IoError&) {
        // Unreadable: the write itself says why it cannot replace it.
    }
    return {};
}

std::string namedBesideAnImage(FileOps& ops, const std::filesystem::path& path) {
    const std::string name = pathText(path.filename());
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    const std::string infix = ".slkv_618.04.";
    for (std::size_t at = lower.find(infix, 1); at != std::string::npos;
         at = lower.find(infix, at + 1)) {
        FileStatus st;
        const auto image = path.parent_path() / textPath(name.substr(0, at));
        if (ops.lstat(image, st) == 0 && st.type != FileStatus::Type::Directory)
            return "镜像旁边保存的附属文件";
    }
    return {};
}

KeptFiles keptBesideImages() {
    KeptFiles kept;
    kept.recognisers.emplace_back(keptBesideAnImage);
    kept.nameChecks.emplace_back(namedBesideAnImage);
    return kept;
}

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
    KeptFiles keep = keptOfImage(io, *file);
    keep.add(kept);
    try {
        writeLoneOutputFile(io, out, region, replace, keep);
    } catch (const IoError& e) {
        ImageExtract r = refused(std::string("无法写入提取的游戏主程序：") + e.what());
        r.outputExists = e.error() == EEXIST;
        return r;
    }
    return ImageExtract{true, false, {}};
}

}  // namespace vorlan
