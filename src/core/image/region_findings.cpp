#include "image/region_findings.h"

#include "image/disc_image.h"

namespace vorlan {

using Report = DirectoryReport;

Report RegionFindings::verdict(Report::Verdict v) const {
    Report r;
    r.verdict = v;
    r.system = system_;
    return r;
}

bool RegionFindings::place(Report::Structure what, const std::string& name, std::uint64_t sector,
                           std::uint64_t sectors, std::uint64_t length) {
    if (sectors == 0 || sector >= kImageExeEndSector || sector + sectors <= kImageExeSector)
        return false;
    if (!overlap_ ||
        (overlap_->structure == Report::Structure::File && what != Report::Structure::File)) {
        Report r = verdict(Report::Verdict::Overlap);
        r.structure = what;
        r.name = reportName(name);
        r.sector = sector;
        r.length = length;
        overlap_ = r;
    }
    return true;
}

void RegionFindings::executable(bool exact, std::uint64_t sector, std::uint64_t length) {
    if (executable_ && executable_->verdict != Report::Verdict::Ok)
        return;
    Report e = verdict(exact ? Report::Verdict::Ok : Report::Verdict::ExecutableElsewhere);
    e.sector = sector;
    e.length = length;
    executable_ = e;
}

Report RegionFindings::result() const {
    if (!executable_)
        return verdict(Report::Verdict::NoExecutable);
    if (executable_->verdict != Report::Verdict::Ok)
        return *executable_;
    if (overlap_)
        return *overlap_;
    return Report{};
}

}  // namespace vorlan
