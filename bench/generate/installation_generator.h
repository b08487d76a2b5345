#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace kxt::bench {

// What a synthetic installation holds.
struct InstallationSpec {
  std::size_t materials = 1000;  // materials of the standard library
  std::size_t classes = 20;      // classes of the standard library
  std::uint64_t seed = 1;
};

// Paths of the files written, relative to the installation folder, with the
// separator '/'.
inline constexpr const char* kStandardLibraryFile = "lang/english/kvxmaterials/Korvex Materials.kvxmat";
inline constexpr const char* kDinLibraryFile = "lang/english/kvxmaterials/Korvex din Materials.kvxmat";
inline constexpr const char* kExtrasLibraryFile = "lang/english/kvxmaterials/Sustainability Extras.kvxmat";
// The user's copy in the sustainability data folder, which a load in English
// reads in place of the installed one.
inline constexpr const char* kUserExtrasLibraryFile = "user/Sustainability Extras.kvxmat";
inline constexpr const char* kCustomLibraryFile = "user/Custom Materials.kvxmat";
inline constexpr const char* kDinMapperFile = "data/resources/kxterra/DINMaterialsMapper.txt";
inline constexpr const char* kProcessSettingsFile = "data/resources/kxterra/materials process.dat";
inline constexpr const char* kRegistryFile = "registry.reg";

// The library name under which favourites of the custom library are stored.
inline constexpr const char* kCustomLibraryName = "custom materials";
// Host version whose registry key holds the favourites ("Korvex 2025").
inline constexpr int kHostVersion = 33;
inline constexpr std::size_t kFavourites = 1000;
inline constexpr std::size_t kPropertiesPerMaterial = 10;
inline constexpr std::size_t kProcessesPerMaterial = 3;
inline constexpr std::size_t kEnergyParamsPerProcess = 3;

// Increase whenever the generated files change, so that cached copies of an
// installation are written afresh.
inline constexpr int kInstallationFormat = 3;

// Counts of what was written, as the generator decided them.
struct InstallationSummary {
  std::size_t standard_materials = 0;
  std::size_t standard_classes = 0;
  std::size_t din_materials = 0;
  std::size_t extras_materials = 0;
  std::size_t custom_materials = 0;
  std::size_t links_to_standard = 0;
  std::size_t links_to_extras = 0;
  std::size_t favourites = 0;
  std::uintmax_t bytes_written = 0;
};

// Writes a complete synthetic installation below `out` (created when
// missing; files of an earlier run are overwritten): the English standard,
// DIN and "Sustainability Extras" libraries, one custom library linked to
// the standard and extras materials, the user's copy of the extras library
// (equal to the installed one), the DIN mapping file, the process
// settings file and a registry export with the favourites. The standard
// library has layout.materials materials in layout.classes classes (at least
// one class); the DIN and extras libraries hold a tenth as many materials,
// the custom library half as many. The output depends only on `layout`.
// Throws std::runtime_error when a file cannot be written.
InstallationSummary WriteInstallation(const InstallationSpec& layout, const std::filesystem::path& out);

}  // namespace kxt::bench
