// Runs the built kxtmat as a child process, as a user runs it.
// REQUIRES: the test program defines KXTMAT_CLI, the path of kxtmat.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace kxt::test {

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs kxtmat with the arguments, without the caller's KXT_ variables.
Outcome Kxtmat(const std::vector<std::string>& arguments);

// The answer of kxtmat --json with the arguments, which must exit with
// expectedExit; discarded when it does not parse.
nlohmann::json KxtmatJson(std::vector<std::string> arguments, int expectedExit = 0);

// word quoted for the POSIX shell.
std::string ShellQuoted(const std::string& word);

}  // namespace kxt::test
