// The process settings reader: processes, recycled content and energy
// parameters per material, the final environmental-data pass and the
// early ends that skip it.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <tuple>
#include <string>

#include <kxtmat/kxtmat.h>

#include "support/resource_module.h"
#include "support/temp_dir.h"
#include "xml/process_parser.h"

namespace kxt::xml {
namespace {

constexpr double kUnscanned = 2147483647.0;

// The process settings text with the given material groupings under one
// category of the material settings.
std::string Settings(std::string_view materials) {
    return R"(<?xml version="1.0"?><Root><ScenarioSettings>
      <Grouping Alias="General"><Grouping Alias="Metals"><Grouping Alias="Steel billet">
        <Parameter Name="forged" Alias="Forged"/></Grouping></Grouping></Grouping>
      <Grouping Alias="MATERIAL specific Settings"><Grouping Alias="Metals" Comment="METALS">)" +
           std::string(materials) + R"(</Grouping></Grouping>
      <Grouping Alias="Material specific settings"><Grouping Alias="Again">
        <Grouping Alias="Steel billet"><Parameter Name="wire" Alias="Wire"/></Grouping>
      </Grouping></Grouping></ScenarioSettings></Root>)";
}

class ProcessReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = test::EnglishResourceModule();
        ASSERT_NE(module_, nullptr) << "the English resource module did not load";
        db_.SetDBType(eKxtNativeDB);
        kxtMaterialClass steel(&db_);
        // Name, GaBi name, language name: the first one's language name is the second one's GaBi name.
        for (const auto& [name, gabi, lang] : {std::array<std::u16string, 3>{u"Carbon Steel", u"Steel billet", u"Acier"},
                                               {u"Tool Steel", u"ACIER", u"Outil"}, {u"Idle", u"Idle", u"Idle"}}) {
            kxtMaterialBase material(&steel);
            material.SetMaterialType(static_cast<eKxtMaterialType>(0));
            material.SetName(name);
            material.SetGaBiName(gabi);
            material.SetLangName(lang);
            material.SetEnvData(1);
            steel.InsertMaterial(material);
        }
        db_.InsertGroup(std::move(steel));
    }

    int Parse(std::string_view xml, platform::ModuleHandle module) { return Reader(xml, module).Parse(&db_); }
    int Parse(std::string_view xml) { return Parse(xml, module_); }
    kxtXMLProcessParser Reader(std::string_view xml, platform::ModuleHandle module) {
        dir_.Write("materials process.dat", xml);
        return kxtXMLProcessParser(dir_.File("materials process.dat"), module);
    }
    kxtMaterialBase& Material(unsigned index) { return *db_.GetMaterialClass(0)->GetMaterial(index); }

    platform::ModuleHandle module_ = nullptr;
    test::TempDir dir_;
    kxtMaterialDB db_;
};

// Material keys are GaBi or language names (not names), without regard to
// case, first match first; process names match exactly; only the first
// settings grouping of a block counts.
TEST_F(ProcessReaderTest, ParametersBecomeProcessesOfTheFirstMaterialOfTheirKey) {
    ASSERT_EQ(Parse(Settings(R"(<Grouping Alias="steel BILLET">
        <Parameter Name="milled_part" Alias="Milled"/><Parameter Name="unknown" Alias="Unknown"/>
        <Parameter Name="Milled_Part" Alias="Case"/><Parameter Name="milled_part" Alias="Milled again"/></Grouping>
        <Grouping Alias="outil"><Parameter Name="wire" Alias="Wire"/></Grouping>
        <Grouping Alias="acier"><Parameter Name="sheet" Alias="Sheet"/></Grouping>
        <Grouping Alias="Tool Steel"><Parameter Name="forged" Alias="Forged"/></Grouping>)")),
              1);
    const auto& carbon = Material(0).GetManufacturingTypes();
    ASSERT_EQ(carbon.size(), 3u);
    EXPECT_EQ(carbon[0].GetNativeName() + u"/" + carbon[0].GetLangName() + u"/" + carbon[0].GetGaBiName(),
              u"Milled/Milled/milled_part");
    EXPECT_EQ(carbon[1].GetNativeName(), u"Milled again");
    EXPECT_EQ(carbon[2].GetLangName(), u"Sheet Metal");
    ASSERT_EQ(Material(1).GetProcCount(), 1u);
    EXPECT_EQ(Material(1).GetManufacturingTypes()[0].GetGaBiName(), u"wire");
    EXPECT_EQ(Material(2).GetEnvData(), 0) << "the final pass: environmental data is whether there are processes";
    EXPECT_EQ(Material(1).GetEnvData(), 1);
}

// With both limits the amount is editable when the maximum is above the
// minimum; with one, the value is every limit; unreadable numbers read as the
// largest 32-bit integer. Recycled content is applied by a parameter's alias,
// and without resource strings no other parameter is a process.
TEST_F(ProcessReaderTest, RecycledContentSetsLimitsTradeMixAndAmountByAlias) {
    const struct { const char* attributes; const char* value; double maximum, minimum, tradeMix, amount; bool editable; } cases[] = {
        {R"(MaxValue="80" MinValue="10")", "25", 80, 10, 25, 25, true}, {R"(MaxValue="80" MinValue="10")", "95", 80, 10, 95, 80, true},
        {R"(MaxValue="80")", "25", 25, 25, 25, 25, false}, {R"(MaxValue="10" MinValue="10")", "10", 10, 10, 10, 10, false},
        {R"(MaxValue="" MinValue="7.5 %")", "x", kUnscanned, 7.5, kUnscanned, kUnscanned, true},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(Parse(Settings(std::string(R"(<Grouping Alias="Steel billet"><Parameter Name="RECYCLED_CONT" )"
                                             R"(Alias="Recycled_Cont" )") + c.attributes + R"(><v value=")" + c.value +
                                 R"("/></Parameter><Parameter Name="recycled_cont" Alias="R"><v value="9"/></Parameter></Grouping>)")), 1);
        const kxtMaterialBase& m = Material(0);
        EXPECT_EQ(std::tuple(m.GetRecycledContentMax(), m.GetRecycledContentMin(), m.GetTradeMix(), m.GetRecycledContentAmount(),
                             m.GetIsEditableRecycledContentAmount(), m.GetProcCount()),
                  std::tuple(c.maximum, c.minimum, c.tradeMix, c.amount, c.editable, 0u)) << c.attributes << c.value;
    }
    const std::string xml = Settings(R"(<Grouping Alias="Steel billet"><Parameter Name="milled" Alias="Milled"/>
        <Parameter Name="none" Alias="recycled_cont" MaxValue="50" MinValue="0"><v value="30"/></Parameter></Grouping>)");
    ASSERT_EQ(Parse(xml, nullptr), 1);
    EXPECT_EQ(Material(0).GetProcCount(), 0u);
    EXPECT_EQ(Material(0).GetRecycledContentAmount(), kUnscanned);
    ASSERT_EQ(Parse(xml), 1);
    ASSERT_EQ(Material(0).GetProcCount(), 2u);
    EXPECT_EQ(Material(0).GetManufacturingTypes()[1].GetNativeName(), u"recycled_cont");
    EXPECT_EQ(Material(0).GetRecycledContentAmount(), 30.0);
}

// A grouping "<process>_mfg_params" (any case) of a material holds the first
// number of each parameter; the first grouping of a process counts.
TEST_F(ProcessReaderTest, EnergyParametersAttachToTheFirstMatchingProcess) {
    ASSERT_EQ(Parse(Settings(R"(<Grouping Alias="Steel billet"><Parameter Name="milled_part" Alias="Milled"/>
        <Grouping Alias="MILLED_PART_MFG_PARAMS">
          <Parameter Name="e1"><v a="1.5"/></Parameter><Parameter Name="e2"><v a="x"/></Parameter>
          <Parameter Name="e3"><v a="3" b="4"/></Parameter><Parameter Name="e4"/>
        </Grouping>
        <Grouping Alias="milled_part_mfg_params"><Parameter><v a="9"/></Parameter></Grouping>
        <Grouping Alias="wire_mfg_params"><Parameter><v a="9"/></Parameter></Grouping>
        <Grouping Alias="_mfg_params"><Parameter><v a="9"/></Parameter></Grouping></Grouping>)")),
              1);
    const auto& energy = Material(0).GetManufacturingProcToEnergyParamMap();
    ASSERT_EQ(energy.size(), 1u);
    EXPECT_EQ(energy.at(u"milled_part"), (std::vector<double>{1.5, kUnscanned, 3.0, kUnscanned}));
}

// Under xml:space="preserve" white space before a value element is the
// parameter's first child, which holds no number; "default" drops it again.
TEST_F(ProcessReaderTest, PreservedWhiteSpaceIsTheFirstChildOfAParameter) {
    ASSERT_EQ(Parse(Settings(R"(<Grouping Alias="Steel billet"><Parameter Name="milled_part" Alias="Milled"/>
        <Grouping Alias="milled_part_mfg_params" xml:space="preserve"><Parameter> <v a="1.5"/></Parameter>
          <Parameter xml:space="default"> <v a="2"/></Parameter><Parameter><v a="3"/></Parameter></Grouping></Grouping>)")),
              1);
    EXPECT_EQ(Material(0).GetManufacturingProcToEnergyParamMap().at(u"milled_part"), (std::vector<double>{kUnscanned, 2.0, 3.0}));
}

TEST_F(ProcessReaderTest, EarlyEndsSkipTheFinalPassThatBadFilesStillRun) {
    Material(0).SetEnvData(1);
    EXPECT_EQ(Parse("<Root><ScenarioSettings>"), 1);
    EXPECT_EQ(Material(0).GetEnvData(), 0);
    Material(0).SetEnvData(1);
    EXPECT_EQ(Parse(R"(<Root><ScenarioSettings/></Root>)"), 0);
    // The first block is applied before the second one ends the read.
    EXPECT_EQ(Parse(R"(<Root><ScenarioSettings><Grouping Alias="Material specific settings"><Grouping>
        <Grouping Alias="Idle"><Parameter Name="wire" Alias="Wire"/></Grouping></Grouping></Grouping>
      </ScenarioSettings><ScenarioSettings><Grouping Alias="Other"/></ScenarioSettings></Root>)"),
              0);
    EXPECT_EQ(Material(2).GetProcCount(), 1u);
    // A recycled-content parameter without a child ends the read where it stands.
    EXPECT_EQ(Parse(Settings(R"(<Grouping Alias="Steel billet"><Parameter Name="milled" Alias="Milled"/>
        <Parameter Name="recycled_cont" Alias="recycled_cont" MaxValue="50" MinValue="0"/>
        <Parameter Name="wire" Alias="Wire"/></Grouping>)")),
              0);
    EXPECT_EQ(Material(0).GetProcCount(), 1u);
    EXPECT_EQ(Material(0).GetEnvData(), 1);
}

// The groups of each category whose comment matches (in any case), keyed by
// its alias; keys already present stay as they are.
TEST_F(ProcessReaderTest, GroupsAreCollectedByComment) {
    kxtXMLProcessParser reader = Reader(Settings(R"(<Grouping Alias="Steel billet"/><Grouping Alias="Idle"/>)"), module_);
    using Groups = std::map<std::u16string, std::vector<std::u16string>>;
    Groups groups{{u"Other", {u"kept"}}};
    EXPECT_EQ(reader.CollectGroupsByComment(u"metals", groups), 1);
    EXPECT_EQ(groups, (Groups{{u"Metals", {u"Steel billet", u"Idle"}}, {u"Other", {u"kept"}}}));
    groups = {{u"Metals", {u"kept"}}};
    EXPECT_EQ(reader.CollectGroupsByComment(u"METALS", groups), 1);
    EXPECT_EQ(reader.CollectGroupsByComment(u"plastics", groups), 1);
    EXPECT_EQ(groups, (Groups{{u"Metals", {u"kept"}}}));
    EXPECT_EQ(Reader("<Root><ScenarioSettings/></Root>", module_).CollectGroupsByComment(u"metals", groups), 0);
}

}  // namespace
}  // namespace kxt::xml
