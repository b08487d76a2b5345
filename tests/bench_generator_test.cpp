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
#include "support/temp_dir.h"
#include "xml/phys_prop_parser.h"
#include "xml/process_parser.h"

namespace {

using namespace kxt::bench;
using kxt::test::ReadFileBytes;

constexpr std::size_t kMaterials = 100;

// How many materials of db satisfy pred.
template <class Pred>
std::size_t Count(const kxtMaterialDB& db, Pred pred) {
    std::size_t count = 0;
    kxt::ForEachMaterial(db, [&](const kxtMaterialBase& material) { count += pred(material); });
    return count;
}

TEST(InstallationGenerator, WritesTheAskedSizesAndEveryProcessPartnerAndLinkResolves) {
    const kxt::test::TempDir temp;
    const InstallationSummary summary = WriteInstallation({kMaterials, 20, 7}, temp.Path());
    kxtMaterialDB standard, din, extras, custom;
    for (auto [db, file] : {std::pair(&standard, kStandardLibraryFile), std::pair(&din, kDinLibraryFile),
                            std::pair(&extras, kExtrasLibraryFile), std::pair(&custom, kCustomLibraryFile)}) {
        db->SetPath((temp.Path() / file).u16string());
        EXPECT_EQ(kxt::xml::kxtXMLPhysPropParser(db->GetPath()).Parse(db), 1) << file;
    }
    const auto any = [](const kxtMaterialBase&) { return true; };
    EXPECT_EQ(standard.GetGroupCount(), 20u);
    EXPECT_EQ(Count(standard, any), kMaterials);
    EXPECT_EQ(std::pair(Count(din, any), Count(extras, any)), std::pair(kMaterials / 10, kMaterials / 10));
    EXPECT_EQ(Count(custom, any), kMaterials / 2);
    EXPECT_EQ(std::pair(summary.standard_materials, summary.custom_materials), std::pair(kMaterials, kMaterials / 2));
    EXPECT_EQ(ReadFileBytes(temp.Path() / kUserExtrasLibraryFile), ReadFileBytes(temp.Path() / kExtrasLibraryFile));
    const std::uintmax_t bytes = std::filesystem::file_size(temp.Path() / kStandardLibraryFile);
    EXPECT_TRUE(bytes > kMaterials * 700 && bytes < kMaterials * 1500) << "about a kilobyte per material, not " << bytes;

    const kxt::platform::ModuleHandle resources = kxt::platform::LoadModuleForResources(std::filesystem::path(KXTMAT_RESOURCE_MODULE).u16string());
    EXPECT_EQ(kxt::xml::kxtXMLProcessParser((temp.Path() / kProcessSettingsFile).u16string(), resources).Parse(&standard), 1);
    kxt::platform::ReleaseModule(resources);
    kxt::mapping::kxtDINMapper mapper(&standard, &din);
    mapper.LoadFile((temp.Path() / kDinMapperFile).u16string());
    mapper.MapDINMaterials();
    // A missing, misspelt or repeated process entry or DIN partner leaves a material short.
    const auto allProcesses = [](const kxtMaterialBase& material) {
        bool all = material.GetManufacturingTypes().size() == kProcessesPerMaterial &&
                   material.GetManufacturingProcToEnergyParamMap().size() == kProcessesPerMaterial;
        for (const auto& [process, parameters] : material.GetManufacturingProcToEnergyParamMap()) all &= parameters.size() == kEnergyParamsPerProcess;
        return all;
    };
    EXPECT_EQ(Count(standard, allProcesses), kMaterials);
    EXPECT_EQ(Count(din, allProcesses), kMaterials / 10);

    // Half the custom materials link to a standard material by identifier, half to an extras material by name.
    kxt::xml::kxtXMLPhysPropParser(custom.GetPath()).ParseSustainabilityLinks(&custom, {&standard, &extras});
    const auto linkedInto = [](const kxtMaterialDB& db) {
        return [&db](const kxtMaterialBase& m) { return m.GetSageLink() != nullptr && m.GetSageLink()->GetGrOwner()->GetDbOwner() == &db; };
    };
    const std::pair links(Count(custom, linkedInto(standard)), Count(custom, linkedInto(extras)));
    EXPECT_EQ(links, std::pair(kMaterials / 4, kMaterials / 4));
    EXPECT_EQ(std::pair(summary.links_to_standard, summary.links_to_extras), links);
}

TEST(InstallationGenerator, SameSeedRepeatsEveryByteAndAnotherSeedDiffers) {
    const kxt::test::TempDir temp;
    for (const auto& [seed, folder] : {std::pair(7, "seed7"), std::pair(7, "seed7-again"), std::pair(8, "seed8")}) {
        WriteInstallation({kMaterials, 20, static_cast<std::uint64_t>(seed)}, temp.Path() / folder);
    }
    for (const char* file : {kStandardLibraryFile, kDinLibraryFile, kExtrasLibraryFile, kCustomLibraryFile, kDinMapperFile,
                             kProcessSettingsFile, kRegistryFile}) {
        const std::string first = ReadFileBytes(temp.Path() / "seed7" / file);
        ASSERT_FALSE(first.empty()) << file;
        EXPECT_EQ(first, ReadFileBytes(temp.Path() / "seed7-again" / file)) << file;
        EXPECT_NE(first, ReadFileBytes(temp.Path() / "seed8" / file)) << file;
    }
}

}  // namespace
