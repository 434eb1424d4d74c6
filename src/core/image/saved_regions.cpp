#include "image/saved_regions.h"

#include <algorithm>
#include <cerrno>
#include <ctime>

#include "image/disc_image.h"
#include "image/region_trailer.h"
#include "io/new_file.h"

namespace vorlan {

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kMaxSaved = 16;
constexpr const char* kCheckIt =
    "\n镜像没有改动。请检查这个文件：如果它不再需要，把它移到别处后再试。";

std::string quoted(const fs::path& p) {
    return "「" + p.string() + "」";
}

bool looksSaved(const std::string& name, const std::string& image) {
    return name.size() > image.size() + 1 && name.compare(0, image.size(), image) == 0 &&
           name[image.size()] == '.' && name.ends_with(".orig") &&
           name.find("SLKV_618.04", image.size()) != std::string::npos;
}

std::vector<fs::path> candidates(const fs::path& real) {
    std::vector<fs::path> out;
    const std::string base = real.filename().string();
    std::error_code ec;
    for (fs::directory_iterator it(real.parent_path(), ec), end; !ec && it != end;
         it.increment(ec)) {
        if (looksSaved(it->path().filename().string(), base))
            out.push_back(it->path());
    }
    std::sort(out.begin(), out.end());
    return out;
}

[[noreturn]] void notOurs(const fs::path& p, const std::string& why) {
    throw ImageRefusal(quoted(p) + "不是本程序为镜像保存的原内容文件（" + why +
                       "），不能用它恢复，也不能确认替换前的内容有保存。" + kCheckIt);
}

// `<real>.SLKV_618.04.<date>.orig`, with a counter when that name was taken this second.
fs::path latestName(const fs::path& real, int counter) {
    char stamp[32] = "0";
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (::localtime_r(&now, &local) != nullptr)
        std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    auto p = real;
    p += ".SLKV_618.04." + std::string(stamp) +
         (counter > 1 ? "-" + std::to_string(counter) : std::string()) + ".orig";
    return p;
}

}  // namespace

SavedRegions::SavedRegions(FileOps& ops, ImageFile& image, const ImageFacts& facts)
    : ops_(ops), image_(image), facts_(facts) {
    const auto names = candidates(image.real());
    if (names.size() > kMaxSaved) {
        throw ImageRefusal(
            "镜像旁边有 " + std::to_string(names.size()) +
            " 个保存原内容的文件，多得不正常，没有改动镜像。请整理这些文件后再试：\n" +
            image.real().parent_path().string());
    }
    const fs::path firstName = savedRegionPath(image.real());
    for (const fs::path& p : names) {
        SideFile side = openSideFile(ops, p, &image.identity());
        if (side.state == SideFile::State::Missing)
            continue;
        if (side.state == SideFile::State::Refused)
            throw ImageRefusal(side.problem + "\n它不能当作保存的原内容使用。" + kCheckIt);
        if (side.size != kImageExeLength + kTrailerSize)
            notOurs(p, "长度不对，可能是旧版本保存的或别的文件");
        const Bytes all = side.file->readAt(0, static_cast<std::size_t>(side.size));
        const auto trailer = parseTrailer(std::span(all).subspan(kImageExeLength));
        if (!trailer)
            notOurs(p, "没有本程序写下的校验信息，可能是旧版本保存的或别的文件");
        if (trailer->sector != kImageExeSector || trailer->length != kImageExeLength)
            notOurs(p, "记录的位置不是第 362 扇区起的游戏主程序");
        if (trailer->volumeId != facts.volumeId || trailer->imageSize != facts.size) {
            throw ImageRefusal(quoted(p) + "保存的是另一个镜像（" +
                               std::to_string(trailer->imageSize) +
                               " 字节）的原内容，不属于这个镜像（" + std::to_string(facts.size) +
                               " 字节），不能用它恢复。" + kCheckIt);
        }
        Bytes region(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(kImageExeLength));
        if (crc32Of(region) != trailer->regionCrc) {
            throw ImageRefusal(quoted(p) +
                               "的内容与它记录的校验值不符，文件已损坏，不能用它恢复。" + kCheckIt);
        }
        saved_.push_back({p, p == firstName, side.file->identity(), std::move(region)});
    }
}

const SavedRegion* SavedRegions::first() const {
    for (const SavedRegion& s : saved_) {
        if (s.first)
            return &s;
    }
    return nullptr;
}

const SavedRegion* SavedRegions::find(const fs::path& path) const {
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(path, ec);
    for (const SavedRegion& s : saved_) {
        if (s.path == real || s.path == path ||
            (path.parent_path().empty() && s.path.filename() == path.filename()))
            return &s;
    }
    return nullptr;
}

fs::path SavedRegions::keep(Bytes region) {
    for (const SavedRegion& s : saved_) {
        if (s.bytes == region)
            return s.path;
    }
    RegionTrailer t;
    t.sector = kImageExeSector;
    t.length = kImageExeLength;
    t.imageSize = facts_.size;
    t.volumeId = facts_.volumeId;
    t.regionCrc = crc32Of(region);
    const auto trailer = encodeTrailer(t);
    const std::span<const std::uint8_t> file[] = {region, trailer};

    const bool first = this->first() == nullptr;
    fs::path made;
    for (int counter = 1;; ++counter) {
        made = first ? savedRegionPath(image_.real()) : latestName(image_.real(), counter);
        removeLeftoverPartials(ops_, made);
        try {
            createNewFile(ops_, made, file);
            break;
        } catch (const IoError& e) {
            // Another save this second took the name: the next counter.
            if (e.error() != EEXIST || first || counter >= 100)
                throw;
        }
    }
    // Only the first and the latest are kept: the earlier latest ones go, each only when
    // its name still holds the very file verified as ours.
    for (auto it = saved_.begin(); !first && it != saved_.end();) {
        struct stat st {};
        if (!it->first && ops_.lstat(it->path.c_str(), &st) == 0 &&
            identityOf(st).device == it->identity.device &&
            identityOf(st).inode == it->identity.inode) {
            try {
                removeSideFile(ops_, it->path);
                it = saved_.erase(it);
                continue;
            } catch (const IoError&) {
                // It stays: one more copy, nothing lost.
            }
        }
        ++it;
    }
    saved_.push_back({made, first, {}, std::move(region)});
    return made;
}

std::string SavedRegions::list() const {
    std::string out;
    for (const SavedRegion& s : saved_) {
        out +=
            "  " + s.path.string() +
            (s.first ? "（第一次替换前保存的，光盘原来的游戏主程序）\n" : "（最近一次保存的）\n");
    }
    return out;
}

// The real file's name followed by ".…SLKV_618.04….orig", sorted.
std::vector<fs::path> savedRegionFiles(const fs::path& image) {
    std::error_code ec;
    const fs::path real = fs::canonical(image, ec);
    return ec ? std::vector<fs::path>{} : candidates(real);
}

}  // namespace vorlan
