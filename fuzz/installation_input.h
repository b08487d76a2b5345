// How one input of the whole-load fuzz target holds the files of an
// installation: in kInstallationFiles order, separated by kFileSeparator.
#pragma once

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace kxt::fuzz {

inline constexpr std::string_view kFileSeparator = "\n=====\n";

// '/'-separated paths below the installation's root.
inline constexpr std::string_view kInstallationFiles[] = {
    "lang/english/kvxmaterials/Korvex Materials.kvxmat",
    "lang/english/kvxmaterials/Korvex din Materials.kvxmat",
    "lang/english/kvxmaterials/Sustainability Extras.kvxmat",
    "data/resources/kxterra/materials process.dat",
    "user/materials process.dat",
    "data/resources/kxterra/DINMaterialsMapper.txt",
    "user/Sustainability Extras.kvxmat",
    "user/My Materials.kvxmat",
    "user/registry.reg",
};

// Each file with its bytes; nullopt for a file that the input does not reach.
inline std::vector<std::pair<std::string_view, std::optional<std::string_view>>> SplitInstallation(
    std::string_view input) {
    std::vector<std::pair<std::string_view, std::optional<std::string_view>>> files;
    bool reached = true;
    for (const std::string_view relative : kInstallationFiles) {
        if (!reached) {
            files.emplace_back(relative, std::nullopt);
            continue;
        }
        const std::size_t end = input.find(kFileSeparator);
        files.emplace_back(relative, input.substr(0, end));
        reached = end != std::string_view::npos;
        if (reached) input.remove_prefix(end + kFileSeparator.size());
    }
    return files;
}

}  // namespace kxt::fuzz
