#include "image/iso_walk.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "access/byte_order.h"
#include "image/disc_image.h"
#include "image/region_findings.h"

namespace vorlan {

namespace {

using Report = DirectoryReport;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint64_t kSector = 2048;
constexpr std::uint64_t kFirstDescriptor = 16;
constexpr int kMaxDescriptors = 32;
constexpr std::uint64_t kMaxPathTable = 4u << 20;
constexpr std::uint64_t kMaxDirectory = 4u << 20;
constexpr std::uint64_t kMaxDirectoryBytes = 64u << 20;
constexpr std::size_t kMaxDirectories = 100000;
constexpr std::size_t kMaxRecords = 2000000;
constexpr int kMaxDepth = 64;

std::uint64_t sectorsOf(std::uint64_t bytes) {
    return (bytes + kSector - 1) / kSector;
}

struct Volume {
    bool primary = false;
    bool joliet = false;
    std::uint64_t pathTableSize = 0;
    std::uint64_t lTables[2] = {};  // type L and the optional one
    std::uint64_t mTables[2] = {};  // type M and the optional one
    std::uint8_t root[34] = {};
};

struct Directory {
    std::uint64_t sector;  // of its data, after any extended attribute record
    std::uint64_t length;
    std::string path;
    int depth;
};

// The name of a directory record, as ASCII: Joliet names are UCS-2, big-endian.
std::string recordName(const std::uint8_t* id, std::size_t n, bool joliet) {
    std::string out;
    if (joliet) {
        for (std::size_t i = 0; i + 1 < n; i += 2)
            out += id[i] == 0 ? static_cast<char>(id[i + 1]) : '?';
    } else {
        out.assign(reinterpret_cast<const char*>(id), n);
    }
    return reportName(out);
}

// "SLKV_618.04;1", "slkv_618.04." and the like name the executable.
bool isExecutableName(std::string name) {
    if (const auto semi = name.find(';'); semi != std::string::npos)
        name.resize(semi);
    if (!name.empty() && name.back() == '.')
        name.pop_back();
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    return name == "SLKV_618.04";
}

class Walk {
public:
    Walk(const ReadImage& read, std::uint64_t size) : read_(read), size_(size) {}

    Report run() {
        std::vector<Volume> volumes;
        if (auto bad = descriptors(volumes))
            return *bad;
        for (const Volume& v : volumes) {
            if (auto bad = pathTables(v))
                return *bad;
            if (auto bad = tree(v))
                return *bad;
        }
        return findings_.result();
    }

private:
    std::optional<Bytes> readSectors(std::uint64_t sector, std::uint64_t length) {
        if (sector > size_ / kSector || length > size_ - sector * kSector)
            return std::nullopt;
        Bytes out(static_cast<std::size_t>(length));
        if (!read_(sector * kSector, out))
            return std::nullopt;
        return out;
    }

    // A descriptor, path table or directory found inside the executable's sectors is refused
    // at once, unread: what lies there now is the executable, not the structure.
    bool place(Report::Structure what, const std::string& name, std::uint64_t sector,
               std::uint64_t sectors, std::uint64_t length) {
        return findings_.place(what, name, sector, sectors, length);
    }

    std::optional<Report> descriptors(std::vector<Volume>& volumes) {
        for (int i = 0; i < kMaxDescriptors; ++i) {
            const std::uint64_t sector = kFirstDescriptor + static_cast<std::uint64_t>(i);
            const auto d = readSectors(sector, kSector);
            if (!d || std::memcmp(d->data() + 1, "CD001", 5) != 0)
                return damaged(Report::Damage::DescriptorSet);
            if (place(Report::Structure::Descriptor, "", sector, 1, kSector))
                return findings_.overlap();
            const std::uint8_t type = (*d)[0];
            if (type == 255)
                return volumes.empty() || !volumes.front().primary
                           ? std::optional(damaged(Report::Damage::DescriptorSet))
                           : std::nullopt;
            if (type == 0 && std::memcmp(d->data() + 7, "EL TORITO", 9) == 0 &&
                place(Report::Structure::Descriptor, "boot catalog", loadLe({d->data() + 71, 4}), 1,
                      kSector))
                return findings_.overlap();
            if (type != 1 && type != 2)
                continue;
            if (loadLe({d->data() + 128, 2}) != kSector)
                return damaged(Report::Damage::Record);
            Volume v;
            v.primary = type == 1;
            v.joliet = type == 2 && (*d)[88] == 0x25 && (*d)[89] == 0x2F;
            v.pathTableSize = loadLe({d->data() + 132, 4});
            v.lTables[0] = loadLe({d->data() + 140, 4});
            v.lTables[1] = loadLe({d->data() + 144, 4});
            v.mTables[0] = loadBe({d->data() + 148, 4});
            v.mTables[1] = loadBe({d->data() + 152, 4});
            std::memcpy(v.root, d->data() + 156, sizeof v.root);
            // Only the first primary descriptor counts; the primary tree is walked first.
            if (v.primary && !volumes.empty() && volumes.front().primary)
                continue;
            if (v.primary)
                volumes.insert(volumes.begin(), v);
            else
                volumes.push_back(v);
        }
        return damaged(Report::Damage::DescriptorSet);
    }

    std::optional<Report> pathTables(const Volume& v) {
        if (v.pathTableSize > kMaxPathTable)
            return damaged(Report::Damage::TooLarge);
        const std::uint64_t sectors = sectorsOf(v.pathTableSize);
        for (int big = 0; big < 2; ++big) {
            for (int k = 0; k < 2; ++k) {
                const std::uint64_t at = big ? v.mTables[k] : v.lTables[k];
                if (at == 0)
                    continue;
                if (place(Report::Structure::PathTable, "", at, sectors, v.pathTableSize))
                    return findings_.overlap();
                const auto table = readSectors(at, v.pathTableSize);
                if (!table)
                    return damaged(Report::Damage::OutsideImage);
                if (auto bad = pathTableEntries(*table, big != 0))
                    return bad;
            }
        }
        return std::nullopt;
    }

    // Each entry names a directory's first sector.
    std::optional<Report> pathTableEntries(const Bytes& t, bool big) {
        for (std::size_t p = 0; p < t.size();) {
            if (t[p] == 0)
                break;  // padding after the last entry
            if (p + 8 > t.size())
                return damaged(Report::Damage::Record);
            const std::size_t idLength = t[p];
            const std::uint64_t extent = big ? loadBe({&t[p + 2], 4}) : loadLe({&t[p + 2], 4});
            const std::size_t next = p + 8 + idLength + (idLength & 1);
            if (next > t.size())
                return damaged(Report::Damage::Record);
            if (place(Report::Structure::Directory, recordName(&t[p + 8], idLength, false),
                      extent + t[p + 1], 1, kSector))
                return findings_.overlap();
            p = next;
        }
        return std::nullopt;
    }

    std::optional<Report> tree(const Volume& v) {
        std::deque<Directory> queue;
        const std::uint8_t* root = v.root;
        if (root[0] < 34)
            return damaged(Report::Damage::Record);
        const std::uint64_t rootSector = loadLe({root + 2, 4}) + root[1];
        const std::uint64_t rootLength = loadLe({root + 10, 4});
        if (place(Report::Structure::Directory, "/", loadLe({root + 2, 4}),
                  root[1] + sectorsOf(rootLength), rootLength))
            return findings_.overlap();
        queue.push_back({rootSector, rootLength, "", 0});
        while (!queue.empty()) {
            const Directory dir = queue.front();
            queue.pop_front();
            if (!visited_.insert(dir.sector).second)
                continue;
            if (visited_.size() > kMaxDirectories || dir.length > kMaxDirectory ||
                dir.depth > kMaxDepth || (directoryBytes_ += dir.length) > kMaxDirectoryBytes)
                return damaged(Report::Damage::TooLarge);
            const auto data = readSectors(dir.sector, dir.length);
            if (!data)
                return damaged(Report::Damage::OutsideImage);
            if (auto bad = records(v, dir, *data, queue))
                return bad;
        }
        return std::nullopt;
    }

    std::optional<Report> records(const Volume& v, const Directory& dir, const Bytes& d,
                                  std::deque<Directory>& queue) {
        for (std::size_t p = 0; p < d.size();) {
            const std::size_t length = d[p];
            if (length == 0) {
                p = (p / kSector + 1) * kSector;  // records do not cross sector ends
                continue;
            }
            const std::size_t sectorEnd =
                std::min<std::size_t>((p / kSector + 1) * kSector, d.size());
            if (length < 34 || p + length > sectorEnd || std::size_t{33} + d[p + 32] > length)
                return damaged(Report::Damage::Record);
            if (++records_ > kMaxRecords)
                return damaged(Report::Damage::TooLarge);
            const std::uint8_t* r = &d[p];
            p += length;
            const std::size_t idLength = r[32];
            if (idLength == 1 && (r[33] == 0 || r[33] == 1))
                continue;  // the directory itself and its parent
            const std::string name = dir.path + "/" + recordName(r + 33, idLength, v.joliet);
            const std::uint64_t extent = loadLe({r + 2, 4});
            const std::uint64_t size = loadLe({r + 10, 4});
            const std::uint64_t attributes = r[1];
            const std::uint8_t flags = r[25];
            std::uint64_t data = sectorsOf(size);
            if (const std::uint8_t unit = r[26]; unit != 0 && data != 0)
                data += (data - 1) / unit * r[27];  // interleaved: gaps between the units
            if (flags & 0x02) {
                if (place(Report::Structure::Directory, name, extent, attributes + data, size))
                    return findings_.overlap();
                queue.push_back({extent + attributes, size, name, dir.depth + 1});
                continue;
            }
            const bool exact = extent == kImageExeSector && size == kImageExeLength &&
                               attributes == 0 && r[26] == 0 && (flags & 0x80) == 0;
            if (v.primary && dir.depth == 0 &&
                isExecutableName(recordName(r + 33, idLength, false))) {
                findings_.executable(exact, extent, size);
            }
            // The executable's own extent, seen from any directory, is the executable.
            if (!exact)
                place(Report::Structure::File, name, extent, attributes + data, size);
        }
        return std::nullopt;
    }

    const ReadImage& read_;
    std::uint64_t size_;
    RegionFindings findings_{Report::System::Iso9660};
    std::set<std::uint64_t> visited_;
    std::uint64_t directoryBytes_ = 0;
    std::size_t records_ = 0;
};

}  // namespace

DirectoryReport walkIso9660(const ReadImage& read, std::uint64_t imageSize) {
    return Walk(read, imageSize).run();
}

}  // namespace vorlan
