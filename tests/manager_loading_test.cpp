// UpdateMaterials: which entries become databases, what the standard, DIN,
// extras and custom databases are read from, and reloads with either flag.
// Runs in English and, as a second ctest entry, in French.
#include <kxtmat/kxtmat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "manager_loading_fixture.h"
#include "paths/data_paths.h"
#include "platform/files.h"
#include "platform/text.h"

namespace {

using namespace kxt::test;
namespace paths = kxt::paths;

using Names = std::vector<std::u16string>;

std::vector<std::u16string> ProcessNames(const kxtMaterialBase& material) {
    std::vector<std::u16string> names;
    for (const kxtManufacturingProcess& process : material.GetManufacturingTypes())
        names.push_back(process.GetNativeName());
    return names;
}

class ManagerLoadingTest : public ::testing::Test {
protected:
    void SetUp() override {
        Installation();
        UseNoRegistry();
    }

    kxtMaterialDB& Native() { return *manager_.GetKxNativeDB(); }
    kxtMaterialDB& Din() { return *manager_.GetKxNativeDinDB(); }
    kxtMaterialDB& Extras() { return *manager_.GetKxSustainExtrasDB(); }

    kxtMaterialDBsManager manager_;
};

TEST_F(ManagerLoadingTest, EmptyListReadsOnlyTheInstalledEnglishLibraries) {
    Load(manager_, NewUserFolder(false), {});

    EXPECT_EQ(manager_.GetDatabaseCount(), 2);
    EXPECT_EQ(manager_.GetDB(0), &Native());
    EXPECT_EQ(manager_.GetDB(1), &Din());
    EXPECT_EQ(manager_.GetDB(2), nullptr);
    EXPECT_EQ(Native().GetDBType(), eKxtNativeDB);
    EXPECT_EQ(Din().GetDBType(), eKxtNativeDinDB);
    EXPECT_EQ(Extras().GetDBType(), eKxtSustainExtrasDB);
    EXPECT_EQ(Native().GetPath(), paths::InstalledNativeLibrary());
    EXPECT_EQ(Din().GetPath(), paths::InstalledDinLibrary());
    EXPECT_EQ(ClassNamesOf(Native()), (Names{u"Steel", u"Plastics"}));
    EXPECT_EQ(ClassNamesOf(Din()), (Names{u"Steel"}));
    // No language copy listed: the names stay English in every language.
    EXPECT_EQ(MaterialAt(Native(), 0, 0)->GetLangName(), u"Carbon Steel");
    EXPECT_EQ(Extras().GetGroupCount(), 0u);
}

TEST_F(ManagerLoadingTest, ListedLanguageCopiesTranslateTheStandardAndDinNames) {
    Load(manager_, NewUserFolder(false),
         {LangFolderLibrary(paths::kNativeLibraryFile), Upper(LangFolderLibrary(paths::kDinLibraryFile))});

    EXPECT_EQ(manager_.GetDatabaseCount(), 2) << "standard entries build no custom database";
    EXPECT_EQ(MaterialAt(Native(), 0, 1)->GetLangName(), English() ? u"Stainless Steel" : u"Acier inoxydable");
    EXPECT_EQ(MaterialAt(Native(), 1, 0)->GetLangClassName(), English() ? u"Plastics" : u"Plastiques");
    EXPECT_EQ(MaterialAt(Din(), 0, 0)->GetLangName(), English() ? u"1.0038" : u"1.0038 S235");
    EXPECT_EQ(MaterialAt(Native(), 0, 1)->GetName(), u"Stainless Steel");
}

TEST_F(ManagerLoadingTest, OnlyTheFourStandardPathsAndTheTestLibraryAreNotCustom) {
    const CustomLibraries custom = NewCustomLibraries();
    const std::u16string folder = FolderOf(custom.myMaterials);
    const std::u16string testLibrary = WriteFile(folder, "ZRQ Test Materials.kvxmat", LibraryXml({{"Test", {}}}));
    // The standard file name in another folder is a custom library like any other.
    const std::u16string strayStandard = WriteFile(folder, "korvex materials.kvxmat", LibraryXml({{"Stray", {}}}));

    for (int flag : {0, 1}) {
        Load(manager_, NewUserFolder(false),
             {NativeFolderLibrary(paths::kDinLibraryFile), testLibrary, strayStandard, custom.myMaterials}, flag);
        ASSERT_EQ(manager_.GetDatabaseCount(), 4) << "flag " << flag;
        EXPECT_EQ(manager_.GetDB(2)->GetPath(), strayStandard);
        EXPECT_EQ(manager_.GetDB(2)->GetDBType(), eKxtCustomDB);
        EXPECT_EQ(ClassNamesOf(*manager_.GetDB(2)), (Names{u"Stray"}));
        EXPECT_EQ(manager_.GetDB(3)->GetPath(), custom.myMaterials);
    }
}

TEST_F(ManagerLoadingTest, EachCustomEntryBuildsOneDatabaseInListOrderWithItsPathAsSpelled) {
    const CustomLibraries custom = NewCustomLibraries();
    const std::u16string otherUpper = FolderOf(custom.otherMaterials) + kxt::platform::kPathSeparator +
                                      u"OTHER MATERIALS.KVXMAT";
    Load(manager_, NewUserFolder(false), {custom.otherMaterials, custom.myMaterials, otherUpper});

    std::vector<kxtMaterialDB>& dbs = manager_.GetCustomDBs();
    ASSERT_EQ(dbs.size(), 3u);
    EXPECT_EQ(dbs[0].GetPath(), custom.otherMaterials);
    EXPECT_EQ(dbs[1].GetPath(), custom.myMaterials);
    EXPECT_EQ(dbs[2].GetPath(), otherUpper);
    EXPECT_EQ(ClassNamesOf(dbs[0]), (Names{u"Misc"}));
    EXPECT_EQ(ClassNamesOf(dbs[1]), (Names{u"Brackets"}));
    EXPECT_EQ(ClassNamesOf(dbs[2]), (Names{u"Misc"}));
    for (const kxtMaterialDB& db : dbs) EXPECT_EQ(db.GetDBType(), eKxtCustomDB);
    ExpectPointersIntoLiveStorage(manager_);
}

TEST_F(ManagerLoadingTest, DinMaterialsTakeTheEnvironmentalDataOfTheirMappedPartners) {
    Load(manager_, NewUserFolder(false), {});

    const kxtMaterialBase* mapped = MaterialAt(Din(), 0, 0);
    ASSERT_NE(mapped, nullptr);
    EXPECT_EQ(mapped->GetName(), u"1.0038");
    EXPECT_EQ(mapped->GetGabiName(), u"Carbon Steel");
    EXPECT_EQ(mapped->GetNativeClassName(), u"Steel");
    EXPECT_EQ(ProcessNames(*mapped), (Names{u"Milled"}));
    EXPECT_EQ(mapped->GetRecycledContentMax(), 80.0);
    EXPECT_EQ(mapped->GetRecycledContentMin(), 10.0);
    EXPECT_EQ(mapped->GetRecycledContentAmount(), 25.0);
    EXPECT_EQ(mapped->GetEnvData(), 1);

    const kxtMaterialBase* withoutProcesses = MaterialAt(Din(), 0, 1);
    EXPECT_EQ(withoutProcesses->GetGabiName(), u"Stainless Steel");
    EXPECT_TRUE(withoutProcesses->GetManufacturingTypes().empty());
}

TEST_F(ManagerLoadingTest, UserProcessSettingsWinAndInstalledOnesApplyOnlyWithoutThem) {
    Load(manager_, NewUserFolder(false, true), {});
    EXPECT_EQ(ProcessNames(*MaterialAt(Native(), 0, 0)), (Names{u"Forged"}));
    EXPECT_EQ(MaterialAt(Native(), 0, 0)->GetEnvData(), 1);
    EXPECT_EQ(MaterialAt(Native(), 1, 0)->GetEnvData(), 0);

    Load(manager_, NewUserFolder(false, false), {});
    EXPECT_EQ(ProcessNames(*MaterialAt(Native(), 0, 0)), (Names{u"Milled"}));
    std::vector<double> params;
    MaterialAt(Native(), 0, 0)->GetManufacturingEnergyParams(params, u"milled_part");
    EXPECT_EQ(params, (std::vector<double>{2.5}));
}

TEST_F(ManagerLoadingTest, FlagOtherThanZeroKeepsTheStandardMaterialsAndRebuildsTheRest) {
    const CustomLibraries custom = NewCustomLibraries();
    const std::u16string user = NewUserFolder(false);
    UseRegistry({{2025, FavouriteLines({"korvex materials|Nylon", "any library|Plain"})}});
    Load(manager_, user, {custom.myMaterials});
    const kxtMaterialBase* nylon = MaterialAt(Native(), 1, 0);
    const kxtMaterialBase* dinMaterial = MaterialAt(Din(), 0, 0);
    ASSERT_EQ(manager_.GetFavoritesMaterials().size(), 2u);

    Load(manager_, user, {custom.otherMaterials, custom.myMaterials, LangFolderLibrary(paths::kNativeLibraryFile)}, 1);

    EXPECT_EQ(MaterialAt(Native(), 1, 0), nylon);
    EXPECT_EQ(MaterialAt(Din(), 0, 0), dinMaterial);
    EXPECT_EQ(dinMaterial->GetGabiName(), u"Carbon Steel");
    ASSERT_EQ(manager_.GetDatabaseCount(), 4);
    EXPECT_EQ(manager_.GetDB(2)->GetPath(), custom.otherMaterials);
    // The favourites point into the rebuilt custom databases.
    EXPECT_EQ(manager_.GetFavoritesMaterials(),
              (std::vector<kxtMaterialBase*>{MaterialAt(Native(), 1, 0), MaterialAt(manager_.GetCustomDBs()[1], 0, 2)}));
    ExpectPointersIntoLiveStorage(manager_);
}

TEST_F(ManagerLoadingTest, OneListedExtrasCopyIsDroppedFromTheCallersList) {
    const std::u16string user = NewUserFolder();
    const std::u16string userCopy = paths::UserSustainExtras(user);
    const std::u16string dropped = English() ? LanguageFolderExtras() : userCopy;
    const std::u16string kept = English() ? userCopy : LanguageFolderExtras();
    std::vector<std::u16string> files = HostList(user, {});
    files.push_back(Upper(dropped));  // only the first equal entry goes
    Installation();
    manager_.InitResourcesData();
    manager_.SetProgDataSustainabilityPath(user);
    manager_.UpdateMaterials(files, 0);

    EXPECT_EQ(files, (Names{LangFolderLibrary(paths::kNativeLibraryFile), LangFolderLibrary(paths::kDinLibraryFile),
                            kept, Upper(dropped)}));
    ASSERT_EQ(manager_.GetCustomDBs().size(), 2u);
    for (const kxtMaterialDB& db : manager_.GetCustomDBs()) EXPECT_EQ(db.GetDBType(), eKxtSustainExtrasDB);
}

TEST_F(ManagerLoadingTest, InEnglishTheListedExtrasFileIsReadUnderItsLowerCasedPath) {
    if (!English()) GTEST_SKIP() << "English setting only";
    const std::u16string user = NewUserFolder();
    Load(manager_, user, HostList(user, {}));

    ASSERT_EQ(manager_.GetCustomDBs().size(), 1u);
    const kxtMaterialDB& copy = manager_.GetCustomDBs()[0];
    EXPECT_EQ(copy.GetDBType(), eKxtSustainExtrasDB);
    EXPECT_EQ(ClassNamesOf(copy), (Names{u"Recycled", u"Reclaimed"}));
    EXPECT_EQ(copy.GetPath(), kxt::platform::ToLower(paths::UserSustainExtras(user)));
    EXPECT_EQ(Extras().GetPath(), copy.GetPath());
    // A copy: its own objects, owned by itself.
    EXPECT_NE(copy.GetMaterialClass(0), Extras().GetMaterialClass(0));
    EXPECT_EQ(ProcessNames(*MaterialAt(copy, 0, 0)), (Names{u"Turned"}));
    EXPECT_EQ(MaterialAt(copy, 0, 0)->GetGabiName(), u"Recycled Steel");
    ExpectPointersIntoLiveStorage(manager_);

    // Any file in a folder of that name counts as the extras library.
    const std::u16string folder = NewUserFolder(false) + kxt::platform::kPathSeparator + u"SUSTAINABILITY extras";
    std::filesystem::create_directories(kxt::platform::Utf16ToUtf8(folder));
    const std::u16string odd = WriteFile(folder, "odd name.kvxmat", LibraryXml({{"Odd", {{"Odd One", "", "", ""}}}}));
    Load(manager_, user, {odd});
    ASSERT_EQ(manager_.GetCustomDBs().size(), 1u);
    EXPECT_EQ(manager_.GetCustomDBs()[0].GetDBType(), eKxtSustainExtrasDB);
    EXPECT_EQ(ClassNamesOf(manager_.GetCustomDBs()[0]), (Names{u"Odd"}));
}

TEST_F(ManagerLoadingTest, InOtherLanguagesExtrasJoinTheInstalledAndUserCopiesLessTheListedClasses) {
    if (English()) GTEST_SKIP() << "setting other than English only";
    const std::u16string user = NewUserFolder();
    Load(manager_, user, HostList(user, {}));

    ASSERT_EQ(manager_.GetCustomDBs().size(), 1u);
    const kxtMaterialDB& copy = manager_.GetCustomDBs()[0];
    EXPECT_EQ(copy.GetDBType(), eKxtSustainExtrasDB);
    // Installed Recycled, Bio; the user's Recycled, Reclaimed; the language copy lists Recyclé and Bio.
    EXPECT_EQ(ClassNamesOf(copy), (Names{u"Recycled", u"Recycled", u"Reclaimed"}));
    EXPECT_EQ(copy.GetPath(), paths::UserSustainExtras(user));
    EXPECT_EQ(MaterialAt(copy, 0, 0)->GetLangName(), u"Acier recyclé");
    EXPECT_EQ(MaterialAt(copy, 0, 0)->GetName(), u"Recycled Steel");
}

TEST_F(ManagerLoadingTest, CustomMaterialsLinkToStandardAndExtrasDataWhichLaterLoadsKeep) {
    const CustomLibraries custom = NewCustomLibraries();
    const std::u16string user = NewUserFolder();
    Load(manager_, user, HostList(user, {custom.myMaterials}));

    const kxtMaterialDB& mine = manager_.GetCustomDBs().back();
    ASSERT_EQ(mine.GetPath(), custom.myMaterials);
    EXPECT_EQ(MaterialAt(mine, 0, 0)->GetSageLink(), MaterialAt(Native(), 0, 0));
    const kxtMaterialBase* greener = MaterialAt(mine, 0, 1)->GetSageLink();
    ASSERT_NE(greener, nullptr);
    EXPECT_EQ(greener->GetName(), u"Recycled Steel");
    EXPECT_EQ(greener->GetGrOwner()->GetDbOwner(), &Extras());
    EXPECT_EQ(MaterialAt(mine, 0, 2)->GetSageLink(), nullptr);

    // Without an extras entry the extras database keeps what the last load read.
    Load(manager_, user, {custom.myMaterials});
    const kxtMaterialBase* relinked = MaterialAt(manager_.GetCustomDBs()[0], 0, 1)->GetSageLink();
    ASSERT_NE(relinked, nullptr);
    EXPECT_EQ(relinked->GetGrOwner()->GetDbOwner(), &Extras());
    ExpectPointersIntoLiveStorage(manager_);
}

TEST_F(ManagerLoadingTest, ReloadsInAnyOrderLeaveNoPointerIntoFreedStorage) {
    const CustomLibraries custom = NewCustomLibraries();
    const std::u16string user = NewUserFolder();
    UseRegistry({{2025, FavouriteLines({"korvex materials|Carbon Steel", "korvex din materials|1.4301",
                                        "my materials|Bracket", "x|Widget"})}});
    const std::vector<std::u16string> files = HostList(user, {custom.myMaterials, custom.otherMaterials});
    for (int flag : {0, 0, 1, 1, 0}) {
        Load(manager_, user, files, flag);
        ExpectPointersIntoLiveStorage(manager_);
        EXPECT_EQ(NamesOf(manager_.GetFavoritesMaterials()), (Names{u"Carbon Steel", u"1.4301", u"Bracket", u"Widget"}));
    }

    // A copy shares the source's lists: they point at the source's databases.
    kxtMaterialDBsManager copy(manager_);
    EXPECT_EQ(copy.GetDB(0), manager_.GetKxNativeDB());
    EXPECT_EQ(copy.GetDB(2), &manager_.GetCustomDBs()[0]);
    EXPECT_EQ(copy.GetFavoritesMaterials(), manager_.GetFavoritesMaterials());
    EXPECT_NE(copy.GetKxNativeDB(), manager_.GetKxNativeDB());
}

}  // namespace
