// The synthetic installation generator: what it writes must load as a real
// installation would, in the sizes asked for, and be reproducible.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <pugixml.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "installation_generator.h"
#include "platform/modules.h"
#include "platform/text.h"
#include "support/temp_dir.h"
#include "xml/phys_prop_parser.h"
#include "xml/process_parser.h"
#include <kxtmat/kxtmat.h>

namespace {

namespace fs = std::filesystem;
using namespace kxt::bench;

constexpr std::size_t kMaterials = 100;
constexpr std::size_t kClasses = 20;

std::string ReadWhole(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::size_t CodePoints(std::string_view utf8) {
  return static_cast<std::size_t>(std::count_if(
      utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The name under which the library reader knows a standard material.
std::string GabiName(const std::string& name) {
  return kxt::platform::Utf16ToUtf8(kxt::xml::ShortenedGabiName(kxt::platform::Utf8ToUtf16(name)));
}

std::vector<pugi::xml_node> Children(pugi::xml_node parent, const char* name) {
  std::vector<pugi::xml_node> nodes;
  for (pugi::xml_node child : parent.children(name)) nodes.push_back(child);
  return nodes;
}

struct LibraryContent {
  std::size_t classes = 0;
  std::vector<std::string> names;
  std::vector<std::string> ids;
};

class GeneratedInstallation : public ::testing::Test {
 protected:
  // A folder of this process's own: the tests of this suite may run in
  // several processes at once, each writing its installations.
  static fs::path Folder(const char* name) { return folder_->Path() / name; }

  static void SetUpTestSuite() {
    folder_ = std::make_unique<kxt::test::TempDir>();
    summary_ = WriteInstallation({kMaterials, kClasses, 7}, Folder("seed7"));
  }

  static void TearDownTestSuite() { folder_.reset(); }

  static pugi::xml_document Load(const char* file) {
    pugi::xml_document document;
    const pugi::xml_parse_result result = document.load_file((Folder("seed7") / file).c_str());
    EXPECT_TRUE(result) << file << ": " << result.description() << " at " << result.offset;
    return document;
  }

  static LibraryContent ReadLibrary(const char* file) {
    const pugi::xml_document document = Load(file);
    LibraryContent content;
    for (const pugi::xpath_node& node : document.select_nodes("//classification")) {
      ++content.classes;
      for (pugi::xml_node material : node.node().children("material")) {
        content.names.push_back(material.attribute("name").value());
        content.ids.push_back(material.attribute("matid").value());
      }
    }
    return content;
  }

  static std::unique_ptr<kxt::test::TempDir> folder_;
  static InstallationSummary summary_;
};

std::unique_ptr<kxt::test::TempDir> GeneratedInstallation::folder_;
InstallationSummary GeneratedInstallation::summary_;

TEST_F(GeneratedInstallation, LibrariesHoldTheAskedNumbersOfClassesAndMaterials) {
  const LibraryContent standard = ReadLibrary(kStandardLibraryFile);
  EXPECT_EQ(standard.classes, kClasses);
  EXPECT_EQ(standard.names.size(), kMaterials);
  EXPECT_EQ(ReadLibrary(kDinLibraryFile).names.size(), kMaterials / 10);
  EXPECT_EQ(ReadLibrary(kExtrasLibraryFile).names.size(), kMaterials / 10);
  EXPECT_EQ(ReadWhole(Folder("seed7") / kUserExtrasLibraryFile), ReadWhole(Folder("seed7") / kExtrasLibraryFile));
  EXPECT_EQ(ReadLibrary(kCustomLibraryFile).names.size(), kMaterials / 2);
  EXPECT_EQ(summary_.standard_materials, kMaterials);
  EXPECT_EQ(summary_.custom_materials, kMaterials / 2);
}

TEST_F(GeneratedInstallation, StandardMaterialsCarryPropertiesCostAndVariedNames) {
  const pugi::xml_document document = Load(kStandardLibraryFile);
  std::set<std::string> names;
  std::size_t long_names = 0;
  std::size_t non_ascii = 0;
  std::size_t ampersands = 0;
  for (const pugi::xpath_node& node : document.select_nodes("//classification/material")) {
    const pugi::xml_node material = node.node();
    const std::string name = material.attribute("name").value();
    EXPECT_TRUE(names.insert(name).second) << "duplicate name " << name;
    long_names += CodePoints(name) > 30;
    non_ascii += CodePoints(name) != name.size();
    ampersands += name.find('&') != std::string::npos;
    EXPECT_FALSE(std::string(material.attribute("matid").value()).empty());

    EXPECT_EQ(material.select_nodes("physicalproperties/*[@displayname]").size(), kPropertiesPerMaterial) << name;
    const pugi::xml_node cost = material.child("custom").find_child_by_attribute("name", "Financial Impact");
    ASSERT_TRUE(cost) << name;
    EXPECT_GT(std::stod(cost.attribute("value").value()), 0.0);
    EXPECT_NE(std::string(cost.attribute("units").value()).find('/'), std::string::npos);
  }
  EXPECT_EQ(long_names * 10, kMaterials * 4);
  EXPECT_GT(non_ascii, 0u);
  EXPECT_GT(ampersands, 0u);
}

TEST_F(GeneratedInstallation, LibraryFilesAverageAboutOneKilobytePerMaterial) {
  const auto size = fs::file_size(Folder("seed7") / kStandardLibraryFile);
  EXPECT_GT(size, kMaterials * 700);
  EXPECT_LT(size, kMaterials * 1500);
}

TEST_F(GeneratedInstallation, DinMapperPairsEveryDinMaterialWithAStandardOne) {
  const LibraryContent din = ReadLibrary(kDinLibraryFile);
  const LibraryContent standard = ReadLibrary(kStandardLibraryFile);
  std::istringstream lines(ReadWhole(Folder("seed7") / kDinMapperFile));
  std::vector<std::string> keys;
  for (std::string line; std::getline(lines, line);) {
    const std::size_t space = line.find(' ');
    ASSERT_NE(space, std::string::npos) << line;
    keys.push_back(line.substr(0, space));
    const std::string partner = line.substr(space + 1);
    EXPECT_NE(std::find(standard.ids.begin(), standard.ids.end(), partner), standard.ids.end()) << line;
  }
  EXPECT_EQ(keys, din.ids);
}

TEST_F(GeneratedInstallation, ProcessSettingsCoverEveryStandardMaterial) {
  static const std::set<std::string> kProcessKeys = {
      "milled_part", "milled", "turned_part", "turned", "forged_part", "die_cast_part", "die_cast",
      "sand_cast_part", "stnd_mach_scast", "sheet_part", "stamped_sheet", "extrusion", "inj_molded", "none",
      "custom", "forged", "mach_sand_cast", "sand_cast", "sheet", "injection_mold", "wire"};
  const LibraryContent standard = ReadLibrary(kStandardLibraryFile);
  std::multiset<std::string> expected;
  for (const std::string& name : standard.names) expected.insert(AsciiLower(GabiName(name)));

  const pugi::xml_document document = Load(kProcessSettingsFile);
  const pugi::xml_node settings =
      document.child("ScenarioSettings").find_child_by_attribute("Grouping", "Alias", "Material specific settings");
  ASSERT_TRUE(settings);
  std::multiset<std::string> covered;
  for (pugi::xml_node category : settings.children("Grouping")) {
    for (pugi::xml_node material : category.children("Grouping")) {
      covered.insert(AsciiLower(material.attribute("Alias").value()));
      std::set<std::string> processes;
      std::size_t recycled = 0;
      for (pugi::xml_node parameter : material.children("Parameter")) {
        const std::string name = parameter.attribute("Name").value();
        if (name == "recycled_cont") {
          ++recycled;
          const double maximum = parameter.attribute("MaxValue").as_double();
          const double minimum = parameter.attribute("MinValue").as_double();
          const double value = parameter.first_child().first_attribute().as_double(-1);
          EXPECT_LE(minimum, value);
          EXPECT_LE(value, maximum);
          continue;
        }
        EXPECT_EQ(kProcessKeys.count(name), 1u) << name;
        EXPECT_FALSE(std::string(parameter.attribute("Alias").value()).empty());
        processes.insert(name);
      }
      EXPECT_EQ(processes.size(), kProcessesPerMaterial);
      EXPECT_EQ(recycled, 1u);
      std::size_t energy_groups = 0;
      for (pugi::xml_node group : material.children("Grouping")) {
        const std::string alias = group.attribute("Alias").value();
        const std::size_t suffix = alias.rfind("_mfg_params");
        ASSERT_NE(suffix, std::string::npos) << alias;
        EXPECT_EQ(processes.count(alias.substr(0, suffix)), 1u) << alias;
        const std::vector<pugi::xml_node> parameters = Children(group, "Parameter");
        EXPECT_EQ(parameters.size(), kEnergyParamsPerProcess);
        for (pugi::xml_node parameter : parameters) {
          EXPECT_TRUE(parameter.first_child().first_attribute()) << alias;
        }
        ++energy_groups;
      }
      EXPECT_EQ(energy_groups, kProcessesPerMaterial);
    }
  }
  EXPECT_EQ(covered, expected);
}

TEST_F(GeneratedInstallation, CustomMaterialsLinkToStandardAndExtrasMaterials) {
  const LibraryContent standard = ReadLibrary(kStandardLibraryFile);
  const LibraryContent extras = ReadLibrary(kExtrasLibraryFile);
  const pugi::xml_document document = Load(kCustomLibraryFile);
  const std::string marker = " in Sustainability Extras";
  std::size_t to_standard = 0;
  std::size_t to_extras = 0;
  for (const pugi::xpath_node& node : document.select_nodes("//classification/material")) {
    const pugi::xml_node link = node.node().child("sustainability");
    ASSERT_TRUE(link) << node.node().attribute("name").value();
    const std::string id = link.attribute("linkId").value();
    const std::string database = link.attribute("dbName").value();
    if (database == "korvex materials") {
      ++to_standard;
      EXPECT_NE(std::find(standard.ids.begin(), standard.ids.end(), id), standard.ids.end()) << id;
    } else {
      ASSERT_EQ(database, "Sustainability Extras");
      ++to_extras;
      ASSERT_GT(id.size(), marker.size());
      ASSERT_EQ(id.substr(id.size() - marker.size()), marker);
      const std::string name = id.substr(0, id.size() - marker.size());
      EXPECT_NE(std::find(extras.names.begin(), extras.names.end(), name), extras.names.end()) << name;
    }
  }
  EXPECT_EQ(to_standard, kMaterials / 4);
  EXPECT_EQ(to_extras, kMaterials / 4);
  EXPECT_EQ(summary_.links_to_standard, to_standard);
  EXPECT_EQ(summary_.links_to_extras, to_extras);
}

TEST_F(GeneratedInstallation, RegistryHoldsResolvableFavouritesUnderTheHostVersionKey) {
  std::set<std::string> known[3];
  const char* libraries[3] = {"korvex materials", "korvex din materials", kCustomLibraryName};
  const char* files[3] = {kStandardLibraryFile, kDinLibraryFile, kCustomLibraryFile};
  for (int i = 0; i < 3; ++i) {
    for (const std::string& name : ReadLibrary(files[i]).names) known[i].insert(AsciiLower(name));
  }

  std::istringstream lines(ReadWhole(Folder("seed7") / kRegistryFile));
  std::vector<std::string> all;
  for (std::string line; std::getline(lines, line);) {
    ASSERT_FALSE(line.empty());
    ASSERT_EQ(line.back(), '\r');
    line.pop_back();
    all.push_back(line);
  }
  ASSERT_GE(all.size(), 4u);
  EXPECT_EQ(all[0], "Windows Registry Editor Version 5.00");
  EXPECT_EQ(all[2], "[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex 2025\\Material]");
  EXPECT_EQ(all[3], "\"__NumOfFavs\"=dword:000003e8");
  ASSERT_EQ(all.size(), 4 + kFavourites);
  std::size_t per_library[3] = {};
  for (std::size_t f = 0; f < kFavourites; ++f) {
    const std::string prefix = "\"_FavMaterial" + std::to_string(f + 1) + "\"=\"";
    const std::string& line = all[4 + f];
    ASSERT_EQ(line.compare(0, prefix.size(), prefix), 0) << line;
    ASSERT_EQ(line.back(), '"');
    const std::string value = line.substr(prefix.size(), line.size() - prefix.size() - 1);
    const std::size_t bar = value.find('|');
    ASSERT_NE(bar, std::string::npos) << value;
    const std::string library = value.substr(0, bar);
    const std::string material = value.substr(bar + 1, value.find('|', bar + 1) - bar - 1);
    const auto which = std::find(std::begin(libraries), std::end(libraries), library) - std::begin(libraries);
    ASSERT_LT(which, 3) << value;
    EXPECT_EQ(known[which].count(AsciiLower(material)), 1u) << value;
    ++per_library[which];
  }
  EXPECT_GT(per_library[0], 0u);
  EXPECT_GT(per_library[1], 0u);
  EXPECT_GT(per_library[2], 0u);
}

// Calls visit with every material of database, class by class.
template <typename Visit>
void ForEachMaterial(const kxtMaterialDB& database, Visit&& visit) {
  for (int k = 0; k < static_cast<int>(database.GetGroupCount()); ++k) {
    const kxtMaterialClass* group = database.GetMaterialClass(k);
    for (unsigned int i = 0; i < group->GetMaterialCount(); ++i) visit(*group->GetMaterial(i));
  }
}

TEST_F(GeneratedInstallation, ReadersResolveEveryProcessEntryAndLink) {
  auto read = [](const char* file, eKxtMaterialBDType type) {
    kxtMaterialDB database;
    database.SetDBType(type);
    const std::u16string path = (Folder("seed7") / file).u16string();
    database.SetPath(path);
    kxt::xml::kxtXMLPhysPropParser(path).Parse(&database);
    return database;
  };
  kxtMaterialDB standard = read(kStandardLibraryFile, eKxtNativeDB);
  kxtMaterialDB extras = read(kExtrasLibraryFile, eKxtSustainExtrasDB);
  kxtMaterialDB custom = read(kCustomLibraryFile, eKxtCustomDB);
  ASSERT_EQ(standard.GetGroupCount(), kClasses);

  const kxt::platform::ModuleHandle resources =
      kxt::platform::LoadModuleForResources(fs::path(KXTMAT_RESOURCE_MODULE).u16string());
  ASSERT_NE(resources, nullptr);
  EXPECT_EQ(kxt::xml::kxtXMLProcessParser((Folder("seed7") / kProcessSettingsFile).u16string(), resources)
                .Parse(&standard),
            1);
  kxt::platform::ReleaseModule(resources);
  std::size_t materials = 0;
  ForEachMaterial(standard, [&](const kxtMaterialBase& material) {
    ++materials;
    EXPECT_EQ(material.GetManufacturingTypes().size(), kProcessesPerMaterial) << kxt::platform::Utf16ToUtf8(material.GetName());
    EXPECT_EQ(material.GetEnvData(), 1);
    EXPECT_LT(material.GetRecycledContentMin(), material.GetRecycledContentMax());
  });
  EXPECT_EQ(materials, kMaterials);

  kxt::xml::kxtXMLPhysPropParser((Folder("seed7") / kCustomLibraryFile).u16string())
      .ParseSustainabilityLinks(&custom, {&standard, &extras});
  std::size_t linked = 0;
  ForEachMaterial(custom, [&](const kxtMaterialBase& material) { linked += material.GetSageLink() != nullptr; });
  EXPECT_EQ(linked, kMaterials / 2);
}

TEST_F(GeneratedInstallation, SameSeedRepeatsEveryByteAndAnotherSeedDiffers) {
  WriteInstallation({kMaterials, kClasses, 7}, Folder("seed7-again"));
  WriteInstallation({kMaterials, kClasses, 8}, Folder("seed8"));
  for (const char* file : {kStandardLibraryFile, kDinLibraryFile, kExtrasLibraryFile, kCustomLibraryFile,
                           kDinMapperFile, kProcessSettingsFile, kRegistryFile}) {
    const std::string first = ReadWhole(Folder("seed7") / file);
    ASSERT_FALSE(first.empty()) << file;
    EXPECT_EQ(first, ReadWhole(Folder("seed7-again") / file)) << file;
    EXPECT_NE(first, ReadWhole(Folder("seed8") / file)) << file;
  }
}

}  // namespace
