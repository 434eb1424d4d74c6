#pragma once
// `iso check IMAGE`, `iso replace IMAGE` (the executable of --exe), `iso restore IMAGE`
// (the first saved region, or the one of --from; --trust-foreign writes one saved elsewhere),
// `iso extract IMAGE OUT` (the executable copied out of the image; --force replaces a file).

#include "command.h"

namespace vorlan::cli {

class IsoCommand final : public Command {
public:
    std::string name() const override { return "iso"; }
    std::string description() const override {
        return "Disc image: check it, replace SLKV_618.04 in it with --exe, restore the saved "
               "original, or extract SLKV_618.04 from it to OUT";
    }
    void declare(CLI::App& sub) override;
    int run(const GlobalOptions& options, std::ostream& out, std::ostream& err) override;

private:
    int extract(const GlobalOptions& options, std::ostream& out) const;

    std::string action_;
    std::string image_;
    std::string from_;
    std::string out_;
    bool trustForeign_ = false;
    bool force_ = false;
};

}  // namespace vorlan::cli
