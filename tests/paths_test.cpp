// Path functions against a temporary installation. The language is the
// process's: ctest runs this program once per KXT_LANGUAGE setting.
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "module/resources.h"
#include "paths/data_paths.h"
#include "paths/sibling_services.h"
#include "platform/files.h"
#include "platform/modules.h"
#include "platform/text.h"
#include "support/temp_dir.h"
#include "support/temp_installation.h"

namespace kxt::paths {
namespace {

using platform::kPathSeparator;
using test::TempInstallation;

// What the main stand-in module reports for KXT_LANGUAGE.
std::u16string ExpectedLanguage() {
    const char* value = std::getenv("KXT_LANGUAGE");
    return value != nullptr && *value != '\0' ? platform::Utf8ToUtf16(value) : std::u16string(u"english");
}

// The language whose resource module the search must take: the expected
// language when the installation has it, else english.
std::u16string ResourceLanguage() {
    const std::u16string language = ExpectedLanguage();
    for (const char16_t* installed : {u"english", u"french", u"german"})
        if (language == installed) return language;
    return u"english";
}

// First string of each resource table, as the installed modules hold it.
std::u16string MilledIn(const std::u16string& language) {
    if (language == u"french") return u"Fraisé";
    if (language == u"german") return u"Gefräst";
    return u"Milled";
}

std::u16string Sep(std::u16string_view text) {
    std::u16string path(text);
    for (char16_t& c : path)
        if (c == u'/') c = kPathSeparator;
    return path;
}

const TempInstallation& Installation() {
    return TempInstallation::Get({.withOwnModule = true,
                                  .withSampleData = false,
                                  .files = {{"data/resources/kxterra/materials process.dat", "<x/>"}}});
}

class PathsTest : public ::testing::Test {
protected:
    void SetUp() override { root_ = Installation().Path(); }
    std::u16string Under(std::u16string_view relative) const { return root_ + Sep(u"/") + Sep(relative); }
    std::u16string root_;
};

TEST_F(PathsTest, SiblingModulesAreFoundInTheirInstallationFolder) {
    EXPECT_EQ(ModuleFolder(kMainModule), root_);
    EXPECT_EQ(ModuleFolder(u"KXTERRATPU.DLL"), root_);
    // A module that is not loaded answers the executable's folder.
    const std::u16string hostFolder = ModuleFolder(u"kxNoSuchModule.dll");
    EXPECT_NE(hostFolder, root_);
    EXPECT_TRUE(platform::IsDirectory(hostFolder));
}

TEST_F(PathsTest, MainModuleReportsNativeAndLanguageFolders) {
    EXPECT_EQ(DefaultNativePath(), Under(u"lang/english/"));
    EXPECT_EQ(DefaultLangPath(), Under(u"lang/" + ExpectedLanguage() + u"/"));
    CallDefaultLangId();  // only its effect counts; the export must be callable
}

TEST_F(PathsTest, LanguageDirectoryFollowsTheMainModuleForTheProcess) {
    EXPECT_EQ(LanguageDirectory(), Sep(u"lang/") + ExpectedLanguage());
    EXPECT_EQ(LanguageName(LanguageDirectory()), ExpectedLanguage());
}

TEST_F(PathsTest, LoaderPathsCombineTheInstallationFolders) {
    const std::u16string language = ExpectedLanguage();
    EXPECT_EQ(InstalledNativeLibrary(), Under(u"lang/english/kvxmaterials/Korvex Materials.kvxmat"));
    EXPECT_EQ(InstalledDinLibrary(), Under(u"lang/english/kvxmaterials/Korvex din Materials.kvxmat"));
    EXPECT_EQ(InstalledSustainExtras(), Under(u"lang/english/kvxmaterials/Sustainability Extras.kvxmat"));
    EXPECT_EQ(LanguageMaterialsFolder(), Under(u"lang/" + language + u"/kvxmaterials"));
    EXPECT_EQ(LanguageMaterialsSustainExtras(),
              Under(u"lang/" + language + u"/kvxmaterials/Sustainability Extras.kvxmat"));
    EXPECT_EQ(InstalledLanguageSustainExtras(),
              Under(u"lang/" + language + u"/kvxmaterials/Sustainability Extras.kvxmat"));
    EXPECT_EQ(ReportedLibrary(DefaultLangPath(), kDinLibraryFile),
              Under(u"lang/" + language + u"/kvxmaterials/korvex din materials.kvxmat"));
}

TEST_F(PathsTest, HostListNamesTheLanguageLibrariesBothExtrasCopiesThenTheCustomOnes) {
    const std::u16string language = ExpectedLanguage();
    const std::u16string user = Under(u"user");
    EXPECT_EQ(HostLibraryList(user, {Under(u"b.kvxmat"), Under(u"a.kvxmat")}),
              (std::vector<std::u16string>{
                  Under(u"lang/" + language + u"/kvxmaterials/korvex materials.kvxmat"),
                  Under(u"lang/" + language + u"/kvxmaterials/korvex din materials.kvxmat"),
                  Under(u"lang/" + language + u"/kvxmaterials/Sustainability Extras.kvxmat"),
                  Under(u"user/Sustainability Extras.kvxmat"),
                  Under(u"b.kvxmat"),
                  Under(u"a.kvxmat"),
              }));
    EXPECT_EQ(HostLibraryList(user, {}).size(), 4u);
}

TEST_F(PathsTest, InstalledDataFilesLieInTheDataFolderBesideTheMainModule) {
    EXPECT_EQ(DataFolder(kMainModule), Under(u"data"));
    EXPECT_EQ(InstalledProcessSettings(), Under(u"data/resources/kxterra/materials process.dat"));
    EXPECT_TRUE(platform::PathExists(InstalledProcessSettings()));
    EXPECT_EQ(DinMappingFile(), Under(u"data/resources/kxterra/DINMaterialsMapper.txt"));
}

TEST(DataFolderTest, FolderBesideTheModuleWinsWhenItIsADirectory) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.Path() / "a" / "b" / "k" / "data");
    EXPECT_EQ(DataFolderOf(dir.File("a/b/k")), Sep(dir.File("a/b/k/data")));
}

TEST(DataFolderTest, MissingDataFolderFallsBackTwoFoldersUp) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.Path() / "a" / "b" / "k");
    // Not a directory: a file named data does not count.
    dir.Write("a/b/k/data", "");
    EXPECT_EQ(DataFolderOf(dir.File("a/b/k")), Sep(dir.File("a/kvxapp/data")));
}

TEST(DataFolderTest, TooShortFolderKeepsTheDataPathBesideIt) {
    // One separator: the second cut finds none.
    EXPECT_EQ(DataFolderOf(Sep(u"/kxt-no-such-folder")), Sep(u"/kxt-no-such-folder/data"));
    EXPECT_EQ(DataFolderOf(u"kxt-no-such-folder"), Sep(u"kxt-no-such-folder/data"));
    EXPECT_EQ(DataFolderOf(u""), u"");
}

TEST(UserProcessSettingsTest, TrailingSeparatorIsAddedOnlyWhenMissing) {
    const std::u16string expected = Sep(u"/users/me/sustain/materials process.dat");
    EXPECT_EQ(UserProcessSettings(Sep(u"/users/me/sustain")), expected);
    EXPECT_EQ(UserProcessSettings(Sep(u"/users/me/sustain/")), expected);
    EXPECT_EQ(UserProcessSettings(u""), Sep(u"/materials process.dat"));
}

TEST(UserProcessSettingsTest, PathThatDoesNotFitTheBufferNamesNoFile) {
    const std::u16string file = Sep(u"/materials process.dat");
    const std::u16string longest(platform::kMaxPath - 1 - file.size(), u'p');
    EXPECT_EQ(UserProcessSettings(longest), longest + file);
    EXPECT_EQ(UserProcessSettings(longest + u"p"), u"");
}

TEST(LoaderPathsTest, PathsWithoutAFolderKeepTheirShape) {
    EXPECT_EQ(UserSustainExtras(u""), Sep(u"/Sustainability Extras.kvxmat"));
    EXPECT_EQ(ReportedLibrary(u"", kNativeLibraryFile), Sep(u"kvxmaterials/korvex materials.kvxmat"));
    EXPECT_EQ(LanguageName(Sep(u"lang/")), u"");
}

// Lookups that count how often they are asked.
int g_asked = 0;
const char16_t* g_text = nullptr;
const char16_t* LangDirText() { return g_text; }
LangDirFunction LookupFinds() {
    ++g_asked;
    return &LangDirText;
}
LangDirFunction LookupMisses() {
    ++g_asked;
    return nullptr;
}

TEST(LanguageMemoryTest, MissingExportRemembersEnglishForGood) {
    g_asked = 0;
    g_text = u"german";
    LanguageMemory memory;
    EXPECT_EQ(memory.Directory(&LookupMisses), Sep(u"lang/english"));
    // The module appearing later changes nothing.
    EXPECT_EQ(memory.Directory(&LookupFinds), Sep(u"lang/english"));
    EXPECT_EQ(g_asked, 1);
}

TEST(LanguageMemoryTest, NullLanguageIsNotRememberedAndAskedAgain) {
    g_asked = 0;
    g_text = nullptr;
    LanguageMemory memory;
    EXPECT_EQ(memory.Directory(&LookupFinds), Sep(u"lang/"));
    g_text = u"french";
    EXPECT_EQ(memory.Directory(&LookupFinds), Sep(u"lang/french"));
    g_text = u"german";
    EXPECT_EQ(memory.Directory(&LookupFinds), Sep(u"lang/french"));
    EXPECT_EQ(g_asked, 2);
}

class ResourceModuleTest : public PathsTest {};

TEST_F(ResourceModuleTest, SearchTakesTheLanguageFolderElseEnglish) {
    FoundModule found = SearchResourceModule(kOwnModule, kResourceModule);
    ASSERT_NE(found.handle, nullptr);
    const std::u16string language = ResourceLanguage();
    EXPECT_EQ(platform::ModuleFileName(found.handle),
              Under(u"lang/" + language + u"/" + platform::Utf8ToUtf16(test::ModuleFileOf("kxTerraMatResU"))));
    EXPECT_EQ(platform::LoadModuleString(found.handle, 101), MilledIn(language));

    // Already loaded: the same module comes back without a new load.
    const FoundModule again = SearchResourceModule(kOwnModule, kResourceModule);
    EXPECT_EQ(again.handle, found.handle);
    EXPECT_FALSE(again.loadedHere);
    if (found.loadedHere) platform::ReleaseModule(found.handle);
}

TEST_F(ResourceModuleTest, SearchFindsNothingWithoutTheFile) {
    EXPECT_EQ(SearchResourceModule(kOwnModule, u"kxNoSuchRes.dll").handle, nullptr);
    // Not loaded: the executable's folder holds no language folders.
    EXPECT_EQ(SearchResourceModule(u"kxNoSuchModule.dll", kResourceModule).handle, nullptr);
}

TEST_F(ResourceModuleTest, CurrentModuleIsSwitchedForAScopeOnly) {
    const FoundModule found = SearchResourceModule(kOwnModule, kResourceModule);
    ASSERT_NE(found.handle, nullptr);
    EXPECT_EQ(module::LoadResourceString(101), u"");
    {
        module::ScopedResourceModule scope(found.handle);
        EXPECT_EQ(module::LoadResourceString(101), MilledIn(ResourceLanguage()));
        EXPECT_EQ(module::LoadResourceString(100), u"");
        {
            module::ScopedResourceModule none(nullptr);
            EXPECT_EQ(module::LoadResourceString(101), u"");
        }
        EXPECT_EQ(module::CurrentResourceModule(), found.handle);
    }
    EXPECT_EQ(module::CurrentResourceModule(), nullptr);
    if (found.loadedHere) platform::ReleaseModule(found.handle);
}

TEST_F(ResourceModuleTest, RegisteredModuleStaysKnownUntilEveryRegistrationIsUndone) {
    const FoundModule found = SearchResourceModule(kOwnModule, kResourceModule);
    ASSERT_NE(found.handle, nullptr);
    const std::u16string cost = module::FindFrameworkString(32965);
    EXPECT_EQ(cost, u"");
    module::RegisterResourceModule(found.handle);
    module::RegisterResourceModule(found.handle);
    EXPECT_NE(module::FindFrameworkString(32965), u"");
    module::UnregisterResourceModule(found.handle);
    EXPECT_EQ(module::FindFrameworkString(101), MilledIn(ResourceLanguage()));
    module::UnregisterResourceModule(found.handle);
    EXPECT_EQ(module::FindFrameworkString(32965), u"");
    module::UnregisterResourceModule(found.handle);  // one too many: harmless
    if (found.loadedHere) platform::ReleaseModule(found.handle);
}

}  // namespace
}  // namespace kxt::paths
