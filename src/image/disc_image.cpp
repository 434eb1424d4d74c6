#include "image/disc_image.h"

#include <cdio/cdio.h>
#include <cdio/iso9660.h>
#include <cdio/logging.h>
#include <cdio/udf.h>
#include <sys/stat.h>

#include <array>
#include <cstring>
#include <memory>

#include "document/backup.h"
#include "document/posix_file.h"

namespace vorlan {

namespace {

constexpr std::uint64_t kSector = 2048;
constexpr std::uint64_t kRawSector = 2352;
constexpr std::array<std::uint8_t, 4> kElf{0x7F, 0x45, 0x4C, 0x46};
constexpr const char* kFileName = "SLKV_618.04";

bool rawSync(const std::uint8_t* p) {
    static constexpr std::uint8_t sync[12] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                              0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    return std::memcmp(p, sync, sizeof sync) == 0;
}

ImageCheck refuse(std::string message) {
    return ImageCheck{false, std::move(message)};
}

// The executable's place according to the ISO 9660 directory, or why it cannot be read.
ImageCheck isoDirectory(const std::filesystem::path& image) {
    cdio_loglevel_default = CDIO_LOG_ASSERT;  // the reasons go into our own message
    const std::unique_ptr<iso9660_t, decltype(&iso9660_close)> iso(iso9660_open(image.c_str()),
                                                                   &iso9660_close);
    if (!iso)
        return refuse("无法读取镜像的 ISO 9660 目录：" + image.string());
    iso9660_stat_t* stat = iso9660_ifs_stat_translate(iso.get(), "/SLKV_618.04;1");
    if (stat == nullptr)
        stat = iso9660_ifs_stat_translate(iso.get(), "/SLKV_618.04");
    if (stat == nullptr) {
        return refuse("镜像的 ISO 9660 目录里没有 SLKV_618.04，不是 VORLAN 的游戏镜像：\n" +
                      image.string());
    }
    const auto lsn = static_cast<std::uint32_t>(stat->lsn);
    const std::uint32_t size = stat->size;
    iso9660_stat_free(stat);
    if (lsn != kImageExeSector || size != kImageExeLength) {
        return refuse("镜像目录中的 SLKV_618.04 位于第 " + std::to_string(lsn) + " 扇区，长 " +
                      std::to_string(size) +
                      " 字节；替换只能写在第 362 扇区、长 3542016 "
                      "字节的位置，这个镜像不能替换：\n" +
                      image.string());
    }
    return ImageCheck{true, {}};
}

// Where the image also has a UDF file system, its entry for the file must agree.
ImageCheck udfDirectory(const std::filesystem::path& image) {
    udf_t* udf = udf_open(image.c_str());
    if (udf == nullptr)
        return ImageCheck{true, {}};  // no UDF file system
    ImageCheck result{true, {}};
    udf_dirent_t* root = udf_get_root(udf, true, 0);
    udf_dirent_t* file = root != nullptr ? udf_fopen(root, kFileName) : nullptr;
    if (file == nullptr) {
        result = refuse("镜像的 UDF 目录里没有 SLKV_618.04，与 ISO 9660 目录不一致：\n" +
                        image.string());
    } else {
        std::uint32_t start = 0;
        std::uint32_t end = 0;
        const bool placed = udf_get_lba(&file->fe, &start, &end);
        const std::uint64_t length = udf_get_file_length(file);
        const std::uint64_t sector = static_cast<std::uint64_t>(file->i_part_start) + start;
        if (!placed || sector != kImageExeSector || length != kImageExeLength) {
            result = refuse("镜像的 UDF 目录中 SLKV_618.04 的位置或长度（第 " +
                            std::to_string(sector) + " 扇区，" + std::to_string(length) +
                            " 字节）与 ISO 9660 目录不一致，这个镜像不能替换：\n" + image.string());
        }
        udf_dirent_free(file);
    }
    if (root != nullptr)
        udf_dirent_free(root);
    udf_close(udf);
    return result;
}

ImageWrite failed(std::string message, bool changed, std::filesystem::path saved = {}) {
    ImageWrite w;
    w.message = std::move(message);
    w.imageChanged = changed;
    w.saved = std::move(saved);
    return w;
}

// Writes `bytes` over the region through one handle, flushes, reads back and compares.
ImageWrite writeRegion(FileOps& ops, const std::filesystem::path& image,
                       const std::vector<std::uint8_t>& bytes, const Progress& progress,
                       const std::filesystem::path& saved, const std::string& restoreHint) {
    constexpr std::size_t kChunk = 256 * 1024;
    bool touched = false;
    try {
        PosixFile file(ops, image, PosixFile::Mode::ReadWrite);
        if (!file.lock(true, std::chrono::seconds(5)))
            return failed("另一个程序正在使用镜像文件，没有写入：\n" + image.string(), false,
                          saved);
        const std::uint64_t length = file.identity().size;
        for (std::size_t at = 0; at < bytes.size(); at += kChunk) {
            const std::size_t n = std::min(kChunk, bytes.size() - at);
            touched = true;
            file.writeAt(kImageExeOffset + at, std::span(bytes.data() + at, n));
            if (progress)
                progress(at + n, bytes.size());
        }
        file.sync();
        if (file.readAt(kImageExeOffset, bytes.size()) != bytes)
            throw IoError("写入后读回的内容与写入的不一致：" + image.string(), EIO);
        if (file.identity().size != length)
            throw IoError("镜像文件的长度变了：" + image.string(), EIO);
        file.close();
    } catch (const IoError& e) {
        return failed(std::string("写入镜像失败：") + e.what() +
                          (touched ? "\n镜像中游戏主程序的位置可能已被部分改写。" + restoreHint
                                   : std::string("\n镜像没有改动。")),
                      touched, saved);
    }
    ImageWrite w;
    w.ok = true;
    w.imageChanged = true;
    w.saved = saved;
    return w;
}

}  // namespace

ImageCheck checkImage(const std::filesystem::path& image, bool requireElf) {
    struct stat st {};
    if (::stat(image.c_str(), &st) != 0)
        return refuse("找不到镜像文件：" + image.string());
    if (!S_ISREG(st.st_mode))
        return refuse("镜像路径指向的不是一个普通文件：" + image.string());
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (size < kImageExeOffset + kImageExeLength) {
        return refuse("镜像文件只有 " + std::to_string(size) + " 字节，放不下第 362 扇区起 " +
                      std::to_string(kImageExeLength) +
                      " 字节的游戏主程序，不是完整的 VORLAN 镜像：\n" + image.string());
    }
    std::vector<std::uint8_t> head;
    std::array<std::uint8_t, 4> magic{};
    try {
        PosixFile file(systemFileOps(), image, PosixFile::Mode::Read);
        head = file.readAt(0, static_cast<std::size_t>(17 * kRawSector));
        file.readAt(kImageExeOffset, magic);
    } catch (const IoError& e) {
        return refuse(std::string("无法读取镜像文件：") + e.what());
    }
    // A raw image keeps 2352 bytes a sector (sync, header, data, error codes).
    const std::uint8_t* raw16 = head.data() + 16 * kRawSector;
    if (rawSync(head.data()) || (rawSync(raw16) && (std::memcmp(raw16 + 17, "CD001", 5) == 0 ||
                                                    std::memcmp(raw16 + 25, "CD001", 5) == 0))) {
        return refuse(
            "这是每扇区 2352 字节的原始光盘镜像（如 BIN 文件），不是 2048 字节扇区的 ISO "
            "镜像，替换会写错位置。请先把它转换成 ISO 镜像：\n" +
            image.string());
    }
    if (std::memcmp(head.data() + 16 * kSector + 1, "CD001", 5) != 0)
        return refuse("这不是 ISO 9660 光盘镜像（第 16 扇区没有 CD001 标记）：\n" + image.string());
    // The directory reader trusts the volume descriptor's sizes: a damaged or hostile one
    // would make it allocate gigabytes. The root directory must lie inside the image and
    // be of a size a disc's root directory can have.
    const std::uint8_t* pvd = head.data() + 16 * kSector;
    const auto le = [](const std::uint8_t* p, int n) {
        std::uint64_t v = 0;
        for (int i = n - 1; i >= 0; --i)
            v = v << 8 | p[i];
        return v;
    };
    const std::uint64_t blockSize = le(pvd + 128, 2);
    const std::uint64_t rootSector = le(pvd + 158, 4);
    const std::uint64_t rootLength = le(pvd + 166, 4);
    if (blockSize != kSector || rootLength == 0 || rootLength > (1u << 20) ||
        rootSector * kSector + rootLength > size) {
        return refuse("镜像的 ISO 9660 卷描述符已损坏（扇区大小或根目录的位置、长度不合理）：\n" +
                      image.string());
    }
    if (requireElf && magic != kElf)
        return refuse(kNotAnImage);
    if (ImageCheck iso = isoDirectory(image); !iso.ok)
        return iso;
    return udfDirectory(image);
}

std::filesystem::path savedRegionPath(const std::filesystem::path& image) {
    auto p = image;
    p += ".SLKV_618.04.orig";
    return p;
}

ImageWrite replaceExecutable(const std::filesystem::path& image,
                             const std::vector<std::uint8_t>& executable, const Progress& progress,
                             FileOps* ops) {
    FileOps& io = ops != nullptr ? *ops : systemFileOps();
    if (executable.size() != kImageExeLength) {
        return failed(
            "游戏主程序的长度是 " + std::to_string(executable.size()) + " 字节，必须正好 " +
                std::to_string(kImageExeLength) +
                " 字节：更长的会被截断，更短的会留下旧的字节，游戏都无法运行。镜像没有改动。",
            false);
    }
    if (const ImageCheck check = checkImage(image); !check.ok)
        return failed(check.message + "\n镜像没有改动。", false);

    // Save the region about to be overwritten, unless a saved copy holds it already.
    std::vector<std::uint8_t> region;
    try {
        PosixFile file(io, image, PosixFile::Mode::Read);
        region = file.readAt(kImageExeOffset, kImageExeLength);
    } catch (const IoError& e) {
        return failed(std::string("无法读取镜像：") + e.what() + "\n镜像没有改动。", false);
    }
    std::filesystem::path saved = savedRegionPath(image);
    std::error_code ec;
    if (std::filesystem::exists(saved, ec)) {
        std::vector<std::uint8_t> existing;
        try {
            PosixFile old(io, saved, PosixFile::Mode::Read);
            if (old.identity().size == kImageExeLength)
                existing = old.readAt(0, kImageExeLength);
        } catch (const IoError&) {
        }
        // The first saved region (the disc's own executable) is never replaced; a region
        // that differs from it is saved beside it under a dated name.
        if (existing != region) {
            saved = datedBackupPath(image);
            saved.replace_extension(".SLKV_618.04.orig");
        }
    }
    if (!std::filesystem::exists(saved, ec)) {
        try {
            createNewFile(io, saved, region);
        } catch (const IoError& e) {
            return failed(std::string("无法保存镜像中原来的游戏主程序，没有替换：") + e.what(),
                          false);
        }
    }
    if (region == executable) {
        ImageWrite same;
        same.ok = true;
        same.saved = saved;
        return same;
    }
    return writeRegion(io, image, executable, progress, saved,
                       "原来的内容保存在 " + saved.string() +
                           "，可以用“恢复”按钮或 vorlan-cli iso restore 把它放回镜像。");
}

ImageWrite restoreRegion(const std::filesystem::path& image, const Progress& progress,
                         FileOps* ops) {
    FileOps& io = ops != nullptr ? *ops : systemFileOps();
    if (const ImageCheck check = checkImage(image, false); !check.ok)
        return failed(check.message + "\n镜像没有改动。", false);
    const auto saved = savedRegionPath(image);
    std::vector<std::uint8_t> region;
    try {
        PosixFile file(io, saved, PosixFile::Mode::Read);
        if (file.identity().size != kImageExeLength)
            return failed("保存的原内容长度不对，没有恢复：" + saved.string(), false);
        region = file.readAt(0, kImageExeLength);
    } catch (const IoError& e) {
        return failed(std::string("没有可以恢复的原内容：") + e.what(), false);
    }
    return writeRegion(io, image, region, progress, saved,
                       "原来的内容仍保存在 " + saved.string() + "，可以再试一次恢复。");
}

}  // namespace vorlan
