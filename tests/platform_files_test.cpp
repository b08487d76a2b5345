#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/text.h"

namespace kxt::platform {
namespace {

namespace fs = std::filesystem;

class PlatformFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("kxt_files_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    // Writes `content` to the file at the UTF-8 path below the root.
    void Write(const std::string& relative, const std::string& content) {
        const fs::path file = root_ / fs::u8path(relative);
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
    }
    std::u16string Path(const std::u16string& relative) const {
        return Utf8ToUtf16(root_.string()) + kPathSeparator + relative;
    }
    std::string Native(const std::string& relative) const { return (root_ / fs::u8path(relative)).string(); }

    fs::path root_;
};

TEST_F(PlatformFilesTest, ResolvesEveryComponentWithoutRegardToCase) {
    Write("Lang/English/kvxMaterials/Korvex Materials.kvxmat", "x");
    EXPECT_EQ(ResolveNativePath(Path(u"lang/ENGLISH/KVXmaterials/korvex materials.kvxmat")),
              Native("Lang/English/kvxMaterials/Korvex Materials.kvxmat"));
    EXPECT_EQ(ResolveNativePath(Path(u"LANG/english/")), Native("Lang/English/"));
}

TEST_F(PlatformFilesTest, ResolvesNonAsciiNamesWithoutRegardToCase) {
    Write("\xC3\x96l/\xC3\x89t\xC3\xA9.txt", "x");  // Öl/Été.txt
    EXPECT_EQ(ResolveNativePath(Path(u"\u00F6L/\u00C9T\u00C9.TXT")), Native("\xC3\x96l/\xC3\x89t\xC3\xA9.txt"));
    EXPECT_TRUE(PathExists(Path(u"\u00D6L/\u00E9t\u00E9.txt")));
}

TEST_F(PlatformFilesTest, PrefersTheExactNameAndOtherwiseTheSmallestMatch) {
    Write("data/a.txt", "lower");
    Write("Data/a.txt", "capital");
    EXPECT_EQ(ResolveNativePath(Path(u"data/a.txt")), Native("data/a.txt"));
    EXPECT_EQ(ResolveNativePath(Path(u"DATA/A.TXT")), Native("Data/a.txt"));
}

TEST_F(PlatformFilesTest, KeepsAPathWithoutMatchAsWritten) {
    Write("Lang/english/file.txt", "x");
    const std::u16string missing = Path(u"lang/french/file.txt");
    EXPECT_EQ(ResolveNativePath(missing), Utf16ToUtf8(missing));
    EXPECT_FALSE(PathExists(missing));
    EXPECT_FALSE(PathExists(u""));
    EXPECT_EQ(ResolveNativePath(u""), "");
}

TEST_F(PlatformFilesTest, TellsFilesFromDirectoriesThroughCaseDifferences) {
    Write("Folder/File.txt", "x");
    EXPECT_TRUE(PathExists(Path(u"folder")));
    EXPECT_TRUE(IsDirectory(Path(u"FOLDER")));
    EXPECT_TRUE(PathExists(Path(u"folder/file.TXT")));
    EXPECT_FALSE(IsDirectory(Path(u"folder/file.txt")));
    EXPECT_FALSE(IsDirectory(Path(u"nothing")));
}

TEST_F(PlatformFilesTest, ReadsAWholeRegularFileWithinItsLimit) {
    const std::string content("binary\0\xFF\r\ncontent", 18);
    Write("Mapper.TXT", content);
    EXPECT_EQ(ReadWholeFile(Path(u"mapper.txt")), content);
    EXPECT_EQ(ReadWholeFile(Path(u"mapper.txt"), content.size()), content);
    EXPECT_EQ(ReadWholeFile(Path(u"mapper.txt"), content.size() - 1), std::nullopt);
    Write("empty", "");
    EXPECT_EQ(ReadWholeFile(Path(u"empty")), "");
}

TEST_F(PlatformFilesTest, ReadsNothingFromMissingFilesDirectoriesAndFifos) {
    Write("dir/x", "x");
    ASSERT_EQ(::mkfifo(Native("pipe").c_str(), 0600), 0);
    for (const std::u16string& path : {Path(u"missing"), Path(u"dir"), Path(u"pipe")}) {
        EXPECT_EQ(ReadWholeFile(path), std::nullopt) << Utf16ToUtf8(path);
        ChunkedFile file(path);  // a FIFO without writer must not block the open
        EXPECT_FALSE(file.IsOpen()) << Utf16ToUtf8(path);
        char buffer[8];
        EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
    }
}

TEST_F(PlatformFilesTest, ChunkedFileDeliversFullChunksThenTheRestThenNothing) {
    std::string content(4095 * 2 + 10, 'a');
    for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>('a' + i % 26);
    Write("Chunks.txt", content);
    ChunkedFile file(Path(u"chunks.TXT"));
    ASSERT_TRUE(file.IsOpen());
    std::string read;
    char buffer[4096];
    std::size_t n = 0;
    std::vector<std::size_t> sizes;
    while ((n = file.Read(buffer, 4095)) > 0) {
        sizes.push_back(n);
        read.append(buffer, n);
    }
    EXPECT_EQ(sizes, (std::vector<std::size_t>{4095, 4095, 10}));
    EXPECT_EQ(read, content);
}

}  // namespace
}  // namespace kxt::platform
