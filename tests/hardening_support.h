// The small installation of the hardening tests: the whole-load fuzz target's seed (a few classes per library,
// process settings, the DIN mapping, both extras copies, a custom library and favourites), built on first use.
#pragma once

#include <kxtmat/kxtmat.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/installation_input.h"
#include "support/live_objects.h"
#include "support/registry_hive.h"
#include "support/temp_installation.h"

namespace kxt::test {

// The installation; KXT_REGISTRY_FILE points at its favourites.
inline const TempInstallation& SmallInstallation() {
    static const TempInstallation& installation = [] () -> const TempInstallation& {
        InstallationOptions options{.withOwnModule = true, .files = {}};
        const std::string seed = ReadFileBytes(std::filesystem::path(KXTMAT_SOURCE_DIR) / "fuzz/corpus/update_materials/small-installation");
        for (const auto& [relative, bytes] : fuzz::SplitInstallation(seed))
            options.files.push_back({std::string(relative), std::string(bytes.value_or(std::string_view()))});
        const TempInstallation& made = TempInstallation::Get(options);
        UseRegistryFile(made.Root() / "user" / "registry.reg");
        return made;
    }();
    return installation;
}

// Sets the manager up as the host does: resources, host version 33, the installation's user folder.
inline void SetUpAsHost(kxtMaterialDBsManager& manager) {
    const std::u16string user = SmallInstallation().Path("user");  // loads the modules first
    manager.InitResourcesData();
    manager.SetKXVersion(33);
    manager.SetProgDataSustainabilityPath(user);
}

// The host's list: both standard libraries, both extras copies, the custom library.
inline std::vector<std::u16string> SmallHostList() {
    const TempInstallation& at = SmallInstallation();
    return {at.Path("lang/english/kvxmaterials/korvex materials.kvxmat"), at.Path("lang/english/kvxmaterials/korvex din materials.kvxmat"),
            at.Path("lang/english/kvxmaterials/Sustainability Extras.kvxmat"), at.Path("user/Sustainability Extras.kvxmat"),
            at.Path("user/My Materials.kvxmat")};
}

}  // namespace kxt::test
