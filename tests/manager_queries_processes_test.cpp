// Manufacturing process queries: default processes from the resource module,
// the process owner rules, shared processes and energy parameters.
#include <string>
#include <vector>

#include "manager_queries_fixture.h"

namespace kxt::test {
namespace {

using Names = std::vector<std::u16string>;

class ProcessQueriesTest : public ManagerQueriesTest {
protected:
    // Class names are the resource module's English texts, so that the
    // default processes apply ("Steel" -> "Milled").
    void SetUp() override {
        manager_.InitResourcesData();
        LoadStandard(
            Database(u"lib/korvex materials.kvxmat", eKxtNativeDB,
                     {Class(u"Steel", u"Steel",
                            {Material(u"Bar", u"Bar-l")
                                 .Process(u"forge_n", u"Forged")
                                 .Process(u"mill_n", u"Milled")
                                 .Process(u"forge_n", u"Forged")
                                 .Params(u"mill_n", {1.0, 2.0}),
                             Material(u"Plate").Process(u"sheet_n", u"Sheet Metal"), Material(u"Raw")}),
                      Class(u"Copper Alloys", u"Copper Alloys",
                            {Material(u"Brass").EnvData(0).Process(u"wire_n", u"Wire").Process(u"mill_n", u"Milled"),
                             Material(u"Bronze").EnvData(0).Process(u"mill_n", u"Milled")})}),
            Database(u"lib/korvex din materials.kvxmat", eKxtNativeDinDB,
                     {Class(u"Iron", u"Iron",
                            {Material(u"Cast")
                                 .Process(u"sand_n", u"Sand Cast")
                                 .Process(u"mill_n", u"MILLED")
                                 .Process(u"forge_n", u"Forged")}),
                      Class(u"Steel", u"Steel", {Material(u"Billet").Params(u"mill_n", {9.0})}),
                      Class(u"Woods", u"Woods", {Material(u"Pine")})}));
        kxtMaterialBase* bar = Native(u"Bar");
        AddCustom(Database(u"a/shop.kvxmat", eKxtCustomDB,
                           {Class(u"Mine", {},
                                  {Material(u"MyBar")
                                       .Type(eKxtCustomMaterial)
                                       .EnvData(0)
                                       .Link(bar)
                                       .Process(u"glue_n", u"Glued")
                                       .Params(u"glue_n", {3.0}),
                                   Material(u"Lonely").Type(eKxtCustomMaterial).EnvData(5).Process(u"glue_n", u"Glued")})}));
        AddCustom(Database(u"b/extras.kvxmat", eKxtSustainExtrasDB,
                           {Class(u"Green", u"Green",
                                  {Material(u"Bamboo").Type(eKxtCustomMaterial).Link(bar).Process(u"cut_n", u"Cut")})}));
    }

    std::u16string DefaultFor(const std::u16string& name, const std::u16string& library) {
        std::u16string process = u"caller's";
        manager_.GetDefaultProcessForAnyMaterial(name, library, process);
        return process;
    }
};

TEST_F(ProcessQueriesTest, DefaultProcessIsLookedUpByTheExactClassText) {
    std::u16string process = u"caller's";
    manager_.GetDefaultProcess(u"Copper Alloys", process);
    EXPECT_EQ(process, u"Wire");
    manager_.GetDefaultProcess(u"copper alloys", process);
    EXPECT_EQ(process, u"");
    process = u"caller's";
    manager_.GetDefaultProcess(u"Woods", process);
    EXPECT_EQ(process, u"None");

    kxtMaterialDBsManager withoutResources;
    withoutResources.GetDefaultProcess(u"Steel", process);
    EXPECT_EQ(process, u"");
}

TEST_F(ProcessQueriesTest, DefaultProcessOfAMaterialIsANativeNameOfItsOwn) {
    EXPECT_EQ(DefaultFor(u"Bar", u"korvex materials"), u"mill_n");
    EXPECT_EQ(DefaultFor(u"bar-l", u"KORVEX DIN MATERIALS"), u"mill_n");
    EXPECT_EQ(DefaultFor(u"Plate", u"Korvex Materials"), u"sheet_n") << "the default is not its process";
    EXPECT_EQ(DefaultFor(u"Raw", u"korvex materials"), u"Milled") << "no process: the default text stays";
    EXPECT_EQ(DefaultFor(u"MyBar", u"shop"), u"mill_n") << "the linked material decides";
    EXPECT_EQ(DefaultFor(u"Bar", u""), u"caller's") << "an empty library is a custom one";
    EXPECT_EQ(DefaultFor(u"Nothing", u"korvex materials"), u"caller's");
}

TEST_F(ProcessQueriesTest, ApplicabilityConsultsTheLinkedMaterialFirst) {
    EXPECT_EQ(manager_.IsProcessApplicable(u"MILLED", u"Bar", u"korvex materials"), 1);
    EXPECT_EQ(manager_.IsProcessApplicable(u"forge_n", u"Bar", u"korvex din materials"), 1);
    EXPECT_EQ(manager_.IsProcessApplicable(u"Sand Cast", u"Bar", u"korvex materials"), 0);
    EXPECT_EQ(manager_.IsProcessApplicable(u"Milled", u"Bar", u"shop"), 0);
    EXPECT_EQ(manager_.IsProcessApplicable(u"Glued", u"MyBar", u"shop"), 0);
    EXPECT_EQ(manager_.IsProcessApplicable(u"Milled", u"MyBar", u"shop"), 1);
    EXPECT_EQ(manager_.IsProcessApplicable(u"Cut", u"Bamboo", u"extras"), 0);
    EXPECT_EQ(manager_.IsProcessApplicable(u"Glued", u"Lonely", u"shop"), 1);
}

TEST_F(ProcessQueriesTest, ProcessNamesOfCustomMaterialsComeFromTheirLinkOutsideExtras) {
    EXPECT_EQ(manager_.MapMfgProcessToLang(u"MyBar", u"Shop", u"mill_n"), u"Milled");
    EXPECT_EQ(manager_.MapMfgProcessToLang(u"MyBar", u"Shop", u"Glued"), u"");
    EXPECT_EQ(manager_.MapMfgProcessToLang(u"Bamboo", u"extras", u"cut_n"), u"Cut") << "extras answer themselves";
    EXPECT_EQ(manager_.MapMfgProcessToLang(u"Bamboo", u"extras", u"Milled"), u"");
    EXPECT_EQ(manager_.MapMfgProcessToLang(u"Lonely", u"shop", u"Glued"), u"") << "no link, no answer";
    EXPECT_EQ(manager_.MapMfgProcessToLang(u"Cast", u"korvex din materials", u"sand_n"), u"Sand Cast");
    EXPECT_EQ(manager_.MapMfgProcessToLang(Native(u"Bar"), u"FORGE_N"), u"Forged");
    EXPECT_EQ(manager_.MapMfgProcessToNative(Native(u"Bar"), u"forged"), u"forge_n");

    const std::u16string& missing = manager_.MapMfgProcessToLang(nullptr, u"Milled");
    EXPECT_EQ(missing, u"");
    EXPECT_EQ(&manager_.MapMfgProcessToNative(u"Nothing", u"shop", u"Milled", nullptr), &missing)
        << "failures answer the one shared empty string";
}

TEST_F(ProcessQueriesTest, NativeProcessMappingReportsTheEnvironmentalDataOfTheLink) {
    int envData = 42;
    EXPECT_EQ(manager_.MapMfgProcessToNative(u"MyBar", u"shop", u"Milled", &envData), u"mill_n");
    EXPECT_EQ(envData, 1) << "the linked material's value, not its own 0";

    EXPECT_EQ(manager_.MapMfgProcessToNative(u"Lonely", u"shop", u"Glued", &envData), u"");
    EXPECT_EQ(envData, 5) << "written even when the process is not found";

    envData = 42;
    EXPECT_EQ(manager_.MapMfgProcessToNative(u"Lonely", u"elsewhere", u"Glued", &envData), u"");
    EXPECT_EQ(envData, 42);
}

TEST_F(ProcessQueriesTest, OneClassGivesItsRepresentativeMaterialsOwnList) {
    Names processes{u"old"};
    manager_.GetInCommonProcesses({u"steel"}, processes);
    EXPECT_EQ(processes, (Names{u"Forged", u"Milled", u"Forged"}));

    // No material with environmental data: the last one speaks for the class.
    manager_.GetInCommonProcesses({u"Unknown", u"Copper Alloys"}, processes);
    EXPECT_EQ(processes, (Names{u"Milled"}));

    manager_.GetInCommonProcesses({u"Unknown"}, processes);
    manager_.GetInCommonProcesses({}, processes);
    EXPECT_EQ(processes, (Names{u"Milled"}));
}

TEST_F(ProcessQueriesTest, SeveralClassesShareTheStandardProcessTypesInTheirOrder) {
    Names processes{u"old"};
    manager_.GetInCommonProcesses({u"Iron", u"Iron"}, processes);
    EXPECT_EQ(processes, (Names{u"old", u"Forged", u"Milled"})) << "native order and spelling, no Sand Cast";

    processes = {u"old"};
    manager_.GetInCommonProcesses({u"Steel", u"Iron", u"Copper Alloys"}, processes);
    EXPECT_EQ(processes, (Names{u"old", u"Milled"}));

    manager_.GetInCommonProcesses({u"Woods", u"Steel"}, processes);
    EXPECT_EQ(processes, (Names{u"old", u"Milled"})) << "a class without processes shares none";
}

TEST_F(ProcessQueriesTest, EnergyParametersComeFromTheFirstClassOfThatName) {
    std::vector<double> params{-1.0};
    manager_.GetManufacturingEnergyParams(u"Steel", u"Billet", u"mill_n", params);
    EXPECT_EQ(params, std::vector<double>{-1.0}) << "the native class decides, though it lacks the material";
    manager_.GetManufacturingEnergyParams(u"Steel", u"Bar", u"MILL_N", params);
    EXPECT_EQ(params, std::vector<double>{-1.0}) << "process keys regard case";
    manager_.GetManufacturingEnergyParams(u"steel", u"Bar-l", u"mill_n", params);
    EXPECT_EQ(params, (std::vector<double>{1.0, 2.0}));
    manager_.GetManufacturingEnergyParams(u"mine", u"MyBar", u"glue_n", params);
    EXPECT_EQ(params, std::vector<double>{3.0});
}

TEST_F(ProcessQueriesTest, EnergyParametersOfAnUnknownClassFallBackOnTheFavourites) {
    std::vector<double> params;
    manager_.GetManufacturingEnergyParams(u"Elsewhere", u"Bar", u"mill_n", params);
    EXPECT_TRUE(params.empty());

    Names libraries{u"korvex materials"}, classes{u"Steel"}, materials{u"Bar"}, ids{u""};
    manager_.OnFavoritesUpdated(libraries, classes, materials, ids);
    manager_.GetManufacturingEnergyParams(u"Elsewhere", u"bar", u"mill_n", params);
    EXPECT_EQ(params, (std::vector<double>{1.0, 2.0}));
}

}  // namespace
}  // namespace kxt::test
