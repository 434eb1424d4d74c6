#pragma once
// `export TABLE [--format csv|json] [--out FILE] [--changed-since [ORIGINAL]]` and
// `export --all --out DIR`: whole tables as CSV (default, to standard output without --out)
// or JSON.

#include "record_command.h"

namespace vorlan::cli {

class ExportCommand final : public RecordCommand {
public:
    std::string name() const override { return "export"; }
    std::string description() const override {
        return "Write a whole table (or --all) as CSV or JSON";
    }
    void declare(CLI::App& sub) override;

protected:
    bool writes() const override { return false; }
    int runOn(Session& session, std::ostream& out, std::ostream& err) override;

private:
    std::string table_;
    std::string format_ = "csv";
    std::string out_;
    std::string since_;
    CLI::Option* sinceOption_ = nullptr;
    bool all_ = false;
    bool overwrite_ = false;
};

}  // namespace vorlan::cli
