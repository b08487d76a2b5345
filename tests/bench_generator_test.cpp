// The synthetic installation generator: what it writes reads as a real installation does, in the sizes asked for,
// with every process entry, DIN partner and custom link resolving, and the same seed gives the same bytes.
// A fault in any of these would silently change what the benchmarks measure.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <tuple>
#include <string>
#include <utility>
#include <vector>

#include <kxtmat/kxtmat.h>

#include "diag/findings.h"
#include "installation_generator.h"
#include "mapping/din_mapper.h"
#include "platform/modules.h"
#include "platform/text.h"
#include "support/temp_dir.h"
#include "xml/phys_prop_parser.h"
#include "xml/process_parser.h"

namespace {

using namespace kxt::bench;
using kxt::test::ReadFileBytes;

constexpr std::size_t kMaterials = 100;

// The findings that stand: each plain one, and each tentative one that every
// pass over its file reported.
struct Findings final : kxt::diag::Sink {
    void Report(kxt::diag::Finding finding) override { plain.push_back(Text(finding)); }
    void BeginPass(std::u16string_view) override { ++passes; }
    void ReportTentative(kxt::diag::Finding finding) override { ++tentative[Text(finding)]; }
    static std::string Text(const kxt::diag::Finding& f) {
        return kxt::platform::Utf16ToUtf8(f.file) + ":" + std::to_string(f.line) + ": " + f.code + ": " + kxt::platform::Utf16ToUtf8(f.message);
    }
    std::vector<std::string> Settled() const {
        std::vector<std::string> all = plain;
        for (const auto& [text, count] : tentative)
            if (count == passes) all.push_back(text);
        return all;
    }
    std::vector<std::string> plain;
    std::map<std::string, int> tentative;
    int passes = 0;
};

// How many materials of db satisfy pred.
std::size_t Count(const kxtMaterialDB& db, const std::function<bool(const kxtMaterialBase&)>& pred) {
    std::size_t count = 0;
    kxt::ForEachMaterial(db, [&](const kxtMaterialBase& material) { count += pred(material); });
    return count;
}

TEST(InstallationGenerator, WritesTheAskedSizesWithEveryProcessPartnerAndLinkResolvingAndRepeatsPerSeed) {
    const kxt::test::TempDir temp;
    const InstallationSummary summary = WriteInstallation({kMaterials, 20, 7}, temp.Path());
    // Every reader reports to this sink what it skips or defaults: nothing, for a clean installation.
    Findings findings;
    const kxt::diag::ScopedSink installed(findings);
    kxtMaterialDB standard, din, extras, custom;
    for (auto [db, file, type] : {std::tuple(&standard, kStandardLibraryFile, eKxtNativeDB), std::tuple(&din, kDinLibraryFile, eKxtNativeDinDB),
                                  std::tuple(&extras, kExtrasLibraryFile, eKxtSustainExtrasDB), std::tuple(&custom, kCustomLibraryFile, eKxtCustomDB)}) {
        db->SetDBType(type);
        db->SetPath((temp.Path() / file).u16string());
        EXPECT_EQ(kxt::xml::kxtXMLPhysPropParser(db->GetPath()).Parse(db), 1) << file;
    }
    const auto any = [](const kxtMaterialBase&) { return true; };
    EXPECT_EQ((std::vector<std::size_t>{standard.GetGroupCount(), Count(standard, any), Count(din, any), Count(extras, any), Count(custom, any),
                                        summary.standard_materials, summary.custom_materials}),
              (std::vector<std::size_t>{20, kMaterials, kMaterials / 10, kMaterials / 10, kMaterials / 2, kMaterials, kMaterials / 2}));
    EXPECT_EQ(ReadFileBytes(temp.Path() / kUserExtrasLibraryFile), ReadFileBytes(temp.Path() / kExtrasLibraryFile));
    EXPECT_NEAR(std::filesystem::file_size(temp.Path() / kStandardLibraryFile), kMaterials * 1100.0, kMaterials * 400.0) << "about a kilobyte per material";

    const kxt::platform::ModuleHandle resources = kxt::platform::LoadModuleForResources(std::filesystem::path(KXTMAT_RESOURCE_MODULE).u16string());
    for (kxtMaterialDB* db : {&standard, &extras})
        EXPECT_EQ(kxt::xml::kxtXMLProcessParser((temp.Path() / kProcessSettingsFile).u16string(), resources).Parse(db), 1);
    kxt::platform::ReleaseModule(resources);
    kxt::mapping::kxtDINMapper mapper(&standard, &din);
    mapper.LoadFile((temp.Path() / kDinMapperFile).u16string());
    mapper.MapDINMaterials();
    // A missing, misspelt or repeated process entry or DIN partner leaves a material short.
    const auto allProcesses = [](const kxtMaterialBase& material) {
        bool all = material.GetManufacturingTypes().size() == kProcessesPerMaterial && material.GetManufacturingProcToEnergyParamMap().size() == kProcessesPerMaterial;
        for (const auto& [process, parameters] : material.GetManufacturingProcToEnergyParamMap()) all &= parameters.size() == kEnergyParamsPerProcess;
        return all;
    };
    EXPECT_EQ(std::pair(Count(standard, allProcesses), Count(din, allProcesses)), std::pair(kMaterials, kMaterials / 10));

    // Half the custom materials link to a standard material by identifier, half to an extras material by name.
    kxt::xml::kxtXMLPhysPropParser(custom.GetPath()).ParseSustainabilityLinks(&custom, {&standard, &extras});
    const auto linkedInto = [](const kxtMaterialDB& db) {
        return [&db](const kxtMaterialBase& m) { return m.GetSageLink() != nullptr && m.GetSageLink()->GetGrOwner()->GetDbOwner() == &db; };
    };
    EXPECT_EQ((std::vector{Count(custom, linkedInto(standard)), Count(custom, linkedInto(extras)), summary.links_to_standard, summary.links_to_extras}),
              std::vector<std::size_t>(4, kMaterials / 4));
    EXPECT_EQ(findings.Settled(), std::vector<std::string>{});

    // The same seed repeats every byte; another seed differs.
    for (const auto& [seed, folder] : {std::pair(7u, "again"), std::pair(8u, "other")}) WriteInstallation({kMaterials, 20, seed}, temp.Path() / folder);
    for (const char* file : {kStandardLibraryFile, kDinLibraryFile, kExtrasLibraryFile, kCustomLibraryFile, kDinMapperFile, kProcessSettingsFile, kRegistryFile}) {
        const std::string first = ReadFileBytes(temp.Path() / file);
        EXPECT_TRUE(first == ReadFileBytes(temp.Path() / "again" / file) && first != ReadFileBytes(temp.Path() / "other" / file)) << file;
    }
}

}  // namespace
