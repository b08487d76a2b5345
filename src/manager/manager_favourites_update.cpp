// Favourites handed over by the host as four parallel lists of part data.
#include "kxtmat/material_dbs_manager.h"
#include "manager/query_rules.h"

void kxtMaterialDBsManager::OnFavoritesUpdated(std::vector<std::u16string>& libraryNames,
                                               std::vector<std::u16string>& classNames,
                                               std::vector<std::u16string>& materialNames,
                                               std::vector<std::u16string>& ids) {
    const std::size_t count = libraryNames.size();
    if (classNames.size() != count || materialNames.size() != count || ids.size() != count) return;

    favorites_.clear();
    for (std::size_t i = 0; i < count; ++i) {
        MapMaterialDataToNative(ids[i], classNames[i], materialNames[i], libraryNames[i]);
        kxtMaterialBase* material = kxt::manager::IsStandardLibrary(libraryNames[i])
                                        ? GetStandardMaterial(classNames[i], materialNames[i])
                                        : GetCustomMaterial(materialNames[i], libraryNames[i]);
        if (material != nullptr) favorites_.push_back(material);
    }
}
