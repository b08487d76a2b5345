// The synthetic installation generator: what it writes must load as a real
// installation would, in the sizes asked for, and be reproducible.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
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

std::size_t CodePoints(std::string_view utf8) {
  return static_cast<std::size_t>(std::count_if(
      utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
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
  EXPECT_EQ(kxt::test::ReadFileBytes(Folder("seed7") / kUserExtrasLibraryFile), kxt::test::ReadFileBytes(Folder("seed7") / kExtrasLibraryFile));
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
  std::istringstream lines(kxt::test::ReadFileBytes(Folder("seed7") / kDinMapperFile));
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
  // Each entry names its material by the shortened name and lists distinct
  // known processes, each with its own group of energy parameters: a missing,
  // misspelt or repeated one would leave a material short.
  std::size_t materials = 0;
  ForEachMaterial(standard, [&](const kxtMaterialBase& material) {
    ++materials;
    SCOPED_TRACE(kxt::platform::Utf16ToUtf8(material.GetName()));
    EXPECT_EQ(material.GetManufacturingTypes().size(), kProcessesPerMaterial);
    const kxtMaterialBase::EnergyParamMap& energy = material.GetManufacturingProcToEnergyParamMap();
    EXPECT_EQ(energy.size(), kProcessesPerMaterial);
    for (const auto& [process, parameters] : energy) EXPECT_EQ(parameters.size(), kEnergyParamsPerProcess);
    EXPECT_EQ(material.GetEnvData(), 1);
    EXPECT_LT(material.GetRecycledContentMin(), material.GetRecycledContentMax());
    EXPECT_GE(material.GetRecycledContentAmount(), material.GetRecycledContentMin());
    EXPECT_LE(material.GetRecycledContentAmount(), material.GetRecycledContentMax());
  });
  EXPECT_EQ(materials, kMaterials);

  // Half the custom materials link to a standard material by identifier, half
  // to an extras material by name.
  kxt::xml::kxtXMLPhysPropParser((Folder("seed7") / kCustomLibraryFile).u16string())
      .ParseSustainabilityLinks(&custom, {&standard, &extras});
  std::size_t to_standard = 0;
  std::size_t to_extras = 0;
  ForEachMaterial(custom, [&](const kxtMaterialBase& material) {
    const kxtMaterialBase* linked = material.GetSageLink();
    ASSERT_NE(linked, nullptr) << kxt::platform::Utf16ToUtf8(material.GetName());
    const kxtMaterialDB* owner = linked->GetGrOwner()->GetDbOwner();
    to_standard += owner == &standard;
    to_extras += owner == &extras;
  });
  EXPECT_EQ(to_standard, kMaterials / 4);
  EXPECT_EQ(to_extras, kMaterials / 4);
  EXPECT_EQ(summary_.links_to_standard, to_standard);
  EXPECT_EQ(summary_.links_to_extras, to_extras);
}

TEST_F(GeneratedInstallation, SameSeedRepeatsEveryByteAndAnotherSeedDiffers) {
  WriteInstallation({kMaterials, kClasses, 7}, Folder("seed7-again"));
  WriteInstallation({kMaterials, kClasses, 8}, Folder("seed8"));
  for (const char* file : {kStandardLibraryFile, kDinLibraryFile, kExtrasLibraryFile, kCustomLibraryFile,
                           kDinMapperFile, kProcessSettingsFile, kRegistryFile}) {
    const std::string first = kxt::test::ReadFileBytes(Folder("seed7") / file);
    ASSERT_FALSE(first.empty()) << file;
    EXPECT_EQ(first, kxt::test::ReadFileBytes(Folder("seed7-again") / file)) << file;
    EXPECT_NE(first, kxt::test::ReadFileBytes(Folder("seed8") / file)) << file;
  }
}

}  // namespace
