#pragma once
// `get TABLE INDEX [--json]`: one record, each field as the editor shows it.

#include "cli/command.h"

namespace vorlan::cli {

class GetCommand final : public Command {
public:
    std::string name() const override { return "get"; }
    std::string description() const override {
        return "One record, each field as the editor shows it";
    }
    void declare(CLI::App& sub) override;
    int run(const GlobalOptions& options, std::ostream& out, std::ostream& err) override;

private:
    std::string table_;
    std::string index_;
    bool json_ = false;
};

}  // namespace vorlan::cli
