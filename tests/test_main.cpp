// The GoogleTest programs' entry: a child started by runInChild (this program again, on
// Windows) answers first. On Windows a crash never opens a report window that would stop the
// run, and output is in binary mode, so the test names CTest lists carry no CR.
#include <gtest/gtest.h>

#include "io/program_start.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#endif

int main(int argc, char** argv) {
    if (const auto child = vorlan::startProgram())
        return *child;
#ifdef _WIN32
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    ::_setmode(::_fileno(stdout), _O_BINARY);
#endif
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
