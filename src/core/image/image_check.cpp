#include "image/image_check.h"

#include <cstdio>

#include <array>
#include <cstring>

#include "access/byte_order.h"
#include "image/disc_image.h"
#include "image/unfinished_write.h"

namespace vorlan {

namespace {

constexpr std::uint64_t kSector = 2048;
constexpr std::uint64_t kRawSector = 2352;
constexpr std::array<std::uint8_t, 4> kElf{0x7F, 0x45, 0x4C, 0x46};

bool rawSync(const std::uint8_t* p) {
    static constexpr std::uint8_t sync[12] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                              0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    return std::memcmp(p, sync, sizeof sync) == 0;
}

// The volume size the descriptor records (sectors, in both byte orders) must reach past the
// executable and fit the file. Sectors after the volume are padding some tools add: fine.
void volumeSizeCheck(const std::uint8_t* pvd, std::uint64_t size, const std::string& name) {
    const std::uint64_t volume = loadLe({pvd + 80, 4});
    const std::uint64_t bigEndian = loadBe({pvd + 84, 4});
    std::string why;
    if (volume != bigEndian)
        why = "，两种字节序的记录却不一致（另一个是 " + std::to_string(bigEndian) + "）";
    else if (volume < kImageExeEndSector)
        why = "，放不下第 362 扇区起到第 " + std::to_string(kImageExeEndSector - 1) +
              " 扇区为止的游戏主程序";
    else if (volume > size / kSector)
        why = "，比镜像文件的 " + std::to_string(size / kSector) + " 个扇区还多";
    if (!why.empty()) {
        throw ImageRefusal("镜像的 ISO 9660 卷描述符记录卷大小为 " + std::to_string(volume) +
                           " 个扇区" + why +
                           "。镜像已损坏或不完整，替换可能写坏它。请换用完好的镜像：\n" + name);
    }
}

}  // namespace

ImageFacts inspectImage(ImageFile& image, bool requireElf, DirectoryReading how) {
    const std::string name = image.given().string();
    const std::uint64_t size = image.size();
    if (size < kImageExeOffset + kImageExeLength) {
        throw ImageRefusal("镜像文件只有 " + std::to_string(size) + " 字节，放不下第 362 扇区起 " +
                           std::to_string(kImageExeLength) +
                           " 字节的游戏主程序，不是完整的 VORLAN 镜像：\n" + name);
    }
    std::vector<std::uint8_t> head;
    std::array<std::uint8_t, 4> magic{};
    try {
        head = image.file().readAt(0, static_cast<std::size_t>(17 * kRawSector));
        image.file().readAt(kImageExeOffset, magic);
    } catch (const IoError& e) {
        throw ImageRefusal(std::string("无法读取镜像文件：") + e.what());
    }
    // A raw image keeps 2352 bytes a sector (sync, header, data, error codes).
    const std::uint8_t* raw16 = head.data() + 16 * kRawSector;
    if (rawSync(head.data()) || (rawSync(raw16) && (std::memcmp(raw16 + 17, "CD001", 5) == 0 ||
                                                    std::memcmp(raw16 + 25, "CD001", 5) == 0))) {
        throw ImageRefusal(
            "这是每扇区 2352 字节的原始光盘镜像（如 BIN 文件），不是 2048 字节扇区的 ISO "
            "镜像，替换会写错位置。请先把它转换成 ISO 镜像：\n" +
            name);
    }
    const std::uint8_t* pvd = head.data() + 16 * kSector;
    if (std::memcmp(pvd + 1, "CD001", 5) != 0)
        throw ImageRefusal("这不是 ISO 9660 光盘镜像（第 16 扇区没有 CD001 标记）：\n" + name);
    // The root directory must lie inside the image and be of a size a disc's root can have.
    const std::uint64_t rootSector = loadLe({pvd + 158, 4});
    const std::uint64_t rootLength = loadLe({pvd + 166, 4});
    if (loadLe({pvd + 128, 2}) != kSector || rootLength == 0 || rootLength > (1u << 20) ||
        rootSector * kSector + rootLength > size) {
        throw ImageRefusal(
            "镜像的 ISO 9660 卷描述符已损坏（扇区大小或根目录的位置、长度不合理）：\n" + name);
    }
    volumeSizeCheck(pvd, size, name);
    // The directory first: it says where the executable really is when it is elsewhere.
    const DirectoryReport report = readDirectories({image.file().fd(), image.real(), size}, how);
    if (report.verdict != DirectoryReport::Verdict::Ok)
        throw ImageRefusal(describeReport(report, name));
    if (requireElf && magic != kElf) {
        char found[16];
        std::snprintf(found, sizeof found, "%02X %02X %02X %02X", magic[0], magic[1], magic[2],
                      magic[3]);
        throw ImageRefusal(
            std::string(kNotAnImage) +
            "\n（镜像目录中的 SLKV_618.04 在第 362 扇区，但那里不是 ELF 程序的开头：应为 "
            "7F 45 4C 46，实际为 " +
            found + "）\n" + name);
    }
    return ImageFacts{std::string(reinterpret_cast<const char*>(pvd + 40), 32), size};
}

namespace {

ImageCheck check(FileOps& ops, const std::filesystem::path& image, bool requireElf,
                 DirectoryReading how) {
    try {
        ImageFile file(ops, image, false);
        file.lock(false);
        inspectImage(file, requireElf, how);
        if (const auto unfinished = findUnfinished(ops, file))
            return ImageCheck{false, unfinishedMessage(*unfinished, image)};
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

}  // namespace vorlan
