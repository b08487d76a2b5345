#include "hardening_support.h"

#include <cstdlib>
#include <filesystem>

#include "fuzz/installation_input.h"
#include "platform/text.h"
#include "support/temp_dir.h"

namespace kxt::test {
namespace {

// The files of the seed installation of the whole-load fuzz target.
std::vector<InstallationFile> SeedFiles() {
    const std::string seed =
        ReadFileBytes(std::filesystem::path(KXTMAT_SOURCE_DIR) / "fuzz/corpus/update_materials/small-installation");
    std::vector<InstallationFile> files;
    for (const auto& [relative, bytes] : fuzz::SplitInstallation(seed)) {
        files.push_back({std::string(relative), std::string(bytes.value_or(std::string_view()))});
    }
    return files;
}

}  // namespace

const TempInstallation& SmallInstallation() {
    static const TempInstallation& installation = [] () -> const TempInstallation& {
        InstallationOptions options;
        options.withOwnModule = true;
        options.files = SeedFiles();
        const TempInstallation& made = TempInstallation::Get(options);
        ::setenv("KXT_REGISTRY_FILE", (made.Root() / "user" / "registry.reg").c_str(), 1);
        return made;
    }();
    return installation;
}

void WriteInstallationFile(std::string_view relative, std::string_view bytes) {
    SmallInstallation().Write(relative, bytes);
}

std::vector<std::u16string> SmallHostList() {
    const TempInstallation& installation = SmallInstallation();
    return {installation.Path("lang/english/kvxmaterials/korvex materials.kvxmat"),
            installation.Path("lang/english/kvxmaterials/korvex din materials.kvxmat"),
            installation.Path("lang/english/kvxmaterials/Sustainability Extras.kvxmat"),
            installation.Path("user/Sustainability Extras.kvxmat"),
            installation.Path("user/My Materials.kvxmat")};
}

void SetUpAsHost(kxtMaterialDBsManager& manager) {
    manager.InitResourcesData();
    manager.SetKXVersion(33);
    manager.SetProgDataSustainabilityPath(SmallInstallation().Path("user"));
}

std::vector<std::u16string> ShapeOf(kxtMaterialDBsManager& manager) {
    std::vector<std::u16string> shape;
    for (int d = 0; d < manager.GetDatabaseCount(); ++d) {
        const kxtMaterialDB& db = *manager.GetDB(d);
        shape.push_back(u"db type " + platform::Utf8ToUtf16(std::to_string(db.GetDBType())));
        for (std::uint64_t i = 0; i < db.GetGroupCount(); ++i) {
            const kxtMaterialClass* group = db.GetMaterialClass(static_cast<int>(i));
            shape.push_back(u"class " + group->GetName());
            for (std::uint64_t j = 0; j < group->GetMaterialCount(); ++j) {
                const kxtMaterialBase* material = group->GetMaterial(static_cast<unsigned>(j));
                shape.push_back(u"material " + material->GetName() + u" / " + material->GetLangName() + u" / " +
                                material->GetGabiName() + u" / processes " +
                                platform::Utf8ToUtf16(std::to_string(material->GetManufacturingTypes().size())) +
                                (material->GetSageLink() != nullptr ? u" / linked" : u""));
            }
        }
    }
    for (const kxtMaterialBase* favourite : manager.GetFavoritesMaterials()) shape.push_back(u"favourite " + favourite->GetName());
    return shape;
}

}  // namespace kxt::test
