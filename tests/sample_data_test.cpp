// Checks that the sample installation's data files agree with each other the
// way the loaders rely on: files parse, DIN materials have standard partners,
// language copies line up by position and use the resource texts as class
// names, and every name that one file uses to reach into another resolves.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSample = fs::path(KXTMAT_SOURCE_DIR) / "data" / "sample";
const char* const kLanguages[] = {"english", "french", "german"};
const char* const kLibraries[] = {"Korvex Materials.kvxmat", "Korvex din Materials.kvxmat",
                                  "Sustainability Extras.kvxmat"};

fs::path LibraryPath(const std::string& language, const std::string& file) {
    return kSample / "lang" / language / "kvxmaterials" / file;
}

// Parses an XML file; a file that is missing or not well-formed fails the test.
std::unique_ptr<pugi::xml_document> LoadXml(const fs::path& path) {
    auto doc = std::make_unique<pugi::xml_document>();
    const pugi::xml_parse_result result = doc->load_file(path.c_str());
    EXPECT_TRUE(result) << path << ": " << result.description() << " at offset " << result.offset;
    return doc;
}

// The values of one attribute over the nodes that an XPath selects, in document order.
std::vector<std::string> Attributes(const pugi::xml_node& from, const char* xpath, const char* attribute) {
    std::vector<std::string> values;
    for (const pugi::xpath_node& node : from.select_nodes(xpath)) {
        values.emplace_back(node.node().attribute(attribute).value());
    }
    return values;
}

std::set<std::string> MaterialAttribute(const fs::path& library, const char* attribute) {
    const auto doc = LoadXml(library);
    const auto values = Attributes(*doc, "//classification/material", attribute);
    return {values.begin(), values.end()};
}

bool Contains(const std::set<std::string>& set, const std::string& value) { return set.count(value) != 0; }

// The resource module's string table of one language: id -> UTF-8 text.
std::map<int, std::string> StringTable(const std::string& language) {
    const fs::path path = fs::path(KXTMAT_SOURCE_DIR) / "modules" / "kxTerraMatResU" / ("strings_" + language + ".inc");
    std::map<int, std::string> table;
    std::istringstream lines(kxt::test::ReadFileBytes(path));
    for (std::string line; std::getline(lines, line);) {
        const auto open = line.find('{');
        const auto quote = line.find("u\"");
        const auto close = line.rfind("\"}");
        if (open == std::string::npos || quote == std::string::npos || close == std::string::npos || close < quote + 2) {
            continue;
        }
        table.emplace(std::atoi(line.c_str() + open + 1), line.substr(quote + 2, close - quote - 2));
    }
    EXPECT_FALSE(table.empty()) << path;
    return table;
}

TEST(SampleData, EveryDataFileIsPresentAndWellFormed) {
    std::vector<fs::path> expected = {kSample / "data" / "resources" / "kxterra" / "materials process.dat",
                                      kSample / "user" / "materials process.dat",
                                      kSample / "user" / "Sustainability Extras.kvxmat",
                                      kSample / "user" / "My Materials.kvxmat"};
    for (const char* language : kLanguages) {
        for (const char* library : kLibraries) expected.push_back(LibraryPath(language, library));
    }
    for (const fs::path& path : expected) {
        EXPECT_TRUE(fs::is_regular_file(path)) << path;
    }
    int parsed = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kSample)) {
        const auto extension = entry.path().extension();
        if (extension == ".kvxmat" || extension == ".dat") {
            LoadXml(entry.path());
            ++parsed;
        }
    }
    EXPECT_GE(parsed, static_cast<int>(expected.size()));
}

TEST(SampleData, StandardLibraryHasSixtyMaterialsWithDensityAndUniqueIds) {
    const auto doc = LoadXml(LibraryPath("english", kLibraries[0]));
    const auto materials = doc->select_nodes("//classification/material");
    EXPECT_GE(materials.size(), 60u);
    std::set<std::string> ids;
    for (const pugi::xpath_node& node : materials) {
        const pugi::xml_node material = node.node();
        const std::string name = material.attribute("name").value();
        const std::string id = material.attribute("matid").value();
        EXPECT_FALSE(id.empty() || id.find(' ') != std::string::npos) << name << ": id '" << id << "'";
        EXPECT_TRUE(ids.insert(id).second) << name << ": duplicate id " << id;
        // The process settings name materials by their GaBi name, which is the
        // name itself only up to 30 characters.
        EXPECT_LE(name.size(), 30u) << name;

        const pugi::xml_node density = material.child("physicalproperties").child("DENS");
        EXPECT_FALSE(std::string(density.attribute("displayname").value()).empty()) << name;
        char* end = nullptr;
        const char* text = density.attribute("value").value();
        const double value = std::strtod(text, &end);
        EXPECT_TRUE(*text != '\0' && *end == '\0' && value > 0.0) << name << ": DENS '" << text << "'";
        EXPECT_TRUE(material.select_node("custom/*[@name='Financial Impact'][@value][@units]")) << name;
    }
}

TEST(SampleData, EveryDinMaterialMapsToAnExistingStandardPartner) {
    const auto standardIds = MaterialAttribute(LibraryPath("english", kLibraries[0]), "matid");
    const auto dinDoc = LoadXml(LibraryPath("english", kLibraries[1]));
    const auto dinIds = Attributes(*dinDoc, "//classification/material", "matid");
    EXPECT_GE(dinIds.size(), 30u);

    const std::string mapping = kxt::test::ReadFileBytes(kSample / "data" / "resources" / "kxterra" / "DINMaterialsMapper.txt");
    EXPECT_EQ(mapping.find('\r'), std::string::npos) << "carriage returns would end up in every partner id";
    std::map<std::string, std::string> partners;
    std::istringstream lines(mapping);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty()) continue;
        const auto space = line.find(' ');
        ASSERT_NE(space, std::string::npos) << "line without partner: " << line;
        const std::string key = line.substr(0, space);
        EXPECT_TRUE(partners.emplace(key, line.substr(space + 1)).second) << "mapped twice: " << key;
        EXPECT_NE(std::find(dinIds.begin(), dinIds.end(), key), dinIds.end()) << "no DIN material " << key;
    }
    for (const std::string& id : dinIds) {
        const auto partner = partners.find(id);
        ASSERT_NE(partner, partners.end()) << "DIN material " << id << " has no mapping line";
        EXPECT_TRUE(Contains(standardIds, partner->second)) << id << " maps to unknown " << partner->second;
    }
}

TEST(SampleData, LanguageCopiesLineUpWithEnglishAndUseTheResourceClassNames) {
    std::map<std::string, int> classIds;  // English class text -> string id
    for (const auto& [id, text] : StringTable("english")) classIds.emplace(text, id);

    for (const char* library : kLibraries) {
        const auto english = LoadXml(LibraryPath("english", library));
        const auto englishClasses = english->select_nodes("//classification");
        for (const char* language : kLanguages) {
            SCOPED_TRACE(std::string(language) + "/" + library);
            const auto table = StringTable(language);
            const auto copy = LoadXml(LibraryPath(language, library));
            const auto classes = copy->select_nodes("//classification");
            ASSERT_EQ(classes.size(), englishClasses.size());
            std::size_t materials = 0, translated = 0;
            for (std::size_t i = 0; i < classes.size(); ++i) {
                const pugi::xml_node en = englishClasses[i].node(), local = classes[i].node();
                const std::string englishName = en.attribute("name").value();
                const auto id = classIds.find(englishName);
                ASSERT_NE(id, classIds.end()) << "class '" << englishName << "' is no resource text";
                EXPECT_EQ(local.attribute("name").value(), table.at(id->second)) << "class " << i;
                // The language pass pairs materials by position within their class.
                const auto enNames = Attributes(en, "material", "name");
                const auto localNames = Attributes(local, "material", "name");
                ASSERT_EQ(localNames.size(), enNames.size()) << "class " << englishName;
                for (std::size_t j = 0; j < enNames.size(); ++j) translated += enNames[j] != localNames[j];
                materials += enNames.size();
            }
            // DIN materials are named by number in every language; the others are translated.
            if (std::string(language) != "english" && library != kLibraries[1]) {
                EXPECT_GT(translated, materials / 2);
            }
        }
    }
}

TEST(SampleData, ProcessSettingsNameOnlyExistingMaterialsAndKnownProcesses) {
    const std::set<std::string> processKeys = {
        "milled_part", "milled", "turned_part", "turned", "forged_part", "die_cast_part", "die_cast",
        "sand_cast_part", "stnd_mach_scast", "sheet_part", "stamped_sheet", "extrusion", "inj_molded", "none",
        "custom", "forged", "mach_sand_cast", "sand_cast", "sheet", "injection_mold", "wire"};
    const fs::path installed = kSample / "data" / "resources" / "kxterra" / "materials process.dat";
    EXPECT_TRUE(kxt::test::ReadFileBytes(installed) == kxt::test::ReadFileBytes(kSample / "user" / "materials process.dat"))
        << "the user's copy of the process settings differs from the installed one";

    const auto standard = MaterialAttribute(LibraryPath("english", kLibraries[0]), "name");
    const auto extras = MaterialAttribute(LibraryPath("english", kLibraries[2]), "name");
    const auto doc = LoadXml(installed);
    const auto materials = doc->select_nodes(
        "//ScenarioSettings/Grouping[@Alias='Material specific settings']/Grouping/Grouping");
    std::set<std::string> named;
    for (const pugi::xpath_node& node : materials) {
        const pugi::xml_node material = node.node();
        const std::string name = material.attribute("Alias").value();
        EXPECT_TRUE(Contains(standard, name) || Contains(extras, name)) << "unknown material " << name;
        EXPECT_TRUE(named.insert(name).second) << "listed twice: " << name;

        std::set<std::string> processes;
        for (const pugi::xml_node parameter : material.children("Parameter")) {
            const std::string key = parameter.attribute("Name").value();
            if (key == "recycled_cont") {
                EXPECT_TRUE(parameter.first_child().first_attribute()) << name << ": recycled content without value";
            } else {
                EXPECT_TRUE(Contains(processKeys, key)) << name << ": unknown process " << key;
                processes.insert(key);
            }
        }
        for (const pugi::xml_node energy : material.children("Grouping")) {
            const std::string alias = energy.attribute("Alias").value();
            const auto suffix = alias.rfind("_mfg_params");
            EXPECT_TRUE(suffix != std::string::npos && Contains(processes, alias.substr(0, suffix)))
                << name << ": energy parameters of no process: " << alias;
        }
    }
    // DIN materials take their processes from these partners, so none may be left out.
    for (const std::string& name : standard) EXPECT_TRUE(Contains(named, name)) << "no processes: " << name;
}

TEST(SampleData, CustomLinksAndFavouritesNameExistingMaterials) {
    const auto standardIds = MaterialAttribute(LibraryPath("english", kLibraries[0]), "matid");
    const auto standardNames = MaterialAttribute(LibraryPath("english", kLibraries[0]), "name");
    const auto dinIds = MaterialAttribute(LibraryPath("english", kLibraries[1]), "matid");
    const auto dinNames = MaterialAttribute(LibraryPath("english", kLibraries[1]), "name");
    const auto extrasNames = MaterialAttribute(kSample / "user" / "Sustainability Extras.kvxmat", "name");
    auto customNames = MaterialAttribute(kSample / "user" / "My Materials.kvxmat", "name");
    customNames.insert(extrasNames.begin(), extrasNames.end());

    const auto custom = LoadXml(kSample / "user" / "My Materials.kvxmat");
    std::set<std::string> linkedDatabases;
    for (const pugi::xpath_node& node : custom->select_nodes("//classification/material/sustainability")) {
        const std::string id = node.node().attribute("linkId").value();
        const std::string db = node.node().attribute("dbName").value();
        linkedDatabases.insert(db);
        if (db == "korvex materials") {
            EXPECT_TRUE(Contains(standardIds, id)) << id;
        } else if (db == "korvex din materials") {
            EXPECT_TRUE(Contains(dinIds, id)) << id;
        } else {
            EXPECT_EQ(db, "sustainability extras");
            const auto marker = id.find(" in Sustainability Extras");
            EXPECT_TRUE(Contains(extrasNames, id.substr(0, marker))) << id;
        }
    }
    EXPECT_EQ(linkedDatabases.count("korvex materials") + linkedDatabases.count("sustainability extras"), 2u);

    std::istringstream lines(kxt::test::ReadFileBytes(kSample / "registry.reg"));
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "Windows Registry Editor Version 5.00");
    std::string section;
    long count = -1;
    int favourites = 0;
    while (std::getline(lines, line)) {
        if (line.starts_with("[")) section = line;
        if (section != "[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex 2025\\Material]") continue;
        if (line.starts_with("\"__NumOfFavs\"=dword:")) count = std::strtol(line.c_str() + 20, nullptr, 16);
        if (!line.starts_with("\"_FavMaterial")) continue;
        ++favourites;
        const auto value = line.substr(line.find("=\"") + 2, line.size() - line.find("=\"") - 3);
        const auto bar = value.find('|');
        ASSERT_NE(bar, std::string::npos) << line;
        const std::string library = value.substr(0, bar), material = value.substr(bar + 1);
        const auto& names = library == "korvex materials"       ? standardNames
                            : library == "korvex din materials" ? dinNames
                                                                : customNames;
        EXPECT_TRUE(Contains(names, material)) << line;
    }
    EXPECT_GT(favourites, 0);
    EXPECT_EQ(count, favourites);
}

}  // namespace
