// A whole installation load whose files come from the fuzzer's input.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <kxtmat/kxtmat.h>

#include "fuzz/entry_points.h"
#include "fuzz/installation_input.h"
#include "fuzz/manager_setup.h"

namespace kxt::fuzz {
namespace {

void WriteInstallation(std::string_view input) {
    const test::TempInstallation& installation = FuzzInstallation();
    for (const auto& [relative, bytes] : SplitInstallation(input)) {
        if (bytes) {
            installation.Write(relative, *bytes);
        } else {
            std::error_code ignored;
            std::filesystem::remove(installation.Root() / relative, ignored);
        }
    }
}

}  // namespace

int FuzzUpdateMaterials(const std::uint8_t* data, std::size_t size) {
    WriteInstallation(std::string_view(reinterpret_cast<const char*>(data), size));

    kxtMaterialDBsManager manager;
    SetUpManager(manager);
    const std::vector<std::u16string> hostList = HostList();
    std::vector<std::u16string> files = hostList;
    manager.UpdateMaterials(files, 0);
    RequireLiveLists(manager);

    for (kxtMaterialBase* favourite : manager.GetFavoritesMaterials()) {
        std::u16string className = favourite->GetGrOwnerName();
        std::u16string name = favourite->GetName();
        manager.MapToLang(className, name);
        Require(manager.HasFavoritesMaterial(favourite) == 1, "a favourite is not a favourite");
    }
    std::vector<kxtMaterialBase*> sustainable;
    manager.GetSustainableMaterials(sustainable);
    std::vector<std::u16string> items;
    manager.GetKxGeneralItems(items);

    files = hostList;
    manager.UpdateMaterials(files, 1);
    RequireLiveLists(manager);
    return 0;
}

}  // namespace kxt::fuzz
