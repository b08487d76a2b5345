// The manager's queries over one set of databases built in memory: lookups,
// name mappings, processes and the lists handed to the calculation.
#include <kxtmat/kxtmat.h>

#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_installation.h"

namespace {

using Names = std::vector<std::u16string>;
using Materials = std::vector<kxtMaterialBase*>;

struct M {
    std::u16string name = {}, lang = {}, gabi = {}, id = {};
    int env = 1;
    eKxtMaterialType type = eKxtStandardMaterial;
    kxtMaterialBase* link = nullptr;
    std::vector<std::array<std::u16string, 3>> processes = {};  // native, language, GaBi name
    std::u16string paramsOf = {};
    std::vector<double> params = {};
};

// A class whose materials carry its names as their native and language class names.
kxtMaterialClass Class(const std::u16string& name, const std::u16string& lang, const std::vector<M>& materials) {
    kxtMaterialClass group;
    group.SetName(name);
    for (const M& m : materials) {
        kxtMaterialBase material;
        material.SetMaterialType(m.type);
        material.SetName(m.name);
        material.SetLangName(m.lang);
        material.SetGaBiName(m.gabi);
        material.SetMaterialID(m.id);
        material.SetEnvData(m.env);
        material.SetSageLink(m.link);
        for (const auto& [native, langName, gabiName] : m.processes) {
            kxtManufacturingProcess process;
            process.SetNativeName(native);
            process.SetLangName(langName);
            process.SetGaBiName(gabiName);
            material.InsertProc(process);
        }
        if (!m.params.empty()) material.InsertManufacturingParams(m.paramsOf, m.params);
        material.SetNativeClassName(name);
        material.SetLangCLassName(lang);
        group.InsertMaterial(std::move(material));
    }
    return group;
}

kxtMaterialDB Database(const std::u16string& path, eKxtMaterialBDType type, const std::vector<kxtMaterialClass>& classes) {
    kxtMaterialDB db;
    db.SetDBType(type);
    db.SetPath(path);
    for (const kxtMaterialClass& group : classes) db.InsertGroup(group);
    return db;
}

kxtMaterialBase* Named(kxtMaterialDB& db, const std::u16string& name) {
    kxtMaterialBase* found = nullptr;
    db.GetMaterialByName(name, found, 0);
    return found;
}

const std::array<std::u16string, 3> kMilled{u"mill_n", u"Milled", u"milling"};
const std::array<std::u16string, 3> kForged{u"forge_n", u"Forged", u"forging"};

class ManagerQueriesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        kxt::test::InstallationOptions options;
        options.withOwnModule = true;
        kxt::test::TempInstallation::Get(options);
    }

    // Class names of the standard libraries are the resource module's texts,
    // so that default processes apply ("Steel" -> "Milled").
    void SetUp() override {
        manager_.InitResourcesData();
        *manager_.GetKxNativeDB() = Database(
            u"lib/korvex materials.kvxmat", eKxtNativeDB,
            {Class(u"Steel", u"Steel",
                   {{.name = u"Bar", .lang = u"Bar-l", .gabi = u"steel bar", .id = u"N-1",
                     .processes = {kForged, kMilled, kForged}, .paramsOf = u"mill_n", .params = {1.0, 2.0}},
                    {.name = u"Plate", .processes = {{u"sheet_n", u"Sheet Metal", u""}}},
                    {.name = u"Raw"}}),
             Class(u"Copper Alloys", u"Copper Alloys",
                   {{.name = u"Brass", .env = 0, .processes = {{u"wire_n", u"Wire", u""}, kMilled}},
                    {.name = u"Bronze", .env = 0, .processes = {kMilled}}}),
             Class(u"OTHER NON-METALS", u"Autres", {{.name = u"Felt", .lang = u"Feutre", .gabi = u"felt"}}),
             Class(u"Woods", u"Bois", {{.name = u"Pine", .lang = u"Pin", .gabi = u"pine", .env = 0}})});
        *manager_.GetKxNativeDinDB() = Database(
            u"lib/korvex din materials.kvxmat", eKxtNativeDinDB,
            {Class(u"Steel", u"Acier",
                   {{.name = u"Bar", .id = u"D-1"}, {.name = u"Beam", .lang = u"Poutre", .gabi = u"steel beam", .id = u"D-2"}}),
             Class(u"Iron", u"Fer",
                   {{.name = u"Cast", .lang = u"Fonte", .id = u"D-3",
                     .processes = {{u"sand_n", u"Sand Cast", u""}, {u"mill_n", u"MILLED", u""}, kForged}}})});
        std::vector<std::u16string> noFiles;
        manager_.UpdateMaterials(noFiles, 1);

        kxtMaterialBase* bar = Native(u"Bar");
        const eKxtMaterialType custom = eKxtCustomMaterial;
        manager_.AddCustomMaterials(Database(
            u"a/shop.kvxmat", eKxtCustomDB,
            {Class(u"Mine", {},
                   {{.name = u"MyBar", .env = 0, .type = custom, .link = bar, .processes = {{u"glue_n", u"Glued", u""}},
                     .paramsOf = u"glue_n", .params = {3.0}},
                    {.name = u"Lonely", .env = 5, .type = custom, .processes = {{u"glue_n", u"Glued", u""}}}}),
             Class(u"Plain", {}, {{.name = u"P1", .type = custom}}), Class(u"Empty", {}, {})}));
        const kxtMaterialDB extras = Database(
            u"b/Sustainability Extras.kvxmat", eKxtSustainExtrasDB,
            {Class(u"Green", u"Vert",
                   {{.name = u"Bamboo", .lang = u"Bambou", .gabi = u"bamboo", .type = custom, .link = bar,
                     .processes = {{u"cut_n", u"Cut", u"cutting"}}}}),
             Class(u"Bare", {}, {})});
        manager_.AddCustomMaterials(extras);
        *manager_.GetKxSustainExtrasDB() = extras;
        manager_.AddCustomMaterials(Database(
            u"c/SHOP.KVXMAT", eKxtCustomDB,
            {Class(u"MINE", {}, {{.name = u"Oak", .type = custom, .link = Native(u"Plate")}, {.name = u"Lonely", .type = custom}})}));
    }

    kxtMaterialBase* Native(const std::u16string& name) { return Named(*manager_.GetKxNativeDB(), name); }
    kxtMaterialBase* Din(const std::u16string& name) { return Named(*manager_.GetKxNativeDinDB(), name); }
    kxtMaterialBase* Custom(std::size_t db, const std::u16string& name) { return Named(manager_.GetCustomDBs()[db], name); }
    kxtMaterialClass* CustomClass(std::size_t db, int index) { return manager_.GetCustomDBs()[db].GetMaterialClass(index); }

    kxtMaterialDBsManager manager_;
};

TEST_F(ManagerQueriesTest, MaterialLookupsSearchTheirDatabaseListsInOrder) {
    kxtMaterialDBsManager& m = manager_;
    const kxtMaterialDB copy = *m.GetDB(2);
    const std::vector<std::pair<kxtMaterialBase*, kxtMaterialBase*>> cases{
        {m.GetStandardMaterial(u"bar"), Native(u"Bar")},  // the native database first
        {m.GetStandardMaterial(u"POUTRE"), Din(u"Beam")},
        {m.GetStandardMaterial(u"steel bar"), nullptr},  // GaBi names never match
        {m.GetStandardMaterial(u"acier", u"Beam"), Din(u"Beam")},  // a class without the material is passed over
        {m.GetStandardMaterial(u"Steel", u"Bar"), Native(u"Bar")},
        {m.GetStandardMaterial(u"Iron", u"Bar"), nullptr},
        {m.GetMaterial(u"MyBar", m.GetDB(2)), Custom(0, u"MyBar")},
        {m.GetMaterial(u"Bar", m.GetKxNativeDinDB()), Din(u"Bar")},
        {m.GetMaterial(u"MyBar", m.GetKxNativeDinDB()), nullptr},
        {m.GetMaterial(u"MyBar", &copy), nullptr},  // a copy is not in the database list
        {m.GetMaterial(u"oak", u"sHoP"), Custom(2, u"Oak")},  // every database of that name
        {m.GetMaterial(u"Bar", u"Korvex Materials"), Native(u"Bar")},
        {m.GetMaterial(u"Oak", u"shop.kvxmat"), nullptr},
        {m.GetCustomMaterial(u"Bar", u"korvex materials"), nullptr},
        {m.GetCustomMaterial(u"Bamboo", static_cast<const kxtMaterialDB*>(nullptr)), Custom(1, u"Bamboo")},
        {m.GetCustomMaterial(u"lonely", &m.GetCustomDBs()[2]), Custom(2, u"Lonely")},
        {m.GetCustomMaterial(u"MyBar", m.GetKxNativeDB()), nullptr},
        {m.GetCustomMaterialForObsoleteDocuments(u"LONELY"), Custom(0, u"Lonely")},
        {m.GetCustomMaterialForObsoleteDocuments(u"Bar"), nullptr},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;

    kxtMaterialDBsManager empty;
    EXPECT_EQ(empty.GetStandardMaterial(u"Bar"), nullptr);
    EXPECT_EQ(empty.GetMaterial(u"Bar", u"korvex materials"), nullptr);
    EXPECT_EQ(empty.FindMaterialGroup(u"Steel", -1), nullptr);
}

TEST_F(ManagerQueriesTest, ClassLookupsSearchTheCollectionsOfTheType) {
    kxtMaterialDBsManager& m = manager_;
    const kxtMaterialClass* dinIron = m.GetKxNativeDinDB()->GetMaterialClass(1);
    const std::vector<std::pair<kxtMaterialClass*, const kxtMaterialClass*>> cases{
        {m.FindMaterialGroup(u"fer", eKxtNativeDB), dinIron},
        {m.FindMaterialGroup(u"Iron", eKxtNativeDinDB), dinIron},
        {m.FindMaterialGroup(u"steel", -1), m.GetKxNativeDB()->GetMaterialClass(0)},
        {m.FindMaterialGroup(u"mine", eKxtCustomDB), CustomClass(0, 0)},
        {m.FindMaterialGroup(u"Green", eKxtSustainExtrasDB), CustomClass(1, 0)},
        {m.FindMaterialGroup(u"Green", -1), CustomClass(1, 0)},
        {m.FindMaterialGroup(u"Green", eKxtNativeDB), nullptr},
        {m.FindMaterialGroup(u"Iron", eKxtCustomDB), nullptr},
        {m.FindMaterialGroup(u"Steel", 4), nullptr},
        {m.FindMaterialGroup(u"Steel", -2), nullptr},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;

    // In the language of the matched name; a custom class only from the first database of the name.
    const auto standardClass = [&](const std::u16string& name) {
        std::u16string className = u"caller's";
        m.GetStandardMaterialClass(name, className);
        return className;
    };
    const auto customClass = [&](const std::u16string& name, const std::u16string& library) {
        std::u16string className = u"caller's";
        m.GetCustomMaterialClass(name, library, className);
        return className;
    };
    EXPECT_EQ((Names{standardClass(u"Bar"), standardClass(u"Cast"), standardClass(u"fonte"), standardClass(u"Oak")}),
              (Names{u"Steel", u"Iron", u"Fer", u""}));
    EXPECT_EQ((Names{customClass(u"MyBar", u"Shop"), customClass(u"Oak", u"shop"), customClass(u"Bar", u"korvex materials")}),
              (Names{u"Mine", u"", u"caller's"}));
}

TEST_F(ManagerQueriesTest, SupportIsOwnDataForStandardAndALinkForCustomMaterials) {
    const int one = 1;
    const int two = 2;
    struct Case {
        const char16_t* name;
        const char16_t* library;
        const int* flag;
        bool supported;
    };
    const Case cases[] = {
        {u"", u"", nullptr, true},
        {u"Bar", u"Korvex Materials", nullptr, true},
        {u"Pine", u"korvex materials", nullptr, false},  // no data of its own
        {u"Beam", u"korvex materials", &one, false},     // only that database
        {u"Beam", u"korvex din materials", nullptr, true},
        {u"bamboo", u"sustainability extras", nullptr, true},
        {u"MyBar", u"shop", nullptr, true},
        {u"Lonely", u"shop", &one, false},  // no link
        {u"Unknown", u"elsewhere", nullptr, false},
        {u"Unknown", u"elsewhere", &two, false},
        {u"Unknown", u"elsewhere", &one, true},
        {u"Unknown", u"", &one, false},
    };
    for (const Case& c : cases) EXPECT_EQ(manager_.IsMaterialsSupported(c.name, c.library, c.flag), c.supported);
}

TEST_F(ManagerQueriesTest, NamesMapBetweenTheNativeLanguageAndGabiVocabularies) {
    const auto call = [&](auto mapping, std::u16string className, std::u16string materialName) {
        const int found = (manager_.*mapping)(className, materialName);
        return Names{found != 0 ? u"found" : u"missed", className, materialName};
    };
    EXPECT_EQ(call(&kxtMaterialDBsManager::MapToLang, u"", u"bar"), (Names{u"found", u"Steel", u"Bar-l"}));
    EXPECT_EQ(call(&kxtMaterialDBsManager::MapToLang, u"Steel", u"Beam"), (Names{u"found", u"Acier", u"Poutre"}));
    EXPECT_EQ(call(&kxtMaterialDBsManager::MapToLang, u"Woods", u"Beam"), (Names{u"missed", u"Woods", u"Beam"}));
    EXPECT_EQ(call(&kxtMaterialDBsManager::MapToLang, u"", u"MyBar"), (Names{u"missed", u"", u"MyBar"}));
    EXPECT_EQ(call(&kxtMaterialDBsManager::MapToNative, u"acier", u"POUTRE"), (Names{u"found", u"Steel", u"Beam"}));

    const auto byId = [&](const std::u16string& id, std::u16string library) {
        std::u16string className = u"class";
        std::u16string materialName = u"material";
        manager_.MapMaterialDataToNative(id, className, materialName, library);
        return Names{library, className, materialName};
    };
    EXPECT_EQ(byId(u"d-2", u"Korvex DIN Materials (2019)"), (Names{u"korvex din materials", u"Steel", u"Beam"}));
    EXPECT_EQ(byId(u"N-1", u"KORVEX DIN Materials"), (Names{u"korvex din materials", u"class", u"material"}));
    EXPECT_EQ(byId(u"N-1", u"My KORVEX Library"), (Names{u"korvex materials", u"Steel", u"Bar"}));
    EXPECT_EQ(byId(u"N-1", u"Shop Materials"), (Names{u"shop materials", u"class", u"material"}));

    const auto partData = [&](std::u16string className, std::u16string materialName, const std::u16string& library) {
        manager_.MapPartDataBeforeCalculations(className, materialName, library);
        return Names{className, materialName};
    };
    EXPECT_EQ(partData(u"Mine", u"mybar", u"Shop"), (Names{u"Steel", u"Bar"})) << "a custom material is its link";
    EXPECT_EQ(partData(u"Mine", u"Lonely", u"shop"), (Names{u"Mine", u"Lonely"}));
    EXPECT_EQ(partData(u"Vert", u"Bambou", u"sustainability extras"), (Names{u"Green", u"Bamboo"}));
    EXPECT_EQ(partData(u"x", u"Poutre", u"Korvex Materials"), (Names{u"Steel", u"Beam"}));
    EXPECT_EQ(partData(u"", u"Bar-l", u"korvex materials"), (Names{u"", u"Bar-l"}));

    const auto gabi = [&](std::u16string className, std::u16string materialName, std::u16string process) {
        manager_.PrepareMaterialDataToGabi(className, materialName, process);
        return Names{className, materialName, process};
    };
    EXPECT_EQ(gabi(u"Steel", u"Bar-l", u"FORGED"), (Names{u"Steel", u"steel bar", u"forging"}));
    EXPECT_EQ(gabi(u"Autres", u"Felt", u"Sewn"), (Names{u"Other Non-Metals", u"felt", u"Sewn"}));
    EXPECT_EQ(gabi(u"Woods", u"Pine", u"Sawn"), (Names{u"Woods", u"Pine", u"Sawn"})) << "no environmental data";
    EXPECT_EQ(gabi(u"Steel", u"Bar", u""), (Names{u"Steel", u"Bar", u""}));
    EXPECT_EQ(gabi(u"green", u"BAMBOU", u"Cut"), (Names{u"Green", u"bamboo", u"cutting"})) << "found by its class";
    EXPECT_EQ(gabi(u"Woods", u"Bamboo", u"Cut"), (Names{u"Woods", u"Bamboo", u"Cut"}));
}

TEST_F(ManagerQueriesTest, ProcessesComeFromTheMaterialThatOwnsThem) {
    const auto defaultProcess = [&](const std::u16string& langClassName) {
        std::u16string process = u"caller's";
        manager_.GetDefaultProcess(langClassName, process);
        return process;
    };
    EXPECT_EQ((Names{defaultProcess(u"Copper Alloys"), defaultProcess(u"copper alloys"), defaultProcess(u"Woods")}),
              (Names{u"Wire", u"", u"None"}));
    std::u16string process = u"caller's";
    kxtMaterialDBsManager().GetDefaultProcess(u"Steel", process);
    EXPECT_EQ(process, u"") << "no resource module";

    const auto defaultFor = [&](const std::u16string& name, const std::u16string& library) {
        std::u16string found = u"caller's";
        manager_.GetDefaultProcessForAnyMaterial(name, library, found);
        return found;
    };
    EXPECT_EQ(defaultFor(u"Bar", u"korvex materials"), u"mill_n");
    EXPECT_EQ(defaultFor(u"bar-l", u"KORVEX DIN MATERIALS"), u"mill_n");
    EXPECT_EQ(defaultFor(u"Plate", u"Korvex Materials"), u"sheet_n") << "the default is not its process";
    EXPECT_EQ(defaultFor(u"Raw", u"korvex materials"), u"Milled") << "no process: the default text stays";
    EXPECT_EQ(defaultFor(u"MyBar", u"shop"), u"mill_n") << "the linked material decides";
    EXPECT_EQ(defaultFor(u"Bar", u""), u"caller's") << "an empty library is a custom one";

    const std::vector<std::pair<int, int>> applicable{
        {manager_.IsProcessApplicable(u"MILLED", u"Bar", u"korvex materials"), 1},
        {manager_.IsProcessApplicable(u"forge_n", u"Bar", u"korvex din materials"), 1},
        {manager_.IsProcessApplicable(u"Sand Cast", u"Bar", u"korvex materials"), 0},
        {manager_.IsProcessApplicable(u"Glued", u"MyBar", u"shop"), 0},
        {manager_.IsProcessApplicable(u"Milled", u"MyBar", u"shop"), 1},
        {manager_.IsProcessApplicable(u"Cut", u"Bamboo", u"sustainability extras"), 0},
        {manager_.IsProcessApplicable(u"Glued", u"Lonely", u"shop"), 1},
    };
    for (std::size_t i = 0; i < applicable.size(); ++i) EXPECT_EQ(applicable[i].first, applicable[i].second) << i;

    // Custom materials outside the extras answer through their link, or not at all.
    EXPECT_EQ(manager_.MapMfgProcessToLang(u"MyBar", u"Shop", u"mill_n"), u"Milled");
    EXPECT_EQ(manager_.MapMfgProcessToLang(u"MyBar", u"Shop", u"Glued"), u"");
    EXPECT_EQ(manager_.MapMfgProcessToLang(u"Bamboo", u"sustainability extras", u"cut_n"), u"Cut");
    EXPECT_EQ(manager_.MapMfgProcessToLang(u"Lonely", u"shop", u"Glued"), u"");
    EXPECT_EQ(manager_.MapMfgProcessToLang(u"Cast", u"korvex din materials", u"sand_n"), u"Sand Cast");
    EXPECT_EQ(manager_.MapMfgProcessToNative(Native(u"Bar"), u"forged"), u"forge_n");
    const std::u16string& missing = manager_.MapMfgProcessToLang(nullptr, u"Milled");
    EXPECT_EQ(&manager_.MapMfgProcessToNative(u"Nothing", u"shop", u"Milled", nullptr), &missing)
        << "failures answer the one shared empty string";

    int envData = 42;
    EXPECT_EQ(manager_.MapMfgProcessToNative(u"MyBar", u"shop", u"Milled", &envData), u"mill_n");
    EXPECT_EQ(envData, 1) << "the linked material's value";
    EXPECT_EQ(manager_.MapMfgProcessToNative(u"Lonely", u"shop", u"Glued", &envData), u"");
    EXPECT_EQ(envData, 5) << "written even when the process is not found";
    envData = 42;
    manager_.MapMfgProcessToNative(u"Lonely", u"elsewhere", u"Glued", &envData);
    EXPECT_EQ(envData, 42);
}

TEST_F(ManagerQueriesTest, ProcessesInCommonAndEnergyParameters) {
    const auto inCommon = [&](const Names& classes) {
        Names processes{u"old"};
        manager_.GetInCommonProcesses(classes, processes);
        return processes;
    };
    // One class: its representative's own list (the first with environmental
    // data, else the last); several: the standard process types they share.
    EXPECT_EQ(inCommon({u"steel"}), (Names{u"Forged", u"Milled", u"Forged"}));
    EXPECT_EQ(inCommon({u"Unknown", u"Copper Alloys"}), (Names{u"Milled"}));
    EXPECT_EQ(inCommon({u"Unknown"}), (Names{u"old"}));
    EXPECT_EQ(inCommon({u"Iron", u"Iron"}), (Names{u"old", u"Forged", u"Milled"}));
    EXPECT_EQ(inCommon({u"Steel", u"Iron", u"Copper Alloys"}), (Names{u"old", u"Milled"}));
    EXPECT_EQ(inCommon({u"Woods", u"Steel"}), (Names{u"old"}));

    const auto params = [&](const std::u16string& className, const std::u16string& name, const std::u16string& process) {
        std::vector<double> found{-1.0};
        manager_.GetManufacturingEnergyParams(className, name, process, found);
        return found;
    };
    EXPECT_EQ(params(u"Steel", u"Beam", u"mill_n"), std::vector<double>{-1.0}) << "the first class of the name decides";
    EXPECT_EQ(params(u"Steel", u"Bar", u"MILL_N"), std::vector<double>{-1.0}) << "process keys regard case";
    EXPECT_EQ(params(u"steel", u"Bar-l", u"mill_n"), (std::vector<double>{1.0, 2.0}));
    EXPECT_EQ(params(u"mine", u"MyBar", u"glue_n"), std::vector<double>{3.0});
    EXPECT_EQ(params(u"Elsewhere", u"Bar", u"mill_n"), std::vector<double>{-1.0});
    Names libraries{u"korvex materials"}, classes{u"Steel"}, materials{u"Bar"}, ids{u"N-1"};
    manager_.OnFavoritesUpdated(libraries, classes, materials, ids);
    EXPECT_EQ(params(u"Elsewhere", u"bar", u"mill_n"), (std::vector<double>{1.0, 2.0})) << "a favourite";
}

TEST_F(ManagerQueriesTest, SustainableListsAndGeneralItemsAreAppended) {
    std::vector<kxtMaterialClass*> classes{nullptr};
    manager_.GetSustainableClasses(classes);
    EXPECT_EQ(classes, (std::vector<kxtMaterialClass*>{nullptr, CustomClass(0, 0), CustomClass(1, 0)}))
        << "linked or extras classes with materials, once per name";
    kxtMaterialClass green;
    green.SetName(u"GREEN");
    classes = {&green};
    manager_.GetSustainableClasses(classes);
    EXPECT_EQ(classes, (std::vector<kxtMaterialClass*>{&green, CustomClass(0, 0)}));

    Materials materials{Native(u"Pine")};
    manager_.GetSustainableMaterials(materials);
    EXPECT_EQ(materials, (Materials{Native(u"Pine"), Custom(0, u"MyBar"), Custom(1, u"Bamboo"), Custom(2, u"Oak")}));

    Names items{u"given"};
    manager_.GetKxGeneralItems(items);
    manager_.GetDINGeneralItems(items);
    manager_.GetSustainExtrasGeneralItems(items);
    EXPECT_EQ(items, (Names{u"given", u"Steel", u"Copper Alloys", u"Autres", u"Bois", u"Acier", u"Fer", u"Mine", u"Vert"}));
}

TEST_F(ManagerQueriesTest, FavouritesHandedOverAreFoundByIdentifierClassAndLibrary) {
    Names libraries{u"Korvex DIN Materials (old)", u"KORVEX DIN MATERIALS", u"korvex din materials", u"Korvex Materials",
                    u"Shop", u"Unknown Library", u"SHOP"};
    Names classes{u"Träger", u"Acier", u"acier", u"Woods", u"Wrong class", u"Mine", u"Mine"};
    Names materials{u"Träger 1", u"Poutre", u"Bar", u"Bar", u"Lonely", u"MyBar", u"Oak"};
    Names ids{u"d-1", u"no such id", u"", u"no such id", u"", u"", u""};
    manager_.OnFavoritesUpdated(libraries, classes, materials, ids);
    // A DIN identifier gives native names, searched in the native database first.
    EXPECT_EQ(manager_.GetFavoritesMaterials(), (Materials{Native(u"Bar"), Din(u"Beam"), Din(u"Bar"), Custom(0, u"Lonely"),
                                                            Custom(2, u"Oak")}));
    EXPECT_EQ(libraries, (Names{u"korvex din materials", u"korvex din materials", u"korvex din materials",
                                u"korvex materials", u"shop", u"unknown library", u"shop"}));
    EXPECT_EQ((Names{classes[0], materials[0], materials[1], classes[4]}), (Names{u"Steel", u"Bar", u"Poutre", u"Wrong class"}));

    Names one{u"x"}, two{u"a", u"b"};
    manager_.OnFavoritesUpdated(one, one, one, two);
    EXPECT_EQ(manager_.GetFavoritesMaterials().size(), 5u) << "lists of unequal length change nothing";
}

}  // namespace
