// Material and class lookups across the manager's databases.
#include <string>

#include "manager_queries_fixture.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kxt::test {
namespace {

// folder + the platform's separator + file.
std::u16string InFolder(const std::u16string& folder, const std::u16string& file) {
    return folder + kxt::platform::kPathSeparator + file;
}

class LookupTest : public ManagerQueriesTest {
protected:
    // Native: Steel {Shared, Rail}; DIN: Steel {Shared, Beam}, Iron {Grey Iron}.
    void SetUp() override {
        LoadStandard(Database(InFolder(u"lib", u"Korvex Materials.kvxmat"), eKxtNativeDB,
                              {Class(u"Steel", u"Acier",
                                     {Material(u"Shared", u"Commun").Gabi(u"G-Shared"), Material(u"Rail", u"Rail-fr")})}),
                     Database(InFolder(u"lib", u"korvex din materials.kvxmat"), eKxtNativeDinDB,
                              {Class(u"Steel", u"Acier", {Material(u"Shared"), Material(u"Beam", u"Poutre")}),
                               Class(u"Iron", u"Fer", {Material(u"Grey Iron", u"Fonte")})}));
    }

    kxtMaterialDB Custom(std::u16string path, std::u16string className, std::u16string material,
                         eKxtMaterialBDType type = eKxtCustomDB) {
        return Database(std::move(path), type,
                        {Class(std::move(className), {}, {Material(std::move(material)).Type(eKxtCustomMaterial)})});
    }
};

TEST_F(LookupTest, StandardMaterialComesFromTheNativeDatabaseFirst) {
    EXPECT_EQ(manager_.GetStandardMaterial(u"shared"), Native(u"Shared"));
    EXPECT_EQ(manager_.GetStandardMaterial(u"POUTRE"), Din(u"Beam"));
    EXPECT_EQ(manager_.GetStandardMaterial(u"G-Shared"), nullptr) << "GaBi names never match";
    EXPECT_EQ(manager_.GetStandardMaterial(u"Shared-Oak"), nullptr);
}

TEST_F(LookupTest, StandardMaterialByClassPassesOverAClassWithoutTheMaterial) {
    EXPECT_EQ(manager_.GetStandardMaterial(u"acier", u"Beam"), Din(u"Beam"));
    EXPECT_EQ(manager_.GetStandardMaterial(u"Steel", u"Shared"), Native(u"Shared"));
    EXPECT_EQ(manager_.GetStandardMaterial(u"Iron", u"Rail"), nullptr);
    EXPECT_EQ(manager_.GetStandardMaterial(u"Wood", u"Rail"), nullptr);
}

TEST_F(LookupTest, MaterialByDatabaseTakesOnlyThatVeryObject) {
    AddCustom(Custom(u"lib/shop.kvxmat", u"Steel", u"Rail"));
    EXPECT_EQ(manager_.GetMaterial(u"Rail", manager_.GetDB(2)), manager_.GetCustomDBs()[0].FindMaterial(u"Steel", u"Rail"));
    EXPECT_EQ(manager_.GetMaterial(u"Rail", manager_.GetKxNativeDinDB()), nullptr);
    EXPECT_EQ(manager_.GetMaterial(u"Beam", manager_.GetKxNativeDinDB()), Din(u"Beam"));
    EXPECT_EQ(manager_.GetMaterial(u"Rail", static_cast<const kxtMaterialDB*>(nullptr)), nullptr);

    const kxtMaterialDB copy = *manager_.GetDB(2);
    EXPECT_EQ(manager_.GetMaterial(u"Rail", &copy), nullptr) << "a copy is not in the database list";
}

TEST_F(LookupTest, MaterialByLibraryNameTriesEveryDatabaseOfThatName) {
    AddCustom(Custom(InFolder(u"one", u"Shop.kvxmat"), u"Steel", u"Rail"));
    AddCustom(Custom(InFolder(u"two", u"SHOP.KVXMAT"), u"Wood", u"Oak"));
    EXPECT_EQ(manager_.GetMaterial(u"oak", u"sHoP"), manager_.GetCustomDBs()[1].FindMaterial(u"Wood", u"Oak"));
    EXPECT_EQ(manager_.GetMaterial(u"Rail", u"Korvex Materials"), Native(u"Rail"));
    EXPECT_EQ(manager_.GetMaterial(u"Rail", u"shop"), manager_.GetCustomDBs()[0].FindMaterial(u"Steel", u"Rail"));
    EXPECT_EQ(manager_.GetMaterial(u"Oak", u"shop.kvxmat"), nullptr);
}

TEST_F(LookupTest, LibraryNamesCompareAsTheirLowerCaseFormDoes) {
    AddCustom(Custom(u"lib/ÖL Werkstoffe.kvxmat", u"Oil", u"Crude"));
    EXPECT_NE(manager_.GetCustomMaterial(u"Crude", u"öl werkstoffe"), nullptr);
    EXPECT_NE(manager_.GetCustomMaterial(u"Crude", u"Öl WERKSTOFFE"), nullptr);
    // Comparing a stored name without lower-casing it first gives the same
    // answers only because lower-casing is idempotent.
    for (unsigned c = 0; c <= 0xFFFF; ++c) {
        const auto unit = static_cast<char16_t>(c);
        ASSERT_EQ(platform::FoldCase(platform::FoldCase(unit)), platform::FoldCase(unit)) << "code unit " << c;
    }
}

TEST_F(LookupTest, CustomMaterialSearchesOnlyTheCustomDatabases) {
    AddCustom(Custom(u"a/first.kvxmat", u"Steel", u"Rail"));
    AddCustom(Custom(u"b/second.kvxmat", u"Steel", u"Rail"));
    const kxtMaterialBase* first = manager_.GetCustomDBs()[0].FindMaterial(u"Steel", u"Rail");
    const kxtMaterialBase* second = manager_.GetCustomDBs()[1].FindMaterial(u"Steel", u"Rail");

    EXPECT_EQ(manager_.GetCustomMaterial(u"Rail", u"korvex materials"), nullptr);
    EXPECT_EQ(manager_.GetCustomMaterial(u"Rail", u"Second"), second);
    EXPECT_EQ(manager_.GetCustomMaterial(u"Rail", static_cast<const kxtMaterialDB*>(nullptr)), first);
    EXPECT_EQ(manager_.GetCustomMaterial(u"Rail", &manager_.GetCustomDBs()[1]), second);
    EXPECT_EQ(manager_.GetCustomMaterial(u"Rail", manager_.GetKxNativeDB()), nullptr);
    EXPECT_EQ(manager_.GetCustomMaterialForObsoleteDocuments(u"RAIL"), first);
    EXPECT_EQ(manager_.GetCustomMaterialForObsoleteDocuments(u"Beam"), nullptr);
}

TEST_F(LookupTest, FindMaterialGroupSearchesTheCollectionsOfTheType) {
    AddCustom(Custom(u"a/shop.kvxmat", u"Steel", u"Rail"));
    AddCustom(Custom(u"b/extras.kvxmat", u"Wood", u"Oak", eKxtSustainExtrasDB));
    const kxtMaterialClass* dinIron = manager_.GetKxNativeDinDB()->GetMaterialClass(1);
    const kxtMaterialClass* nativeSteel = manager_.GetKxNativeDB()->GetMaterialClass(0);
    const kxtMaterialClass* customSteel = manager_.GetCustomDBs()[0].GetMaterialClass(0);
    const kxtMaterialClass* wood = manager_.GetCustomDBs()[1].GetMaterialClass(0);

    EXPECT_EQ(manager_.FindMaterialGroup(u"fer", eKxtNativeDB), dinIron);
    EXPECT_EQ(manager_.FindMaterialGroup(u"Iron", eKxtNativeDinDB), dinIron);
    EXPECT_EQ(manager_.FindMaterialGroup(u"steel", -1), nativeSteel);
    EXPECT_EQ(manager_.FindMaterialGroup(u"steel", eKxtCustomDB), customSteel);
    EXPECT_EQ(manager_.FindMaterialGroup(u"Wood", eKxtSustainExtrasDB), wood);
    EXPECT_EQ(manager_.FindMaterialGroup(u"Wood", -1), wood);
    EXPECT_EQ(manager_.FindMaterialGroup(u"Wood", eKxtNativeDB), nullptr);
    EXPECT_EQ(manager_.FindMaterialGroup(u"Iron", eKxtCustomDB), nullptr);
    EXPECT_EQ(manager_.FindMaterialGroup(u"Steel", 4), nullptr);
    EXPECT_EQ(manager_.FindMaterialGroup(u"Steel", -2), nullptr);
}

TEST_F(LookupTest, StandardMaterialClassAnswersInTheLanguageOfTheMatchedName) {
    std::u16string className = u"caller's";
    manager_.GetStandardMaterialClass(u"Grey Iron", className);
    EXPECT_EQ(className, u"Iron");
    manager_.GetStandardMaterialClass(u"poutre", className);
    EXPECT_EQ(className, u"Acier");
    manager_.GetStandardMaterialClass(u"Oak", className);
    EXPECT_EQ(className, u"");
}

TEST_F(LookupTest, CustomMaterialClassConsultsOnlyTheFirstDatabaseOfTheName) {
    AddCustom(Custom(u"a/shop.kvxmat", u"Steel", u"Rail"));
    AddCustom(Custom(u"b/shop.kvxmat", u"Wood", u"Oak"));
    std::u16string className = u"caller's";
    manager_.GetCustomMaterialClass(u"Rail", u"korvex materials", className);
    EXPECT_EQ(className, u"caller's") << "no custom database has that name";
    manager_.GetCustomMaterialClass(u"Rail", u"Shop", className);
    EXPECT_EQ(className, u"Steel");
    manager_.GetCustomMaterialClass(u"Oak", u"shop", className);
    EXPECT_EQ(className, u"");
}

TEST_F(LookupTest, SupportDependsOnOwnDataForStandardAndOnLinksForCustomMaterials) {
    kxtMaterialBase* rail = Native(u"Rail");
    rail->SetEnvData(0);
    rail->SetSageLink(Native(u"Shared"));
    *manager_.GetKxSustainExtrasDB() = Custom(u"x/Sustainability Extras.kvxmat", u"Wood", u"Oak", eKxtSustainExtrasDB);
    AddCustom(Database(u"a/shop.kvxmat", eKxtCustomDB,
                       {Class(u"Steel", {},
                              {Material(u"Linked").Type(eKxtCustomMaterial).EnvData(0).Link(Native(u"Shared")),
                               Material(u"Alone").Type(eKxtCustomMaterial)})}));
    const int one = 1;
    const int two = 2;

    EXPECT_TRUE(manager_.IsMaterialsSupported(u"", u"", nullptr));
    EXPECT_TRUE(manager_.IsMaterialsSupported(u"Shared", u"Korvex Materials", nullptr));
    EXPECT_FALSE(manager_.IsMaterialsSupported(u"Rail", u"korvex materials", nullptr)) << "no own data";
    EXPECT_FALSE(manager_.IsMaterialsSupported(u"Beam", u"korvex materials", &one)) << "only that database";
    EXPECT_TRUE(manager_.IsMaterialsSupported(u"Beam", u"korvex din materials", nullptr));
    EXPECT_TRUE(manager_.IsMaterialsSupported(u"oak", u"sustainability extras", nullptr));
    EXPECT_TRUE(manager_.IsMaterialsSupported(u"Linked", u"shop", nullptr));
    EXPECT_FALSE(manager_.IsMaterialsSupported(u"Alone", u"shop", &one)) << "no link";

    EXPECT_FALSE(manager_.IsMaterialsSupported(u"Unknown", u"elsewhere", nullptr));
    EXPECT_FALSE(manager_.IsMaterialsSupported(u"Unknown", u"elsewhere", &two));
    EXPECT_TRUE(manager_.IsMaterialsSupported(u"Unknown", u"elsewhere", &one));
    EXPECT_FALSE(manager_.IsMaterialsSupported(u"Unknown", u"", &one));
}

TEST_F(LookupTest, EmptyManagerFindsNothing) {
    kxtMaterialDBsManager empty;
    std::u16string className = u"kept";
    EXPECT_EQ(empty.GetStandardMaterial(u"Shared"), nullptr);
    EXPECT_EQ(empty.GetMaterial(u"Shared", u"korvex materials"), nullptr);
    EXPECT_EQ(empty.FindMaterialGroup(u"Steel", -1), nullptr);
    empty.GetCustomMaterialClass(u"Rail", u"shop", className);
    EXPECT_EQ(className, u"kept");
}

}  // namespace
}  // namespace kxt::test
