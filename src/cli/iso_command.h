#pragma once
// `iso check IMAGE`, `iso replace IMAGE` (the executable of --exe), `iso restore IMAGE`
// (the first saved region, or the one of --from; --trust-foreign writes one saved elsewhere).

#include "command.h"

namespace vorlan::cli {

class IsoCommand final : public Command {
public:
    std::string name() const override { return "iso"; }
    std::string description() const override {
        return "Disc image: check it, replace SLKV_618.04 in it with --exe, or restore the saved "
               "original";
    }
    void declare(CLI::App& sub) override;
    int run(const GlobalOptions& options, std::ostream& out, std::ostream& err) override;

private:
    std::string action_;
    std::string image_;
    std::string from_;
    bool trustForeign_ = false;
};

}  // namespace vorlan::cli
