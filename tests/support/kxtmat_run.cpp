#include "support/kxtmat_run.h"

#include <cstdlib>
#include <filesystem>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <gtest/gtest.h>

#include "platform/environment.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "support/registry_hive.h"
#include "support/temp_dir.h"

namespace kxt::test {
namespace {

#ifdef _WIN32
// word quoted as the C runtime splits a command line.
std::string Quoted(const std::string& word) {
    std::string quoted = "\"";
    for (char c : word) quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
    return quoted + "\"";
}

// cmd.exe runs the line; the outer quotes keep it from taking the line's first and last for its own.
int RunCommand(const std::string& line) {
    const std::u16string wide = platform::Utf8ToUtf16("\"" + line + "\"");
    return _wsystem(reinterpret_cast<const wchar_t*>(wide.c_str()));
}

#else
std::string Quoted(const std::string& word) { return ShellQuoted(word); }

int RunCommand(const std::string& line) {
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

// No language chosen and kxtmat's default favourites: the sample's export, or on Windows the registry
// itself, which gets the export's values.
void AsAUserRunsIt() {
    for (const char* name : {"KXT_LANGUAGE", "KXT_REGISTRY_FILE"}) platform::RemoveEnvironmentValue(name);
    [[maybe_unused]] static const bool done = platform::kRegistryIsAnExportFile || (UseRegistryFile(Utf8Path(KXTMAT_SAMPLE_DIR "/registry.reg")), true);
}

std::string Utf8(const std::filesystem::path& path) { return platform::Utf16ToUtf8(ModulePath(path)); }

}  // namespace

std::string ShellQuoted(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

Outcome Kxtmat(const std::vector<std::string>& arguments) {
    const TempDir folder;
    const std::filesystem::path out = folder.Path() / "out";
    const std::filesystem::path err = folder.Path() / "err";
    AsAUserRunsIt();
    std::string command = Quoted(Utf8(Utf8Path(KXTMAT_CLI)));
    for (const std::string& argument : arguments) command += " " + Quoted(argument);
    command += " >" + Quoted(Utf8(out)) + " 2>" + Quoted(Utf8(err));
    Outcome run;
    run.exitCode = RunCommand(command);
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
