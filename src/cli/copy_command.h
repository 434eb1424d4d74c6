#pragma once
// `copy TABLE FROM TO`: makes record TO byte for byte equal to record FROM, as the
// editor's copy and paste do.

#include "record_command.h"

namespace vorlan::cli {

class CopyCommand final : public RecordCommand {
public:
    std::string name() const override { return "copy"; }
    std::string description() const override {
        return "Copy a whole record over another (unit, pilot)";
    }
    void declare(CLI::App& sub) override;

protected:
    bool writes() const override { return true; }
    int runOn(Session& session, std::ostream& out, std::ostream& err) override;

private:
    std::string table_;
    std::string from_;
    std::string to_;
};

}  // namespace vorlan::cli
