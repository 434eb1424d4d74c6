#pragma once
// `decode CODETEXT` and `lookup TEXT`: the game's character code, through the character
// table of the data folder. Neither needs the executable.

#include "command.h"

namespace vorlan::cli {

class DecodeCommand final : public Command {
public:
    std::string name() const override { return "decode"; }
    std::string description() const override {
        return "Decode a name code text (four hex digits per character)";
    }
    void declare(CLI::App& sub) override;
    int run(const GlobalOptions& options, std::ostream& out, std::ostream& err) override;

private:
    std::string codes_;
};

class LookupCommand final : public Command {
public:
    std::string name() const override { return "lookup"; }
    std::string description() const override { return "The code text of a text"; }
    void declare(CLI::App& sub) override;
    int run(const GlobalOptions& options, std::ostream& out, std::ostream& err) override;

private:
    std::string text_;
};

}  // namespace vorlan::cli
