#include "support/kxtmat_run.h"

#include <cstdlib>
#include <filesystem>

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kxt::test {

std::string ShellQuoted(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

Outcome Kxtmat(const std::vector<std::string>& arguments) {
    const TempDir folder;
    const std::filesystem::path out = folder.Path() / "out";
    const std::filesystem::path err = folder.Path() / "err";
    std::string command = "env -u KXT_LANGUAGE -u KXT_REGISTRY_FILE " + ShellQuoted(KXTMAT_CLI);
    for (const std::string& argument : arguments) command += " " + ShellQuoted(argument);
    command += " >" + ShellQuoted(out.string()) + " 2>" + ShellQuoted(err.string());
    const int status = std::system(command.c_str());
    Outcome run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFileBytes(out);
    run.err = ReadFileBytes(err);
    return run;
}

nlohmann::json KxtmatJson(std::vector<std::string> arguments, int expectedExit) {
    arguments.insert(arguments.begin(), "--json");
    const Outcome run = Kxtmat(arguments);
    EXPECT_EQ(run.exitCode, expectedExit) << run.err;
    return nlohmann::json::parse(run.out, nullptr, false);
}

}  // namespace kxt::test
