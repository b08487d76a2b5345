// Custom libraries removed, modified and added between full loads, and the
// pointers (database list, favourites, links) that must survive them.
#include <kxtmat/kxtmat.h>

#include <gtest/gtest.h>

#include "manager_loading_fixture.h"
#include "paths/data_paths.h"
#include "platform/text.h"

namespace {

using namespace kxt::test;
using Names = std::vector<std::u16string>;

class ManagerCustomChangesTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseRegistry({{2025, FavouriteLines({"x|Bracket", "x|Widget", "x|Gadget", "korvex materials|Nylon"})}});
        libraries_ = NewCustomLibraries();
        third_ = WriteFile(FolderOf(libraries_.myMaterials), "Third Materials.kvxmat", LibraryXml({{"Gadgets", {{"Gadget"}}}}));
        user_ = NewUserFolder();
    }

    std::vector<kxtMaterialDB>& Custom() { return manager_.GetCustomDBs(); }
    // The custom databases' paths, once every pointer the manager hands out was checked.
    Names Paths() {
        ExpectPointersIntoLiveStorage(manager_);
        Names paths;
        for (const kxtMaterialDB& db : Custom()) paths.push_back(db.GetPath());
        return paths;
    }

    kxtMaterialDBsManager manager_;
    CustomLibraries libraries_;
    std::u16string third_, user_;
};

TEST_F(ManagerCustomChangesTest, RemovingTheMiddleDatabaseKeepsTheOthersAndTheirMaterialsInPlace) {
    Load(manager_, user_, {libraries_.myMaterials, libraries_.otherMaterials, third_});
    const kxtMaterialBase* gadget = MaterialAt(Custom()[2], 0, 0);
    manager_.OnCustomDBsRemoved({Upper(libraries_.otherMaterials), u"no such library.kvxmat"});
    EXPECT_EQ(Paths(), (Names{libraries_.myMaterials, third_}));
    EXPECT_EQ(MaterialAt(Custom()[1], 0, 0), gadget) << "a moved database keeps its material objects";
    EXPECT_EQ(NamesOf(manager_.GetFavoritesMaterials()), (Names{u"Bracket", u"Gadget", u"Nylon"}));
    EXPECT_EQ(manager_.GetFavoritesMaterials()[1], gadget);
}

TEST_F(ManagerCustomChangesTest, OfTwoDatabasesWithOnePathOnlyTheFirstIsRefreshedOrRemovedAndAnUnknownPathAddsOne) {
    Load(manager_, user_, {libraries_.myMaterials, libraries_.otherMaterials, libraries_.myMaterials});
    WriteFile(FolderOf(libraries_.myMaterials), "My Materials.kvxmat", LibraryXml({{"Rewritten", {{"Bracket"}}}}));
    manager_.OnCustomDBsModified({libraries_.myMaterials});
    EXPECT_EQ(Paths().size(), 3u);
    EXPECT_EQ(ClassNamesOf(Custom()[0]), (Names{u"Rewritten"}));
    EXPECT_EQ(ClassNamesOf(Custom()[2]), (Names{u"Brackets"}));

    manager_.OnCustomDBsRemoved({libraries_.myMaterials});
    EXPECT_EQ(Paths(), (Names{libraries_.otherMaterials, libraries_.myMaterials}));
    EXPECT_EQ(ClassNamesOf(Custom()[1]), (Names{u"Brackets"}));

    // An unknown path adds one custom database, even when given twice.
    const std::u16string spelled = FolderOf(third_) + kxt::platform::kPathSeparator + u"THIRD Materials.kvxmat";
    manager_.OnCustomDBsModified({spelled, third_});
    EXPECT_EQ(Paths(), (Names{libraries_.otherMaterials, libraries_.myMaterials, spelled}));
    EXPECT_EQ(Custom().back().GetDBType(), eKxtCustomDB);
    EXPECT_EQ(ClassNamesOf(Custom().back()), (Names{u"Gadgets"}));
}

TEST_F(ManagerCustomChangesTest, AModifiedLibraryIsReReadAndLinkedToTheStandardDatabasesOnly) {
    Load(manager_, user_, kxt::paths::HostLibraryList(user_, {libraries_.myMaterials}));
    kxtMaterialDB& mine = Custom().back();
    ASSERT_NE(MaterialAt(mine, 0, 1)->GetSageLink(), nullptr) << "a full load links to the extras";
    manager_.OnCustomDBsModified({libraries_.myMaterials});
    EXPECT_EQ(Paths().back(), libraries_.myMaterials);
    EXPECT_EQ(mine.GetDBType(), eKxtCustomDB);
    EXPECT_EQ(MaterialAt(mine, 0, 0)->GetSageLink(), MaterialAt(*manager_.GetKxNativeDB(), 0, 0));
    EXPECT_EQ(MaterialAt(mine, 0, 1)->GetSageLink(), nullptr);
    EXPECT_EQ(NamesOf(manager_.GetFavoritesMaterials()), (Names{u"Nylon"})) << "favourites into the re-read library go";
}

// The links into the refilled extras database follow the rule that made
// them: the first material whose name or language name matches, without
// regard to case.
TEST_F(ManagerCustomChangesTest, RefreshingTheExtrasCopyRelinksOtherLibrariesByTheReadingRule) {
    Load(manager_, user_, kxt::paths::HostLibraryList(user_, {libraries_.myMaterials}));
    const std::u16string extrasPath = Custom()[0].GetPath();
    const kxtMaterialDB& extras = *manager_.GetKxSustainExtrasDB();
    for (const bool keepsRecycled : {true, false}) {
        std::vector<LibClass> classes{{"New", {{"Fresh Brick"}}}};
        if (keepsRecycled) classes.push_back({"Recycled", {{"recycled steel"}}});
        WriteFile(user_, "Sustainability Extras.kvxmat", LibraryXml(classes));
        manager_.OnCustomDBsModified({extrasPath});
        EXPECT_EQ(Paths().front(), extrasPath);
        EXPECT_EQ(Custom()[0].GetDBType(), eKxtSustainExtrasDB);
        EXPECT_EQ(ClassNamesOf(Custom()[0]), ClassNamesOf(extras));
        const auto names = [](auto... keys) { return (kxt::platform::EqualsNoCase(keys, u"Recycled Steel") || ...); };
        const kxtMaterialBase* byName = kxt::FirstMaterial(extras, [&](const kxtMaterialBase& m) { return names(m.GetName()); });
        EXPECT_EQ(MaterialAt(Custom()[1], 0, 1)->GetSageLink(),
                  kxt::FirstMaterial(extras, [&](const kxtMaterialBase& m) { return names(m.GetName(), m.GetLangName()); }));
        EXPECT_TRUE(!English() || (byName != nullptr) == keepsRecycled);
    }
}

TEST_F(ManagerCustomChangesTest, AddedDatabasesJoinTheListWithoutMovingAnyMaterial) {
    Load(manager_, user_, {libraries_.myMaterials});
    const kxtMaterialBase* bracket = MaterialAt(Custom()[0], 0, 0);
    kxtMaterialDB added;
    added.SetDBType(eKxtCustomDB), added.SetPath(u"added library.kvxmat"), added.InsertGroup(kxtMaterialClass(&added));
    added.GetMaterialClass(0)->InsertMaterial(kxtMaterialBase(added.GetMaterialClass(0)));
    MaterialAt(added, 0, 0)->SetName(u"Added One");
    for (int i = 0; i < 6; ++i) manager_.AddCustomMaterials(added);
    manager_.AddCustomMaterials(Custom()[0]);  // a database of the list itself

    ASSERT_EQ(Paths().size(), 8u);
    EXPECT_EQ(MaterialAt(Custom()[0], 0, 0), bracket);
    EXPECT_EQ(manager_.GetFavoritesMaterials().front(), bracket);
    EXPECT_EQ(ClassNamesOf(Custom()[7]), (Names{u"Brackets"}));
    EXPECT_NE(MaterialAt(Custom()[7], 0, 0), bracket);
    EXPECT_EQ(manager_.GetCustomMaterial(u"Added One", u"added library"), MaterialAt(Custom()[1], 0, 0));
    manager_.OnCustomDBsRemoved({libraries_.myMaterials});
    EXPECT_EQ(Paths().front(), u"added library.kvxmat");
    EXPECT_EQ(Custom().size(), 7u);
}

}  // namespace
