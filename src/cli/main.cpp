// vorlan-cli: the editor's headless front end.

#include <iostream>

#include "cli/command.h"

int main(int argc, char* argv[]) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::error_code ec;
    std::filesystem::path self = std::filesystem::canonical("/proc/self/exe", ec);
    if (ec)
        self = std::filesystem::absolute(argv[0]);
    try {
        return vorlan::cli::runCli(args, self.parent_path(), std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "vorlan-cli 出错：" << e.what() << "\n";
    } catch (...) {
        std::cerr << "vorlan-cli 出错：未知的错误\n";
    }
    return vorlan::cli::kRefused;
}
