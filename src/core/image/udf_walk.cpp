#include "image/udf_walk.h"

#include <cdio/udf.h>

#include <cstdint>
#include <string>

#include "image/disc_image.h"
#include "image/region_findings.h"

namespace vorlan {

namespace {

using Report = DirectoryReport;

constexpr int kMaxDepth = 64;
constexpr std::size_t kMaxEntries = 200000;

class UdfWalk {
public:
    Report run(udf_t* udf) {
        udf_dirent_t* root = udf_get_root(udf, true, 0);
        if (root == nullptr)
            return findings_.verdict(Report::Verdict::NoExecutable);
        if (!directory(root, "", 0))
            return *stop_;
        return findings_.result();
    }

private:
    void place(Report::Structure what, const std::string& name, std::uint64_t sector,
               std::uint64_t sectors, std::uint64_t length) {
        findings_.place(what, name, sector, sectors, length);
    }

    // Walks the entries of `dir` (which udf_readdir frees at the end); false to stop.
    bool directory(udf_dirent_t* dir, const std::string& path, int depth) {
        if (depth > kMaxDepth) {
            stop_ = damaged(Report::Damage::TooLarge, Report::System::Udf);
            return false;
        }
        while (udf_readdir(dir) != nullptr) {
            if (++entries_ > kMaxEntries) {
                stop_ = damaged(Report::Damage::TooLarge, Report::System::Udf);
                return false;
            }
            if (dir->fid != nullptr && (dir->fid->file_characteristics & UDF_FILE_PARENT))
                continue;
            const char* raw = udf_get_filename(dir);
            const std::string name = path + "/" + (raw != nullptr ? raw : "");
            const std::uint64_t length = udf_get_file_length(dir);
            std::uint32_t start = 0;
            std::uint32_t end = 0;
            const bool placed = udf_get_lba(&dir->fe, &start, &end);
            const std::uint64_t sector = std::uint64_t{dir->i_part_start} + start;
            const std::uint64_t sectors = placed ? (length + 2047) / 2048 : 0;
            if (dir->fid != nullptr) {
                place(Report::Structure::File, name,
                      std::uint64_t{dir->i_part_start} + dir->fid->icb.loc.lba, 1, 2048);
            }
            const bool exact = placed && sector == kImageExeSector && length == kImageExeLength;
            if (udf_is_dir(dir)) {
                place(Report::Structure::Directory, name, sector, sectors, length);
                udf_dirent_t* sub = udf_opendir(dir);
                if (sub != nullptr && !directory(sub, name, depth + 1))
                    return false;
                continue;
            }
            if (depth == 0 && raw != nullptr && std::string(raw) == "SLKV_618.04") {
                findings_.executable(exact, sector, length);
            }
            if (!exact)
                place(Report::Structure::File, name, sector, sectors, length);
        }
        return true;
    }

    RegionFindings findings_{Report::System::Udf};
    std::optional<Report> stop_;
    std::size_t entries_ = 0;
};

}  // namespace

DirectoryReport walkUdf(const char* path) {
    udf_t* udf = udf_open(path);
    if (udf == nullptr)
        return Report{};  // no UDF file system
    // The child ends right after this: what libcdio allocated goes with it.
    return UdfWalk().run(udf);
}

}  // namespace vorlan
