// The synthetic installation generator: what it writes reads as a real
// installation does, in the sizes asked for, with every process entry, DIN
// partner and custom link resolving, and the same seed gives the same bytes.
// A fault in any of these would silently change what the benchmarks measure.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include <kxtmat/kxtmat.h>

#include "installation_generator.h"
#include "mapping/din_mapper.h"
#include "platform/modules.h"
#include "platform/text.h"
#include "support/temp_dir.h"
#include "xml/phys_prop_parser.h"
#include "xml/process_parser.h"

namespace {

namespace fs = std::filesystem;
using namespace kxt::bench;
using kxt::test::ReadFileBytes;

constexpr std::size_t kMaterials = 100;
constexpr std::size_t kClasses = 20;

std::size_t MaterialCount(const kxtMaterialDB& db) {
    std::size_t count = 0;
    kxt::ForEachMaterial(db, [&](const kxtMaterialBase&) { ++count; });
    return count;
}

TEST(InstallationGenerator, WritesTheAskedSizesAndEveryProcessPartnerAndLinkResolves) {
    const kxt::test::TempDir temp;
    const InstallationSummary summary = WriteInstallation({kMaterials, kClasses, 7}, temp.Path());
    kxtMaterialDB standard, din, extras, custom;
    const auto read = [&](kxtMaterialDB& db, const char* file, eKxtMaterialBDType type) {
        db.SetDBType(type);
        db.SetPath((temp.Path() / file).u16string());
        EXPECT_EQ(kxt::xml::kxtXMLPhysPropParser(db.GetPath()).Parse(&db), 1) << file;
    };
    read(standard, kStandardLibraryFile, eKxtNativeDB);
    read(din, kDinLibraryFile, eKxtNativeDinDB);
    read(extras, kExtrasLibraryFile, eKxtSustainExtrasDB);
    read(custom, kCustomLibraryFile, eKxtCustomDB);
    EXPECT_EQ(standard.GetGroupCount(), kClasses);
    EXPECT_EQ(MaterialCount(standard), kMaterials);
    EXPECT_EQ(MaterialCount(din), kMaterials / 10);
    EXPECT_EQ(MaterialCount(extras), kMaterials / 10);
    EXPECT_EQ(MaterialCount(custom), kMaterials / 2);
    EXPECT_EQ(std::pair(summary.standard_materials, summary.custom_materials), std::pair(kMaterials, kMaterials / 2));
    EXPECT_EQ(ReadFileBytes(temp.Path() / kUserExtrasLibraryFile), ReadFileBytes(temp.Path() / kExtrasLibraryFile));
    const std::uintmax_t bytes = fs::file_size(temp.Path() / kStandardLibraryFile);
    EXPECT_TRUE(bytes > kMaterials * 700 && bytes < kMaterials * 1500) << "about a kilobyte per material, not " << bytes;

    const kxt::platform::ModuleHandle resources = kxt::platform::LoadModuleForResources(fs::path(KXTMAT_RESOURCE_MODULE).u16string());
    EXPECT_EQ(kxt::xml::kxtXMLProcessParser((temp.Path() / kProcessSettingsFile).u16string(), resources).Parse(&standard), 1);
    kxt::platform::ReleaseModule(resources);
    kxt::mapping::kxtDINMapper mapper(&standard, &din);
    mapper.LoadFile((temp.Path() / kDinMapperFile).u16string());
    mapper.MapDINMaterials();
    // A missing, misspelt or repeated process entry or DIN partner leaves a material short.
    for (const kxtMaterialDB* db : {&standard, &din}) {
        kxt::ForEachMaterial(*db, [&](const kxtMaterialBase& material) {
            SCOPED_TRACE(kxt::platform::Utf16ToUtf8(material.GetName()));
            EXPECT_EQ(material.GetManufacturingTypes().size(), kProcessesPerMaterial);
            EXPECT_EQ(material.GetManufacturingProcToEnergyParamMap().size(), kProcessesPerMaterial);
            for (const auto& [process, parameters] : material.GetManufacturingProcToEnergyParamMap()) EXPECT_EQ(parameters.size(), kEnergyParamsPerProcess);
        });
    }
    // Half the custom materials link to a standard material by identifier, half to an extras material by name.
    kxt::xml::kxtXMLPhysPropParser(custom.GetPath()).ParseSustainabilityLinks(&custom, {&standard, &extras});
    std::size_t toStandard = 0, toExtras = 0;
    kxt::ForEachMaterial(custom, [&](const kxtMaterialBase& material) {
        const kxtMaterialBase* linked = material.GetSageLink();
        toStandard += linked != nullptr && linked->GetGrOwner()->GetDbOwner() == &standard;
        toExtras += linked != nullptr && linked->GetGrOwner()->GetDbOwner() == &extras;
    });
    EXPECT_EQ(std::pair(toStandard, toExtras), std::pair(kMaterials / 4, kMaterials / 4));
    EXPECT_EQ(std::pair(summary.links_to_standard, summary.links_to_extras), std::pair(toStandard, toExtras));
}

TEST(InstallationGenerator, SameSeedRepeatsEveryByteAndAnotherSeedDiffers) {
    const kxt::test::TempDir temp;
    WriteInstallation({kMaterials, kClasses, 7}, temp.Path() / "seed7");
    WriteInstallation({kMaterials, kClasses, 7}, temp.Path() / "seed7-again");
    WriteInstallation({kMaterials, kClasses, 8}, temp.Path() / "seed8");
    for (const char* file : {kStandardLibraryFile, kDinLibraryFile, kExtrasLibraryFile, kCustomLibraryFile, kDinMapperFile,
                             kProcessSettingsFile, kRegistryFile}) {
        const std::string first = ReadFileBytes(temp.Path() / "seed7" / file);
        ASSERT_FALSE(first.empty()) << file;
        EXPECT_EQ(first, ReadFileBytes(temp.Path() / "seed7-again" / file)) << file;
        EXPECT_NE(first, ReadFileBytes(temp.Path() / "seed8" / file)) << file;
    }
}

}  // namespace
