#include "hardening_support.h"

#include <cstdlib>
#include <filesystem>

#include "fuzz/installation_input.h"
#include "support/temp_installation.h"

namespace kxt::test {
namespace {

const TempInstallation& SmallInstallation() {
    static const TempInstallation& installation = [] () -> const TempInstallation& {
        const std::string seed =
            ReadFileBytes(std::filesystem::path(KXTMAT_SOURCE_DIR) / "fuzz/corpus/update_materials/small-installation");
        InstallationOptions options;
        options.withOwnModule = true;
        for (const auto& [relative, bytes] : fuzz::SplitInstallation(seed)) {
            options.files.push_back({std::string(relative), std::string(bytes.value_or(std::string_view()))});
        }
        const TempInstallation& made = TempInstallation::Get(options);
        ::setenv("KXT_REGISTRY_FILE", (made.Root() / "user" / "registry.reg").c_str(), 1);
        return made;
    }();
    return installation;
}

}  // namespace

void SetUpAsHost(kxtMaterialDBsManager& manager) {
    const std::u16string user = SmallInstallation().Path("user");  // loads the modules first
    manager.InitResourcesData();
    manager.SetKXVersion(33);
    manager.SetProgDataSustainabilityPath(user);
}

std::vector<std::u16string> SmallHostList() {
    const TempInstallation& installation = SmallInstallation();
    return {installation.Path("lang/english/kvxmaterials/korvex materials.kvxmat"),
            installation.Path("lang/english/kvxmaterials/korvex din materials.kvxmat"),
            installation.Path("lang/english/kvxmaterials/Sustainability Extras.kvxmat"),
            installation.Path("user/Sustainability Extras.kvxmat"), installation.Path("user/My Materials.kvxmat")};
}

}  // namespace kxt::test
