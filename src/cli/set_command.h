#pragma once
// `set TABLE INDEX FIELD=VALUE...`: edits fields of one record through the field engine.
// Every value is checked before anything is written; a value equal to the one shown
// writes nothing for its field.

#include "record_command.h"

namespace vorlan::cli {

class SetCommand final : public RecordCommand {
public:
    std::string name() const override { return "set"; }
    std::string description() const override {
        return "Edit fields of one record; nothing is written if any value is bad";
    }
    void declare(CLI::App& sub) override;

protected:
    bool writes() const override { return true; }
    int runOn(Session& session, std::ostream& out, std::ostream& err) override;

private:
    std::string table_;
    std::string index_;
    std::vector<std::string> assignments_;
};

}  // namespace vorlan::cli
