#pragma once
// `import TABLE FILE [--dry-run]` and `import --all DIR [--dry-run]`: whole tables read back
// from CSV or JSON; every cell checked first, the changes listed, then written in one write.

#include "record_command.h"

namespace vorlan::cli {

class ImportCommand final : public RecordCommand {
public:
    std::string name() const override { return "import"; }
    std::string description() const override {
        return "Read a whole table (or --all DIR) back from CSV or JSON";
    }
    void declare(CLI::App& sub) override;

protected:
    bool writes() const override { return !dryRun_; }
    int runOn(Session& session, std::ostream& out, std::ostream& err) override;

private:
    std::vector<std::string> args_;
    bool all_ = false;
    bool dryRun_ = false;
};

}  // namespace vorlan::cli
