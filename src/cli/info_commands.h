#pragma once
// Commands that need no executable: the table list and the demo executable.

#include "command.h"

namespace vorlan::cli {

class TablesCommand final : public Command {
public:
    std::string name() const override { return "tables"; }
    std::string description() const override {
        return "Every table: name, offset, entries, entry size";
    }
    void declare(CLI::App&) override {}
    int run(const GlobalOptions& options, std::ostream& out, std::ostream& err) override;
};

class MakeDemoCommand final : public Command {
public:
    std::string name() const override { return "make-demo"; }
    std::string description() const override {
        return "Write a synthetic executable to try the editor on";
    }
    void declare(CLI::App& sub) override;
    int run(const GlobalOptions& options, std::ostream& out, std::ostream& err) override;

private:
    std::string path_;
    bool force_ = false;
};

}  // namespace vorlan::cli
