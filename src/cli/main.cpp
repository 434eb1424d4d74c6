// vorlan-cli: the editor's headless front end.

#include <iostream>

#include "cli/command.h"

int main(int argc, char* argv[]) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::error_code ec;
    std::filesystem::path self = std::filesystem::canonical("/proc/self/exe", ec);
    if (ec)
        self = std::filesystem::absolute(argv[0]);
    return vorlan::cli::runCli(args, self.parent_path(), std::cout, std::cerr);
}
