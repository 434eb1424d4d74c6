// vorlan-cli: the editor's headless front end.

#include <iostream>

#include "command.h"
#include "io/program_start.h"
#include "lists/data_folders.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "io/win32.h"
#endif

namespace {

int run(const std::vector<std::string>& args, const char* argv0) {
    try {
        return vorlan::cli::runCli(args, vorlan::runningProgramFolder(argv0), std::cout, std::cerr,
                                   vorlan::userDataFolder());
    } catch (const std::exception& e) {
        std::cerr << "vorlan-cli 出错：" << e.what() << "\n";
    } catch (...) {
        std::cerr << "vorlan-cli 出错：未知的错误\n";
    }
    return vorlan::cli::kRefused;
}

}  // namespace

#ifdef _WIN32
// Arguments as UTF-16 turned into the program's UTF-8; output as UTF-8 bytes, unchanged (no
// CR added before LF: an exported CSV is the same file as on Linux), which a console shows
// once its code page is UTF-8, also on a Chinese Windows (code page 936).
int wmain(int argc, wchar_t* argv[]) {
    if (const auto child = vorlan::startProgram())
        return *child;
    const UINT consolePage = ::GetConsoleOutputCP();
    ::SetConsoleOutputCP(CP_UTF8);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(vorlan::win32::utf8(argv[i]));
    const int status = run(args, nullptr);
    std::cout.flush();
    std::cerr.flush();
    if (consolePage != 0)
        ::SetConsoleOutputCP(consolePage);
    return status;
}
#else
int main(int argc, char* argv[]) {
    if (const auto child = vorlan::startProgram())
        return *child;
    return run(std::vector<std::string>(argv + 1, argv + argc), argv[0]);
}
#endif
