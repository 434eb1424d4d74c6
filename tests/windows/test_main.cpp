// The Windows test program's entry: a child started by runInChild (this program again)
// answers first; a crash never opens a report window that would stop the run; output in
// binary mode, so the test names CTest lists carry no CR.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "io/child_process.h"

int main(int argc, char** argv) {
    if (const int child = vorlan::runChildWorkIfAsked(); child >= 0)
        return child;
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
