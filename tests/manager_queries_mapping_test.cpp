// Rewriting class and material names between the native, language and GaBi
// vocabularies.
#include <string>
#include <vector>

#include "manager_queries_fixture.h"

namespace kxt::test {
namespace {

using Names = std::vector<std::u16string>;

class NameMappingTest : public ManagerQueriesTest {
protected:
    // Native: Steel/Acier {Shared/Commun, Rail/Rail-fr}, OTHER NON-METALS {Felt};
    // DIN: Steel/Acier {Shared/Commun-din, Beam/Poutre}.
    void SetUp() override {
        LoadStandard(
            Database(u"lib/korvex materials.kvxmat", eKxtNativeDB,
                     {Class(u"Steel", u"Acier",
                            {Material(u"Shared", u"Commun").Id(u"N-1").Gabi(u"steel (shared)"),
                             Material(u"Rail", u"Rail-fr")
                                 .Id(u"N-2")
                                 .Gabi(u"steel rail")
                                 .Process(u"Milled", u"Fraisé", u"milling")
                                 .Process(u"Forged", u"Forgé", u"forging")}),
                      Class(u"OTHER NON-METALS", u"Autres", {Material(u"Felt", u"Feutre").Gabi(u"felt")}),
                      Class(u"Woods", u"Bois", {Material(u"Pine", u"Pin").EnvData(0).Gabi(u"pine")})}),
            Database(u"lib/korvex din materials.kvxmat", eKxtNativeDinDB,
                     {Class(u"Steel", u"Acier",
                            {Material(u"Shared", u"Commun-din").Id(u"D-1"),
                             Material(u"Beam", u"Poutre").Id(u"D-2").Gabi(u"steel beam")})}));
    }

    // The strings after a call, the result first for the mappings that have one.
    Names ToLang(std::u16string className, std::u16string materialName) {
        const int found = manager_.MapToLang(className, materialName);
        return {found != 0 ? u"found" : u"missed", className, materialName};
    }
    Names ToNative(std::u16string className, std::u16string materialName) {
        const int found = manager_.MapToNative(className, materialName);
        return {found != 0 ? u"found" : u"missed", className, materialName};
    }
    Names ById(const std::u16string& id, std::u16string library) {
        std::u16string className = u"class";
        std::u16string materialName = u"material";
        manager_.MapMaterialDataToNative(id, className, materialName, library);
        return {library, className, materialName};
    }
    Names PartData(std::u16string className, std::u16string materialName, const std::u16string& library) {
        manager_.MapPartDataBeforeCalculations(className, materialName, library);
        return {className, materialName};
    }
    Names Gabi(std::u16string className, std::u16string materialName, std::u16string process) {
        manager_.PrepareMaterialDataToGabi(className, materialName, process);
        return {className, materialName, process};
    }
};

TEST_F(NameMappingTest, MapToLangAndBackGivesTheNativeNames) {
    EXPECT_EQ(ToLang(u"", u"shared"), (Names{u"found", u"Acier", u"Commun"})) << "the native database comes first";
    EXPECT_EQ(ToNative(u"Acier", u"Commun"), (Names{u"found", u"Steel", u"Shared"}));
    EXPECT_EQ(ToNative(u"acier", u"POUTRE"), (Names{u"found", u"Steel", u"Beam"}));
}

TEST_F(NameMappingTest, MappingByClassPassesOverAClassWithoutTheMaterial) {
    EXPECT_EQ(ToLang(u"Steel", u"Beam"), (Names{u"found", u"Acier", u"Poutre"}));
    EXPECT_EQ(ToLang(u"Woods", u"Beam"), (Names{u"missed", u"Woods", u"Beam"}));
}

TEST_F(NameMappingTest, MaterialsOutsideTheStandardDatabasesAreNotMapped) {
    AddCustom(Database(u"a/shop.kvxmat", eKxtCustomDB,
                       {Class(u"Oak", {}, {Material(u"Oak board").Type(eKxtCustomMaterial)})}));
    EXPECT_EQ(ToLang(u"", u"Oak board"), (Names{u"missed", u"", u"Oak board"}));
    EXPECT_EQ(ToNative(u"Oak", u"Oak board"), (Names{u"missed", u"Oak", u"Oak board"}));
}

TEST_F(NameMappingTest, MaterialDataByIdentifierTakesTheLibraryFromItsName) {
    EXPECT_EQ(ById(u"d-2", u"Korvex DIN Materials (2019)"), (Names{u"korvex din materials", u"Steel", u"Beam"}));
    EXPECT_EQ(ById(u"N-2", u"KORVEX DIN Materials"), (Names{u"korvex din materials", u"class", u"material"}))
        << "the DIN test comes first: a native identifier is not found";
    EXPECT_EQ(ById(u"N-2", u"My KORVEX Library"), (Names{u"korvex materials", u"Steel", u"Rail"}));
    EXPECT_EQ(ById(u"N-1", u"Shop Materials"), (Names{u"shop materials", u"class", u"material"}));
}

TEST_F(NameMappingTest, PartDataOfACustomMaterialBecomesItsLinkedMaterial) {
    AddCustom(Database(u"a/shop.kvxmat", eKxtCustomDB,
                       {Class(u"Mine", {},
                              {Material(u"Linked").Type(eKxtCustomMaterial).Link(Din(u"Beam")),
                               Material(u"Alone").Type(eKxtCustomMaterial)})}));
    AddCustom(Database(u"b/extras.kvxmat", eKxtSustainExtrasDB,
                       {Class(u"Green", u"Vert",
                              {Material(u"Bamboo", u"Bambou").Type(eKxtCustomMaterial).Link(Native(u"Rail"))})}));

    EXPECT_EQ(PartData(u"Mine", u"linked", u"Shop"), (Names{u"Steel", u"Beam"}));
    EXPECT_EQ(PartData(u"Mine", u"Alone", u"shop"), (Names{u"Mine", u"Alone"})) << "no linked material";
    EXPECT_EQ(PartData(u"Vert", u"Bambou", u"extras"), (Names{u"Green", u"Bamboo"})) << "extras stand for themselves";
    EXPECT_EQ(PartData(u"x", u"Poutre", u"Korvex Materials"), (Names{u"Steel", u"Beam"}));
    EXPECT_EQ(PartData(u"", u"Rail-fr", u"korvex materials"), (Names{u"", u"Rail-fr"}));
}

TEST_F(NameMappingTest, GabiNamesReplaceNativeNamesOfMaterialsWithEnvironmentalData) {
    EXPECT_EQ(Gabi(u"Acier", u"Rail-fr", u"FORGÉ"), (Names{u"Steel", u"steel rail", u"forging"}));
    EXPECT_EQ(Gabi(u"Autres", u"Felt", u"Sewn"), (Names{u"Other Non-Metals", u"felt", u"Sewn"}));
    EXPECT_EQ(Gabi(u"Woods", u"Pine", u"Sawn"), (Names{u"Woods", u"Pine", u"Sawn"})) << "no environmental data";
    EXPECT_EQ(Gabi(u"Steel", u"Rail", u""), (Names{u"Steel", u"Rail", u""}));
}

TEST_F(NameMappingTest, GabiPreparationFindsCustomMaterialsThroughTheirClass) {
    AddCustom(Database(u"b/extras.kvxmat", eKxtSustainExtrasDB,
                       {Class(u"Green", u"Vert",
                              {Material(u"Bamboo", u"Bambou").Type(eKxtCustomMaterial).Gabi(u"bamboo")})}));
    EXPECT_EQ(Gabi(u"green", u"BAMBOU", u"Cut"), (Names{u"Green", u"bamboo", u"Cut"}));
    EXPECT_EQ(Gabi(u"Woods", u"Bamboo", u"Cut"), (Names{u"Woods", u"Bamboo", u"Cut"})) << "the class lacks it";
}

}  // namespace
}  // namespace kxt::test
