// The module writes no files and no registry values: kxtmat loads the sample installation and answers every
// query command under strace, and no traced call opens a file for writing, creates, renames or removes anything.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using kxt::test::ReadFileBytes;


TEST(NoWritesTest, LoadAndEveryQueryCommandOnlyRead) {
#ifdef _WIN32
    GTEST_SKIP() << "traces the system calls with strace, which Windows does not have";
#else
    const auto Quote = [](const std::string& s) { return "'" + std::regex_replace(s, std::regex("'"), "'\\''") + "'"; };
    if (std::system("strace -f -o /dev/null true >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is missing or ptrace is not permitted";
    const kxt::test::TempDir temp;
    const fs::path registry = temp.Write("registry.reg", ReadFileBytes(fs::path(KXTMAT_SAMPLE_DIR) / "registry.reg"));
    const fs::path trace = temp.Path() / "trace", out = temp.Path() / "out";
    // Opens for writing, and the calls that create, rename, remove, truncate, link or change permissions or times.
    const std::regex writing(
        R"(^\d+\s+((open|openat|openat2)\(.*\b(O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND)\b|(creat|rename|renameat|renameat2|unlink|unlinkat|mkdir|mkdirat|rmdir|truncate|ftruncate|link|linkat|symlink|symlinkat|mknod|mknodat|chmod|fchmodat|chown|fchownat|lchown|utime|utimes|utimensat|futimesat|setxattr|lsetxattr|removexattr|lremovexattr)\())");
    ASSERT_TRUE(std::regex_search("7 openat(AT_FDCWD, \"/b\", O_RDONLY|O_CREAT, 0666) = 3", writing) && std::regex_search("7 unlink(\"/g\") = 0", writing) && !std::regex_search("7 read(3, \"O_WRONLY\", 8) = 8", writing));
    // Queries read no files: the load is traced in each language and with a custom library, and the queries that look up more than the model.
    for (const std::string& args : {std::string("--json summary"), std::string("show 1.4301 --library 'korvex din materials'"),
                                    std::string("find 'Acier inoxydable AISI 304' --language french"), std::string("map lang 'Stainless Steel' 'AISI 304 Stainless Steel' --language german"),
                                    std::string("processes 'AISI 304 Stainless Steel'"), std::string("sustainable"),
                                    Quote((fs::path(KXTMAT_SAMPLE_DIR) / "user" / "My Materials.kvxmat").string()) + " list"}) {
        SCOPED_TRACE(args);
        const std::string command = "strace -f -qq -e trace=%file,%desc -o " + Quote(trace.string()) + " " + Quote(KXTMAT_CLI) + " --registry " + Quote(registry.string()) + " " + args;
        const int status = std::system((command + " >" + Quote(out.string()) + " 2>&1").c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) <= 1) << ReadFileBytes(out);
        const std::string calls = ReadFileBytes(trace);
        // The trace saw the load: the registry export and the standard library were read.
        EXPECT_TRUE(calls.find("registry.reg\", O_RDONLY") != std::string::npos && calls.find("Korvex Materials.kvxmat\", O_RDONLY") != std::string::npos);
        std::istringstream lines(calls);
        for (std::string line; std::getline(lines, line);) EXPECT_FALSE(std::regex_search(line, writing)) << line;
    }
#endif
}

}  // namespace
