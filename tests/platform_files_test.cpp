#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/text.h"
#include "support/temp_dir.h"

namespace kxt::platform {
namespace {

namespace fs = std::filesystem;

// A fresh folder per test; paths below it as UTF-16 and as the OS names them.
class PlatformFilesTest : public ::testing::Test {
protected:
    void Write(const std::string& relative, const std::string& content) {
        fs::create_directories((dir_.Path() / test::Utf8Path(relative)).parent_path());
        dir_.Write(relative, content);
    }
    std::u16string Path(const std::u16string& relative) const { return test::ModulePath(dir_.Path() / test::Utf8Path(Utf16ToUtf8(relative))); }
    std::string Native(const std::string& relative) const { return Utf16ToUtf8(test::ModulePath(dir_.Path() / test::Utf8Path(relative))); }
    const test::TempDir dir_;
};

TEST_F(PlatformFilesTest, ResolvesEachComponentWithoutRegardToCasePreferringTheExactThenTheSmallestName) {
    Write("Lang/English/\xC3\x96l/\xC3\x89t\xC3\xA9.txt", "x");  // Öl/Été.txt
    Write("data/a.txt", "lower");
#ifdef _WIN32
    // The file system matches names without regard to case: the path is the OS's name as it stands.
    EXPECT_EQ(ReadWholeFile(Path(u"LANG/english/\u00F6L/\u00C9T\u00C9.TXT")), "x");
    EXPECT_EQ(ResolveNativePath(Path(u"DATA/A.TXT")), Utf16ToUtf8(Path(u"DATA/A.TXT")));
#else
    Write("Data/a.txt", "capital");
    const std::pair<std::u16string, std::string> cases[] = {{u"lang/ENGLISH/\u00F6L/\u00C9T\u00C9.TXT", "Lang/English/\xC3\x96l/\xC3\x89t\xC3\xA9.txt"},
                                                            {u"LANG/english/", "Lang/English/"}, {u"data/a.txt", "data/a.txt"}, {u"DATA/A.TXT", "Data/a.txt"}};
    for (const auto& [path, native] : cases) EXPECT_EQ(ResolveNativePath(Path(path)), Native(native));
#endif
    const std::u16string missing = Path(u"lang/french/file.txt");
    EXPECT_TRUE(ResolveNativePath(missing) == Utf16ToUtf8(missing) && ResolveNativePath(u"").empty());
    EXPECT_TRUE(IsDirectory(Path(u"LANG/english")) && PathExists(Path(u"DATA/A.TXT")) && !IsDirectory(Path(u"DATA/A.TXT")));
    EXPECT_FALSE(PathExists(missing) || PathExists(u""));
}

TEST_F(PlatformFilesTest, ReadsWholeRegularFilesWithinTheirLimitInChunksOrAtOnceAndNothingElse) {
    std::string content(4095 * 2 + 10, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
    Write("Chunks.bin", content);
    EXPECT_TRUE(ReadWholeFile(Path(u"chunks.BIN")) == content && ReadWholeFile(Path(u"chunks.bin"), content.size()) == content);
    EXPECT_EQ(ReadWholeFile(Path(u"chunks.bin"), content.size() - 1), std::nullopt);
    ChunkedFile file(Path(u"CHUNKS.bin"));
    ASSERT_TRUE(file.IsOpen());
    std::string read;
    std::vector<std::size_t> sizes;
    char buffer[4095];
    for (std::size_t n; (n = file.Read(buffer, sizeof buffer)) > 0; read.append(buffer, n)) sizes.push_back(n);
    EXPECT_EQ(sizes, (std::vector<std::size_t>{4095, 4095, 10}));
    EXPECT_EQ(read, content);
    Write("dir/x", "x");
#ifndef _WIN32  // Windows has no FIFOs: there "pipe" is missing
    ASSERT_EQ(::mkfifo(Native("pipe").c_str(), 0600), 0);
#endif
    for (const std::u16string& path : {Path(u"missing"), Path(u"dir"), Path(u"pipe")}) {
        ChunkedFile file(path);  // a FIFO without writer must not block the open
        char buffer[8];
        EXPECT_TRUE(ReadWholeFile(path) == std::nullopt && !file.IsOpen() && file.Read(buffer, sizeof buffer) == 0u) << Utf16ToUtf8(path);
    }
}

// Windows' PathAppendW also resolves the "." and ".." of the result; POSIX joins the two as they stand.
TEST(AppendPath, JoinsWithOneSeparatorWithinTheHostsPathBuffer) {
#ifdef _WIN32
    EXPECT_EQ(AppendPath(u"C:\\a\\.\\b\\", u"..\\c"), u"C:\\a\\c");
    EXPECT_EQ(AppendPath(u"C:\\a", u".\\b\\..\\..\\d.txt"), u"C:\\d.txt");
#else
    EXPECT_EQ(AppendPath(u"/a/./b/", u"../c"), u"/a/./b/../c");
#endif
    EXPECT_EQ(AppendPath(u"", u"x"), JoinPath(u"", {u"x"}));
    EXPECT_EQ(AppendPath(std::u16string(kMaxPath - 3, u'p'), u"x"), std::u16string(kMaxPath - 3, u'p') + kPathSeparator + u"x");
    EXPECT_EQ(AppendPath(std::u16string(kMaxPath - 2, u'p'), u"x"), std::nullopt);
}

}  // namespace
}  // namespace kxt::platform
