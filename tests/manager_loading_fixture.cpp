#include "manager_loading_fixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>

#include "paths/data_paths.h"
#include "platform/text.h"
#include "support/live_objects.h"
#include "support/registry_hive.h"

namespace kxt::test {
namespace {

std::string ProcessSettings(std::string_view materials) {
    return "<?xml version=\"1.0\"?>\n<ProcessSettings><ScenarioSettings><Grouping Alias=\"Material specific settings\">"
           "<Grouping Alias=\"Metals\">" + std::string(materials) + "</Grouping></Grouping></ScenarioSettings></ProcessSettings>\n";
}

std::string Lang(std::string_view lang, std::string_view file) { return "lang/" + std::string(lang) + "/kvxmaterials/" + std::string(file); }

// A folder below the installation's temporary folder that no test used before.
std::u16string NewFolder(std::string_view kind) {
    static std::atomic<int> counter{0};
    const std::filesystem::path folder =
        (Installation().Root() / ("../../../" + std::string(kind) + "-" + std::to_string(++counter))).lexically_normal();
    std::filesystem::create_directories(folder);
    return ModulePath(folder);
}

}  // namespace

std::string LibraryXml(const std::vector<LibClass>& classes) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<materials>\n";
    for (const LibClass& group : classes) {
        xml += "<classification name=\"" + group.name + "\">\n";
        for (const LibMaterial& m : group.materials) {
            xml += "<material name=\"" + m.name + "\" matid=\"" + m.matid +
                   "\"><physicalproperties><DENS displayname=\"Mass Density\" value=\"7850\"/></physicalproperties>";
            if (!m.linkId.empty()) xml += "<sustainability linkId=\"" + m.linkId + "\" dbName=\"" + m.linkDb + "\"/>";
            xml += "</material>\n";
        }
        xml += "</classification>\n";
    }
    return xml + "</materials>\n";
}

const TempInstallation& Installation() {
    return TempInstallation::Get({.withOwnModule = true, .withSampleData = false, .files = {
        {Lang("english", "Korvex Materials.kvxmat"),
         LibraryXml({{"Steel", {{"Carbon Steel", "KM01"}, {"Stainless Steel", "KM02"}}}, {"Plastics", {{"Nylon", "KM03"}}}})},
        {Lang("french", "Korvex Materials.kvxmat"),
         LibraryXml({{"Acier", {{"Acier au carbone", "KM01"}, {"Acier inoxydable", "KM02"}}}, {"Plastiques", {{"Polyamide", "KM03"}}}})},
        {Lang("english", "Korvex din Materials.kvxmat"), LibraryXml({{"Steel", {{"1.0038", "1.0038"}, {"1.4301", "1.4301"}}}})},
        {Lang("french", "Korvex din Materials.kvxmat"), LibraryXml({{"Acier", {{"1.0038 S235", "1.0038"}, {"1.4301 X5CrNi", "1.4301"}}}})},
        {Lang("english", "Sustainability Extras.kvxmat"), LibraryXml({{"Recycled", {{"Recycled Steel"}}}, {"Bio", {{"Bio Resin"}}}})},
        {Lang("french", "Sustainability Extras.kvxmat"), LibraryXml({{"Recyclé", {{"Acier recyclé"}}}, {"Bio", {{"Résine bio"}}}})},
        {"data/resources/kxterra/materials process.dat",
         ProcessSettings("<Grouping Alias=\"Carbon Steel\"><Parameter Name=\"milled_part\" Alias=\"Milled\"/>"
                         "<Parameter Name=\"recycled_cont\" Alias=\"recycled_cont\" MaxValue=\"80\" MinValue=\"10\">"
                         "<Value v=\"25\"/></Parameter><Grouping Alias=\"milled_part_mfg_params\"><Parameter Name=\"e\">"
                         "<Value v=\"2.5\"/></Parameter></Grouping></Grouping>"
                         "<Grouping Alias=\"Recycled Steel\"><Parameter Name=\"turned_part\" Alias=\"Turned\"/></Grouping>")},
        {"data/resources/kxterra/DINMaterialsMapper.txt", "1.0038 KM01\n1.4301 KM02\n"},
    }});
}

bool English() {
    const char* language = std::getenv("KXT_LANGUAGE");
    return language == nullptr || language[0] == '\0' || std::string_view(language) == "english";
}

std::u16string FolderOf(const std::u16string& path) { return path.substr(0, path.rfind(platform::kPathSeparator)); }

std::u16string Upper(std::u16string text) {
    for (char16_t& c : text) c = c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
    return text;
}

std::u16string WriteFile(const std::u16string& folder, std::string_view name, std::string_view bytes) {
    std::u16string path = paths::JoinPath(folder, {platform::Utf8ToUtf16(name)});
    std::ofstream(Utf8Path(platform::Utf16ToUtf8(path)), std::ios::binary | std::ios::trunc) << bytes;
    return path;
}

std::u16string NewUserFolder(bool withExtras, bool withProcesses) {
    std::u16string folder = NewFolder("user");
    if (withExtras)
        WriteFile(folder, "Sustainability Extras.kvxmat",
                  LibraryXml({{"Recycled", {{"Recycled Steel"}}}, {"Reclaimed", {{"Reclaimed Brick"}}}}));
    if (withProcesses)
        WriteFile(folder, "materials process.dat",
                  ProcessSettings("<Grouping Alias=\"Carbon Steel\"><Parameter Name=\"forged_part\" Alias=\"Forged\"/></Grouping>"));
    return folder;
}

CustomLibraries NewCustomLibraries() {
    const std::u16string folder = NewFolder("custom");
    return {WriteFile(folder, "My Materials.kvxmat",
                      LibraryXml({{"Brackets", {{"Bracket", "", "KM01", "korvex materials"},
                                                {"Greener", "", "Recycled Steel in Sustainability Extras", "Sustainability Extras"}, {"Plain"}}}})),
            WriteFile(folder, "Other Materials.kvxmat", LibraryXml({{"Misc", {{"Bracket"}, {"Widget"}}}}))};
}

std::u16string LangFolderLibrary(std::u16string_view fileName) {
    Installation();
    return paths::ReportedLibrary(paths::DefaultLangPath(), fileName);
}

void Load(kxtMaterialDBsManager& manager, const std::u16string& userFolder, std::vector<std::u16string> files, int flag) {
    Installation();
    manager.InitResourcesData(), manager.SetKXVersion(33), manager.SetProgDataSustainabilityPath(userFolder);
    manager.UpdateMaterials(files, flag);
}

void UseRegistry(const std::vector<RegistryKeyLines>& keys) {
    std::string text = "Windows Registry Editor Version 5.00\n";
    for (const RegistryKeyLines& key : keys) {
        text += "\n[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex " + std::to_string(key.keyNumber) + "\\Material]\n";
        for (const std::string& line : key.lines) text += line + "\n";
    }
    UseRegistryExport(text);
}

std::vector<std::string> FavouriteLines(const std::vector<std::string>& favourites) {
    char count[32];
    std::snprintf(count, sizeof count, "\"__NumOfFavs\"=dword:%08zx", favourites.size());
    std::vector<std::string> lines{count};
    for (std::size_t i = 0; i < favourites.size(); ++i)
        lines.push_back("\"_FavMaterial" + std::to_string(i + 1) + "\"=\"" + favourites[i] + "\"");
    return lines;
}

std::vector<std::u16string> NamesOf(const std::vector<kxtMaterialBase*>& materials) {
    std::vector<std::u16string> names;
    for (const kxtMaterialBase* material : materials) names.push_back(material->GetName());
    return names;
}

std::vector<std::u16string> ClassNamesOf(const kxtMaterialDB& db) {
    std::vector<std::u16string> names;
    for (unsigned i = 0; i < db.GetGroupCount(); ++i) names.push_back(db.GetMaterialClass(static_cast<int>(i))->GetName());
    return names;
}

kxtMaterialBase* MaterialAt(const kxtMaterialDB& db, unsigned int i, unsigned int j) {
    kxtMaterialBase* material = nullptr;
    return db.GetMaterial(i, j, material), material;
}

void ExpectPointersIntoLiveStorage(kxtMaterialDBsManager& manager) {
    EXPECT_EQ(manager.GetDatabaseCount(), static_cast<int>(2 + manager.GetCustomDBs().size()));
    EXPECT_TRUE(HoldsOnlyLiveObjects(manager));
}

}  // namespace kxt::test
