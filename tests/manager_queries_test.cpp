// The manager's queries over databases built in memory: lookups, name mappings, processes and lists.
#include <kxtmat/kxtmat.h>

#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/path_text.h"
#include "support/temp_installation.h"

namespace {

using Names = std::vector<std::u16string>;
using Materials = std::vector<kxtMaterialBase*>;
using Process = std::array<std::u16string, 3>;  // native, language, GaBi name

struct M {
    std::u16string name = {}, lang = {}, gabi = {}, id = {};
    int env = 1;  // environmental data
    eKxtMaterialType type = eKxtStandardMaterial;
    kxtMaterialBase* link = nullptr;
    std::vector<Process> processes = {};
    std::pair<std::u16string, std::vector<double>> params = {};  // a process's energy parameters
};
struct C { std::u16string name, lang; std::vector<M> materials; };  // a class

// Materials carry their class's names as their native and language class names.
kxtMaterialDB Database(const std::u16string& path, eKxtMaterialBDType type, const std::vector<C>& classes) {
    kxtMaterialDB db;
    db.SetDBType(type), db.SetPath(path);
    for (const auto& [name, lang, materials] : classes) {
        kxtMaterialClass group;
        group.SetName(name);
        for (const M& m : materials) {
            kxtMaterialBase material;
            material.SetMaterialType(m.type), material.SetName(m.name), material.SetLangName(m.lang), material.SetGaBiName(m.gabi);
            material.SetMaterialID(m.id), material.SetEnvData(m.env), material.SetSageLink(m.link);
            material.SetNativeClassName(name), material.SetLangCLassName(lang);
            for (const auto& [native, langName, gabiName] : m.processes) {
                kxtManufacturingProcess process;
                process.SetNativeName(native), process.SetLangName(langName), process.SetGaBiName(gabiName), material.InsertProc(process);
            }
            if (!m.params.second.empty()) material.InsertManufacturingParams(m.params.first, m.params.second);
            group.InsertMaterial(std::move(material));
        }
        db.InsertGroup(group);
    }
    return db;
}

kxtMaterialBase* Named(const kxtMaterialDB& db, const std::u16string& name) {
    kxtMaterialBase* found = nullptr;
    return db.GetMaterialByName(name, found, 0), found;
}

const Process kMilled{u"mill_n", u"Milled", u"milling"}, kForged{u"forge_n", u"Forged", u"forging"}, kGlued{u"glue_n", u"Glued", u""},
    kSandCast{u"sand_n", u"Sand Cast", u""};
constexpr eKxtMaterialType kCustom = eKxtCustomMaterial;

class ManagerQueriesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { kxt::test::TempInstallation::Get({.withOwnModule = true, .files = {}}); }

    void SetUp() override {
        manager_.InitResourcesData();  // standard class names are the resource module's texts: default processes apply
        *manager_.GetKxNativeDB() = Database(kxt::platform::JoinPath(u"lib", {u"korvex materials.kvxmat"}), eKxtNativeDB, {
            {u"Steel", u"Steel", {{.name = u"Bar", .lang = u"Bar-l", .gabi = u"steel bar", .id = u"N-1",
                                   .processes = {kForged, kMilled, kForged}, .params = {u"mill_n", {1.0, 2.0}}},
                                  {.name = u"Plate", .processes = {{u"sheet_n", u"Sheet Metal", u""}}}, {.name = u"Raw"}}},
            {u"Copper Alloys", u"Copper Alloys", {{.name = u"Brass", .env = 0, .processes = {{u"wire_n", u"Wire", u""}, kMilled}},
                                                  {.name = u"Bronze", .env = 0, .processes = {kMilled}}}},
            {u"OTHER NON-METALS", u"Autres", {{.name = u"Felt", .lang = u"Feutre", .gabi = u"felt"}}},
            {u"Woods", u"Bois", {{.name = u"Pine", .lang = u"Pin", .gabi = u"pine", .env = 0}}}});
        *manager_.GetKxNativeDinDB() = Database(kxt::platform::JoinPath(u"lib", {u"korvex din materials.kvxmat"}), eKxtNativeDinDB, {
            {u"Steel", u"Acier", {{.name = u"Bar", .id = u"D-1"}, {.name = u"Beam", .lang = u"Poutre", .gabi = u"steel beam", .id = u"D-2"}}},
            {u"Iron", u"Fer", {{.name = u"Cast", .lang = u"Fonte", .processes = {kSandCast, {u"mill_n", u"MILLED", u""}, kForged}}}}});
        Names noFiles;
        manager_.UpdateMaterials(noFiles, 1);

        manager_.AddCustomMaterials(Database(kxt::platform::JoinPath(u"a", {u"shop.kvxmat"}), eKxtCustomDB, {
            {u"Mine", {}, {{.name = u"MyBar", .env = 0, .type = kCustom, .link = Native(u"Bar"), .processes = {kGlued}, .params = {u"glue_n", {3.0}}},
                           {.name = u"Lonely", .env = 5, .type = kCustom, .processes = {kGlued}}}}, {u"Plain", {}, {{.name = u"P1", .type = kCustom}}}}));
        const kxtMaterialDB extras = Database(kxt::platform::JoinPath(u"b", {u"Sustainability Extras.kvxmat"}), eKxtSustainExtrasDB, {
            {u"Green", u"Vert", {{.name = u"Bamboo", .lang = u"Bambou", .gabi = u"bamboo", .type = kCustom, .link = Native(u"Bar"),
                                  .processes = {{u"cut_n", u"Cut", u"cutting"}}}}}, {u"Bare", {}, {}}});
        manager_.AddCustomMaterials(extras), *manager_.GetKxSustainExtrasDB() = extras;
        manager_.AddCustomMaterials(Database(kxt::platform::JoinPath(u"c", {u"SHOP.KVXMAT"}), eKxtCustomDB, {
            {u"MINE", {}, {{.name = u"Oak", .type = kCustom, .link = Native(u"Plate")}, {.name = u"Lonely", .type = kCustom}}}}));
    }

    kxtMaterialBase* Native(const std::u16string& name) { return Named(*manager_.GetKxNativeDB(), name); }
    kxtMaterialBase* Din(const std::u16string& name) { return Named(*manager_.GetKxNativeDinDB(), name); }
    kxtMaterialBase* Custom(std::size_t db, const std::u16string& name) { return Named(manager_.GetCustomDBs()[db], name); }
    kxtMaterialClass* CustomClass(std::size_t db) { return manager_.GetCustomDBs()[db].GetMaterialClass(0); }
    std::vector<double> Params(const char16_t* className, const char16_t* name, const char16_t* process) {
        std::vector<double> found{-1.0};
        return manager_.GetManufacturingEnergyParams(className, name, process, found), found;
    }

    kxtMaterialDBsManager manager_;
};

// Each row: the arguments, and what query answers for them.
template <class Query>
void Expect(const std::vector<std::pair<Names, Names>>& rows, Query query) {
    for (const auto& [given, expected] : rows) EXPECT_EQ(query(given), expected) << ::testing::PrintToString(given);
}

TEST_F(ManagerQueriesTest, LookupsSearchTheirDatabaseListsInOrderAndSupport) {
    kxtMaterialDBsManager& m = manager_;
    const std::vector<std::pair<kxtMaterialBase*, kxtMaterialBase*>> cases{
        {m.GetStandardMaterial(u"bar"), Native(u"Bar")}, {m.GetStandardMaterial(u"Steel", u"Bar"), Native(u"Bar")},
        {m.GetStandardMaterial(u"Steel", u"Beam"), Din(u"Beam")}, {m.GetMaterial(u"MyBar", m.GetDB(2)), Custom(0, u"MyBar")},
        {m.GetMaterial(u"MyBar", m.GetKxNativeDinDB()), nullptr}, {m.GetMaterial(u"oak", u"sHoP"), Custom(2, u"Oak")},
        {m.GetMaterial(u"Bar", u"Korvex Materials"), Native(u"Bar")}, {m.GetCustomMaterial(u"Bar", u"korvex materials"), nullptr},
        {m.GetCustomMaterialForObsoleteDocuments(u"LONELY"), Custom(0, u"Lonely")}, {kxtMaterialDBsManager().GetStandardMaterial(u"Bar"), nullptr},
        {m.GetCustomMaterial(u"lonely", &m.GetCustomDBs()[2]), Custom(2, u"Lonely")}};
    for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;

    const kxtMaterialClass* dinIron = m.GetKxNativeDinDB()->GetMaterialClass(1);
    const std::vector<std::pair<kxtMaterialClass*, const kxtMaterialClass*>> classes{
        {m.FindMaterialGroup(u"fer", eKxtNativeDB), dinIron}, {m.FindMaterialGroup(u"Iron", eKxtNativeDinDB), dinIron},
        {m.FindMaterialGroup(u"steel", -1), m.GetKxNativeDB()->GetMaterialClass(0)}, {m.FindMaterialGroup(u"Green", -1), CustomClass(1)},
        {m.FindMaterialGroup(u"mine", eKxtCustomDB), CustomClass(0)}, {m.FindMaterialGroup(u"Green", eKxtSustainExtrasDB), CustomClass(1)},
        {m.FindMaterialGroup(u"Iron", eKxtCustomDB), nullptr}, {m.FindMaterialGroup(u"Steel", 4), nullptr}};
    for (std::size_t i = 0; i < classes.size(); ++i) EXPECT_EQ(classes[i].first, classes[i].second) << "class " << i;

    // In the language of the matched name; a custom class only from the first database of the name, else left alone.
    Expect({{{u"Bar"}, {u"Steel"}}, {{u"fonte"}, {u"Fer"}}, {{u"Oak"}, {u""}}},
           [&](const Names& s) { Names c{u"?"}; return m.GetStandardMaterialClass(s[0], c[0]), c; });
    Expect({{{u"MyBar", u"Shop"}, {u"Mine"}}, {{u"Oak", u"shop"}, {u""}}, {{u"Bar", u"korvex materials"}, {u"?"}}},
           [&](const Names& s) { Names c{u"?"}; return m.GetCustomMaterialClass(s[0], s[1], c[0]), c; });

    const int one = 1, two = 2;  // support: own data for standard materials (not Pine's), a link for custom ones (not Lonely)
    const std::tuple<const char16_t*, const char16_t*, const int*, bool> support[] = {
        {u"", u"", nullptr, true}, {u"Pine", u"korvex materials", nullptr, false}, {u"Beam", u"korvex materials", &one, false},
        {u"Beam", u"korvex din materials", nullptr, true}, {u"Lonely", u"shop", &one, false}, {u"Unknown", u"elsewhere", nullptr, false},
        {u"Unknown", u"elsewhere", &two, false}, {u"Unknown", u"elsewhere", &one, true}, {u"Unknown", u"", &one, false}};
    for (const auto& [name, library, flag, supported] : support) EXPECT_EQ(manager_.IsMaterialsSupported(name, library, flag), supported);
}

TEST_F(ManagerQueriesTest, NamesMapBetweenTheNativeLanguageAndGabiVocabularies) {
    Expect({{{u"", u"bar"}, {u"Steel", u"Bar-l", u"1"}}, {{u"Woods", u"Beam"}, {u"Woods", u"Beam", u"0"}}},
           [&](Names s) { return s.push_back(manager_.MapToLang(s[0], s[1]) != 0 ? u"1" : u"0"), s; });
    // {identifier, library} -> {library, class, material}
    Expect({{{u"d-2", u"Korvex DIN Materials (2019)"}, {u"korvex din materials", u"Steel", u"Beam"}},
            {{u"N-1", u"KORVEX DIN Materials"}, {u"korvex din materials", u"?", u"?"}}, {{u"N-1", u"Shop Materials"}, {u"shop materials", u"?", u"?"}},
            {{u"N-1", u"My KORVEX Library"}, {u"korvex materials", u"Steel", u"Bar"}}},
           [&](const Names& s) { Names r{s[1], u"?", u"?"}; return manager_.MapMaterialDataToNative(s[0], r[1], r[2], r[0]), r; });
    // {class, material, library}: a custom material is calculated as its link.
    Expect({{{u"Mine", u"mybar", u"Shop"}, {u"Steel", u"Bar"}}, {{u"Mine", u"Lonely", u"shop"}, {u"Mine", u"Lonely"}},
            {{u"Vert", u"Bambou", u"sustainability extras"}, {u"Green", u"Bamboo"}}, {{u"x", u"Poutre", u"Korvex Materials"}, {u"Steel", u"Beam"}},
            {{u"", u"Bar-l", u"korvex materials"}, {u"", u"Bar-l"}}},
           [&](Names s) { return manager_.MapPartDataBeforeCalculations(s[0], s[1], s[2]), Names{s[0], s[1]}; });
    // {class, material, process}: unchanged without environmental data (Pine) or a process; Bamboo is found by its class.
    Expect({{{u"Autres", u"Felt", u"Sewn"}, {u"Other Non-Metals", u"felt", u"Sewn"}}, {{u"Woods", u"Pine", u"Sawn"}, {u"Woods", u"Pine", u"Sawn"}},
            {{u"Steel", u"Bar", u""}, {u"Steel", u"Bar", u""}}, {{u"green", u"BAMBOU", u"Cut"}, {u"Green", u"bamboo", u"cutting"}},
            {{u"Woods", u"Bamboo", u"Cut"}, {u"Woods", u"Bamboo", u"Cut"}}},
           [&](Names s) { return manager_.PrepareMaterialDataToGabi(s[0], s[1], s[2]), s; });
}

TEST_F(ManagerQueriesTest, ProcessesComeFromTheMaterialThatOwnsThem) {
    kxtMaterialDBsManager& m = manager_;
    Expect({{{u"copper alloys"}, {u""}}}, [&](const Names& s) { Names p{u"?"}; return m.GetDefaultProcess(s[0], p[0]), p; });
    // The class default if the material (or its link) has it, else its first process, else the default's text.
    Expect({{{u"Bar", u"korvex materials"}, {u"mill_n"}}, {{u"Plate", u"Korvex Materials"}, {u"sheet_n"}},
            {{u"Raw", u"korvex materials"}, {u"Milled"}}, {{u"MyBar", u"shop"}, {u"mill_n"}}, {{u"Bar", u""}, {u"?"}}},
           [&](const Names& s) { Names p{u"?"}; return manager_.GetDefaultProcessForAnyMaterial(s[0], s[1], p[0]), p; });

    const std::tuple<const char16_t*, const char16_t*, const char16_t*, int> applicable[] = {
        {u"MILLED", u"Bar", u"korvex materials", 1}, {u"Sand Cast", u"Bar", u"korvex materials", 0}, {u"Glued", u"MyBar", u"shop", 0},
        {u"Milled", u"MyBar", u"shop", 1}, {u"Cut", u"Bamboo", u"sustainability extras", 0}, {u"Glued", u"Lonely", u"shop", 1}};
    for (const auto& [process, name, library, expected] : applicable) EXPECT_EQ(manager_.IsProcessApplicable(process, name, library), expected);

    // Custom materials outside the extras answer through their link or not at all; so does the environmental data.
    int mine = 42, lonely = 42, elsewhere = 42;
    EXPECT_EQ((Names{m.MapMfgProcessToLang(u"MyBar", u"Shop", u"mill_n"), m.MapMfgProcessToLang(u"MyBar", u"Shop", u"Glued"),
                     m.MapMfgProcessToLang(u"Bamboo", u"sustainability extras", u"cut_n"), m.MapMfgProcessToLang(u"Lonely", u"shop", u"Glued"),
                     m.MapMfgProcessToNative(Native(u"Bar"), u"forged"), m.MapMfgProcessToNative(u"MyBar", u"shop", u"Milled", &mine),
                     m.MapMfgProcessToNative(u"Lonely", u"shop", u"Glued", &lonely),
                     m.MapMfgProcessToNative(u"Lonely", u"elsewhere", u"Glued", &elsewhere)}),
              (Names{u"Milled", u"", u"Cut", u"", u"forge_n", u"mill_n", u"", u""}));
    EXPECT_EQ((std::array{mine, lonely, elsewhere}), (std::array{1, 5, 42}));

    // One class: its representative's list (the first with environmental data, else the last); several: the types they share.
    Expect({{{u"steel"}, {u"Forged", u"Milled", u"Forged"}}, {{u"Unknown", u"Copper Alloys"}, {u"Milled"}}, {{u"Unknown"}, {u"old"}},
            {{u"Iron", u"Iron"}, {u"old", u"Forged", u"Milled"}}, {{u"Steel", u"Iron", u"Copper Alloys"}, {u"old", u"Milled"}}},
           [&](const Names& classes) { Names p{u"old"}; return m.GetInCommonProcesses(classes, p), p; });
    // Steel/Beam: the first class of the name decides.
    EXPECT_EQ((std::vector{Params(u"Steel", u"Beam", u"mill_n"), Params(u"steel", u"Bar-l", u"mill_n"), Params(u"mine", u"MyBar", u"glue_n"),
                           Params(u"Elsewhere", u"Bar", u"mill_n")}),
              (std::vector<std::vector<double>>{{-1.0}, {1.0, 2.0}, {3.0}, {-1.0}}));
}

TEST_F(ManagerQueriesTest, ListsAreAppendedAndFavouritesHandedOverFound) {
    std::vector<kxtMaterialClass*> classes{nullptr};  // sustainable: linked or extras classes with materials, once per name
    Materials materials{Native(u"Pine")};
    Names items{u"given"};
    manager_.GetSustainableClasses(classes), manager_.GetSustainableMaterials(materials), manager_.GetKxGeneralItems(items);
    manager_.GetDINGeneralItems(items), manager_.GetSustainExtrasGeneralItems(items);
    EXPECT_EQ(classes, (std::vector<kxtMaterialClass*>{nullptr, CustomClass(0), CustomClass(1)}));
    EXPECT_EQ(materials, (Materials{Native(u"Pine"), Custom(0, u"MyBar"), Custom(1, u"Bamboo"), Custom(2, u"Oak")}));
    EXPECT_EQ(items, (Names{u"given", u"Steel", u"Copper Alloys", u"Autres", u"Bois", u"Acier", u"Fer", u"Mine", u"Vert"}));

    // Favourites handed over: a DIN identifier gives native names, searched natively first; custom ones ignore the class.
    Names libraries{u"Korvex DIN Materials (old)", u"KORVEX DIN MATERIALS", u"Korvex Materials", u"Shop", u"Else"}, ids{u"d-1", u"?", u"?", u"", u""};
    Names groups{u"Träger", u"Acier", u"Woods", u"Wrong class", u"Mine"}, names{u"Träger 1", u"Poutre", u"Bar", u"Lonely", u"MyBar"};
    manager_.OnFavoritesUpdated(libraries, groups, names, ids);
    EXPECT_EQ(manager_.GetFavoritesMaterials(), (Materials{Native(u"Bar"), Din(u"Beam"), Custom(0, u"Lonely")}));
    EXPECT_EQ(Params(u"Elsewhere", u"bar", u"mill_n"), (std::vector<double>{1.0, 2.0})) << "a class not found: the favourites";

    Names one{u"x"}, two{u"a", u"b"};  // lists of unequal length
    manager_.OnFavoritesUpdated(one, one, one, two);
    EXPECT_EQ(manager_.GetFavoritesMaterials().size(), 3u) << "change nothing";
}

}  // namespace
