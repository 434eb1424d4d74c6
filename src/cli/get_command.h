#pragma once
// `get TABLE INDEX [--json]`: one record, each field as the editor shows it.

#include "record_command.h"

namespace vorlan::cli {

class GetCommand final : public RecordCommand {
public:
    std::string name() const override { return "get"; }
    std::string description() const override {
        return "One record, each field as the editor shows it";
    }
    void declare(CLI::App& sub) override;

protected:
    bool writes() const override { return false; }
    int runOn(Session& session, std::ostream& out, std::ostream& err) override;

private:
    std::string table_;
    std::string index_;
    bool json_ = false;
};

}  // namespace vorlan::cli
