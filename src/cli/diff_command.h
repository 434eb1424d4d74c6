#pragma once
// `diff OTHER [--json]`: what differs from the open executable ("old") to OTHER ("new"),
// field by field, and the bytes that differ where no field lies.

#include "record_command.h"

namespace vorlan::cli {

class DiffCommand final : public RecordCommand {
public:
    std::string name() const override { return "diff"; }
    std::string description() const override {
        return "Field-level differences between --exe and another executable";
    }
    void declare(CLI::App& sub) override;

protected:
    bool writes() const override { return false; }
    int runOn(Session& session, std::ostream& out, std::ostream& err) override;

private:
    std::string other_;
    bool json_ = false;
};

}  // namespace vorlan::cli
