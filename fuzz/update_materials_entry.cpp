// A whole installation load whose files come from the fuzzer's input.
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <kxtmat/kxtmat.h>

#include "fuzz/entry_points.h"
#include "fuzz/installation_input.h"
#include "platform/text.h"
#include "support/temp_installation.h"

namespace kxt::fuzz {
namespace {

const test::TempInstallation& Installation() {
    static const test::TempInstallation& installation = [&]() -> const test::TempInstallation& {
        test::InstallationOptions options;
        options.withOwnModule = true;
        const test::TempInstallation& made = test::TempInstallation::Get(options);
        const std::string registry = std::filesystem::path(made.Root() / "user" / "registry.reg").string();
        ::setenv("KXT_REGISTRY_FILE", registry.c_str(), 1);
        return made;
    }();
    return installation;
}

void WriteInstallation(std::string_view input) {
    const test::TempInstallation& installation = Installation();
    for (const auto& [relative, bytes] : SplitInstallation(input)) {
        if (bytes) {
            installation.Write(relative, *bytes);
        } else {
            std::error_code ignored;
            std::filesystem::remove(installation.Root() / relative, ignored);
        }
    }
}

bool Holds(const kxtMaterialDB& db, const kxtMaterialBase* material) {
    const kxtMaterialClass* group = material->GetGrOwner();
    if (group == nullptr || group->GetDbOwner() != &db) return false;
    for (std::uint64_t i = 0; i < db.GetGroupCount(); ++i) {
        if (db.GetMaterialClass(static_cast<int>(i)) != group) continue;
        for (std::uint64_t j = 0; j < group->GetMaterialCount(); ++j) {
            if (group->GetMaterial(static_cast<unsigned>(j)) == material) return true;
        }
    }
    return false;
}

// The database list is [native, DIN, custom...] and every favourite lies in one of them.
void RequireLiveLists(kxtMaterialDBsManager& manager) {
    std::vector<kxtMaterialDB>& custom = manager.GetCustomDBs();
    Require(manager.GetDatabaseCount() == static_cast<int>(2 + custom.size()), "the database list has a wrong size");
    Require(manager.GetDB(0) == manager.GetKxNativeDB() && manager.GetDB(1) == manager.GetKxNativeDinDB(),
            "the database list does not start with the standard databases");
    for (std::size_t k = 0; k < custom.size(); ++k) {
        Require(manager.GetDB(static_cast<int>(2 + k)) == &custom[k], "the database list misses a custom database");
    }
    for (const kxtMaterialBase* favourite : manager.GetFavoritesMaterials()) {
        bool live = false;
        for (int i = 0; i < manager.GetDatabaseCount() && !live; ++i) live = Holds(*manager.GetDB(i), favourite);
        Require(live, "a favourite points outside the databases");
    }
}

}  // namespace

int FuzzUpdateMaterials(const std::uint8_t* data, std::size_t size) {
    WriteInstallation(std::string_view(reinterpret_cast<const char*>(data), size));
    const test::TempInstallation& installation = Installation();
    // Keeps the resource module loaded between inputs.
    static kxtMaterialDBsManager keeper = [] {
        kxtMaterialDBsManager m;
        m.InitResourcesData();
        return m;
    }();

    kxtMaterialDBsManager manager;
    manager.InitResourcesData();
    manager.SetKXVersion(33);
    manager.SetProgDataSustainabilityPath(installation.Path("user"));
    const std::vector<std::u16string> hostList = {
        installation.Path("lang/english/kvxmaterials/korvex materials.kvxmat"),
        installation.Path("lang/english/kvxmaterials/korvex din materials.kvxmat"),
        installation.Path("lang/english/kvxmaterials/Sustainability Extras.kvxmat"),
        installation.Path("user/Sustainability Extras.kvxmat"),
        installation.Path("user/My Materials.kvxmat"),
    };
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
