// The module writes no files and no registry values: kxtmat loads the sample
// installation and answers every query command under strace, and no traced
// call may open a file for writing, create, rename or remove anything.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderAddressSanitizer = true;  // LeakSanitizer cannot run under ptrace
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kUnderAddressSanitizer = true;
#else
constexpr bool kUnderAddressSanitizer = false;
#endif
#else
constexpr bool kUnderAddressSanitizer = false;
#endif

std::string Quote(const std::string& s) {
    std::string quoted = "'";
    for (const char c : s) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The traced calls that change the file system: opens for writing, creation,
// renaming, removal, truncation, links, permission and time changes.
std::vector<std::string> WritingCalls(const std::string& trace) {
    static const std::regex writingOpen(R"(^\d+\s+(open|openat|openat2)\(.*\b(O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND)\b)");
    static const std::regex changing(
        R"(^\d+\s+(creat|rename|renameat|renameat2|unlink|unlinkat|mkdir|mkdirat|rmdir|truncate|ftruncate|link|linkat|symlink|symlinkat|mknod|mknodat|chmod|fchmodat|chown|fchownat|lchown|utime|utimes|utimensat|futimesat|setxattr|lsetxattr|removexattr|lremovexattr)\()");
    std::vector<std::string> found;
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_search(line, writingOpen) || std::regex_search(line, changing)) found.push_back(line);
    }
    return found;
}

class NoWritesTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (kUnderAddressSanitizer) GTEST_SKIP() << "LeakSanitizer cannot run under ptrace";
        if (std::system("strace -f -o /dev/null true >/dev/null 2>&1") != 0) {
            GTEST_SKIP() << "strace is missing or ptrace is not permitted here";
        }
        registry_ = temp_.Write("registry.reg", kxt::test::ReadFileBytes(fs::path(KXTMAT_SAMPLE_DIR) / "registry.reg"));
    }

    // Runs kxtmat with args under strace; returns the trace and stores the output.
    std::string Traced(const std::string& args, int& exitCode) {
        const fs::path trace = temp_.Path() / "trace";
        const std::string command = "strace -f -qq -e trace=%file,%desc -o " + Quote(trace.string()) + " " +
                                    Quote(KXTMAT_CLI) + " --registry " + Quote(registry_.string()) + " " + args +
                                    " >" + Quote((temp_.Path() / "out").string()) + " 2>&1";
        const int status = std::system(command.c_str());
        exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return kxt::test::ReadFileBytes(trace);
    }

    kxt::test::TempDir temp_;
    fs::path registry_;
};

TEST_F(NoWritesTest, LoadAndEveryQueryCommandOnlyRead) {
    const std::string custom = Quote((fs::path(KXTMAT_SAMPLE_DIR) / "user" / "My Materials.kvxmat").string());
    const std::vector<std::string> commands = {
        "summary",
        "--json summary",
        "list --library 'korvex din materials'",
        "show 'AISI 304 Stainless Steel'",
        "show 1.4301 --library 'korvex din materials'",
        "find 'Acier inoxydable AISI 304' --language french",
        "map lang 'Stainless Steel' 'AISI 304 Stainless Steel' --language german",
        "map native Steel 'AISI 304 Stainless Steel'",
        "gabi 'Stainless Steel' 'AISI 304 Stainless Steel' Milled",
        "processes 'AISI 304 Stainless Steel'",
        "default-process Steel",
        "common Steel 'Stainless Steel'",
        "supported 'AISI 304 Stainless Steel' 'korvex materials'",
        "sustainable",
        "search --library 'korvex materials' --where 'DENS~8000' 'Material Cost<3'",
        custom + " list",
    };
    for (const std::string& args : commands) {
        SCOPED_TRACE(args);
        int exitCode = -1;
        const std::string trace = Traced(args, exitCode);
        EXPECT_TRUE(exitCode == 0 || exitCode == 1) << kxt::test::ReadFileBytes(temp_.Path() / "out");
        // The trace saw the load: the registry export and the standard library were read.
        EXPECT_NE(trace.find(registry_.filename().string() + "\", O_RDONLY"), std::string::npos);
        EXPECT_NE(trace.find("Korvex Materials.kvxmat\", O_RDONLY"), std::string::npos);
        const std::vector<std::string> writes = WritingCalls(trace);
        EXPECT_TRUE(writes.empty()) << writes.front();
    }
}

TEST(NoWritesPatterns, EveryWritingCallIsRecognisedAndNoReadingOne) {
    const std::vector<std::string> writing = {
        "7 openat(AT_FDCWD, \"/b\", O_WRONLY|O_CREAT|O_TRUNC, 0666) = 3",
        "7 openat(AT_FDCWD, \"/c\", O_RDWR) = 3",
        "7 renameat2(AT_FDCWD, \"/e\", AT_FDCWD, \"/f\", 0) = 0",
        "7 unlink(\"/g\") = 0",
        "8 mkdir(\"/h\", 0777) = 0",
        "8 ftruncate(3, 0) = 0",
    };
    const std::vector<std::string> reading = {
        "7 openat(AT_FDCWD, \"/a\", O_RDONLY|O_CLOEXEC) = 3",
        "7 newfstatat(AT_FDCWD, \"/d\", {st_mode=S_IFREG}, 0) = 0",
        "7 read(3, \"O_WRONLY\", 8) = 8",
    };
    std::string trace;
    for (std::size_t i = 0; i < writing.size(); ++i) trace += reading[i % reading.size()] + "\n" + writing[i] + "\n";
    EXPECT_EQ(WritingCalls(trace), writing);
}

}  // namespace
