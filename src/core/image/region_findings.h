#pragma once
// What a walk of one file system of the image (ISO 9660 or UDF) found about the executable's
// sectors: the root's SLKV_618.04 entry and the first structure lying inside those sectors.
// Both walks report through it, so they judge alike.

#include <cstdint>
#include <optional>
#include <string>

#include "image/directory_report.h"

namespace vorlan {

class RegionFindings {
public:
    explicit RegionFindings(DirectoryReport::System system) : system_(system) {}

    // A report of this walk's file system.
    DirectoryReport verdict(DirectoryReport::Verdict v) const;
    // Remembers a structure of `sectors` sectors from `sector` when it lies inside the
    // executable's sectors; true when it does. A descriptor, path table or directory found
    // there wins over a file found before it: it is what the walk cannot go on reading.
    bool place(DirectoryReport::Structure what, const std::string& name, std::uint64_t sector,
               std::uint64_t sectors, std::uint64_t length);
    // The root's SLKV_618.04 entry: `exact` when it is sector 362 with 3542016 bytes. A
    // misplaced one is kept over a placed one (a second volume may disagree).
    void executable(bool exact, std::uint64_t sector, std::uint64_t length);
    // The first structure placed inside the executable's sectors, if any.
    const std::optional<DirectoryReport>& overlap() const { return overlap_; }
    // The walk's verdict once every structure was read: no or a misplaced executable, then
    // an overlap, else Ok.
    DirectoryReport result() const;

private:
    DirectoryReport::System system_;
    std::optional<DirectoryReport> executable_;
    std::optional<DirectoryReport> overlap_;
};

}  // namespace vorlan
