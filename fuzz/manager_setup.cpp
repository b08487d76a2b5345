#include "fuzz/manager_setup.h"

#include <cstdlib>
#include <filesystem>

#include "fuzz/entry_points.h"
#include "support/registry_hive.h"

namespace kxt::fuzz {

const test::TempInstallation& FuzzInstallation() {
    static const test::TempInstallation& installation = []() -> const test::TempInstallation& {
        test::InstallationOptions options;
        options.withOwnModule = true;
        const test::TempInstallation& made = test::TempInstallation::Get(options);
        test::UseRegistryFile(made.Root() / "user" / "registry.reg");
        return made;
    }();
    return installation;
}

void SetUpManager(kxtMaterialDBsManager& manager) {
    const test::TempInstallation& installation = FuzzInstallation();
    static kxtMaterialDBsManager keeper = [] {
        kxtMaterialDBsManager m;
        m.InitResourcesData();
        return m;
    }();
    manager.InitResourcesData();
    manager.SetKXVersion(33);
    manager.SetProgDataSustainabilityPath(installation.Path("user"));
}

std::vector<std::u16string> HostList() {
    const test::TempInstallation& installation = FuzzInstallation();
    return {
        installation.Path("lang/english/kvxmaterials/korvex materials.kvxmat"),
        installation.Path("lang/english/kvxmaterials/korvex din materials.kvxmat"),
        installation.Path("lang/english/kvxmaterials/Sustainability Extras.kvxmat"),
        installation.Path("user/Sustainability Extras.kvxmat"),
        installation.Path("user/My Materials.kvxmat"),
    };
}

void RequireOwnership(const kxtMaterialDB& db) {
    for (std::uint64_t i = 0; i < db.GetGroupCount(); ++i) {
        const kxtMaterialClass* group = db.GetMaterialClass(static_cast<int>(i));
        Require(group != nullptr, "a class slot is empty");
        Require(group->GetDbOwner() == &db, "a class points to another database");
        for (std::uint64_t j = 0; j < group->GetMaterialCount(); ++j) {
            const kxtMaterialBase* material = group->GetMaterial(static_cast<unsigned>(j));
            Require(material != nullptr, "a material slot is empty");
            Require(material->GetGrOwner() == group, "a material points to another class");
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

}  // namespace kxt::fuzz
