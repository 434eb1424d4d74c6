#pragma once
// `fields TABLE`: the field definitions of a table, with the items of every choice.

#include "command.h"

namespace vorlan::cli {

class FieldsCommand final : public Command {
public:
    std::string name() const override { return "fields"; }
    std::string description() const override {
        return "A table's fields: key, control, caption, offset, width, encoding";
    }
    void declare(CLI::App& sub) override;
    int run(const GlobalOptions& options, std::ostream& out, std::ostream& err) override;

private:
    std::string table_;
};

}  // namespace vorlan::cli
