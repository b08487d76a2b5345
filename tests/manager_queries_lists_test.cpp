// The sustainable classes and materials of the custom databases, the general
// items of the standard databases, and favourites handed over by the host.
#include <string>
#include <vector>

#include "manager_queries_fixture.h"

namespace kxt::test {
namespace {

using Names = std::vector<std::u16string>;

class ListsTest : public ManagerQueriesTest {
protected:
    // Native: Steel/Acier {Bar, Rail}, Woods/Bois {Pine}; DIN: Steel/Acier-din {Bar, Beam}.
    void SetUp() override {
        LoadStandard(Database(u"lib/korvex materials.kvxmat", eKxtNativeDB,
                              {Class(u"Steel", u"Acier", {Material(u"Bar").Id(u"N-1"), Material(u"Rail")}),
                               Class(u"Woods", u"Bois", {Material(u"Pine", u"Pin")})}),
                     Database(u"lib/korvex din materials.kvxmat", eKxtNativeDinDB,
                              {Class(u"Steel", u"Acier-din",
                                     {Material(u"Bar").Id(u"D-1"), Material(u"Beam", u"Poutre").Id(u"D-2")})}));
    }

    kxtMaterialBase Custom(std::u16string name, kxtMaterialBase* link = nullptr) {
        return Material(std::move(name)).Type(eKxtCustomMaterial).Link(link);
    }

    // shop: Linked {L1 -> Bar, L2}, Plain {P1}, Empty {}; extras: Green/Vert {G1}, Bare {};
    // more: LINKED {L3 -> Rail}.
    void AddCustoms() {
        AddCustom(Database(u"a/shop.kvxmat", eKxtCustomDB,
                           {Class(u"Linked", {}, {Custom(u"L1", Native(u"Bar")), Custom(u"L2")}),
                            Class(u"Plain", {}, {Custom(u"P1")}), Class(u"Empty", {}, {})}));
        AddCustom(Database(u"b/extras.kvxmat", eKxtSustainExtrasDB,
                           {Class(u"Green", u"Vert", {Custom(u"G1")}), Class(u"Bare", {}, {})}));
        AddCustom(Database(u"c/more.kvxmat", eKxtCustomDB, {Class(u"LINKED", {}, {Custom(u"L3", Native(u"Rail"))})}));
    }

    kxtMaterialClass* CustomClass(std::size_t db, int index) {
        return manager_.GetCustomDBs()[db].GetMaterialClass(index);
    }
    kxtMaterialBase* CustomMaterial(const std::u16string& name) {
        return manager_.GetCustomMaterialForObsoleteDocuments(name);
    }
};

TEST_F(ListsTest, SustainableClassesAreLinkedOrExtrasAndListedOncePerName) {
    AddCustoms();
    std::vector<kxtMaterialClass*> classes{nullptr};
    manager_.GetSustainableClasses(classes);
    EXPECT_EQ(classes, (std::vector<kxtMaterialClass*>{nullptr, CustomClass(0, 0), CustomClass(1, 0)}));

    // A class of that name already in the caller's list keeps another out.
    kxtMaterialClass green;
    green.SetName(u"GREEN");
    classes = {&green};
    manager_.GetSustainableClasses(classes);
    EXPECT_EQ(classes, (std::vector<kxtMaterialClass*>{&green, CustomClass(0, 0)}));
}

TEST_F(ListsTest, SustainableMaterialsOfEveryDatabaseAreListed) {
    AddCustoms();
    std::vector<kxtMaterialBase*> materials{Native(u"Pine")};
    manager_.GetSustainableMaterials(materials);
    EXPECT_EQ(materials, (std::vector<kxtMaterialBase*>{Native(u"Pine"), CustomMaterial(u"L1"), CustomMaterial(u"G1"),
                                                        CustomMaterial(u"L3")}));
}

TEST_F(ListsTest, WithoutCustomDatabasesTheSustainableListsStayAsGiven) {
    std::vector<kxtMaterialClass*> classes;
    std::vector<kxtMaterialBase*> materials{Native(u"Bar")};
    manager_.GetSustainableClasses(classes);
    manager_.GetSustainableMaterials(materials);
    EXPECT_TRUE(classes.empty());
    EXPECT_EQ(materials, std::vector<kxtMaterialBase*>{Native(u"Bar")});
}

TEST_F(ListsTest, GeneralItemsAreTheLanguageClassNamesAppended) {
    Names items{u"given"};
    manager_.GetKxGeneralItems(items);
    manager_.GetKxGeneralItems(items);
    EXPECT_EQ(items, (Names{u"given", u"Acier", u"Bois", u"Acier", u"Bois"}));

    items.clear();
    manager_.GetDINGeneralItems(items);
    EXPECT_EQ(items, Names{u"Acier-din"});

    AddCustoms();
    items = {u"given"};
    manager_.GetSustainExtrasGeneralItems(items);
    EXPECT_EQ(items, (Names{u"given", u"Linked", u"Vert"}));
}

// Favourites handed over as four parallel lists.
class FavouritesUpdateTest : public ListsTest {
protected:
    void Update(Names libraries, Names classes, Names materials, Names ids) {
        manager_.OnFavoritesUpdated(libraries, classes, materials, ids);
    }
};

TEST_F(FavouritesUpdateTest, ListsOfUnequalLengthChangeNothing) {
    Update({u"korvex materials"}, {u"Steel"}, {u"Rail"}, {u""});
    ASSERT_EQ(manager_.GetFavoritesMaterials(), std::vector<kxtMaterialBase*>{Native(u"Rail")});

    Update({u"a", u"b"}, {u"a", u"b"}, {u"a", u"b"}, {u"a"});
    EXPECT_EQ(manager_.GetFavoritesMaterials(), std::vector<kxtMaterialBase*>{Native(u"Rail")});

    Update({}, {}, {}, {});
    EXPECT_TRUE(manager_.GetFavoritesMaterials().empty());
}

TEST_F(FavouritesUpdateTest, DinIdentifiersGiveNativeNamesSearchedInTheNativeDatabaseFirst) {
    Names libraries{u"Korvex DIN Materials (old)", u"KORVEX DIN MATERIALS", u"korvex din materials", u"Korvex Materials"};
    Names classes{u"Träger", u"Acier-din", u"acier-din", u"Woods"};
    Names materials{u"Träger 1", u"Poutre", u"Bar", u"Rail"};
    Names ids{u"d-1", u"no such id", u"", u"no such id"};
    manager_.OnFavoritesUpdated(libraries, classes, materials, ids);

    EXPECT_EQ(libraries, (Names{u"korvex din materials", u"korvex din materials", u"korvex din materials",
                                u"korvex materials"}));
    EXPECT_EQ(classes[0], u"Steel");
    EXPECT_EQ(materials[0], u"Bar");
    EXPECT_EQ(materials[1], u"Poutre");
    // The class decides where a standard favourite is: Woods holds no Rail.
    EXPECT_EQ(manager_.GetFavoritesMaterials(),
              (std::vector<kxtMaterialBase*>{Native(u"Bar"), Din(u"Beam"), Din(u"Bar")}));
}

TEST_F(FavouritesUpdateTest, CustomEntriesAreFoundByLibraryAndMaterialName) {
    AddCustoms();
    Names libraries{u"Shop", u"More", u"Unknown Library", u"SHOP"};
    Names classes{u"Wrong class", u"", u"Linked", u"Linked"};
    Names materials{u"L2", u"L3", u"L1", u"L3"};
    Names ids{u"", u"", u"", u""};
    manager_.OnFavoritesUpdated(libraries, classes, materials, ids);

    EXPECT_EQ(manager_.GetFavoritesMaterials(), (std::vector<kxtMaterialBase*>{CustomMaterial(u"L2"), CustomMaterial(u"L3")}));
    EXPECT_EQ(libraries, (Names{u"shop", u"more", u"unknown library", u"shop"}));
    EXPECT_EQ(classes[0], u"Wrong class");
}

}  // namespace
}  // namespace kxt::test
