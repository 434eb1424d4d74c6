#pragma once
// `patch upgrade-limits` and `patch chips`: the two whole-table patches of the unit table.

#include "record_command.h"

namespace vorlan::cli {

class PatchCommand final : public RecordCommand {
public:
    std::string name() const override { return "patch"; }
    std::string description() const override {
        return "Whole-table patches: upgrade-limits (all step limits 10), chips (all units 4 "
               "chips)";
    }
    void declare(CLI::App& sub) override;

protected:
    bool writes() const override { return true; }
    int runOn(Session& session, std::ostream& out, std::ostream& err) override;

private:
    std::string patch_;
};

}  // namespace vorlan::cli
