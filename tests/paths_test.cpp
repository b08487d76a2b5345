// Path functions against a temporary installation. The language is the
// process's: ctest runs this program once per KXT_LANGUAGE setting.
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "paths/data_paths.h"
#include "platform/files.h"
#include "platform/text.h"
#include "support/temp_dir.h"
#include "support/temp_installation.h"

namespace kxt::paths {
namespace {

std::u16string Sep(std::u16string_view text) {
    std::u16string path(text);
    for (char16_t& c : path) c = c == u'/' ? platform::kPathSeparator : c;
    return path;
}

std::string Language() { return std::getenv("KXT_LANGUAGE") && *std::getenv("KXT_LANGUAGE") ? std::getenv("KXT_LANGUAGE") : "english"; }

const test::TempInstallation& Installation() {
    return test::TempInstallation::Get({.withOwnModule = true, .withSampleData = false, .files = {{"data/resources/kxterra/materials process.dat", ""}}});
}

TEST(PathText, JoinsWithOneSeparatorPerPartAndSplitsAtTheLast) {
    EXPECT_TRUE(JoinPath(u"", {u"a"}) == Sep(u"/a") && JoinPath(Sep(u"r/"), {u"a", u"", u"b.x"}) == Sep(u"r//a//b.x"));
    const std::tuple<std::u16string, std::u16string, std::u16string, bool> cases[] = {  // path, folder, name, has a folder
        {u"", u"", u"", false}, {u"a.b", u"", u"a.b", false}, {Sep(u"/a"), u"", u"a", true}, {Sep(u"x/y/"), Sep(u"x/y"), u"", true},
        {Sep(u"x/y.d/z.e"), Sep(u"x/y.d"), u"z.e", true}};
    for (const auto& [path, folder, name, hasFolder] : cases) {
        const platform::PathParts parts = platform::SplitPath(path);
        EXPECT_EQ(std::tie(parts.folder, parts.name, parts.hasFolder), std::tie(folder, name, hasFolder)) << platform::Utf16ToUtf8(path);
    }
}

TEST(PathsTest, InstallationPathsCombineTheModuleFoldersAndTheLanguage) {
    const std::u16string root = Installation().Path();
    const std::u16string lang = u"lang/" + platform::Utf8ToUtf16(Language());
    const auto under = [&](std::u16string_view relative) { return root + Sep(u"/") + Sep(relative); };
    EXPECT_TRUE(ModuleFolder(u"KXTERRATPU.DLL") == root && platform::IsDirectory(ModuleFolder(u"kxNoSuchModule.dll")));  // else the executable's
    EXPECT_TRUE(LanguageDirectory() == Sep(lang) && u"lang/" + LanguageName(LanguageDirectory()) == lang);
    const std::pair<std::u16string, std::u16string> cases[] = {
        {DefaultNativePath(), u"lang/english/"}, {DefaultLangPath(), lang + u"/"}, {InstalledDinLibrary(), u"lang/english/kvxmaterials/Korvex din Materials.kvxmat"},
        {InstalledLanguageSustainExtras(), lang + u"/kvxmaterials/Sustainability Extras.kvxmat"}, {InstalledProcessSettings(), u"data/resources/kxterra/materials process.dat"},
        {DinMappingFile(), u"data/resources/kxterra/DINMaterialsMapper.txt"}};
    for (const auto& [path, relative] : cases) EXPECT_EQ(path, under(relative));
    EXPECT_EQ(ReportedLibrary(u"", kNativeLibraryFile), Sep(u"kvxmaterials/korvex materials.kvxmat"));
}

TEST(PathsTest, DataFolderIsTheOneBesideTheModuleElseTwoFoldersUpElseBesideAnyway) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.Path() / "a" / "b" / "k" / "data");
    std::filesystem::create_directories(dir.Path() / "a" / "b" / "f");
    dir.Write("a/b/f/data", "");  // a file named data does not count
    for (const auto& [folder, data] : {std::pair(dir.File("a/b/k"), dir.File("a/b/k/data")), std::pair(dir.File("a/b/f"), dir.File("a/kvxapp/data")),
                                       std::pair(Sep(u"/kxt-no-such-folder"), Sep(u"/kxt-no-such-folder/data")), std::pair(std::u16string(), std::u16string())})
        EXPECT_EQ(DataFolderOf(folder), data);
}

TEST(PathsTest, UserSettingsAddTheSeparatorOnlyWhenMissingAndMustFitTheBuffer) {
    const std::u16string file = Sep(u"/materials process.dat");
    EXPECT_TRUE(UserProcessSettings(Sep(u"/me/")) == Sep(u"/me") + file && UserProcessSettings(u"") == file);
    const std::u16string longest(platform::kMaxPath - 1 - file.size(), u'p');
    EXPECT_TRUE(UserProcessSettings(longest) == longest + file && UserProcessSettings(longest + u"p").empty());
}

// A lookup that counts how often it is asked and finds an export answering
// g_text, or none for kNoExport.
const char16_t kNoExport[] = u"none";
int g_asked = 0;
const char16_t* g_text = nullptr;
LangDirFunction Lookup() {
    ++g_asked;
    return g_text == kNoExport ? nullptr : +[] { return g_text; };
}

TEST(PathsTest, LanguageMemoryKeepsTheFirstLanguageFoundOrEnglishWhenTheExportIsMissing) {
    const std::tuple<std::vector<const char16_t*>, std::u16string, int> cases[] = {  // the export's answers, the last directory, lookups
        {{kNoExport, u"german"}, u"lang/english", 1}, {{nullptr, u"french", u"german"}, u"lang/french", 2}, {{nullptr, nullptr}, u"lang/", 2}};
    for (const auto& [texts, last, asked] : cases) {
        g_asked = 0;
        LanguageMemory memory;
        std::u16string directory;
        for (const char16_t* text : texts) {
            g_text = text;
            directory = memory.Directory(&Lookup);
        }
        EXPECT_TRUE(directory == Sep(last) && g_asked == asked) << platform::Utf16ToUtf8(directory);
    }
}

// The language's own resource module when the installation has one (French), else the English one.
TEST(PathsTest, ResourceModuleSearchTakesTheLanguageFolderElseEnglish) {
    Installation();
    const FoundModule found = SearchResourceModule(kOwnModule, kResourceModule);
    ASSERT_NE(found.handle, nullptr);
    EXPECT_EQ(platform::LoadModuleString(found.handle, 101), Language() == "french" ? u"Fraisé" : u"Milled");
    EXPECT_EQ(SearchResourceModule(kOwnModule, u"kxNoSuchRes.dll").handle, nullptr);
    if (found.loadedHere) platform::ReleaseModule(found.handle);
}

}  // namespace
}  // namespace kxt::paths
