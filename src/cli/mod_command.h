#pragma once
// `mod create OUT [--from ORIGINAL]`: a BPS, IPS or PCSX2 .pnach patch (by OUT's extension)
// from the original copy (default: the executable's .bak) to the executable of --exe.
// `mod apply FILE [--dry-run]`: lists the fields a patch changes and writes it through the
// document; with --dry-run only lists them.

#include "record_command.h"

namespace vorlan::cli {

class ModCommand final : public RecordCommand {
public:
    std::string name() const override { return "mod"; }
    std::string description() const override {
        return "Share a mod as a patch: create a BPS/IPS/.pnach patch from the original to --exe, "
               "or apply one to --exe";
    }
    void declare(CLI::App& sub) override;

protected:
    bool writes() const override { return action_ == "apply" && !dryRun_; }
    int runOn(Session& session, std::ostream& out, std::ostream& err) override;

private:
    int create(Session& session, std::ostream& out, std::ostream& err);
    int apply(Session& session, std::ostream& out, std::ostream& err);

    std::string action_;
    std::string file_;
    std::string from_;
    bool dryRun_ = false;
    bool force_ = false;
};

}  // namespace vorlan::cli
