#include "manager_loading_fixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "paths/data_paths.h"
#include "paths/sibling_services.h"
#include "platform/files.h"
#include "platform/text.h"
#include "support/live_objects.h"

namespace kxt::test {
namespace {

namespace fs = std::filesystem;

std::string Attribute(std::string_view name, const std::string& value) {
    return " " + std::string(name) + "=\"" + value + "\"";
}

const std::vector<LibClass> kNativeEnglish{
    {"Steel", {{"Carbon Steel", "KM01", "", ""}, {"Stainless Steel", "KM02", "", ""}}},
    {"Plastics", {{"Nylon", "KM03", "", ""}}},
};
const std::vector<LibClass> kNativeFrench{
    {"Acier", {{"Acier au carbone", "KM01", "", ""}, {"Acier inoxydable", "KM02", "", ""}}},
    {"Plastiques", {{"Polyamide", "KM03", "", ""}}},
};
const std::vector<LibClass> kDinEnglish{{"Steel", {{"1.0038", "1.0038", "", ""}, {"1.4301", "1.4301", "", ""}}}};
const std::vector<LibClass> kDinFrench{
    {"Acier", {{"1.0038 S235", "1.0038", "", ""}, {"1.4301 X5CrNi", "1.4301", "", ""}}}};
const std::vector<LibClass> kExtrasEnglish{
    {"Recycled", {{"Recycled Steel", "", "", ""}}},
    {"Bio", {{"Bio Resin", "", "", ""}}},
};
const std::vector<LibClass> kExtrasFrench{
    {"Recyclé", {{"Acier recyclé", "", "", ""}}},
    {"Bio", {{"Résine bio", "", "", ""}}},
};
const std::vector<LibClass> kExtrasUser{
    {"Recycled", {{"Recycled Steel", "", "", ""}}},
    {"Reclaimed", {{"Reclaimed Brick", "", "", ""}}},
};

std::string ProcessSettings(std::string_view materials) {
    return "<?xml version=\"1.0\"?>\n<ProcessSettings><ScenarioSettings>"
           "<Grouping Alias=\"Material specific settings\"><Grouping Alias=\"Metals\" Comment=\"metals\">" +
           std::string(materials) + "</Grouping></Grouping></ScenarioSettings></ProcessSettings>\n";
}

const std::string kInstalledProcesses = ProcessSettings(
    "<Grouping Alias=\"Carbon Steel\">"
    "<Parameter Name=\"milled_part\" Alias=\"Milled\"/>"
    "<Parameter Name=\"recycled_cont\" Alias=\"recycled_cont\" MaxValue=\"80\" MinValue=\"10\"><Value v=\"25\"/></Parameter>"
    "<Grouping Alias=\"milled_part_mfg_params\"><Parameter Name=\"e\"><Value v=\"2.5\"/></Parameter></Grouping>"
    "</Grouping>"
    "<Grouping Alias=\"Recycled Steel\"><Parameter Name=\"turned_part\" Alias=\"Turned\"/></Grouping>");

const std::string kUserProcesses =
    ProcessSettings("<Grouping Alias=\"Carbon Steel\"><Parameter Name=\"forged_part\" Alias=\"Forged\"/></Grouping>");

std::string Lang(std::string_view language, std::string_view file) {
    return "lang/" + std::string(language) + "/kvxmaterials/" + std::string(file);
}

InstallationOptions Options() {
    InstallationOptions options;
    options.withOwnModule = true;
    options.files = {
        {Lang("english", "Korvex Materials.kvxmat"), LibraryXml(kNativeEnglish)},
        {Lang("french", "Korvex Materials.kvxmat"), LibraryXml(kNativeFrench)},
        {Lang("english", "Korvex din Materials.kvxmat"), LibraryXml(kDinEnglish)},
        {Lang("french", "Korvex din Materials.kvxmat"), LibraryXml(kDinFrench)},
        {Lang("english", "Sustainability Extras.kvxmat"), LibraryXml(kExtrasEnglish)},
        {Lang("french", "Sustainability Extras.kvxmat"), LibraryXml(kExtrasFrench)},
        {"data/resources/kxterra/materials process.dat", kInstalledProcesses},
        {"data/resources/kxterra/DINMaterialsMapper.txt", "1.0038 KM01\n1.4301 KM02\n"},
    };
    return options;
}

// A folder below the installation's temporary folder that no test used before.
std::u16string NewFolder(std::string_view kind) {
    static std::atomic<int> counter{0};
    const std::string relative = "../../../" + std::string(kind) + "-" + std::to_string(++counter);
    const TempInstallation& installation = Installation();
    const fs::path folder = (installation.Root() / relative).lexically_normal();
    fs::create_directories(folder);
    return ModulePath(folder);
}

}  // namespace

std::string LibraryXml(const std::vector<LibClass>& classes) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<materials>\n";
    for (const LibClass& group : classes) {
        xml += "  <classification" + Attribute("name", group.name) + ">\n";
        for (const LibMaterial& material : group.materials) {
            xml += "    <material" + Attribute("name", material.name) + Attribute("matid", material.matid) + ">";
            xml += "<physicalproperties><DENS displayname=\"Mass Density\" value=\"7850\"/></physicalproperties>";
            if (!material.linkId.empty() || !material.linkDb.empty())
                xml += "<sustainability" + Attribute("linkId", material.linkId) + Attribute("dbName", material.linkDb) +
                       "/>";
            xml += "</material>\n";
        }
        xml += "  </classification>\n";
    }
    return xml + "</materials>\n";
}

const TempInstallation& Installation() {
    return TempInstallation::Get(Options());
}

std::string Language() {
    const char* language = std::getenv("KXT_LANGUAGE");
    return language != nullptr && language[0] != '\0' ? language : "english";
}

bool English() {
    return Language() == "english";
}

std::u16string FolderOf(const std::u16string& path) {
    return path.substr(0, path.rfind(platform::kPathSeparator));
}

std::u16string Upper(std::u16string text) {
    for (char16_t& c : text)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return text;
}

std::u16string WriteFile(const std::u16string& folder, std::string_view name, std::string_view bytes) {
    std::u16string path = paths::JoinPath(folder, {platform::Utf8ToUtf16(name)});
    const std::string native = platform::Utf16ToUtf8(path);
    std::ofstream out(Utf8Path(native), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::u16string NewUserFolder(bool withExtras, bool withProcesses) {
    std::u16string folder = NewFolder("user");
    if (withExtras) WriteFile(folder, "Sustainability Extras.kvxmat", LibraryXml(kExtrasUser));
    if (withProcesses) WriteFile(folder, "materials process.dat", kUserProcesses);
    return folder;
}

CustomLibraries NewCustomLibraries() {
    const std::u16string folder = NewFolder("custom");
    return {
        WriteFile(folder, "My Materials.kvxmat",
                  LibraryXml({{"Brackets",
                               {{"Bracket", "", "KM01", "korvex materials"},
                                {"Greener", "", "Recycled Steel in Sustainability Extras", "Sustainability Extras"},
                                {"Plain", "", "", ""}}}})),
        WriteFile(folder, "Other Materials.kvxmat",
                  LibraryXml({{"Misc", {{"Bracket", "", "", ""}, {"Widget", "", "", ""}}}})),
    };
}

std::u16string LangFolderLibrary(std::u16string_view fileName) {
    Installation();
    return paths::ReportedLibrary(paths::DefaultLangPath(), fileName);
}

std::u16string NativeFolderLibrary(std::u16string_view fileName) {
    Installation();
    return paths::ReportedLibrary(paths::DefaultNativePath(), fileName);
}

std::u16string LanguageFolderExtras() {
    Installation();
    return paths::LanguageMaterialsSustainExtras();
}

std::vector<std::u16string> HostList(const std::u16string& userFolder, const std::vector<std::u16string>& custom) {
    std::vector<std::u16string> list{
        LangFolderLibrary(paths::kNativeLibraryFile),
        LangFolderLibrary(paths::kDinLibraryFile),
        LanguageFolderExtras(),
        paths::UserSustainExtras(userFolder),
    };
    list.insert(list.end(), custom.begin(), custom.end());
    return list;
}

void Load(kxtMaterialDBsManager& manager, const std::u16string& userFolder, std::vector<std::u16string> files,
          int flag) {
    Installation();
    manager.InitResourcesData();
    manager.SetKXVersion(33);
    manager.SetProgDataSustainabilityPath(userFolder);
    manager.UpdateMaterials(files, flag);
}

void UseRegistry(const std::vector<RegistryKeyLines>& keys) {
    std::string text = "Windows Registry Editor Version 5.00\n";
    for (const RegistryKeyLines& key : keys) {
        text += "\n[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex " + std::to_string(key.keyNumber) + "\\Material]\n";
        for (const std::string& line : key.lines) text += line + "\n";
    }
    static const std::u16string folder = NewFolder("registry");
    const std::u16string file = WriteFile(folder, "registry.reg", text);
    setenv("KXT_REGISTRY_FILE", platform::Utf16ToUtf8(file).c_str(), 1);
}

std::vector<std::string> FavouriteLines(const std::vector<std::string>& favourites) {
    char count[32];
    std::snprintf(count, sizeof count, "\"__NumOfFavs\"=dword:%08zx", favourites.size());
    std::vector<std::string> lines{count};
    for (std::size_t i = 0; i < favourites.size(); ++i)
        lines.push_back("\"_FavMaterial" + std::to_string(i + 1) + "\"=\"" + favourites[i] + "\"");
    return lines;
}

void UseNoRegistry() {
    static const std::u16string folder = NewFolder("no-registry");
    setenv("KXT_REGISTRY_FILE", platform::Utf16ToUtf8(paths::JoinPath(folder, {u"missing.reg"})).c_str(), 1);
}

std::vector<std::u16string> NamesOf(const std::vector<kxtMaterialBase*>& materials) {
    std::vector<std::u16string> names;
    for (const kxtMaterialBase* material : materials) names.push_back(material->GetName());
    return names;
}

std::vector<std::u16string> ClassNamesOf(const kxtMaterialDB& db) {
    std::vector<std::u16string> names;
    for (int i = 0; i < static_cast<int>(db.GetGroupCount()); ++i) names.push_back(db.GetMaterialClass(i)->GetName());
    return names;
}

kxtMaterialBase* MaterialAt(const kxtMaterialDB& db, unsigned int i, unsigned int j) {
    kxtMaterialBase* material = nullptr;
    db.GetMaterial(i, j, material);
    return material;
}

void ExpectPointersIntoLiveStorage(kxtMaterialDBsManager& manager) {
    EXPECT_EQ(manager.GetDatabaseCount(), static_cast<int>(2 + manager.GetCustomDBs().size()));
    EXPECT_TRUE(HoldsOnlyLiveObjects(manager));
}

}  // namespace kxt::test
