// UpdateMaterials: which entries become databases, what the standard, DIN,
// extras and custom databases are read from, and reloads with either flag.
// Runs in English and, as a second ctest entry, in French.
#include <kxtmat/kxtmat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "manager_loading_fixture.h"
#include "paths/data_paths.h"
#include "platform/files.h"
#include "platform/text.h"

namespace {

using namespace kxt::test;
namespace paths = kxt::paths;
using Names = std::vector<std::u16string>;

Names ProcessNames(const kxtMaterialBase& material) {
    Names names;
    for (const kxtManufacturingProcess& process : material.GetManufacturingTypes()) names.push_back(process.GetNativeName());
    return names;
}

class ManagerLoadingTest : public ::testing::Test {
protected:
    void SetUp() override { UseRegistry({}); }

    kxtMaterialDB& Native() { return *manager_.GetKxNativeDB(); }
    kxtMaterialDB& Din() { return *manager_.GetKxNativeDinDB(); }
    kxtMaterialDB& Extras() { return *manager_.GetKxSustainExtrasDB(); }
    // The one custom database, which must be the extras copy.
    const kxtMaterialDB& ExtrasCopy() {
        EXPECT_EQ(manager_.GetCustomDBs().size(), 1u);
        EXPECT_EQ(manager_.GetCustomDBs().at(0).GetDBType(), eKxtSustainExtrasDB);
        return manager_.GetCustomDBs().at(0);
    }

    kxtMaterialDBsManager manager_;
};

TEST_F(ManagerLoadingTest, InstalledLibrariesAndSettingsAreReadAndListedLanguageCopiesTranslateThem) {
    Load(manager_, NewUserFolder(false), {});
    EXPECT_TRUE(manager_.GetDatabaseCount() == 2 && manager_.GetDB(1) == &Din() && manager_.GetDB(2) == nullptr);
    EXPECT_EQ((std::vector<int>{Native().GetDBType(), Din().GetDBType(), Extras().GetDBType()}),
              (std::vector<int>{eKxtNativeDB, eKxtNativeDinDB, eKxtSustainExtrasDB}));
    EXPECT_EQ(Native().GetPath() + Din().GetPath(), paths::InstalledNativeLibrary() + paths::InstalledDinLibrary());
    EXPECT_EQ(ClassNamesOf(Native()), (Names{u"Steel", u"Plastics"}));
    EXPECT_EQ(MaterialAt(Native(), 0, 0)->GetLangName(), u"Carbon Steel") << "no language copy listed";
    EXPECT_EQ(Extras().GetGroupCount(), 0u);
    // Without user process settings the installed ones apply; DIN materials take their partners' data.
    std::vector<double> params;
    MaterialAt(Native(), 0, 0)->GetManufacturingEnergyParams(params, u"milled_part");
    EXPECT_EQ(params, (std::vector<double>{2.5}));
    const kxtMaterialBase* mapped = MaterialAt(Din(), 0, 0);
    EXPECT_EQ(mapped->GetGabiName() + u"|" + mapped->GetNativeClassName(), u"Carbon Steel|Steel");
    EXPECT_EQ(ProcessNames(*mapped), (Names{u"Milled"}));
    EXPECT_EQ((std::vector<double>{mapped->GetRecycledContentMax(), mapped->GetRecycledContentMin(), mapped->GetRecycledContentAmount(),
                                   double(mapped->GetEnvData())}),
              (std::vector<double>{80.0, 10.0, 25.0, 1.0}));
    EXPECT_EQ(MaterialAt(Din(), 0, 1)->GetGabiName(), u"Stainless Steel");
    EXPECT_TRUE(MaterialAt(Din(), 0, 1)->GetManufacturingTypes().empty());
    Load(manager_, NewUserFolder(false, true), {});  // the user's process settings win
    EXPECT_EQ(ProcessNames(*MaterialAt(Native(), 0, 0)), (Names{u"Forged"}));
    EXPECT_EQ(std::pair(MaterialAt(Native(), 0, 0)->GetEnvData(), MaterialAt(Native(), 1, 0)->GetEnvData()), std::pair(1, 0));

    Load(manager_, NewUserFolder(false),
         {LangFolderLibrary(paths::kNativeLibraryFile), Upper(LangFolderLibrary(paths::kDinLibraryFile))});
    EXPECT_EQ(manager_.GetDatabaseCount(), 2) << "standard entries build no custom database";
    EXPECT_EQ(MaterialAt(Native(), 0, 1)->GetLangName(), English() ? u"Stainless Steel" : u"Acier inoxydable");
    EXPECT_EQ(MaterialAt(Native(), 1, 0)->GetLangClassName(), English() ? u"Plastics" : u"Plastiques");
    EXPECT_EQ(MaterialAt(Din(), 0, 0)->GetLangName(), English() ? u"1.0038" : u"1.0038 S235");
    EXPECT_EQ(MaterialAt(Native(), 0, 1)->GetName(), u"Stainless Steel");
}

// Only the four standard paths and the test library are not custom; every
// other entry is one database, in list order, with its path as spelled.
TEST_F(ManagerLoadingTest, EachCustomEntryBuildsOneDatabaseInListOrder) {
    const CustomLibraries custom = NewCustomLibraries();
    const std::u16string folder = FolderOf(custom.myMaterials);
    const std::u16string testLibrary = WriteFile(folder, "ZRQ Test Materials.kvxmat", LibraryXml({{"Test", {}}}));
    const std::u16string strayStandard = WriteFile(folder, "korvex materials.kvxmat", LibraryXml({{"Stray", {}}}));
    const std::u16string otherUpper = folder + kxt::platform::kPathSeparator + u"OTHER MATERIALS.KVXMAT";
    const Names files{paths::ReportedLibrary(paths::DefaultNativePath(), paths::kDinLibraryFile), testLibrary, strayStandard,
                      custom.otherMaterials, custom.myMaterials, otherUpper};
    for (int flag : {0, 1}) {
        Load(manager_, NewUserFolder(false), files, flag);
        Names seen;  // path, first class and, unless custom, the type
        for (const kxtMaterialDB& db : manager_.GetCustomDBs())
            seen.push_back(db.GetPath() + u" " + ClassNamesOf(db).at(0) + (db.GetDBType() == eKxtCustomDB ? u"" : u" not custom"));
        EXPECT_EQ(seen, (Names{strayStandard + u" Stray", custom.otherMaterials + u" Misc", custom.myMaterials + u" Brackets",
                               otherUpper + u" Misc"})) << flag;
        ExpectPointersIntoLiveStorage(manager_);
    }
}

TEST_F(ManagerLoadingTest, OneListedExtrasCopyIsDroppedFromTheCallersList) {
    const std::u16string user = NewUserFolder(), userCopy = paths::UserSustainExtras(user);
    const std::u16string dropped = English() ? paths::LanguageMaterialsSustainExtras() : userCopy,
                         kept = English() ? userCopy : paths::LanguageMaterialsSustainExtras();
    std::vector<std::u16string> files = paths::HostLibraryList(user, {Upper(dropped)});  // only the first equal entry goes
    manager_.InitResourcesData(), manager_.SetProgDataSustainabilityPath(user), manager_.UpdateMaterials(files, 0);
    EXPECT_EQ(files, (Names{LangFolderLibrary(paths::kNativeLibraryFile), LangFolderLibrary(paths::kDinLibraryFile), kept, Upper(dropped)}));
    ASSERT_EQ(manager_.GetCustomDBs().size(), 2u);
    for (const kxtMaterialDB& db : manager_.GetCustomDBs()) EXPECT_EQ(db.GetDBType(), eKxtSustainExtrasDB);
}

// In English the listed file is read under its lower-cased path; in other
// languages the installed (Recycled, Bio) and user (Recycled, Reclaimed) copies
// join, less the classes the language copy lists (Recyclé, Bio).
TEST_F(ManagerLoadingTest, TheListedExtrasFileBecomesTheOneExtrasCopy) {
    const std::u16string user = NewUserFolder();
    Load(manager_, user, paths::HostLibraryList(user, {}));
    const kxtMaterialDB& copy = ExtrasCopy();
    EXPECT_EQ(ClassNamesOf(copy), (English() ? Names{u"Recycled", u"Reclaimed"} : Names{u"Recycled", u"Recycled", u"Reclaimed"}));
    EXPECT_EQ(copy.GetPath(), English() ? kxt::platform::ToLower(paths::UserSustainExtras(user)) : paths::UserSustainExtras(user));
    EXPECT_EQ(MaterialAt(copy, 0, 0)->GetName(), u"Recycled Steel");
    if (!English()) {
        EXPECT_EQ(MaterialAt(copy, 0, 0)->GetLangName(), u"Acier recyclé");
        return;
    }
    EXPECT_EQ(Extras().GetPath(), copy.GetPath());
    EXPECT_NE(copy.GetMaterialClass(0), Extras().GetMaterialClass(0)) << "a copy with its own objects";
    EXPECT_EQ(ProcessNames(*MaterialAt(copy, 0, 0)), (Names{u"Turned"}));
    EXPECT_EQ(MaterialAt(copy, 0, 0)->GetGabiName(), u"Recycled Steel");
    ExpectPointersIntoLiveStorage(manager_);

    // Any file in a folder of that name counts as the extras library.
    const std::u16string folder = NewUserFolder(false) + kxt::platform::kPathSeparator + u"SUSTAINABILITY extras";
    std::filesystem::create_directories(kxt::platform::Utf16ToUtf8(folder));
    Load(manager_, user, {WriteFile(folder, "odd name.kvxmat", LibraryXml({{"Odd", {{"Odd One"}}}}))});
    EXPECT_EQ(ClassNamesOf(ExtrasCopy()), (Names{u"Odd"}));
}

TEST_F(ManagerLoadingTest, CustomMaterialsLinkToStandardAndExtrasDataWhichLaterLoadsKeep) {
    const CustomLibraries custom = NewCustomLibraries();
    const std::u16string user = NewUserFolder();
    Load(manager_, user, paths::HostLibraryList(user, {custom.myMaterials}));
    const kxtMaterialDB& mine = manager_.GetCustomDBs().back();
    EXPECT_EQ(MaterialAt(mine, 0, 0)->GetSageLink(), MaterialAt(Native(), 0, 0));
    const kxtMaterialBase* greener = MaterialAt(mine, 0, 1)->GetSageLink();
    ASSERT_NE(greener, nullptr);
    EXPECT_EQ(greener->GetName(), u"Recycled Steel");
    EXPECT_TRUE(greener->GetGrOwner()->GetDbOwner() == &Extras() && MaterialAt(mine, 0, 2)->GetSageLink() == nullptr);

    Load(manager_, user, {custom.myMaterials});  // without an extras entry the last extras read stay
    const kxtMaterialBase* relinked = MaterialAt(manager_.GetCustomDBs()[0], 0, 1)->GetSageLink();
    EXPECT_TRUE(relinked != nullptr && relinked->GetGrOwner()->GetDbOwner() == &Extras());
    ExpectPointersIntoLiveStorage(manager_);
}

// One read of a file serves every pass over it: a library listed before and
// after the extras entry links into the extras read last either way, and two
// files whose names differ only in case stay two files.
TEST_F(ManagerLoadingTest, EachEntryReadsWhatItsOwnReadWouldHoweverOftenItIsListed) {
    const CustomLibraries custom = NewCustomLibraries();
    const std::u16string user = NewUserFolder();
    Load(manager_, user, {custom.myMaterials, paths::LanguageMaterialsSustainExtras(), paths::UserSustainExtras(user), custom.myMaterials});
    ASSERT_EQ(manager_.GetCustomDBs().size(), 3u);
    for (std::size_t k : {0u, 2u}) {
        const kxtMaterialBase* greener = MaterialAt(manager_.GetCustomDBs()[k], 0, 1)->GetSageLink();
        EXPECT_TRUE(greener != nullptr && greener->GetGrOwner()->GetDbOwner() == &Extras()) << k;
    }

    const std::u16string folder = FolderOf(custom.myMaterials);
    const std::u16string upper = WriteFile(folder, "MY MATERIALS.KVXMAT", LibraryXml({{"Upper", {{"Loud"}}}}));
    Load(manager_, user, {custom.myMaterials, upper, custom.myMaterials}, 1);
    Names classes;
    for (const kxtMaterialDB& db : manager_.GetCustomDBs()) classes.push_back(ClassNamesOf(db).at(0));
    // A file system that ignores case (Windows) holds one file under both names: the one written last.
    const bool oneFile = kxt::platform::ReadWholeFile(custom.myMaterials) == kxt::platform::ReadWholeFile(upper);
    EXPECT_EQ(classes, (oneFile ? Names{u"Upper", u"Upper", u"Upper"} : Names{u"Brackets", u"Upper", u"Brackets"}));
}

// A flag other than zero keeps the standard materials and rebuilds the rest;
// no reload leaves a pointer into freed storage.
TEST_F(ManagerLoadingTest, ReloadsWithEitherFlagLeaveNoPointerIntoFreedStorage) {
    const CustomLibraries custom = NewCustomLibraries();
    const std::u16string user = NewUserFolder();
    UseRegistry({{2025, FavouriteLines({"korvex materials|Carbon Steel", "korvex din materials|1.4301", "my materials|Bracket", "x|Widget"})}});
    const std::vector<std::u16string> files = paths::HostLibraryList(user, {custom.myMaterials, custom.otherMaterials});
    for (int flag : {0, 1, 1, 0}) {
        const kxtMaterialBase *nylon = MaterialAt(Native(), 1, 0), *dinMaterial = MaterialAt(Din(), 0, 0);
        Load(manager_, user, flag == 0 ? files : Names{custom.otherMaterials, custom.myMaterials}, flag);
        ExpectPointersIntoLiveStorage(manager_);
        if (flag != 0) {
            EXPECT_TRUE(MaterialAt(Native(), 1, 0) == nylon && MaterialAt(Din(), 0, 0) == dinMaterial);
            EXPECT_EQ(dinMaterial->GetGabiName(), u"Carbon Steel");
            EXPECT_EQ(manager_.GetDB(2)->GetPath(), custom.otherMaterials);
        }
        EXPECT_EQ(NamesOf(manager_.GetFavoritesMaterials()), (Names{u"Carbon Steel", u"1.4301", u"Bracket", u"Widget"}));
    }

    // A copy shares the source's lists: they point at the source's databases.
    kxtMaterialDBsManager copy(manager_);
    EXPECT_TRUE(copy.GetDB(0) == manager_.GetKxNativeDB() && copy.GetDB(2) == &manager_.GetCustomDBs()[0]);
    EXPECT_EQ(copy.GetFavoritesMaterials(), manager_.GetFavoritesMaterials());
    EXPECT_NE(copy.GetKxNativeDB(), manager_.GetKxNativeDB());
}

}  // namespace
