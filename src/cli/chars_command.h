#pragma once
// `chars export FILE`: the character table in use (the data folder's, or that of --chars)
// written as a .tbl file of "XXXX=字" lines, for other tools.

#include "command.h"

namespace vorlan::cli {

class CharsCommand final : public Command {
public:
    std::string name() const override { return "chars"; }
    std::string description() const override {
        return "Character table: export it as a .tbl file (XXXX=字 lines)";
    }
    void declare(CLI::App& sub) override;
    int run(const GlobalOptions& options, std::ostream& out, std::ostream& err) override;

private:
    std::string action_;
    std::string file_;
    bool force_ = false;
};

}  // namespace vorlan::cli
