#pragma once
// The first call of every program's main, the test programs' included.

#include <optional>

namespace vorlan {

// Where there is no fork (Windows), a child process (child_process.h) is this program started
// again with hidden arguments naming its work. startProgram sees those: it then does the work,
// writes the answer on standard output and gives the status to exit with; otherwise it gives
// nothing and the program goes on. It answers on Linux too, so that both systems can test
// that a program answers. runInChild refuses in a program that did not call it, so a program
// that forgets fails the first test that reads a disc image, on either system.
std::optional<int> startProgram();

}  // namespace vorlan
