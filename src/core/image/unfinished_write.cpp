#include "image/unfinished_write.h"

#include <sstream>

#include "image/restore_command.h"
#include "io/new_file.h"
#include "io/path_text.h"

namespace vorlan {

namespace {

constexpr const char* kHeader = "VORLAN-REPLACING 1";
constexpr std::uint64_t kMaxMarker = 4096;

std::string identityLine(const FileIdentity& id) {
    return std::to_string(id.device) + " " + std::to_string(id.inode) + " " +
           std::to_string(id.size);
}

ImageRefusal foreign(const std::filesystem::path& marker, const std::string& why) {
    return ImageRefusal("镜像旁边的替换标记文件不能使用：\n" + pathText(marker) + "\n" + why +
                        "\n没有改动镜像。如果它不是本程序留下的，请把它移走后再试。");
}

}  // namespace

std::filesystem::path unfinishedMarkerPath(const std::filesystem::path& realImage) {
    auto p = realImage;
    p += ".SLKV_618.04.replacing";
    return p;
}

std::optional<UnfinishedWrite> findUnfinished(FileOps& ops, ImageFile& image) {
    const auto marker = unfinishedMarkerPath(image.real());
    SideFile side = openSideFile(ops, marker, &image.identity());
    if (side.state == SideFile::State::Missing)
        return std::nullopt;
    if (side.state == SideFile::State::Refused)
        throw foreign(marker, side.problem);
    if (side.size > kMaxMarker)
        throw foreign(marker, "它比本程序写的任何标记都大");
    const auto bytes = side.file->readAt(0, static_cast<std::size_t>(side.size));
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    std::string header;
    std::string identity;
    std::string saved;
    std::string extra;
    if (!std::getline(in, header) || header != kHeader || !std::getline(in, identity) ||
        !std::getline(in, saved) || std::getline(in, extra)) {
        throw foreign(marker, "它的内容不是本程序写的格式");
    }
    if (identity != identityLine(image.identity()))
        throw foreign(marker, "它是为另一个镜像文件写的");
    // Only a saved region of this image, beside it: a bare file name starting with its name.
    const std::string prefix = pathText(image.real().filename()) + ".SLKV_618.04.";
    if (saved.find('/') != std::string::npos || saved.rfind(prefix, 0) != 0)
        throw foreign(marker, "它指向的不是这个镜像保存的原内容");
    return UnfinishedWrite{image.real().parent_path() / saved};
}

void markUnfinished(FileOps& ops, ImageFile& image, const std::filesystem::path& saved) {
    const std::string text = std::string(kHeader) + "\n" + identityLine(image.identity()) + "\n" +
                             pathText(saved.filename()) + "\n";
    createNewFile(ops, unfinishedMarkerPath(image.real()),
                  std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void clearUnfinished(FileOps& ops, ImageFile& image) {
    removeSideFile(ops, unfinishedMarkerPath(image.real()));
}

std::string unfinishedMessage(const UnfinishedWrite& unfinished,
                              const std::filesystem::path& image) {
    return "上次替换（或恢复）没有完成（程序被中断或出错）：镜像中游戏主程序的位置可能只写了一部分"
           "，"
           "游戏可能无法运行：\n" +
           pathText(image) + "\n写入前的内容保存在 " + pathText(unfinished.saved) +
           "。\n请先用“恢复”按钮或\n  " + restoreCommand(image) + "\n把它放回镜像，再替换。";
}

}  // namespace vorlan
