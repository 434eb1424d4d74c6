// vorlan-cli: the editor's headless front end.

#include <iostream>

#include "command.h"
#include "lists/data_folders.h"

int main(int argc, char* argv[]) {
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return vorlan::cli::runCli(args, vorlan::runningProgramFolder(argv[0]), std::cout,
                                   std::cerr, vorlan::userDataFolder());
    } catch (const std::exception& e) {
        std::cerr << "vorlan-cli 出错：" << e.what() << "\n";
    } catch (...) {
        std::cerr << "vorlan-cli 出错：未知的错误\n";
    }
    return vorlan::cli::kRefused;
}
