#include "image/saved_regions.h"

#include <algorithm>
#include <cerrno>

#include "image/disc_image.h"
#include "image/region_proof.h"
#include "image/region_trailer.h"
#include "image/restore_command.h"
#include "io/new_file.h"
#include "io/path_text.h"
#include "io/system_facts.h"

namespace vorlan {

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kMaxSaved = 16;
constexpr const char* kCheckIt =
    "\n镜像没有改动。请检查这个文件：如果它不再需要，把它移到别处后再试。";

std::string quoted(const fs::path& p) {
    return "「" + pathText(p) + "」";
}

bool looksSaved(const std::string& name, const std::string& image) {
    return name.size() > image.size() + 1 && name.compare(0, image.size(), image) == 0 &&
           name[image.size()] == '.' && name.ends_with(".orig") &&
           name.find("SLKV_618.04", image.size()) != std::string::npos;
}

std::vector<fs::path> candidates(const fs::path& real) {
    std::vector<fs::path> out;
    const std::string base = pathText(real.filename());
    std::error_code ec;
    for (fs::directory_iterator it(real.parent_path(), ec), end; !ec && it != end;
         it.increment(ec)) {
        if (looksSaved(pathText(it->path().filename()), base))
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
    auto p = real;
    p += ".SLKV_618.04." + localTimeText("%Y%m%d-%H%M%S") +
         (counter > 1 ? "-" + std::to_string(counter) : std::string()) + ".orig";
    return p;
}

}  // namespace

SavedRegions::SavedRegions(FileOps& ops, ImageFile& image, const ImageFacts& facts,
                           const RegionKey& key)
    : ops_(ops), image_(image), facts_(facts), key_(key) {
    const auto names = candidates(image.real());
    if (names.size() > kMaxSaved) {
        throw ImageRefusal(
            "镜像旁边有 " + std::to_string(names.size()) +
            " 个保存原内容的文件，多得不正常，没有改动镜像。请整理这些文件后再试：\n" +
            pathText(image.real().parent_path()));
    }
    const fs::path firstName = savedRegionPath(image.real());
    const RegionPlace place{kImageExeSector, kImageExeLength, facts};
    for (const fs::path& p : names) {
        SideFile side = openSideFile(ops, p, &image.identity());
        if (side.state == SideFile::State::Missing)
            continue;
        if (side.state == SideFile::State::Refused)
            throw ImageRefusal(side.problem + "\n它不能当作保存的原内容使用。" + kCheckIt);
        // Read only what a saved file can be long.
        if (side.size != kImageExeLength + kTrailerSize &&
            side.size != kImageExeLength + kUnkeyedTrailerSize)
            notOurs(p, "长度不对，可能是旧版本保存的或别的文件");
        const Bytes all = side.file->readAt(0, static_cast<std::size_t>(side.size));
        const RegionProof proof = proveRegion(all, place, key_);
        switch (proof.verdict) {
            case RegionVerdict::Ours:
            case RegionVerdict::Foreign:
                break;
            case RegionVerdict::WrongLength:
                notOurs(p, "长度不对，可能是旧版本保存的或别的文件");
            case RegionVerdict::NoTrailer:
                notOurs(p, "没有本程序写下的校验信息，可能是旧版本保存的或别的文件");
            case RegionVerdict::WrongPlace:
                notOurs(p, "记录的位置不是第 362 扇区起的游戏主程序");
            case RegionVerdict::OtherImage:
                throw ImageRefusal(
                    quoted(p) + "保存的是另一个镜像（" + std::to_string(proof.trailer->imageSize) +
                    " 字节）的原内容，不属于这个镜像（" + std::to_string(facts.size) +
                    " 字节），不能用它恢复。" + kCheckIt);
            case RegionVerdict::Altered:
                throw ImageRefusal(
                    quoted(p) +
                    "在保存之后被改动过：它的内容与本程序保存时记下的校验不符，不能用它"
                    "恢复。" +
                    kCheckIt);
        }
        SavedRegion saved{
            p, p == firstName, side.file->identity(),
            Bytes(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(kImageExeLength))};
        saved.foreign = proof.verdict == RegionVerdict::Foreign;
        saved.unkeyed = proof.unkeyed;
        saved_.push_back(std::move(saved));
    }
}

void SavedRegions::refuseForeign() const {
    for (const SavedRegion& s : saved_) {
        if (s.foreign)
            throw ImageRefusal(foreignMessage(s));
    }
}

std::string SavedRegions::foreignMessage(const SavedRegion& s) const {
    return quoted(s.path) + "不是本程序在这台电脑上为你保存的原内容（" +
           (s.unkeyed ? "它是本程序的旧版本保存的，那时的文件没有密钥校验，任何人都能做出一样的文件"
                      : "它是在别的电脑上或由别的用户保存的") +
           "），不能确认它没有被换过，没有使用它。\n如果它是你自己在别处保存的（例如把镜像和它一起"
           "搬到了这台电脑），可以" +
           (s.first ? "在编辑器里点“恢复”并确认，或者" : "") + "用\n  " +
           restoreCommand(image_.given(), s.path, true) +
           "\n把它写回镜像，之后它就算作你在这台电脑上保存的；否则把它移到别处后"
           "再试。镜像没有改动。";
}

std::string SavedRegions::foreignList() const {
    std::string out;
    for (const SavedRegion& s : saved_) {
        if (s.foreign)
            out += "  " + pathText(s.path) + "\n";
    }
    return out;
}

Bytes SavedRegions::trailerFor(const Bytes& region) const {
    RegionTrailer t;
    t.sector = kImageExeSector;
    t.length = kImageExeLength;
    t.imageSize = facts_.size;
    t.volumeId = facts_.volumeId;
    const auto trailer = encodeTrailer(t, region, key_);
    return {trailer.begin(), trailer.end()};
}

Bytes SavedRegions::fileBytes(const Bytes& region) const {
    const Bytes trailer = trailerFor(region);
    Bytes file = region;
    file.insert(file.end(), trailer.begin(), trailer.end());
    return file;
}

void SavedRegions::adopt(const fs::path& path) {
    for (SavedRegion& s : saved_) {
        if (s.path != path || !s.foreign)
            continue;
        FileStatus st;
        if (ops_.lstat(s.path, st) != 0 || st.identity().device != s.identity.device ||
            st.identity().inode != s.identity.inode)
            throw IoError("文件在读取之后被移动或替换：" + pathText(s.path), EIO);
        replaceFile(ops_, s.path, fileBytes(s.bytes));
        s.foreign = s.unkeyed = false;
        s.identity = {};
        return;
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
        if (!s.foreign && s.bytes == region)
            return s.path;
    }
    const Bytes trailer = trailerFor(region);
    const std::span<const std::uint8_t> file[] = {region, trailer};

    const bool first = this->first() == nullptr;
    fs::path made;
    for (int counter = 1;; ++counter) {
        made = first ? savedRegionPath(image_.real()) : latestName(image_.real(), counter);
        try {
            createNewFile(ops_, made, file);
            break;
        } catch (const IoError& e) {
            // Another save this second took the name: the next counter.
            if (e.error() != EEXIST || first || counter >= 100)
                throw;
        }
    }
    saved_.push_back({made, first, {}, std::move(region)});
    return made;
}

void SavedRegions::prune(const fs::path& keep, const fs::path& restored) {
    for (auto it = saved_.begin(); it != saved_.end();) {
        FileStatus st;
        if (!it->first && !it->foreign && it->path != keep && it->path != restored &&
            ops_.lstat(it->path, st) == 0 && st.identity().device == it->identity.device &&
            st.identity().inode == it->identity.inode) {
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
}

std::string SavedRegions::list() const {
    std::string out;
    for (const SavedRegion& s : saved_) {
        out += "  " + pathText(s.path) +
               (s.first ? "（第一次替换前保存的，光盘原来的游戏主程序" : "（最近一次保存的") +
               (s.foreign ? "，在别处保存的）\n" : "）\n");
    }
    return out;
}

void removeLeftoverSaves(FileOps& ops, const fs::path& image) {
    const std::string base = pathText(image.filename());
    removeLeftoverPartials(ops, image.parent_path(),
                           [&](const std::string& name) { return looksSaved(name, base); });
}

// The real file's name followed by ".…SLKV_618.04….orig", sorted.
std::vector<fs::path> savedRegionFiles(const fs::path& image) {
    std::error_code ec;
    const fs::path real = fs::canonical(image, ec);
    return ec ? std::vector<fs::path>{} : candidates(real);
}

}  // namespace vorlan
